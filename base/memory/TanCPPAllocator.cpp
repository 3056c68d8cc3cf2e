#include "base/memory/TanCPPAllocator.h"

#include "base/memory/TanORNStdException.h"

namespace ORN_std {

namespace {

// Both allocators serve sizes below 4 GiB only.
constexpr uint64_t kLimit = 0x100000000ull;

char* NewBytes(uint64_t size) {
  if (size >= kLimit) return nullptr;
  try {
    return new char[static_cast<std::size_t>(size)];
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void* TanCPPAllocator::Allocate(uint64_t size) {
  char* block = NewBytes(size);
  if (block == nullptr) throw TanORNStdAllocatorException::CannotAllocate();
  return block;
}

void* TanCPPAllocator::Reallocate(uint64_t size, void* block) {
  if (block != nullptr) return block;
  char* fresh = NewBytes(size);
  if (fresh == nullptr) throw TanORNStdAllocatorException::CannotReallocate();
  return fresh;
}

TanCPPAllocator& TanCPPAllocator::Free(void* block) {
  delete[] static_cast<char*>(block);
  return *this;
}

}  // namespace ORN_std
