// Whether a path stays inside a folder once every symbolic link is resolved: the file set
// opens, rewrites and moves only files that do, whatever names a folder or a DICOMDIR holds.
#pragma once

#include <string>

namespace ORN_std {

// The folder's absolute path with every symbolic link resolved, without a trailing separator;
// "" when it does not exist.
std::string ResolvedFolder(const std::string& folder);
// True when the resolved path lies strictly below the resolved folder (both as
// ResolvedFolder gives them).
bool IsBelow(const std::string& resolvedFolder, const std::string& resolvedPath);
// True when the path names an existing regular file (not a folder, FIFO or device) whose
// resolved path lies below the resolved folder; that path goes to `resolved` when given.
bool IsRegularFileInside(const std::string& resolvedFolder, const std::string& path, std::string* resolved = nullptr);

}  // namespace ORN_std
