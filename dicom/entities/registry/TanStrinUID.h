#pragma once

#include <string>

namespace ORN_utility {

// One UID text with its component-wise order.
class TanStrinUID {
 public:
  explicit TanStrinUID(std::string uid) : FUID(std::move(uid)) {}
  const std::string& Text() const { return FUID; }

  // True when A comes after B: first components by length, then character by character, then
  // the rests after the first "." the same way. For UIDs without leading zeros this is numeric
  // order component by component, a UID that extends another coming after it.
  static bool IsGreater(const std::string& a, const std::string& b);
  static bool IsGreater(const TanStrinUID& a, const TanStrinUID& b) { return IsGreater(a.FUID, b.FUID); }

 private:
  std::string FUID;
};

}  // namespace ORN_utility
