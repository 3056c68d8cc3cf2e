// Win32's interlocked operations on 32-bit integers: atomic, and full barriers.
#pragma once

#include <cstdint>

namespace platform {

// Return the new value.
inline int32_t InterlockedIncrement(int32_t* p) { return __atomic_add_fetch(p, 1, __ATOMIC_SEQ_CST); }
inline int32_t InterlockedDecrement(int32_t* p) { return __atomic_sub_fetch(p, 1, __ATOMIC_SEQ_CST); }
// Return the value before the operation.
inline int32_t InterlockedExchange(int32_t* p, int32_t value) {
  return __atomic_exchange_n(p, value, __ATOMIC_SEQ_CST);
}
inline int32_t InterlockedExchangeAdd(int32_t* p, int32_t add) {
  return __atomic_fetch_add(p, add, __ATOMIC_SEQ_CST);
}
inline int32_t InterlockedCompareExchange(int32_t* p, int32_t exchange, int32_t comparand) {
  __atomic_compare_exchange_n(p, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comparand;
}
// Reads the value with a full barrier (the compare-exchange of 0 with 0 idiom).
inline int32_t InterlockedRead(int32_t* p) { return __atomic_load_n(p, __ATOMIC_SEQ_CST); }

// Pointer-sized forms, for values that hold an object's address (32 bits on the original
// platform, 64 here).
inline intptr_t InterlockedExchangePointer(intptr_t* p, intptr_t value) {
  return __atomic_exchange_n(p, value, __ATOMIC_SEQ_CST);
}
inline intptr_t InterlockedExchangeAddPointer(intptr_t* p, intptr_t add) {
  return __atomic_fetch_add(p, add, __ATOMIC_SEQ_CST);
}
inline intptr_t InterlockedCompareExchangePointer(intptr_t* p, intptr_t exchange, intptr_t comparand) {
  __atomic_compare_exchange_n(p, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comparand;
}

}  // namespace platform
