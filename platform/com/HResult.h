// COM status codes: a 32-bit signed HRESULT whose high bit marks failure. The components and
// their clients here treat only exactly 0 (Ok) as success.
#pragma once

#include <cstdint>
#include <string>

namespace platform::com {

using HRESULT = int32_t;

namespace hr {
constexpr HRESULT Ok = 0;
constexpr HRESULT False = 1;
constexpr HRESULT NotImpl = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT NoInterface = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT Pointer = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT Fail = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT Unexpected = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT NoAggregation = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT ClassNotAvailable = static_cast<HRESULT>(0x80040111u);
constexpr HRESULT ClassNotRegistered = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DllNotFound = static_cast<HRESULT>(0x800401F8u);
constexpr HRESULT OutOfMemory = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT InvalidArg = static_cast<HRESULT>(0x80070057u);
}  // namespace hr

// The failing status that carries a Win32 error code (0x80070000 | code); 0 stays 0.
constexpr HRESULT HResultFromWin32(uint32_t code) {
  return code == 0 ? 0 : static_cast<HRESULT>((code & 0xFFFFu) | 0x80070000u);
}

constexpr bool Failed(HRESULT status) { return status < 0; }

// The system's message for a status, as FormatMessage gives it (English, trailing CR LF):
// COM's own codes, Win32 codes wrapped in a status, and plain Win32 codes. Unknown: empty.
std::string HResultMessage(HRESULT status);

}  // namespace platform::com
