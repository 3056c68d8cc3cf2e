// Base of every value class and of the data set: VR code, success flag, last error text and
// the change callback that hears the value's new byte length. Two virtual operations: the
// destructor and the byte length.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_dicom {

class TanValueBasis {
 public:
  using ChangeFunction = void (*)(void* context, uint32_t newLength);

  explicit TanValueBasis(uint16_t vr) : FVR(vr) {}
  TanValueBasis(const TanValueBasis& other)
      : FVR(other.FVR), FSuccess(other.FSuccess), FLastError(other.FLastError) {}
  TanValueBasis& operator=(const TanValueBasis&) = delete;
  virtual ~TanValueBasis() = default;

  virtual uint32_t Length() const = 0;

  uint16_t VR() const { return FVR; }
  bool IsSuccess() const { return FSuccess; }
  const std::string& LastError() const { return FLastError; }
  bool HasChangeCallback() const { return FOnChange != nullptr; }
  void SetChangeCallback(ChangeFunction f, void* context) {
    FOnChange = f;
    FContext = context;
  }
  // The callback set last, so that a caller can take it off for a bulk change and put it back.
  ChangeFunction GetChangeFunction() const { return FOnChange; }
  void* GetChangeContext() const { return FContext; }
  // The largest byte length the value may take: an element with a 16-bit length field lowers
  // it to 65535, so that a change beyond it fails instead of truncating the field.
  uint32_t LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(uint32_t limit) { FLengthLimit = limit; }

  // Marks the value failed with the text (the element refuses a value this way).
  void SetFailure(const char* text) { Fail(text); }

  static constexpr const char* kTooLongText = "Value is too long for a 16-bit length field.";

 protected:
  void ReportLength(uint32_t n) {
    if (FOnChange != nullptr) FOnChange(FContext, n);
  }
  void Fail(const char* text) {
    FSuccess = false;
    FLastError = text;
  }

  ChangeFunction FOnChange = nullptr;
  void* FContext = nullptr;
  uint16_t FVR;
  bool FSuccess = true;
  std::string FLastError;
  uint32_t FLengthLimit = 0xFFFFFFFFu;

  friend class TanValueInterface;
};

}  // namespace ORN_dicom
