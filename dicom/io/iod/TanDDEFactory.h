// The facades through which callers get a factory for a transfer-syntax kind. Both load the
// data-element dictionary first (std::runtime_error with its load error when that fails) and
// hold null for a kind without a factory.
//   kind 1 implicit VR LE, 2 explicit VR LE, 3 explicit VR BE, 4 to 7 the encapsulated kinds.
// The encapsulated kinds read and make their elements as the explicit little-endian factory;
// their pixel data is that of the lossless (4), lossless JPEG (5), RLE (6) and lossy JPEG (7)
// factories.
#pragma once

#include <cstdint>
#include <memory>

#include "dicom/elements/factory/iDDEFactory.h"
#include "dicom/io/iod/iIODFactory.h"

namespace ORN_dicom {

// Loads the dictionary component unless it is loaded; throws std::runtime_error on failure.
void EnsureDDERegistry();

class TanDDEFactory {
 public:
  explicit TanDDEFactory(uint8_t kind);
  TanDDEFactory(const TanDDEFactory&) = delete;
  TanDDEFactory& operator=(const TanDDEFactory&) = delete;

  iDDEFactory* operator->() const { return FFactory.get(); }
  iDDEFactory& operator*() const { return *FFactory; }
  iDDEFactory* Get() const { return FFactory.get(); }

 private:
  std::unique_ptr<iDDEFactory> FFactory;
};

class TanIODFactory {
 public:
  TanIODFactory(uint8_t kind, uint8_t quality);
  TanIODFactory(const TanIODFactory&) = delete;
  TanIODFactory& operator=(const TanIODFactory&) = delete;

  iIODFactory* operator->() const { return FFactory.get(); }
  iIODFactory* Get() const { return FFactory.get(); }

 private:
  std::unique_ptr<iIODFactory> FFactory;
};

}  // namespace ORN_dicom
