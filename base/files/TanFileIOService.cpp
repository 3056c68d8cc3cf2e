#include "base/files/TanFileIOService.h"

#include <stdexcept>

#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/files/FileIo.h"

namespace ORN_std {

using platform::MoveMethod;

TanFileIOService::TanFileIOService(platform::FileHandle& fileHandle, std::string& errorText)
    : FHandle(fileHandle), FLastErrorText(errorText) {
  if (fileHandle == platform::kInvalidFileHandle) throw std::runtime_error("invalid-handle-value");
}

bool TanFileIOService::Succeeded(bool ok) {
  FLastErrorText = ok ? std::string() : platform::SystemMessage(platform::GetLastError());
  return ok;
}

// A short read at the end of the file: the message of code 0 and the note, not an error.
void TanFileIOService::SetEofText() {
  FLastErrorText =
      platform::SystemMessage(platform::err::Success) + "However EOF has been reached.";
}

int32_t TanFileIOService::Transfer(bool writing, char* buffer, uint32_t count) {
  uint32_t total = 0;
  uint32_t last = 0;
  bool ok = true;
  for (;;) {
    last = 0;
    ok = writing ? platform::WriteFile(FHandle, buffer + total, count - total, &last, nullptr)
                 : platform::ReadFile(FHandle, buffer + total, count - total, &last, nullptr);
    if (!ok || last == 0 || last >= count) break;
    total += last;
    if (total >= count) {
      last = 0;
      break;
    }
  }
  if (ok && total + last == count) {
    FLastErrorText.clear();
    return static_cast<int32_t>(count);
  }
  if (writing || !ok) {
    Succeeded(false);
    return -1;
  }
  SetEofText();
  return static_cast<int32_t>(total + last);
}

int32_t TanFileIOService::TransferOverlapped(bool writing, char* buffer, uint32_t count) {
  int64_t position = 0;
  if (!platform::SetFilePointer(FHandle, 0, MoveMethod::Current, &position)) {
    Succeeded(false);
    return -1;
  }
  platform::Overlapped record{};
  record.offset = static_cast<uint64_t>(position);
  uint32_t done = 0;
  uint32_t last = 0;
  for (;;) {
    last = 0;
    const bool ok = writing
                        ? platform::WriteFile(FHandle, buffer + done, count - done, &last, &record)
                        : platform::ReadFile(FHandle, buffer + done, count - done, &last, &record);
    if (ok || platform::GetLastError() != platform::err::IoPending) break;
    const bool waited = platform::GetOverlappedResult(FHandle, &record, &last, true);
    if (!waited && platform::GetLastError() != platform::err::IoIncomplete) break;
    // A wait that moved nothing would repeat the same request for ever.
    if (done + last == count || last == 0) break;
    done += last;
    record.offset += last;
  }
  done += last;
  if (done == count) {
    if (platform::SetFilePointer(FHandle, done, MoveMethod::Current, nullptr)) {
      FLastErrorText.clear();
      return static_cast<int32_t>(done);
    }
  }
  if (!writing && platform::GetLastError() == platform::err::HandleEof) {
    SetEofText();
    return static_cast<int32_t>(done);
  }
  Succeeded(false);
  return -1;
}

int32_t TanFileIOService::Read(void* buffer, uint32_t count, bool overlapped) {
  char* bytes = static_cast<char*>(buffer);
  return overlapped ? TransferOverlapped(false, bytes, count) : Transfer(false, bytes, count);
}

int32_t TanFileIOService::Write(const void* data, uint32_t count, bool overlapped) {
  char* bytes = const_cast<char*>(static_cast<const char*>(data));
  const int32_t result =
      overlapped ? TransferOverlapped(true, bytes, count) : Transfer(true, bytes, count);
  // Flushed whatever the result; the result and error text stay those of the transfer.
  const uint32_t code = platform::GetLastError();
  platform::FlushFileBuffers(FHandle);
  platform::SetLastError(code);
  return result;
}

bool TanFileIOService::Truncate() { return Succeeded(platform::SetEndOfFile(FHandle)); }

bool TanFileIOService::Lock(int64_t offset, uint32_t count) {
  return Succeeded(platform::LockFile(FHandle, static_cast<uint64_t>(offset), count));
}

bool TanFileIOService::Unlock(int64_t offset, uint32_t count) {
  return Succeeded(platform::UnlockFile(FHandle, static_cast<uint64_t>(offset), count));
}

int64_t TanFileIOService::GetPosition() {
  int64_t position = 0;
  return Succeeded(platform::SetFilePointer(FHandle, 0, MoveMethod::Current, &position)) ? position
                                                                                         : -1;
}

int64_t TanFileIOService::GetRemainingSize() {
  int64_t size = 0;
  if (!Succeeded(platform::GetFileSize(FHandle, &size))) return -1;
  const int64_t position = GetPosition();
  return position < 0 ? -1 : size - position;
}

int64_t TanFileIOService::Seek(int64_t distance, uint8_t origin) {
  MoveMethod method = MoveMethod::Current;
  if (origin == 0) {
    method = MoveMethod::Begin;
    distance &= INT64_MAX;  // from the beginning the distance is taken without its sign bit
  } else if (origin == 2) {
    method = MoveMethod::End;  // signed: -10 is ten bytes before the end
  }
  int64_t position = 0;
  return Succeeded(platform::SetFilePointer(FHandle, distance, method, &position)) ? position : -1;
}

}  // namespace ORN_std
