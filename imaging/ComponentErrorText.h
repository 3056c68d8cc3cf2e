// The fixed text of a failing COM result of a component, shared by the codec and the
// image-operation clients.
#pragma once

#include <string>

#include "platform/com/HResult.h"

namespace ORN_image {

std::string ComponentErrorText(platform::com::HRESULT result);

}  // namespace ORN_image
