// The members every LUT object (modality, VOI, presentation) forwards to the data form it holds,
// with empty answers when it holds none. Self is the LUT object class: two objects are equal
// only when both are of that class and hold equal data (or both hold none).
#pragma once

#include <cstdint>
#include <memory>

#include "dicom/modules/TanLUTData.h"

namespace ndl_impl {

template <class Self, class Interface, class Data>
class TanLUTObjectBasis : public Interface {
 public:
  bool IsEmpty() const override { return !FData || FData->IsEmpty(); }
  const void* GetData() const override { return FData ? FData->GetData() : nullptr; }
  int32_t GetCount() const override { return FData ? FData->GetCount() : 0; }
  int32_t GetBytesPerEntry() const override { return FData ? FData->GetBytesPerEntry() : 0; }
  int32_t Map(int32_t x) const override { return FData ? FData->Map(x) : 0; }
  bool IsEqual(const ndl::iLUT_GENERAL* other) const override {
    const auto* o = dynamic_cast<const Self*>(other);
    if (o == nullptr) return false;
    const Data* mine = FData.get();
    const Data* theirs = static_cast<const TanLUTObjectBasis*>(o)->FData.get();
    if (mine == nullptr || theirs == nullptr) return mine == nullptr && theirs == nullptr;
    return mine->IsEqual(theirs);
  }
  const char16_t* GetExplanation() const override { return FData ? FData->GetExplanation() : nullptr; }
  ndl::iLUT& SetExplanation(const char16_t* text) override {
    if (FData) FData->SetExplanation(text);
    return *this;
  }

 protected:
  TanLUTObjectBasis() = default;
  explicit TanLUTObjectBasis(std::unique_ptr<Data> data) : FData(std::move(data)) {}
  ~TanLUTObjectBasis() override = default;

  std::unique_ptr<Data> FData;
};

}  // namespace ndl_impl
