#include "imaging/TgbPaddingChecker.h"

#include <cstring>

namespace {

template <class T>
void Replace(const uint8_t* source, uint8_t* destination, size_t count, bool lowEnd, int64_t p, int64_t t,
             int64_t T_) {
  auto get = [&](size_t i) {
    T v;
    std::memcpy(&v, source + i * sizeof(T), sizeof(T));
    return int64_t(v);
  };
  if (lowEnd) {
    int64_t m = T_, r = T_;
    for (size_t i = 0; i < count; ++i) {
      const int64_t v = get(i);
      if (v < m) m = v;
      if (v > p && v < T_ && v < r) r = v;
    }
    if (m == p || r == T_) return;
    for (size_t i = 0; i < count; ++i) {
      const int64_t v = get(i);
      const T out = static_cast<T>(v <= p ? r : v);
      std::memcpy(destination + i * sizeof(T), &out, sizeof(T));
    }
  } else {
    int64_t M = t, r = t;
    for (size_t i = 0; i < count; ++i) {
      const int64_t v = get(i);
      if (v > M) M = v;
      if (v < p && v > t && v > r) r = v;
    }
    if (M == p || r == t) return;
    for (size_t i = 0; i < count; ++i) {
      const int64_t v = get(i);
      const T out = static_cast<T>(v >= p ? r : v);
      std::memcpy(destination + i * sizeof(T), &out, sizeof(T));
    }
  }
}

}  // namespace

bool TgbPaddingChecker::Apply(const uint8_t* source, uint8_t* destination, size_t length) {
  try {
    if (source == nullptr || destination == nullptr) return true;
    if (FBitsAllocated == 16) {
      if (FSigned)
        Replace<int16_t>(source, destination, length / 2, FLowEnd, FPaddingValue, -32768, 32767);
      else
        Replace<uint16_t>(source, destination, length / 2, FLowEnd, FPaddingValue, 0, 65535);
    } else if (FBitsAllocated == 8) {
      Replace<uint8_t>(source, destination, length, FLowEnd, FPaddingValue, 0, 255);
    }
    return true;
  } catch (...) {
    return false;
  }
}
