#include "platform/files/FileOperations.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool Fail() {
  SetLastErrorFromErrno();
  return false;
}

bool Fail(uint32_t code) {
  SetLastError(code);
  return false;
}

bool CopyContent(int from, int to) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(to, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return false;
      done += w;
    }
  }
}

// Copies the user extended attributes (the attribute word and a stored creation time).
void CopyStoredAttributes(int from, int to) {
  for (const char* name : {"user.vistrel.attributes", "user.vistrel.creationtime"}) {
    char value[64];
    const ssize_t n = ::fgetxattr(from, name, value, sizeof value);
    if (n > 0) ::fsetxattr(to, name, value, static_cast<size_t>(n), 0);
  }
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool OpenWithoutDeleteSharing(const struct stat& st) {
  return files_detail::OpenWithoutShare(st.st_dev, st.st_ino, 0x4);
}

}  // namespace

bool CopyFile(const std::string& existing, const std::string& target, bool failIfExists) {
  struct stat src {};
  struct stat dst {};
  if (existing.empty() || target.empty()) return Fail(err::PathNotFound);
  if (::stat(existing.c_str(), &src) != 0) return Fail();
  if (!S_ISREG(src.st_mode)) return Fail(err::AccessDenied);
  if (::stat(target.c_str(), &dst) == 0) {
    if (failIfExists) return Fail(err::FileExists);
    if (S_ISDIR(dst.st_mode) || (dst.st_mode & kWriteBits) == 0) return Fail(err::AccessDenied);
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return Fail(err::SharingViolation);
  }
  const int from = ::open(existing.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return Fail();
  std::string temp = FolderOf(target) + ".vistrel-copy-XXXXXX";
  const int to = ::mkostemp(temp.data(), O_CLOEXEC);
  if (to < 0) {
    const int e = errno;
    ::close(from);
    return Fail(ErrorFromErrno(e));
  }
  bool ok = CopyContent(from, to);
  int e = errno;
  if (ok) {
    CopyStoredAttributes(from, to);
    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    ok = ::futimens(to, times) == 0 && ::fchmod(to, src.st_mode & 07777) == 0;
    e = errno;
  }
  ::close(from);
  if (::close(to) != 0 && ok) {
    ok = false;
    e = errno;
  }
  if (ok) {
    const unsigned flags = failIfExists ? RENAME_NOREPLACE : 0;
    ok = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), flags) == 0;
    e = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return Fail(e == EEXIST ? err::FileExists : ErrorFromErrno(e));
  }
  SetLastError(err::Success);
  return true;
}

bool MoveFile(const std::string& existing, const std::string& target, uint32_t flags) {
  struct stat src {};
  if (existing.empty() || target.empty()) return Fail(err::PathNotFound);
  if (::lstat(existing.c_str(), &src) != 0) return Fail();
  if (OpenWithoutDeleteSharing(src)) return Fail(err::SharingViolation);
  const bool replace = flags & move_flags::ReplaceExisting;
  struct stat dst {};
  if (replace && ::stat(target.c_str(), &dst) == 0 &&
      !(dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) &&
      (S_ISDIR(dst.st_mode) || (dst.st_mode & kWriteBits) == 0))
    return Fail(err::AccessDenied);
  if (::renameat2(AT_FDCWD, existing.c_str(), AT_FDCWD, target.c_str(),
                  replace ? 0 : RENAME_NOREPLACE) == 0) {
    SetLastError(err::Success);
    return true;
  }
  if (errno == EEXIST) return Fail(err::AlreadyExists);
  if (errno != EXDEV) return Fail();
  if (!(flags & move_flags::CopyAllowed) || S_ISDIR(src.st_mode)) return Fail(err::NotSameDevice);
  if (!CopyFile(existing, target, !replace)) {
    if (GetLastError() == err::FileExists) SetLastError(err::AlreadyExists);
    return false;
  }
  if (::unlink(existing.c_str()) != 0) return Fail();
  SetLastError(err::Success);
  return true;
}

bool DeleteFile(const std::string& path) {
  struct stat st {};
  if (path.empty()) return Fail(err::PathNotFound);
  if (::lstat(path.c_str(), &st) != 0) return Fail();
  if (S_ISDIR(st.st_mode)) return Fail(err::AccessDenied);
  if (!S_ISLNK(st.st_mode) && (st.st_mode & kWriteBits) == 0) return Fail(err::AccessDenied);
  if (OpenWithoutDeleteSharing(st)) return Fail(err::SharingViolation);
  if (::unlink(path.c_str()) != 0) return Fail();
  SetLastError(err::Success);
  return true;
}

bool CreateDirectory(const std::string& path) {
  if (path.empty()) return Fail(err::PathNotFound);
  if (::mkdir(path.c_str(), 0777) != 0) return Fail();
  SetLastError(err::Success);
  return true;
}

bool FullPath(const std::string& path, std::string* out) {
  std::string whole;
  if (path.empty() || path[0] != '/') {
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return Fail();
    whole = cwd;
    std::free(cwd);
    whole += '/';
  }
  whole += path;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= whole.size()) {
    size_t end = whole.find('/', start);
    if (end == std::string::npos) end = whole.size();
    const std::string part = whole.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const auto& part : parts) result += "/" + part;
  const bool trailing = !path.empty() && path.back() == '/';
  if (result.empty() || trailing) result += '/';
  *out = result;
  SetLastError(err::Success);
  return true;
}

bool GetFileId(const std::string& path, FileId* id) {
  struct stat st {};
  if (path.empty()) return Fail(err::PathNotFound);
  if (::stat(path.c_str(), &st) != 0) return Fail();
  id->device = st.st_dev;
  id->inode = st.st_ino;
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
