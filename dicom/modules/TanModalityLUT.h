// The modality LUT element: no data, rescale data (slope, intercept, type) or table data of 8-
// or 16-bit entries. The element forwards the evaluation slots to the data it owns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dicom/modules/TanLUTData.h"
#include "dicom/modules/TanLUTObjectBasis.h"

namespace ndl {

class iMODALITY_LUT_BASIS : public iLUT {
 public:
  virtual bool IsSigned() const = 0;
  virtual uint8_t GetRescaleType() const = 0;
  virtual uint8_t GetDataKind() const = 0;  // 0 none, 1 table, 2 rescale
  virtual long double GetFirstMapped() const = 0;
  virtual long double GetLastMapped() const = 0;
  virtual long double GetMinValue() const = 0;
  virtual long double GetMaxValue() const = 0;
};

class iDICOM_MODALITY_LUT : public iMODALITY_LUT_BASIS {
 public:
  virtual bool SetTable8(uint8_t type, const unsigned char* entries, uint32_t count, int32_t first,
                         const char16_t* explanation) = 0;
  virtual bool SetTable16(uint8_t type, const unsigned short* entries, uint32_t count, int32_t first,
                          const char16_t* explanation) = 0;
  virtual bool SetRescale(uint8_t type, double slope, double intercept) = 0;
  virtual iDICOM_MODALITY_LUT& Clear() = 0;
  virtual bool Assign(const iDICOM_MODALITY_LUT& other) = 0;
  virtual iDICOM_MODALITY_LUT& operator=(const iDICOM_MODALITY_LUT& other) = 0;
};

}  // namespace ndl

namespace ndl_impl {

// Rescale Type / Modality LUT Type: 1 "OD", 2 "HU", 3 "US", 0 anything else.
uint8_t RescaleTypeCode(const std::string& text);
const char* RescaleTypeText(uint8_t code);

template <uint8_t N>
class TanModalityLUTDataBasis : public ndl::iMODALITY_LUT_BASIS {
 public:
  explicit TanModalityLUTDataBasis(uint8_t type) : FRescaleType(type) {}
  uint8_t GetRescaleType() const override { return FRescaleType; }
  uint8_t GetDataKind() const override { return N; }

 protected:
  uint8_t FRescaleType;
};

class TanModalityRescaleData : public TanModalityLUTDataBasis<2> {
 public:
  TanModalityRescaleData(uint8_t type, double slope, double intercept)
      : TanModalityLUTDataBasis(type), FSlope(slope), FIntercept(intercept) {}
  bool IsEmpty() const override { return FSlope == 0.0 && FIntercept == 0.0; }
  const void* GetData() const override { return nullptr; }
  int32_t GetCount() const override { return -1; }
  int32_t GetBytesPerEntry() const override { return -1; }
  int32_t Map(int32_t x) const override;
  bool IsEqual(const ndl::iLUT_GENERAL* other) const override;
  const char16_t* GetExplanation() const override { return nullptr; }
  ndl::iLUT& SetExplanation(const char16_t*) override { return *this; }
  bool IsSigned() const override { return FIntercept < 0 || FSlope < 0; }
  long double GetFirstMapped() const override { return FSlope; }
  long double GetLastMapped() const override { return FIntercept; }
  long double GetMinValue() const override { return FSlope; }
  long double GetMaxValue() const override { return FIntercept; }
  double GetSlope() const { return FSlope; }
  double GetIntercept() const { return FIntercept; }

 private:
  double FSlope;
  double FIntercept;
};

class TanModalityTableData : public TanModalityLUTDataBasis<1> {
 public:
  TanModalityTableData(uint8_t type, std::unique_ptr<iLUT_DATA> table)
      : TanModalityLUTDataBasis(type), FTable(std::move(table)) {}
  TanModalityTableData(const TanModalityTableData& other);
  bool IsEmpty() const override { return !FTable || FTable->IsEmpty(); }
  const void* GetData() const override { return FTable->GetEntries(); }
  int32_t GetCount() const override { return FTable->GetCount(); }
  int32_t GetBytesPerEntry() const override { return FTable->GetBitsPerEntry() / 8; }
  int32_t Map(int32_t x) const override { return FTable->Lookup(x); }
  bool IsEqual(const ndl::iLUT_GENERAL* other) const override;
  const char16_t* GetExplanation() const override { return FTable->GetExplanation(); }
  ndl::iLUT& SetExplanation(const char16_t* text) override {
    FTable->SetExplanation(text);
    return *this;
  }
  bool IsSigned() const override { return false; }
  long double GetFirstMapped() const override { return FTable->GetFirstMapped(); }
  long double GetLastMapped() const override { return FTable->GetLastMapped(); }
  long double GetMinValue() const override { return FTable->GetMinValue(); }
  long double GetMaxValue() const override { return FTable->GetMaxValue(); }
  const iLUT_DATA& Table() const { return *FTable; }

 private:
  std::unique_ptr<iLUT_DATA> FTable;
};

template <class A = std::allocator<void>>
class TanModalityObject : public TanLUTObjectBasis<TanModalityObject<A>, ndl::iDICOM_MODALITY_LUT, ndl::iMODALITY_LUT_BASIS> {
  using Basis = TanLUTObjectBasis<TanModalityObject<A>, ndl::iDICOM_MODALITY_LUT, ndl::iMODALITY_LUT_BASIS>;

 public:
  TanModalityObject() = default;
  TanModalityObject(const TanModalityObject& other) : Basis(CopyData(other)) {}
  explicit TanModalityObject(std::unique_ptr<ndl::iMODALITY_LUT_BASIS> data) : Basis(std::move(data)) {}
  TanModalityObject& operator=(const TanModalityObject& other) {
    return static_cast<TanModalityObject&>(operator=(static_cast<const ndl::iDICOM_MODALITY_LUT&>(other)));
  }
  ~TanModalityObject() override = default;

  bool IsSigned() const override { return FData && FData->IsSigned(); }
  uint8_t GetRescaleType() const override { return FData ? FData->GetRescaleType() : 0; }
  uint8_t GetDataKind() const override { return FData ? FData->GetDataKind() : 0; }
  long double GetFirstMapped() const override { return FData ? FData->GetFirstMapped() : 0; }
  long double GetLastMapped() const override { return FData ? FData->GetLastMapped() : 0; }
  long double GetMinValue() const override { return FData ? FData->GetMinValue() : 0; }
  long double GetMaxValue() const override { return FData ? FData->GetMaxValue() : 0; }

  bool SetTable8(uint8_t type, const unsigned char* entries, uint32_t count, int32_t first,
                 const char16_t* explanation) override {
    return SetTable<unsigned char>(type, entries, count, first, explanation);
  }
  bool SetTable16(uint8_t type, const unsigned short* entries, uint32_t count, int32_t first,
                  const char16_t* explanation) override {
    return SetTable<unsigned short>(type, entries, count, first, explanation);
  }
  bool SetRescale(uint8_t type, double slope, double intercept) override {
    try {
      auto data = std::make_unique<TanModalityRescaleData>(type, slope, intercept);
      if (data->IsEmpty()) {
        FData.reset();
        return false;
      }
      FData = std::move(data);
      return true;
    } catch (...) {
      return false;
    }
  }
  TanModalityObject& Clear() override {
    FData.reset();
    return *this;
  }
  bool Assign(const ndl::iDICOM_MODALITY_LUT& other) override {
    try {
      const auto* o = dynamic_cast<const TanModalityObject*>(&other);
      if (o == nullptr) return false;
      TanModalityObject copy(*o);
      if (copy.IsEmpty()) return false;
      FData = std::move(copy.FData);
      return true;
    } catch (...) {
      return false;
    }
  }
  TanModalityObject& operator=(const ndl::iDICOM_MODALITY_LUT& other) override {
    if (&other == this) return *this;
    const auto* o = dynamic_cast<const TanModalityObject*>(&other);
    FData = o != nullptr ? CopyData(*o) : nullptr;
    return *this;
  }

  const ndl::iMODALITY_LUT_BASIS* Data() const { return FData.get(); }

 private:
  static std::unique_ptr<ndl::iMODALITY_LUT_BASIS> CopyData(const TanModalityObject& other) {
    if (const auto* r = dynamic_cast<const TanModalityRescaleData*>(other.FData.get()))
      return std::make_unique<TanModalityRescaleData>(*r);
    if (const auto* t = dynamic_cast<const TanModalityTableData*>(other.FData.get()))
      return std::make_unique<TanModalityTableData>(*t);
    return nullptr;
  }
  template <class T>
  bool SetTable(uint8_t type, const T* entries, uint32_t count, int32_t first, const char16_t* explanation) {
    if (entries == nullptr || count == 0) return false;
    try {
      auto data = std::make_unique<TanModalityTableData>(
          type, std::make_unique<TanLUTData<T>>(entries, count, first, explanation ? explanation : u""));
      FData = std::move(data);
      if (FData->IsEmpty()) {
        FData.reset();
        return false;
      }
      return true;
    } catch (...) {
      return false;
    }
  }

  using Basis::FData;
};

}  // namespace ndl_impl

namespace ndl {

class TanModalityLUTFactory {
 public:
  iDICOM_MODALITY_LUT* CreateDefault() const;
  iDICOM_MODALITY_LUT* CreateCopy(const iDICOM_MODALITY_LUT& other) const;
  iDICOM_MODALITY_LUT* CreateRescale(uint8_t type, double slope, double intercept) const;
  iDICOM_MODALITY_LUT* CreateTable8(uint8_t type, const unsigned char* entries, uint32_t count, int32_t first,
                                    const char16_t* explanation) const;
  iDICOM_MODALITY_LUT* CreateTable16(uint8_t type, const unsigned short* entries, uint32_t count, int32_t first,
                                     const char16_t* explanation) const;
};

}  // namespace ndl
