#include "app/support/ErrorGuard.h"

#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/text/CodePageConversion.h"

namespace app {

uint32_t GetACP() { return 65001; }

void TErrorGuard::SetError(std::wstring message, int32_t code) {
  message_ = message;
  code_ = code;
  error_ = true;
  // A maximum of 0 keeps nothing; otherwise the oldest entry makes room for the new one.
  if (historyEnabled_ && historyMaximum_ != 0) {
    if (history_.size() >= historyMaximum_) history_.erase(history_.begin());
    history_.push_back(message);
  }
  if (callback_ && callback_(context_, code, message)) {
    message_.clear();
    code_ = 0;
    error_ = false;
  }
}

void TErrorGuard::SetErrorText(std::wstring message, int32_t code) { SetError(std::move(message), code); }

bool TErrorGuard::Check(bool condition, std::wstring message, int32_t code) {
  if (condition) {
    SetError(std::move(message), code);
    return true;
  }
  message_.clear();
  code_ = 0;
  error_ = false;
  return false;
}

bool TErrorGuard::CheckHResult(HRESULT hr, std::wstring prefix) {
  namespace hr_ = platform::com::hr;
  if (hr == hr_::Ok) return false;
  const wchar_t* name = L"UNKNOWN_ERROR";
  switch (hr) {
    case hr_::False: name = L"S_FALSE"; break;
    case hr_::OutOfMemory: name = L"E_OUTOFMEMORY"; break;
    case hr_::InvalidArg: name = L"E_INVALIDARG"; break;
    case hr_::Unexpected: name = L"E_UNEXPECTED"; break;
    case hr_::ClassNotRegistered: name = L"REGDB_E_CLASSNOTREG"; break;
    case hr_::NoAggregation: name = L"CLASS_E_NOAGGREGATION"; break;
    default: break;
  }
  SetError(prefix + name, hr);
  return hr < 0;
}

void TErrorGuard::SetSystemError(std::wstring prefix) {
  const uint32_t code = platform::GetLastError();
  std::wstring description;
  if (platform::MultiByteToWide(65001, platform::SystemMessage(code), description) && !description.empty())
    SetError(prefix + description, static_cast<int32_t>(code));
  else
    SetError(prefix + L"ErrorGuard error: FormatMessage returned NULL!", static_cast<int32_t>(code));
}

std::wstring TErrorGuard::PopMessage() {
  std::wstring message = std::move(message_);
  message_.clear();
  return message;
}

bool TErrorGuard::PopErrorFlag() {
  const bool flag = error_;
  error_ = false;
  return flag;
}

std::wstring TErrorGuard::GetHistoryMessage(int32_t index) {
  // An index outside the history gives the empty text rather than reading past it.
  if (history_.empty() || index < 0 || static_cast<size_t>(index) >= history_.size()) return {};
  return history_[static_cast<size_t>(index)];
}

void TErrorGuard::SetCallback(ErrorCallback callback, void* context) {
  callback_ = callback;
  context_ = context;
}

void TErrorGuard::ResetCallback() { callback_ = nullptr; }
void TErrorGuard::ClearHistory() { history_.clear(); }

void TErrorGuard::EnableHistory(uint32_t maximum) {
  historyMaximum_ = maximum;
  historyEnabled_ = true;
}

void TErrorGuard::DisableHistory() { historyEnabled_ = false; }

HRESULT TErrorGuard::QueryInterface(const IID& iid, void** out) {
  if (!out) return platform::com::hr::Fail;
  *out = nullptr;
  if (iid == IID_ERROR_GUARD) {
    *out = static_cast<iERROR_GUARD*>(this);
    return platform::com::hr::Ok;
  }
  return platform::com::hr::Fail;
}

}  // namespace app
