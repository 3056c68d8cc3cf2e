#include "base/memory/TanORNStdException.h"

namespace ORN_std {

TanORNStdAllocatorException TanORNStdAllocatorException::CannotAllocate() {
  return TanORNStdAllocatorException("Cannot allocate memory.", kCannotAllocate);
}

TanORNStdAllocatorException TanORNStdAllocatorException::CannotReallocate() {
  return TanORNStdAllocatorException("Cannot reallocate memory.", kCannotReallocate);
}

TanORNStdAllocatorException TanORNStdAllocatorException::CannotDeallocate() {
  return TanORNStdAllocatorException("Cannot deallocate memory.", kCannotDeallocate);
}

}  // namespace ORN_std
