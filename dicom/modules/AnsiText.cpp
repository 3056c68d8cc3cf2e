#include "dicom/modules/AnsiText.h"

#include "platform/text/CodePageConversion.h"

namespace ndl_impl {

std::u16string AnsiToWide(const std::string& text) {
  std::wstring wide;
  platform::MultiByteToWide(0, text, wide);
  std::u16string out;
  for (wchar_t c : wide) {
    const auto code = static_cast<uint32_t>(c);
    if (code < 0x10000) {
      out += static_cast<char16_t>(code);
    } else {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string WideToAnsi(const std::u16string& text) {
  // Code page 1252 holds no character outside the basic plane, so units map one to one.
  const std::wstring wide(text.begin(), text.end());
  std::string out;
  platform::WideToMultiByte(0, wide, out);
  return out;
}

}  // namespace ndl_impl
