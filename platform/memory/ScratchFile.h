// A file that the memory layer creates for its own use (the backing file of a memory pool):
// created only when it does not exist yet, so that an existing file is never truncated, and
// deleted by name when it is no longer needed.
#pragma once

#include <string>

namespace platform {

// Opens a new file for reading and writing; kNoFile (-1) with the last error set when the
// file exists (FileExists) or cannot be made.
int CreateScratchFile(const std::string& path);
bool CloseScratchFile(int file);
bool DeleteScratchFile(const std::string& path);

}  // namespace platform
