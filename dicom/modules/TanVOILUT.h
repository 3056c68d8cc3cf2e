// The VOI LUT object: a linear or sigmoid window (centre, width, explanation) or a table of 8-
// or 16-bit entries. Windows clip (linear) or squash (sigmoid) the input; tables clamp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dicom/modules/TanCollection.h"
#include "dicom/modules/TanLUTData.h"
#include "dicom/modules/TanLUTObjectBasis.h"

namespace ndl {

class iVOI_LUT_BASIS : public iLUT {
 public:
  virtual long double GetFirstMapped() const = 0;
  virtual long double GetLastMapped() const = 0;
  virtual long double GetMinValue() const = 0;
  virtual long double GetMaxValue() const = 0;
  virtual uint8_t GetDataKind() const = 0;  // 0 none, 1 table, 2 linear, 3 sigmoid
};

class iDICOM_VOI_LUT : public iVOI_LUT_BASIS {
 public:
  virtual bool SetTable8(const unsigned char* entries, int32_t count, int32_t first, const char16_t* explanation) = 0;
  virtual bool SetTable16(const unsigned short* entries, int32_t count, int32_t first, const char16_t* explanation) = 0;
  virtual bool SetLinearWindow(double center, double width, const char16_t* explanation) = 0;
  virtual bool SetSigmoidWindow(int32_t bits, double center, double width, const char16_t* explanation) = 0;
  virtual iDICOM_VOI_LUT& Clear() = 0;
  virtual bool Assign(const iDICOM_VOI_LUT& other) = 0;
  virtual iDICOM_VOI_LUT& operator=(const iDICOM_VOI_LUT& other) = 0;
};

}  // namespace ndl

namespace ndl_impl {

template <uint8_t N>
class TanVOILUTLinearDataBasis : public ndl::iVOI_LUT_BASIS {
 public:
  TanVOILUTLinearDataBasis(double center, double width, const char16_t* explanation)
      : FCenter(center), FWidth(width), FExplanation(explanation ? explanation : u"") {}
  bool IsEmpty() const override { return FWidth == 0.0; }
  const void* GetData() const override { return nullptr; }
  int32_t GetCount() const override { return static_cast<int32_t>(FWidth); }
  int32_t GetBytesPerEntry() const override { return -1; }
  bool IsEqual(const ndl::iLUT_GENERAL* other) const override {
    const auto* o = dynamic_cast<const TanVOILUTLinearDataBasis*>(other);
    return o != nullptr && FCenter == o->FCenter && FWidth == o->FWidth && FExplanation == o->FExplanation;
  }
  const char16_t* GetExplanation() const override { return FExplanation.c_str(); }
  ndl::iLUT& SetExplanation(const char16_t* text) override {
    FExplanation = text ? text : u"";
    return *this;
  }
  long double GetFirstMapped() const override { return FCenter - FWidth * 0.5; }
  long double GetLastMapped() const override { return FCenter + FWidth * 0.5; }
  long double GetMinValue() const override { return GetFirstMapped(); }
  long double GetMaxValue() const override { return GetLastMapped(); }
  uint8_t GetDataKind() const override { return N; }
  double GetCenter() const { return FCenter; }
  double GetWidth() const { return FWidth; }

 protected:
  double FCenter;
  double FWidth;
  std::u16string FExplanation;
};

class TanVOILinearData : public TanVOILUTLinearDataBasis<2> {
 public:
  using TanVOILUTLinearDataBasis::TanVOILUTLinearDataBasis;
  int32_t Map(int32_t x) const override;
};

class TanVOISigmoidData : public TanVOILUTLinearDataBasis<3> {
 public:
  TanVOISigmoidData(int32_t bits, double center, double width, const char16_t* explanation);
  int32_t Map(int32_t x) const override;
  double GetOutputMax() const { return FOutputMax; }

 private:
  double FOutputMax;
};

class TanVOITableData : public ndl::iVOI_LUT_BASIS {
 public:
  explicit TanVOITableData(std::unique_ptr<iLUT_DATA> table) : FTable(std::move(table)) {}
  TanVOITableData(const TanVOITableData& other);
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
  long double GetFirstMapped() const override { return FTable->GetFirstMapped(); }
  long double GetLastMapped() const override { return FTable->GetLastMapped(); }
  long double GetMinValue() const override { return FTable->GetMinValue(); }
  long double GetMaxValue() const override { return FTable->GetMaxValue(); }
  uint8_t GetDataKind() const override { return 1; }
  const iLUT_DATA& Table() const { return *FTable; }

 private:
  std::unique_ptr<iLUT_DATA> FTable;
};

// A deep copy of any VOI data form; null for null.
std::unique_ptr<ndl::iVOI_LUT_BASIS> CopyVOIData(const ndl::iVOI_LUT_BASIS* data);

template <class A = std::allocator<void>>
class TanVOIObject : public TanLUTObjectBasis<TanVOIObject<A>, ndl::iDICOM_VOI_LUT, ndl::iVOI_LUT_BASIS> {
  using Basis = TanLUTObjectBasis<TanVOIObject<A>, ndl::iDICOM_VOI_LUT, ndl::iVOI_LUT_BASIS>;

 public:
  TanVOIObject() = default;
  TanVOIObject(const TanVOIObject& other) : Basis(CopyVOIData(other.FData.get())) {}
  explicit TanVOIObject(std::unique_ptr<ndl::iVOI_LUT_BASIS> data) : Basis(std::move(data)) {}
  TanVOIObject& operator=(const TanVOIObject& other) {
    operator=(static_cast<const ndl::iDICOM_VOI_LUT&>(other));
    return *this;
  }
  ~TanVOIObject() override = default;

  long double GetFirstMapped() const override { return FData ? FData->GetFirstMapped() : 0; }
  long double GetLastMapped() const override { return FData ? FData->GetLastMapped() : 0; }
  long double GetMinValue() const override { return FData ? FData->GetMinValue() : 0; }
  long double GetMaxValue() const override { return FData ? FData->GetMaxValue() : 0; }
  uint8_t GetDataKind() const override { return FData ? FData->GetDataKind() : 0; }

  bool SetTable8(const unsigned char* entries, int32_t count, int32_t first, const char16_t* explanation) override {
    return SetTable(entries, count, first, explanation);
  }
  bool SetTable16(const unsigned short* entries, int32_t count, int32_t first, const char16_t* explanation) override {
    return SetTable(entries, count, first, explanation);
  }
  bool SetLinearWindow(double center, double width, const char16_t* explanation) override {
    return Replace([&] { return std::make_unique<TanVOILinearData>(center, width, explanation); });
  }
  bool SetSigmoidWindow(int32_t bits, double center, double width, const char16_t* explanation) override {
    return Replace([&] { return std::make_unique<TanVOISigmoidData>(bits, center, width, explanation); });
  }
  TanVOIObject& Clear() override {
    FData.reset();
    return *this;
  }
  bool Assign(const ndl::iDICOM_VOI_LUT& other) override {
    try {
      const auto* o = dynamic_cast<const TanVOIObject*>(&other);
      if (o == nullptr || o->IsEmpty()) return false;
      FData = CopyVOIData(o->FData.get());
      return true;
    } catch (...) {
      return false;
    }
  }
  TanVOIObject& operator=(const ndl::iDICOM_VOI_LUT& other) override {
    if (&other == this) return *this;
    const auto* o = dynamic_cast<const TanVOIObject*>(&other);
    FData = o != nullptr ? CopyVOIData(o->FData.get()) : nullptr;
    return *this;
  }

  const ndl::iVOI_LUT_BASIS* Data() const { return FData.get(); }

 private:
  template <class F>
  bool Replace(F make) {
    std::unique_ptr<ndl::iVOI_LUT_BASIS> data;
    try {
      data = make();
    } catch (...) {
      return false;
    }
    FData = std::move(data);
    if (FData->IsEmpty()) {
      FData.reset();
      return false;
    }
    return true;
  }
  template <class T>
  bool SetTable(const T* entries, int32_t count, int32_t first, const char16_t* explanation) {
    if (entries == nullptr || count <= 0) return false;
    return Replace([&] {
      return std::make_unique<TanVOITableData>(std::make_unique<TanLUTData<T>>(
          entries, static_cast<uint32_t>(count), first, explanation ? explanation : u""));
    });
  }

  using Basis::FData;
};

template <class A = std::allocator<TanVOIObject<>>>
using TanVOILUTCollection = TanCollection<ndl::iDICOM_VOI_LUT, TanVOIObject<>, A>;

}  // namespace ndl_impl

namespace ndl {

class TanVOILUTFactory {
 public:
  iDICOM_VOI_LUT* CreateDefault() const;
  iDICOM_VOI_LUT* CreateCopy(const iDICOM_VOI_LUT& other) const;
  iDICOM_VOI_LUT* CreateLinear(double center, double width, const char16_t* explanation) const;
  iDICOM_VOI_LUT* CreateSigmoid(int32_t bits, double center, double width, const char16_t* explanation) const;
  iDICOM_VOI_LUT* CreateTable8(const unsigned char* entries, int32_t count, int32_t first,
                               const char16_t* explanation) const;
  iDICOM_VOI_LUT* CreateTable16(const unsigned short* entries, int32_t count, int32_t first,
                                const char16_t* explanation) const;
};

}  // namespace ndl
