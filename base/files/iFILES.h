// A folder listing: an ordered, owning collection of file objects.
#pragma once

#include <cstdint>
#include <string>

#include "base/files/iFILE.h"

namespace ORN_std {

class iFILES {
 public:
  virtual bool IsEmpty() const = 0;
  virtual int32_t GetCount() const = 0;
  // The index of the first file whose full path equals the text (case matters), or -1.
  virtual int32_t Find(const std::string& path) const = 0;
  // With release the file leaves the listing without being destroyed (the caller owns it).
  // A bad index, or an empty listing for the pops, throws std::out_of_range "deque".
  virtual iFILES& Erase(int32_t index, bool release) = 0;
  virtual iFILES& Clear(bool release) = 0;
  virtual iFILES& PopFront(bool release) = 0;
  virtual iFILES& PopBack(bool release) = 0;
  virtual iFILES& Reverse() = 0;
  virtual iFILE& Front() = 0;
  virtual const iFILE& Front() const = 0;
  virtual iFILE& Back() = 0;
  virtual const iFILE& Back() const = 0;
  virtual iFILE& At(int32_t index) = 0;
  virtual const iFILE& At(int32_t index) const = 0;
  // Moves every file of the other listing to the front (back) of this one.
  virtual iFILES& AppendFront(iFILES& other, bool takeFromFront) = 0;
  virtual iFILES& AppendBack(iFILES& other, bool takeFromBack) = 0;
  virtual void Rescan(const std::string& mask, bool recursive, bool toFront) = 0;
  // The sum of the files' sizes, or -1 with the first unreadable file's error text.
  virtual int64_t GetTotalSize() = 0;
  virtual const std::string& GetLastErrorText() const = 0;
  virtual ~iFILES() = default;
};

}  // namespace ORN_std
