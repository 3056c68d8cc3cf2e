// What the IS and DS readers share: the first value of a number text.
#pragma once

#include <cstring>
#include <utility>

namespace ORN_utility::number_text {

// The first value of a text (values are separated by "\"), blanks and control characters at
// both ends left out. A missing text reads as the empty text.
inline std::pair<const char*, const char*> FirstValue(const char* text) {
  if (!text) text = "";
  const char* begin = text;
  const char* end = std::strchr(text, '\\');
  if (!end) end = text + std::strlen(text);
  while (begin < end && static_cast<unsigned char>(*begin) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(end[-1]) <= ' ') --end;
  return {begin, end};
}

}  // namespace ORN_utility::number_text
