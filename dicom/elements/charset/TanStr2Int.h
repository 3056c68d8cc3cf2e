// The number of an IS text, read leniently: the first value of the text (up to "\"), blanks
// around it ignored, an optional sign, then its digits up to the first character that is not
// one. Made on the caller's stack and used at once.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_utility {

class TanStr2Int {
 public:
  explicit TanStr2Int(const char* text);
  explicit TanStr2Int(const std::string& text) : TanStr2Int(text.c_str()) {}

  // 0 when the kept text is not a 32-bit integer (empty, "-" alone, out of range, or longer
  // than an IS value can be).
  int32_t ToInt() const;

 private:
  static constexpr size_t kCapacity = 12;  // an IS value has at most 12 characters
  char FBody[kCapacity + 1] = {};
  bool FTooLong = false;
};

}  // namespace ORN_utility
