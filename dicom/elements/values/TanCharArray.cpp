#include "dicom/elements/values/TanCharArray.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace ORN_dicom {

uint32_t TanCharArray::Count() const {
  if (FLength == 0 || FData == nullptr) return 0;
  return 1 + static_cast<uint32_t>(std::count(FData, FData + FLength, kValueDelimiter));
}

std::string TanCharArray::Value(uint32_t i) const {
  if (FLength == 0 || FData == nullptr) return {};
  const char* p = reinterpret_cast<const char*>(FData);
  const char* end = p + FLength;
  for (uint32_t k = 0; k < i; ++k) {
    p = std::find(p, end, kValueDelimiter);
    if (p == end) return {};
    ++p;
  }
  return std::string(p, std::find(p, end, kValueDelimiter));
}

void TanCharArray::SetText(const std::string& text) {
  if (!Resize(static_cast<uint32_t>(text.size()), true)) {
    if (FLastError == kTooLongText) return;
    throw std::runtime_error("bad-memory-reallocation");
  }
  if (!text.empty()) std::memcpy(FData, text.data(), text.size());
}

void TanCharArray::Append(const std::string& value) {
  const std::string current = ToString();
  SetText(current.empty() ? value : current + kValueDelimiter + value);
}

}  // namespace ORN_dicom
