#pragma once

#include <cstdint>
#include <string>

namespace ORN_utility {

// One time of one file, read once. The comparisons settle which of two files holding the same
// SOP instance a record keeps, so they give one answer whatever order the files come in: the
// asked time first, then the last write time, then the path. A file system without birth times
// gives the last write time as the creation time (the platform's rule), so a missing birth time
// never makes a file "the earliest of all". A file that cannot be opened at all ranks before
// every file that can, so a record never keeps a file that is gone in place of one that exists.
class TanFileDateTime {
 public:
  enum Kind { kCreation = 0, kLastAccess = 1, kLastWrite = 2 };

  TanFileDateTime(const std::string& fileName, int kind);

  // A strictly before B.
  static bool IsEarlier(const TanFileDateTime& a, const TanFileDateTime& b);
  // A not after B.
  static bool IsNotLater(const TanFileDateTime& a, const TanFileDateTime& b);

  uint64_t FileTime() const { return FFileTime; }  // local time, Windows ticks; 0 when not read
  bool Valid() const { return FValid; }
  const std::string& Path() const { return FPath; }

  // True when both names lead to one file (same device and inode).
  static bool IsSameFile(const std::string& a, const std::string& b);

 private:
  uint64_t FFileTime = 0;
  bool FValid = false;
  // For the comparisons: the UTC form of the asked time, the last write time, the trimmed name.
  uint64_t FUtc = 0;
  uint64_t FLastWriteUtc = 0;
  std::string FPath;

  static int Compare(const TanFileDateTime& a, const TanFileDateTime& b);
};

}  // namespace ORN_utility
