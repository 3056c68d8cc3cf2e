#include "platform/core/SystemMessage.h"

#include "platform/core/LastError.h"

namespace platform {

std::string SystemMessage(uint32_t code) {
  const char* text = nullptr;
  switch (code) {
    case err::Success: text = "The operation completed successfully."; break;
    case err::InvalidFunction: text = "Incorrect function."; break;
    case err::FileNotFound: text = "The system cannot find the file specified."; break;
    case err::PathNotFound: text = "The system cannot find the path specified."; break;
    case err::TooManyOpenFiles: text = "The system cannot open the file."; break;
    case err::AccessDenied: text = "Access is denied."; break;
    case err::InvalidHandle: text = "The handle is invalid."; break;
    case err::NotEnoughMemory: text = "Not enough memory resources are available to process this command."; break;
    case err::InvalidData: text = "The data is invalid."; break;
    case err::OutOfMemory: text = "Not enough memory resources are available to complete this operation."; break;
    case err::NotSameDevice: text = "The system cannot move the file to a different disk drive."; break;
    case err::NoMoreFiles: text = "There are no more files."; break;
    case err::WriteProtect: text = "The media is write protected."; break;
    case err::ReadFault: text = "The system cannot read from the specified device."; break;
    case err::SharingViolation: text = "The process cannot access the file because it is being used by another process."; break;
    case err::LockViolation: text = "The process cannot access the file because another process has locked a portion of the file."; break;
    case err::HandleEof: text = "Reached the end of the file."; break;
    case err::NotSupported: text = "The request is not supported."; break;
    case err::FileExists: text = "The file exists."; break;
    case err::InvalidParameter: text = "The parameter is incorrect."; break;
    case err::BrokenPipe: text = "The pipe has been ended."; break;
    case err::DiskFull: text = "There is not enough space on the disk."; break;
    case err::InvalidName: text = "The filename, directory name, or volume label syntax is incorrect."; break;
    case err::ModNotFound: text = "The specified module could not be found."; break;
    case err::ProcNotFound: text = "The specified procedure could not be found."; break;
    case err::NegativeSeek: text = "An attempt was made to move the file pointer before the beginning of the file."; break;
    case err::DirNotEmpty: text = "The directory is not empty."; break;
    case err::NotLocked: text = "The segment is already unlocked."; break;
    case err::AlreadyExists: text = "Cannot create a file when that file already exists."; break;
    case err::BadExeFormat: text = "%1 is not a valid Win32 application."; break;
    case err::FileTooLarge: text = "The file size exceeds the limit allowed and cannot be saved."; break;
    case err::EnvvarNotFound: text = "The system could not find the environment option that was entered."; break;
    case err::FilenameExcedRange: text = "The filename or extension is too long."; break;
    case err::Directory: text = "The directory name is invalid."; break;
    case err::InvalidAddress: text = "Attempt to access invalid address."; break;
    case err::IoIncomplete: text = "Overlapped I/O event is not in a signaled state."; break;
    case err::IoPending: text = "Overlapped I/O operation is in progress."; break;
    case err::NoAccess: text = "Invalid access to memory location."; break;
    case err::FileInvalid: text = "The volume for a file has been externally altered so that the opened file is no longer valid."; break;
    case err::MappedAlignment: text = "The base address or the file offset specified does not have the proper alignment."; break;
    case err::InvalidWindowHandle: text = "Invalid window handle."; break;
    case err::ResourceDataNotFound: text = "The specified image file did not contain a resource section."; break;
    case err::ResourceTypeNotFound: text = "The specified resource type cannot be found in the image file."; break;
    case err::ResourceNameNotFound: text = "The specified resource name cannot be found in the image file."; break;
    case err::NoSystemResources: text = "Insufficient system resources exist to complete the requested service."; break;
    case err::CommitmentLimit: text = "The paging file is too small for this operation to complete."; break;
    case err::NotFound: text = "Element not found."; break;
    case err::Timeout: text = "This operation returned because the timeout period expired."; break;
    case err::CantResolveFilename: text = "The name of the file cannot be resolved by the system."; break;
    default: return std::string();
  }
  return std::string(text) + "\r\n";
}

}  // namespace platform
