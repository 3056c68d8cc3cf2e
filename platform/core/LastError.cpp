#include "platform/core/LastError.h"

#include <cerrno>

namespace platform {

namespace {
thread_local uint32_t t_lastError = err::Success;
}

uint32_t GetLastError() { return t_lastError; }

void SetLastError(uint32_t code) { t_lastError = code; }

uint32_t ErrorFromErrno(int e) {
  switch (e) {
    case 0: return err::Success;
    case ENOENT: return err::FileNotFound;
    case ENOTDIR: return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return err::AccessDenied;
    case EBADF: return err::InvalidHandle;
    case ENOMEM: return err::NotEnoughMemory;
    case EEXIST: return err::FileExists;
    case EBUSY:
    case ETXTBSY: return err::SharingViolation;
    case EAGAIN: return err::LockViolation;
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    case EFBIG: return err::FileTooLarge;
    case EINVAL:
    case ESPIPE:
    case EOVERFLOW: return err::InvalidParameter;
    case ENAMETOOLONG: return err::FilenameExcedRange;
    case ENOTEMPTY: return err::DirNotEmpty;
    case EXDEV: return err::NotSameDevice;
    case EROFS: return err::WriteProtect;
    case EIO: return err::ReadFault;
    case EMFILE:
    case ENFILE: return err::TooManyOpenFiles;
    case ELOOP: return err::CantResolveFilename;
    case ETIMEDOUT: return err::Timeout;
    case ENOSYS:
    case EOPNOTSUPP: return err::NotSupported;
    case EFAULT: return err::NoAccess;
    case EPIPE: return err::BrokenPipe;
    default: return err::InvalidFunction;
  }
}

uint32_t SetLastErrorFromErrno() { return SetLastErrorFromErrno(errno); }

uint32_t SetLastErrorFromErrno(int e) {
  const uint32_t code = ErrorFromErrno(e);
  SetLastError(code);
  return code;
}

}  // namespace platform
