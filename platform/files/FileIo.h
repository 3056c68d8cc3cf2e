// Reading, writing, the file position, size, truncation, flushing and byte-range locks of an
// open file handle.
//
// Overlapped transfers are emulated: the transfer runs at the record's offset (pread/pwrite)
// and completes before the call returns, so a caller's "pending" branch (997) is never taken
// and GetOverlappedResult reports the finished transfer. An overlapped read that meets the end
// of the file fails with ERROR_HANDLE_EOF (38) and reports the bytes it did read.
#pragma once

#include <cstdint>

#include "platform/files/FileHandle.h"

namespace platform {

// The offset of an overlapped transfer and, after it, its result.
struct Overlapped {
  uint64_t offset = 0;
  uint32_t status = 0;       // Win32 code of the finished transfer
  uint32_t transferred = 0;  // bytes it moved
};

enum class MoveMethod : uint32_t { Begin = 0, Current = 1, End = 2 };

// Without a record the transfer starts at the file position and moves it; with one it starts
// at record->offset and leaves the position alone. *moved receives the bytes transferred.
bool ReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* moved, Overlapped* record);
bool WriteFile(FileHandle handle, const void* data, uint32_t count, uint32_t* moved,
               Overlapped* record);
bool GetOverlappedResult(FileHandle handle, const Overlapped* record, uint32_t* moved, bool wait);

// Moves the file position; a position before the beginning fails with ERROR_NEGATIVE_SEEK.
bool SetFilePointer(FileHandle handle, int64_t distance, MoveMethod method, int64_t* newPosition);
bool GetFileSize(FileHandle handle, int64_t* size);
// Sets the end of the file at the current position.
bool SetEndOfFile(FileHandle handle);
bool FlushFileBuffers(FileHandle handle);
// Makes the file at least size bytes long with its blocks allocated on the disk, so that
// writing through a mapping of it cannot meet a full disk: ERROR_DISK_FULL when the disk has
// no room, ERROR_FILE_TOO_LARGE past the file-size limit, ERROR_NOT_SUPPORTED when the file
// system cannot reserve blocks. A failure leaves the file's length as it was.
bool ReserveFileSpace(FileHandle handle, uint64_t size);

// Exclusive lock of a byte range (LockFile): fails at once with ERROR_LOCK_VIOLATION when any
// other handle, of this process or another, or this handle itself holds an overlapping range.
// Unlock needs exactly a range locked before (ERROR_NOT_LOCKED otherwise). Locks are open-file-
// description locks: advisory, so reads and writes of other handles are not refused.
bool LockFile(FileHandle handle, uint64_t offset, uint64_t length);
bool UnlockFile(FileHandle handle, uint64_t offset, uint64_t length);

}  // namespace platform
