// Maps ranges of an open file into memory. One file mapping serves every view; it is made
// anew (larger, or writable) when a later range does not fit it or asks for writing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileHandle.h"
#include "platform/files/MappingOnFile.h"

namespace ORN_std {

class iFILE_MAPPING {
 public:
  // A pointer to the byte at the offset, or null.
  virtual void* MapForReading(int64_t offset, int64_t length) = 0;
  virtual void* MapForWriting(int64_t offset, int64_t length) = 0;
  virtual iFILE_MAPPING& Unmap(void* address, bool closeMapping) = 0;
  virtual iFILE_MAPPING& UnmapWritten(void* address, bool closeMapping) = 0;
  virtual ~iFILE_MAPPING() = default;
};

class TanFileMappingService : public iFILE_MAPPING {
 public:
  static constexpr int64_t kViewAlignment = 0x10000;

  // Throws std::runtime_error "invalid-handle-value" when the file is not open.
  TanFileMappingService(platform::FileHandle& fileHandle, std::string& errorText);
  ~TanFileMappingService() override;
  TanFileMappingService(const TanFileMappingService&) = delete;
  TanFileMappingService& operator=(const TanFileMappingService&) = delete;

  void* MapForReading(int64_t offset, int64_t length) override;
  void* MapForWriting(int64_t offset, int64_t length) override;
  iFILE_MAPPING& Unmap(void* address, bool closeMapping) override;
  iFILE_MAPPING& UnmapWritten(void* address, bool closeMapping) override;

 private:
  void* Map(int64_t offset, int64_t length, bool writing);
  bool EnsureMapping(uint64_t size, bool writing);
  iFILE_MAPPING& Release(void* address, bool closeMapping, bool flush);
  void CloseMapping();

  std::string& FLastErrorText;
  platform::FileHandle& FHandle;
  platform::MappingOnFileHandle FMapping;
  uint64_t FMappingSize;
  bool FMappingWritable;
};

}  // namespace ORN_std
