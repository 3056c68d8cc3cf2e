// The owning pointer in which records travel between their constructor and the set that takes
// them; its destructor deletes a record still held through the record's virtual destructor.
#pragma once

#include <memory>

namespace ntl {

template <class T>
using auto_ptr = std::unique_ptr<T>;

}  // namespace ntl
