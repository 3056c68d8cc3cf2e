// The number of a DS text, read leniently: the first value of the text (up to "\"), blanks
// around it ignored, a leading "+" dropped, then the characters that can belong to a decimal
// number (digits, the first ".", the first "e" or "E", the first sign after the first
// character) up to the first one that cannot. The decimal separator is "." whatever the
// locale. Made on the caller's stack and used at once.
#pragma once

#include <string>

namespace ORN_utility {

class TanStr2Float {
 public:
  explicit TanStr2Float(const char* text);
  explicit TanStr2Float(const std::string& text) : TanStr2Float(text.c_str()) {}

  // 0 for an empty text. Throws std::invalid_argument "'<text>' is not a valid floating point
  // value" when the kept text is no number ("-", ".", "e5", "1e") or longer than a DS value
  // can be.
  long double ToFloat() const;

 private:
  static constexpr size_t kCapacity = 16;  // a DS value has at most 16 characters
  char FBody[kCapacity + 1] = {};
  bool FTooLong = false;
};

}  // namespace ORN_utility
