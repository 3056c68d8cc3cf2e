// LUT evaluation interfaces shared by the modality, VOI and presentation LUTs, and the stored
// table of 8- or 16-bit entries with its mapped input range. Lookups clamp to the first and
// last entry and return entries zero-extended.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

namespace ndl {

class iLUT_GENERAL {
 public:
  virtual bool IsEmpty() const = 0;
  virtual const void* GetData() const = 0;
  virtual int32_t GetCount() const = 0;
  virtual int32_t GetBytesPerEntry() const = 0;
  virtual int32_t Map(int32_t input) const = 0;
  virtual bool IsEqual(const iLUT_GENERAL* other) const = 0;
  virtual ~iLUT_GENERAL() = default;
};

class iLUT : public iLUT_GENERAL {
 public:
  virtual const char16_t* GetExplanation() const = 0;
  virtual iLUT& SetExplanation(const char16_t* text) = 0;
};

}  // namespace ndl

namespace ndl_impl {

class iLUT_DATA_GENERAL {
 public:
  virtual ~iLUT_DATA_GENERAL() = default;
  virtual int32_t Lookup(int32_t x) const = 0;
  virtual bool IsEqual(const iLUT_DATA_GENERAL* other) const = 0;
  virtual void Assign(const iLUT_DATA_GENERAL& other) = 0;
  virtual bool IsEmpty() const = 0;
  virtual int32_t GetFirstMapped() const = 0;
  virtual int32_t GetLastMapped() const = 0;
  virtual int32_t GetMinValue() const = 0;
  virtual int32_t GetMaxValue() const = 0;
  virtual int32_t GetCount() const = 0;
  virtual const void* GetEntries() const = 0;
  virtual int32_t GetBitsPerEntry() const = 0;
};

class iLUT_DATA : public virtual iLUT_DATA_GENERAL {
 public:
  ~iLUT_DATA() override = default;
  virtual const char16_t* GetExplanation() const = 0;
  virtual void SetExplanation(const char16_t* text) = 0;
};

template <class T, class A = std::allocator<T>>
class TanLUTDataGeneral : public virtual iLUT_DATA_GENERAL {
 public:
  TanLUTDataGeneral(const T* entries, uint32_t count, int32_t first)
      : FFirstMapped(first), FLastMapped(static_cast<int32_t>(static_cast<int64_t>(first) + count - 1)) {
    if (entries != nullptr && count > 0) FEntries.assign(entries, entries + count);
  }
  TanLUTDataGeneral(const TanLUTDataGeneral&) = default;
  ~TanLUTDataGeneral() override = default;

  int32_t Lookup(int32_t x) const override {
    if (x < FFirstMapped) return FEntries.empty() ? 0 : FEntries.front();
    if (x > FLastMapped) return FEntries.empty() ? 0 : FEntries.back();
    return FEntries.at(static_cast<uint32_t>(x - FFirstMapped));
  }
  bool IsEqual(const iLUT_DATA_GENERAL* other) const override {
    const auto* o = dynamic_cast<const TanLUTDataGeneral*>(other);
    return o != nullptr && FEntries == o->FEntries && FFirstMapped == o->FFirstMapped && FLastMapped == o->FLastMapped;
  }
  void Assign(const iLUT_DATA_GENERAL& other) override {
    if (&other == static_cast<const iLUT_DATA_GENERAL*>(this)) return;
    const auto& o = dynamic_cast<const TanLUTDataGeneral&>(other);
    FEntries = o.FEntries;
    FFirstMapped = o.FFirstMapped;
    FLastMapped = o.FLastMapped;
  }
  int32_t GetFirstMapped() const override { return FFirstMapped; }
  int32_t GetLastMapped() const override { return FLastMapped; }
  int32_t GetMinValue() const override { return FEntries.empty() ? 0 : *std::min_element(FEntries.begin(), FEntries.end()); }
  int32_t GetMaxValue() const override { return FEntries.empty() ? 0 : *std::max_element(FEntries.begin(), FEntries.end()); }
  int32_t GetCount() const override { return FLastMapped - FFirstMapped + 1; }
  const void* GetEntries() const override { return FEntries.data(); }
  int32_t GetBitsPerEntry() const override { return static_cast<int32_t>(sizeof(T) * 8); }
  bool IsEmpty() const override { return FEntries.empty(); }

 protected:
  std::vector<T, A> FEntries;
  int32_t FFirstMapped;
  int32_t FLastMapped;
};

template <class T, class A = std::allocator<T>>
class TanLUTData : public iLUT_DATA, public TanLUTDataGeneral<T, A> {
 public:
  TanLUTData(const T* entries, uint32_t count, int32_t first, const std::u16string& explanation)
      : TanLUTDataGeneral<T, A>(entries, count, first), FExplanation(explanation) {}
  TanLUTData(const TanLUTData& other) : iLUT_DATA_GENERAL(), iLUT_DATA(), TanLUTDataGeneral<T, A>(other), FExplanation(other.FExplanation) {}
  ~TanLUTData() override = default;

  const char16_t* GetExplanation() const override { return FExplanation.empty() ? nullptr : FExplanation.c_str(); }
  void SetExplanation(const char16_t* text) override {
    if (text == nullptr) FExplanation.clear();
    else FExplanation = text;
  }
  bool IsEqual(const iLUT_DATA_GENERAL* other) const override {
    const auto* o = dynamic_cast<const TanLUTData*>(other);
    return o != nullptr && TanLUTDataGeneral<T, A>::IsEqual(other) && FExplanation == o->FExplanation;
  }
  void Assign(const iLUT_DATA_GENERAL& other) override {
    if (&other == static_cast<const iLUT_DATA_GENERAL*>(this)) return;
    TanLUTDataGeneral<T, A>::Assign(other);
    const auto* o = dynamic_cast<const TanLUTData*>(&other);
    if (o != nullptr) FExplanation = o->FExplanation;
    else FExplanation.clear();
  }

 private:
  std::u16string FExplanation;
};

using TanLUTData8 = TanLUTData<unsigned char>;
using TanLUTData16 = TanLUTData<unsigned short>;

}  // namespace ndl_impl
