// Memory pool over a file mapping, on the paging file (no file name) or on a file the pool
// creates itself. The pool never opens an existing file: it would otherwise truncate and later
// delete a file that is not its own. It deletes only the file it created.
#pragma once

#include <cstdint>
#include <string>

#include "base/memory/iMEMORY_POOL.h"

namespace platform {
struct FileMapping;
}

namespace ORN_std {

class TanFileMappingView : public iMEMORY_POOL {
 public:
  // fileName null or empty: the paging file. flagsAndAttributes has no meaning on this platform.
  explicit TanFileMappingView(const char* fileName = nullptr, uint32_t flagsAndAttributes = 0);
  ~TanFileMappingView() override;
  TanFileMappingView(const TanFileMappingView&) = delete;
  TanFileMappingView& operator=(const TanFileMappingView&) = delete;

  TanFileMappingView& Reserve(uint64_t size, const char* mappingName) override;
  bool IsValid() override { return FMapping != nullptr; }
  void* Map(uint64_t offset, uint64_t bytes) override;
  TanFileMappingView& Unmap(void*& view) override;
  TanFileMappingView& Unmap(unsigned char*& view) override;
  uint64_t GetSize() override { return FSize; }
  std::string GetLastErrorText() override { return FLastErrorText; }

 private:
  void Fail();  // takes the system's message for the last error

  int FFile;                       // the backing file; -1 when there is none
  platform::FileMapping* FMapping;  // null when there is none
  uint64_t FSize;                  // as last reserved, not rounded
  std::string FFileName;
  std::string FLastErrorText;
  bool FFailed;
  bool FCreatedFile;  // the pool made the file and deletes it
};

}  // namespace ORN_std
