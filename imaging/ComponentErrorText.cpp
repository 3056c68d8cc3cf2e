#include "imaging/ComponentErrorText.h"

namespace ORN_image {

std::string ComponentErrorText(platform::com::HRESULT result) {
  switch (static_cast<uint32_t>(result)) {
    case 0x80004002u: return "COM-no-interface";
    case 0x80004005u: return "COM-initialization-fail";
    // E_UNEXPECTED shares the out-of-memory text.
    case 0x8000FFFFu: return "COM-system-is-out-of-memory";
    case 0x80040110u: return "COM-no-aggregation";
    case 0x8007000Eu: return "COM-system-is-out-of-memory";
    case 0x80070057u: return "COM-argument-is-invalid";
    default: return "COM-unexpected-error";
  }
}

}  // namespace ORN_image
