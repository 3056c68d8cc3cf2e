#include "platform/files/FindFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

namespace {

struct Search {
  std::vector<FindData> entries;
  size_t next = 0;
};

std::mutex g_mutex;
std::unordered_map<intptr_t, std::unique_ptr<Search>> g_searches;
intptr_t g_nextKey = 0x2000;

bool MatchFrom(const std::string& mask, size_t m, const std::string& name, size_t n) {
  while (m < mask.size()) {
    const char c = mask[m];
    if (c == '*') {
      while (m < mask.size() && mask[m] == '*') ++m;
      if (m == mask.size()) return true;
      for (size_t k = n; k <= name.size(); ++k)
        if (MatchFrom(mask, m, name, k)) return true;
      return false;
    }
    if (n == name.size()) return false;
    if (c != '?' && std::tolower(static_cast<unsigned char>(c)) !=
                        std::tolower(static_cast<unsigned char>(name[n])))
      return false;
    ++m;
    ++n;
  }
  return n == name.size();
}

bool Describe(const std::string& folder, const std::string& name, FindData* out) {
  const std::string path = folder + name;
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0) return false;
  struct stat st = link;
  const bool isSymlink = S_ISLNK(link.st_mode);
  if (isSymlink && ::stat(path.c_str(), &st) != 0) st = link;  // a dangling link stays a link
  out->name = name;
  out->attributes = files_detail::AttributeWord(path, st, isSymlink);
  out->size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  out->lastAccessTime = FileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
  out->lastWriteTime = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  out->creationTime = out->lastWriteTime;
  struct statx sx {};
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
    out->creationTime = FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
  char stored[32] = {};
  const ssize_t n =
      ::getxattr(path.c_str(), "user.vistrel.creationtime", stored, sizeof stored - 1);
  if (n > 0) out->creationTime = FileTime{std::strtoull(stored, nullptr, 10)};
  return true;
}

}  // namespace

bool MaskMatches(const std::string& mask, const std::string& name) {
  if (mask == "*.*" || mask == "*") return true;
  return MatchFrom(mask, 0, name, 0);
}

FindHandle FindFirstFile(const std::string& pattern, FindData* data) {
  const auto slash = pattern.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
  const std::string mask = pattern.substr(folder.size());
  if (mask.empty()) {
    SetLastError(err::FileNotFound);
    return kInvalidFindHandle;
  }
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? err::PathNotFound : ErrorFromErrno(errno));
    return kInvalidFindHandle;
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    if (MaskMatches(mask, entry->d_name)) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int ra = a == "." ? 0 : (a == ".." ? 1 : 2);
    const int rb = b == "." ? 0 : (b == ".." ? 1 : 2);
    return ra != rb ? ra < rb : a < b;
  });
  auto search = std::make_unique<Search>();
  for (const auto& name : names) {
    FindData entry;
    if (Describe(folder, name, &entry)) search->entries.push_back(std::move(entry));
  }
  if (search->entries.empty()) {
    SetLastError(err::FileNotFound);
    return kInvalidFindHandle;
  }
  *data = search->entries[0];
  search->next = 1;
  std::lock_guard<std::mutex> lock(g_mutex);
  const intptr_t key = g_nextKey;
  g_nextKey += 4;
  g_searches.emplace(key, std::move(search));
  SetLastError(err::Success);
  return static_cast<FindHandle>(key);
}

bool FindNextFile(FindHandle handle, FindData* data) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_searches.find(static_cast<intptr_t>(handle));
  if (it == g_searches.end()) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  Search& search = *it->second;
  if (search.next >= search.entries.size()) {
    SetLastError(err::NoMoreFiles);
    return false;
  }
  *data = search.entries[search.next++];
  SetLastError(err::Success);
  return true;
}

bool FindClose(FindHandle handle) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_searches.erase(static_cast<intptr_t>(handle)) == 0) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
