// Class-level new and delete for classes whose objects come from a shared block source (a
// private heap or an element pool), one block of sizeof(T) bytes per object.
//
// The source fails in two ways that must reach the new-expression differently:
// - full: operator new is noexcept and returns null, so the new-expression yields null and no
//   constructor runs;
// - the heap or pool cannot be created: a noexcept function cannot throw, so operator new hands
//   out a per-thread stand-in block instead, and the constructor of this base, which runs before
//   anything else of T, throws std::runtime_error("bad-allocation") when it finds itself in that
//   block. The new-expression then calls operator delete, which ignores the stand-in.
// List the mixin as the first base of T. A derived class D larger than T cannot be served by
// T's blocks (asking T's operator for more bytes aborts): D derives from the mixin for D as its
// first base as well and brings that mixin's operator new and delete in with using-declarations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>

#include "base/memory/PoolAssert.h"

namespace nalloc::detail {

// Source: Take<T>() gives a block of sizeof(T) bytes or null and may throw when the heap or
// pool cannot be made; Give<T>(block) returns one.
template <class T, class Source>
class ClassOperators {
 public:
  static void* operator new(std::size_t size) noexcept {
    static_assert(sizeof(T) > 0 && sizeof(T) <= UINT32_MAX, "a block is at most 32-bit long");
    Check(size <= sizeof(T), "size <= sizeof(T)", "ClassOperators.h", __LINE__);
    try {
      return Source::template Take<T>();
    } catch (...) {
      return StandIn();
    }
  }

  static void operator delete(void* block) noexcept {
    if (block == nullptr || IsStandIn(block)) return;
    Source::template Give<T>(block);
  }

  // Placement forms stay available.
  static void* operator new(std::size_t, void* where) noexcept { return where; }
  static void operator delete(void*, void*) noexcept {}

 protected:
  ClassOperators() {
    if (IsStandIn(this)) throw std::runtime_error("bad-allocation");
  }
  ClassOperators(const ClassOperators&) : ClassOperators() {}
  ClassOperators& operator=(const ClassOperators&) = default;
  ~ClassOperators() = default;

 private:
  static unsigned char* StandIn() {
    alignas(T) static thread_local unsigned char block[sizeof(T)];
    return block;
  }
  static bool IsStandIn(const void* p) {
    const auto a = reinterpret_cast<uintptr_t>(p);
    const auto b = reinterpret_cast<uintptr_t>(StandIn());
    return a >= b && a < b + sizeof(T);
  }
};

}  // namespace nalloc::detail
