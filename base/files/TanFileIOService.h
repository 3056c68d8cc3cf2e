// Reading, writing, seeking, truncating and locking an open file. The service holds references
// to its file's handle and error text, so it follows the file through later opens and closes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileHandle.h"

namespace ORN_std {

class iFILE_IO {
 public:
  virtual bool Truncate() = 0;
  // The bytes transferred (fewer at the end of the file for Read), or -1.
  virtual int32_t Read(void* buffer, uint32_t count, bool overlapped) = 0;
  virtual int32_t Write(const void* data, uint32_t count, bool overlapped) = 0;
  virtual bool Lock(int64_t offset, uint32_t count) = 0;
  virtual bool Unlock(int64_t offset, uint32_t count) = 0;
  virtual int64_t GetRemainingSize() = 0;
  virtual int64_t GetPosition() = 0;
  // Origin 0 the beginning, 2 the end, any other value the current position.
  virtual int64_t Seek(int64_t distance, uint8_t origin) = 0;
  virtual ~iFILE_IO() = default;
};

class TanFileIOService : public iFILE_IO {
 public:
  // Throws std::runtime_error "invalid-handle-value" when the file is not open.
  TanFileIOService(platform::FileHandle& fileHandle, std::string& errorText);

  bool Truncate() override;
  int32_t Read(void* buffer, uint32_t count, bool overlapped) override;
  int32_t Write(const void* data, uint32_t count, bool overlapped) override;
  bool Lock(int64_t offset, uint32_t count) override;
  bool Unlock(int64_t offset, uint32_t count) override;
  int64_t GetRemainingSize() override;
  int64_t GetPosition() override;
  int64_t Seek(int64_t distance, uint8_t origin) override;

 private:
  int32_t Transfer(bool writing, char* buffer, uint32_t count);
  int32_t TransferOverlapped(bool writing, char* buffer, uint32_t count);
  bool Succeeded(bool ok);
  void SetEofText();

  platform::FileHandle& FHandle;
  std::string& FLastErrorText;
};

}  // namespace ORN_std
