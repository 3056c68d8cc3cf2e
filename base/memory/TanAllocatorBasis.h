// Empty base of the library's STL allocators.
#pragma once

namespace ORN_std {

class TanAllocatorBasis {};

}  // namespace ORN_std
