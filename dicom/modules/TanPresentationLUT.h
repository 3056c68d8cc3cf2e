// The presentation LUT element: a shape (1 IDENTITY, -1 INVERSE) or a table of 8- or 16-bit
// entries.
#pragma once

#include <cstdint>
#include <memory>

#include "dicom/modules/TanLUTData.h"
#include "dicom/modules/TanLUTObjectBasis.h"

namespace ndl {

class iPRESENTATION_LUT_BASIS : public iLUT {
 public:
  virtual uint8_t GetDataKind() const = 0;  // 0 none, 1 table, 2 shape
  virtual long double GetFirstMapped() const = 0;
  virtual long double GetLastMapped() const = 0;
  virtual long double GetMinValue() const = 0;
  virtual long double GetMaxValue() const = 0;
  virtual int8_t GetShape() const = 0;
};

class iDICOM_PRESENTATION_LUT : public iPRESENTATION_LUT_BASIS {
 public:
  virtual bool SetTable8(const unsigned char* entries, uint32_t count, int32_t first, const char16_t* explanation) = 0;
  virtual bool SetTable16(const unsigned short* entries, uint32_t count, int32_t first,
                          const char16_t* explanation) = 0;
  virtual bool SetShape(int8_t code) = 0;
  virtual iDICOM_PRESENTATION_LUT& Clear() = 0;
  virtual bool Assign(const iDICOM_PRESENTATION_LUT& other) = 0;
  virtual iDICOM_PRESENTATION_LUT& operator=(const iDICOM_PRESENTATION_LUT& other) = 0;
};

}  // namespace ndl

namespace ndl_impl {

template <uint8_t N>
class TanPresentationLUTDataBasis : public ndl::iPRESENTATION_LUT_BASIS {
 public:
  explicit TanPresentationLUTDataBasis(int8_t shape) : FShape(shape) {}
  uint8_t GetDataKind() const override { return N; }
  int8_t GetShape() const override { return FShape; }
  bool IsEqual(const ndl::iLUT_GENERAL* other) const override {
    const auto* o = dynamic_cast<const TanPresentationLUTDataBasis*>(other);
    return o != nullptr && o->FShape == FShape;
  }

 protected:
  int8_t FShape;
};

class TanPresentationShapeData : public TanPresentationLUTDataBasis<2> {
 public:
  using TanPresentationLUTDataBasis::TanPresentationLUTDataBasis;
  bool IsEmpty() const override { return FShape == 0; }
  const void* GetData() const override { return nullptr; }
  int32_t GetCount() const override { return -1; }
  int32_t GetBytesPerEntry() const override { return -1; }
  int32_t Map(int32_t x) const override { return static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(static_cast<int32_t>(FShape))); }
  const char16_t* GetExplanation() const override { return nullptr; }
  ndl::iLUT& SetExplanation(const char16_t*) override { return *this; }
  long double GetFirstMapped() const override { return 0; }
  long double GetLastMapped() const override { return 0; }
  long double GetMinValue() const override { return 0; }
  long double GetMaxValue() const override { return 0; }
};

class TanPresentationTableData : public TanPresentationLUTDataBasis<1> {
 public:
  explicit TanPresentationTableData(std::unique_ptr<iLUT_DATA> table)
      : TanPresentationLUTDataBasis(1), FTable(std::move(table)) {}
  TanPresentationTableData(const TanPresentationTableData& other);
  bool IsEmpty() const override { return !FTable || FTable->IsEmpty(); }
  const void* GetData() const override { return FTable->GetEntries(); }
  int32_t GetCount() const override { return FTable->GetCount(); }
  int32_t GetBytesPerEntry() const override { return FTable->GetBitsPerEntry() >> 3; }
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

 private:
  std::unique_ptr<iLUT_DATA> FTable;
};

// A deep copy; std::runtime_error "PRESENTATION-initialization-error" for no data.
std::unique_ptr<ndl::iPRESENTATION_LUT_BASIS> CopyPresentationData(const ndl::iPRESENTATION_LUT_BASIS* data);

template <class A = std::allocator<void>>
class TanPresentationLUTObject : public TanLUTObjectBasis<TanPresentationLUTObject<A>, ndl::iDICOM_PRESENTATION_LUT, ndl::iPRESENTATION_LUT_BASIS> {
  using Basis = TanLUTObjectBasis<TanPresentationLUTObject<A>, ndl::iDICOM_PRESENTATION_LUT, ndl::iPRESENTATION_LUT_BASIS>;

 public:
  TanPresentationLUTObject() = default;
  explicit TanPresentationLUTObject(std::unique_ptr<ndl::iPRESENTATION_LUT_BASIS> data) : Basis(std::move(data)) {}
  TanPresentationLUTObject(const ndl::iDICOM_PRESENTATION_LUT& other)  // NOLINT: copies as the interface does
      : Basis(CopyPresentationData(dynamic_cast<const TanPresentationLUTObject&>(other).FData.get())) {}
  TanPresentationLUTObject(const TanPresentationLUTObject& other) : Basis(CopyPresentationData(other.FData.get())) {}
  TanPresentationLUTObject& operator=(const TanPresentationLUTObject& other) {
    operator=(static_cast<const ndl::iDICOM_PRESENTATION_LUT&>(other));
    return *this;
  }
  ~TanPresentationLUTObject() override = default;

  uint8_t GetDataKind() const override { return FData ? FData->GetDataKind() : 0; }
  long double GetFirstMapped() const override { return FData ? FData->GetFirstMapped() : 0; }
  long double GetLastMapped() const override { return FData ? FData->GetLastMapped() : 0; }
  long double GetMinValue() const override { return FData ? FData->GetMinValue() : 0; }
  long double GetMaxValue() const override { return FData ? FData->GetMaxValue() : 0; }
  int8_t GetShape() const override { return FData ? FData->GetShape() : 0; }

  bool SetTable8(const unsigned char* entries, uint32_t count, int32_t first, const char16_t* explanation) override {
    return SetTable(entries, count, first, explanation);
  }
  bool SetTable16(const unsigned short* entries, uint32_t count, int32_t first, const char16_t* explanation) override {
    return SetTable(entries, count, first, explanation);
  }
  bool SetShape(int8_t code) override {
    try {
      auto data = std::make_unique<TanPresentationShapeData>(code);
      FData = code == 0 ? nullptr : std::move(data);
      return code != 0;
    } catch (...) {
      return false;
    }
  }
  TanPresentationLUTObject& Clear() override {
    FData.reset();
    return *this;
  }
  bool Assign(const ndl::iDICOM_PRESENTATION_LUT& other) override {
    try {
      TanPresentationLUTObject temporary(other);
      if (temporary.IsEmpty()) return false;
      FData = std::move(temporary.FData);
      return true;
    } catch (...) {
      return false;
    }
  }
  TanPresentationLUTObject& operator=(const ndl::iDICOM_PRESENTATION_LUT& other) override {
    if (&other == this) return *this;
    FData = CopyPresentationData(dynamic_cast<const TanPresentationLUTObject&>(other).FData.get());
    return *this;
  }

 private:
  template <class T>
  bool SetTable(const T* entries, uint32_t count, int32_t first, const char16_t* explanation) {
    if (entries == nullptr || count == 0) return false;
    try {
      auto data = std::make_unique<TanPresentationTableData>(
          std::make_unique<TanLUTData<T>>(entries, count, first, explanation ? explanation : u""));
      FData = data->IsEmpty() ? nullptr : std::move(data);
      return FData != nullptr;
    } catch (...) {
      return false;
    }
  }

  using Basis::FData;
};

}  // namespace ndl_impl

namespace ndl {

class TanPresentationLUTFactory {
 public:
  iDICOM_PRESENTATION_LUT* CreateDefault() const;
  iDICOM_PRESENTATION_LUT* CreateCopy(const iDICOM_PRESENTATION_LUT& other) const;
  iDICOM_PRESENTATION_LUT* CreateShape(int8_t code) const;
  iDICOM_PRESENTATION_LUT* CreateTable8(const unsigned char* entries, uint32_t count, int32_t first,
                                        const char16_t* explanation) const;
  iDICOM_PRESENTATION_LUT* CreateTable16(const unsigned short* entries, uint32_t count, int32_t first,
                                         const char16_t* explanation) const;
};

}  // namespace ndl
