// The base library's exceptions: an exception interface with a numeric code and a text, its
// implementation, and the allocators' kind of it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace ORN_std {

class iEXCEPTION : public std::exception {
 public:
  virtual int32_t GetCode() const = 0;
  virtual const char* GetText() const = 0;
};

class TanORNStdException : public iEXCEPTION {
 public:
  TanORNStdException(const std::string& text, int32_t code) : FText(text), FCode(code) {}

  // what() stays the standard library's: the message is GetText's.
  int32_t GetCode() const override { return FCode; }
  const char* GetText() const override { return FText.c_str(); }
  virtual const char* GetDescription() const { return GetText(); }

 private:
  std::string FText;
  int32_t FCode;
};

class TanORNStdAllocatorException : public TanORNStdException {
 public:
  static constexpr int32_t kCannotAllocate = 11;
  static constexpr int32_t kCannotReallocate = 12;
  static constexpr int32_t kCannotDeallocate = 13;

  using TanORNStdException::TanORNStdException;

  // The exception of each failing operation, with its code and text.
  static TanORNStdAllocatorException CannotAllocate();
  static TanORNStdAllocatorException CannotReallocate();
  static TanORNStdAllocatorException CannotDeallocate();
};

}  // namespace ORN_std
