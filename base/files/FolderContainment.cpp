#include "base/files/FolderContainment.h"

#include "platform/files/FileAttributes.h"
#include "platform/files/FileOperations.h"

namespace ORN_std {

std::string ResolvedFolder(const std::string& folder) {
  std::string resolved;
  if (!platform::ResolvedPath(folder.empty() ? "." : folder, &resolved)) return std::string();
  while (resolved.size() > 1 && resolved.back() == '/') resolved.pop_back();
  return resolved;
}

bool IsBelow(const std::string& resolvedFolder, const std::string& resolvedPath) {
  if (resolvedFolder.empty()) return false;
  const std::string prefix = resolvedFolder == "/" ? resolvedFolder : resolvedFolder + "/";
  return resolvedPath.size() > prefix.size() && resolvedPath.compare(0, prefix.size(), prefix) == 0;
}

bool IsRegularFileInside(const std::string& resolvedFolder, const std::string& path, std::string* resolved) {
  std::string target;
  if (path.empty() || !platform::ResolvedPath(path, &target) || !IsBelow(resolvedFolder, target)) return false;
  const uint32_t attributes = platform::GetFileAttributes(target);
  if (attributes == platform::kInvalidFileAttributes ||
      (attributes & (platform::attr::Directory | platform::attr::Device)) != 0)
    return false;
  if (resolved != nullptr) *resolved = target;
  return true;
}

}  // namespace ORN_std
