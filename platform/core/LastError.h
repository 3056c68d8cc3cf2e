// The calling thread's last error code, as the system's code expects it of Win32:
// every platform call that fails sets it, and callers read it right after the call.
#pragma once

#include <cstdint>

namespace platform {

// Win32 error codes that the system tests for or shows.
namespace err {
constexpr uint32_t Success = 0;
constexpr uint32_t InvalidFunction = 1;
constexpr uint32_t FileNotFound = 2;
constexpr uint32_t PathNotFound = 3;
constexpr uint32_t TooManyOpenFiles = 4;
constexpr uint32_t AccessDenied = 5;
constexpr uint32_t InvalidHandle = 6;
constexpr uint32_t NotEnoughMemory = 8;
constexpr uint32_t InvalidData = 13;
constexpr uint32_t OutOfMemory = 14;
constexpr uint32_t NotSameDevice = 17;
constexpr uint32_t NoMoreFiles = 18;
constexpr uint32_t WriteProtect = 19;
constexpr uint32_t ReadFault = 30;
constexpr uint32_t SharingViolation = 32;
constexpr uint32_t LockViolation = 33;
constexpr uint32_t HandleEof = 38;
constexpr uint32_t NotSupported = 50;
constexpr uint32_t FileExists = 80;
constexpr uint32_t InvalidParameter = 87;
constexpr uint32_t BrokenPipe = 109;
constexpr uint32_t DiskFull = 112;
constexpr uint32_t InvalidName = 123;
constexpr uint32_t ModNotFound = 126;
constexpr uint32_t ProcNotFound = 127;
constexpr uint32_t NegativeSeek = 131;
constexpr uint32_t DirNotEmpty = 145;
constexpr uint32_t NotLocked = 158;
constexpr uint32_t AlreadyExists = 183;
constexpr uint32_t BadExeFormat = 193;
constexpr uint32_t FileTooLarge = 223;
constexpr uint32_t EnvvarNotFound = 203;
constexpr uint32_t FilenameExcedRange = 206;
constexpr uint32_t Directory = 267;
constexpr uint32_t InvalidAddress = 487;
constexpr uint32_t IoIncomplete = 996;
constexpr uint32_t IoPending = 997;
constexpr uint32_t NoAccess = 998;
constexpr uint32_t FileInvalid = 1006;
constexpr uint32_t MappedAlignment = 1132;
constexpr uint32_t InvalidWindowHandle = 1400;
constexpr uint32_t ResourceDataNotFound = 1812;
constexpr uint32_t ResourceTypeNotFound = 1813;
constexpr uint32_t ResourceNameNotFound = 1814;
constexpr uint32_t NoSystemResources = 1450;
constexpr uint32_t CommitmentLimit = 1455;
constexpr uint32_t NotFound = 1168;
constexpr uint32_t Timeout = 1460;
constexpr uint32_t CantResolveFilename = 1921;
}  // namespace err

uint32_t GetLastError();
void SetLastError(uint32_t code);

// The Win32 code that stands for a POSIX errno value.
uint32_t ErrorFromErrno(int errnoValue);

// Sets the last error from errno (or from the given value) and returns the code.
uint32_t SetLastErrorFromErrno();
uint32_t SetLastErrorFromErrno(int errnoValue);

}  // namespace platform
