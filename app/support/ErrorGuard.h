// The error state of the GUI support objects: an operation that fails records a message and a
// code here and returns false or an empty result; callers ask the guard what went wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

namespace app {

using platform::com::HRESULT;
using platform::com::IID;

// Called on every error with the context, the code and the message; returning true withdraws
// the error (the history keeps it).
using ErrorCallback = bool (*)(void* context, int32_t code, std::wstring message);

inline constexpr IID IID_ERROR_GUARD = {0x6B1D5E20, 0x41A7, 0x4C3E, {0x9A, 0x51, 0x2F, 0x0C, 0x7D, 0x13, 0xE8, 0x01}};

class iERROR_GUARD {
 public:
  virtual void SetError(std::wstring message, int32_t code) = 0;
  virtual void SetErrorText(std::wstring message, int32_t code) = 0;
  virtual bool Check(bool condition, std::wstring message, int32_t code) = 0;
  virtual bool CheckHResult(HRESULT hr, std::wstring prefix) = 0;
  virtual void SetSystemError(std::wstring prefix) = 0;
  virtual ~iERROR_GUARD() = default;
  virtual std::wstring PopMessage() = 0;
  virtual bool PopErrorFlag() = 0;
  virtual std::wstring GetHistoryMessage(int32_t index) = 0;
  virtual void SetCallback(ErrorCallback callback, void* context) = 0;
  virtual void ResetCallback() = 0;
  virtual void ClearHistory() = 0;
  virtual void EnableHistory(uint32_t maximum) = 0;
  virtual void DisableHistory() = 0;
};

class TErrorGuard : public iERROR_GUARD {
 public:
  TErrorGuard() = default;
  TErrorGuard(const TErrorGuard&) = default;
  TErrorGuard& operator=(const TErrorGuard&) = default;

  void SetError(std::wstring message, int32_t code) override;
  void SetErrorText(std::wstring message, int32_t code) override;
  bool Check(bool condition, std::wstring message, int32_t code) override;
  bool CheckHResult(HRESULT hr, std::wstring prefix) override;
  void SetSystemError(std::wstring prefix) override;
  ~TErrorGuard() override = default;
  std::wstring PopMessage() override;
  bool PopErrorFlag() override;
  std::wstring GetHistoryMessage(int32_t index) override;
  void SetCallback(ErrorCallback callback, void* context) override;
  void ResetCallback() override;
  void ClearHistory() override;
  void EnableHistory(uint32_t maximum) override;
  void DisableHistory() override;
  virtual HRESULT QueryInterface(const IID& iid, void** out);

  // The callback and its context, so that an owner can hand them on to a part of its own.
  ErrorCallback Callback() const { return callback_; }
  void* CallbackContext() const { return context_; }

 private:
  std::vector<std::wstring> history_;
  std::wstring message_;
  int32_t code_ = 0;
  uint32_t historyMaximum_ = 5;
  bool error_ = false;
  bool historyEnabled_ = false;
  ErrorCallback callback_ = nullptr;
  void* context_ = nullptr;
};

// The 8-bit texts of the program are UTF-8: the code page that -1 stands for.
uint32_t GetACP();
inline int32_t ResolveCodePage(int32_t codePage) { return codePage == -1 ? static_cast<int32_t>(GetACP()) : codePage; }

}  // namespace app
