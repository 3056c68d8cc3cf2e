#include "platform/com/HResult.h"

#include "platform/core/SystemMessage.h"

namespace platform::com {

std::string HResultMessage(HRESULT status) {
  const char* text = nullptr;
  switch (status) {
    case hr::NotImpl: text = "Not implemented"; break;
    case hr::NoInterface: text = "No such interface supported"; break;
    case hr::Pointer: text = "Invalid pointer"; break;
    case hr::Fail: text = "Unspecified error"; break;
    case hr::Unexpected: text = "Catastrophic failure"; break;
    case hr::NoAggregation: text = "Class does not support aggregation (or class object is remote)"; break;
    case hr::ClassNotAvailable: text = "ClassFactory cannot supply requested class"; break;
    case hr::ClassNotRegistered: text = "Class not registered"; break;
    case hr::DllNotFound: text = "DLL for class not found"; break;
    default: break;
  }
  if (text != nullptr) return std::string(text) + "\r\n";
  const auto code = static_cast<uint32_t>(status);
  if ((code & 0xFFFF0000u) == 0x80070000u) return SystemMessage(code & 0xFFFFu);
  return SystemMessage(code);
}

}  // namespace platform::com
