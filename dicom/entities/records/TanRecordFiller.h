// Fills a record being built from a parsed file: looks attributes up in the file's data set
// (forward from the previous hit, as the lists are in ascending tag order) and inserts copies
// re-encoded as explicit VR little endian, empty elements or defaults into the record.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

class TanDicomFileObject;

class TanRecordFiller {
 public:
  // Sets the search position of the file's data set to its start.
  TanRecordFiller(TanDirectoryRecord& record, TanDicomFileObject& file);
  TanRecordFiller(const TanRecordFiller&) = delete;
  TanRecordFiller& operator=(const TanRecordFiller&) = delete;

  // The element of the file's data set, searched forward from the previous hit (and from the
  // start when the tag lies before it); null when absent.
  iDDE* Find(uint32_t tag);

  // Copied when the file holds it.
  iDDE* Copy(uint32_t tag);
  // Copied when present with a value length above 0.
  void CopyWhenNotEmpty(uint32_t tag);
  // Copied, or an element without value.
  void CopyOrEmpty(uint32_t tag);
  // Copied, or an element with this one text value.
  void CopyOrText(uint32_t tag, const char* text);
  // Copied, or an element with this one number (US, UL).
  void CopyOrNumber(uint32_t tag, uint32_t value);
  // Copied, or a sequence of defined length without items.
  void CopyOrEmptySequence(uint32_t tag);
  // Copied; when the file lacks it, std::invalid_argument with the text.
  void Required(uint32_t tag, const char* message);

  void Insert(iDDE* e) { FRecord.InsertElement(e); }
  iDDEFactory& Factory() { return *FFactory; }
  TanDicomFileObject& File() { return FFile; }

 private:
  TanDirectoryRecord& FRecord;
  TanDicomFileObject& FFile;
  TanDDEFactory FFactory;
};

}  // namespace ORN_dicom
