// The 132 leading bytes of a Part 10 file: 128 bytes of preamble and the prefix "DICM".
#pragma once

#include <cstring>
#include <istream>
#include <ostream>
#include <string>

namespace ORN_dicom {

class TanPreamble {
 public:
  static constexpr unsigned kSize = 132;

  TanPreamble() { Default(); }
  explicit TanPreamble(const void* source) { ReadFromMemory(source); }

  void ReadFromMemory(const void* source) {
    if (source == nullptr) Default();
    else std::memcpy(FBytes, source, kSize);
  }
  // A short read leaves the rest zero.
  void ReadFromStream(std::istream& in) {
    std::memset(FBytes, 0, kSize);
    if (in.good()) in.read(reinterpret_cast<char*>(FBytes), kSize);
  }
  // Always 128 zero bytes and "DICM", never the bytes read.
  static void WriteToMemory(void* target) { TanPreamble().CopyOut(target); }
  static void WriteToStream(std::ostream& out) {
    const TanPreamble p;
    out.write(reinterpret_cast<const char*>(p.FBytes), kSize);
  }

  std::string GetPrefix() const { return std::string(reinterpret_cast<const char*>(FBytes) + 128, 4); }
  bool IsDicm() const { return GetPrefix() == "DICM"; }

 private:
  void Default() {
    std::memset(FBytes, 0, kSize);
    std::memcpy(FBytes + 128, "DICM", 4);
  }
  void CopyOut(void* target) const { std::memcpy(target, FBytes, kSize); }

  unsigned char FBytes[kSize];
};

}  // namespace ORN_dicom
