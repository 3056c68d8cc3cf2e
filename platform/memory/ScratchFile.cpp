#include "platform/memory/ScratchFile.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/core/LastError.h"

namespace platform {

int CreateScratchFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) SetLastErrorFromErrno();
  return fd;
}

bool CloseScratchFile(int file) {
  if (file < 0 || close(file) != 0) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  return true;
}

bool DeleteScratchFile(const std::string& path) {
  if (unlink(path.c_str()) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

}  // namespace platform
