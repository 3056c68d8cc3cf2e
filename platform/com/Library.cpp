#include "platform/com/Library.h"

#include <dlfcn.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/core/LastError.h"

namespace platform {

namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

ModuleHandle LoadModule(const std::string& fileName) {
  if (fileName.empty()) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  std::string path;
  if (fileName.find('/') != std::string::npos) {
    path = fileName;
  } else {
    const std::string beside = ProgramFolder() + fileName;
    if (IsFile(beside)) path = beside;
    else if (IsFile(fileName)) path = "./" + fileName;
  }
  if (path.empty() || !IsFile(path)) {
    SetLastError(err::ModNotFound);
    return nullptr;
  }
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    SetLastError(err::BadExeFormat);
    return nullptr;
  }
  SetLastError(err::Success);
  return module;
}

void* ModuleSymbol(ModuleHandle module, const char* name) {
  if (module == nullptr || name == nullptr) {
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  ::dlerror();
  void* symbol = ::dlsym(module, name);
  if (symbol == nullptr) SetLastError(err::ProcNotFound);
  return symbol;
}

bool FreeModule(ModuleHandle module) {
  if (module == nullptr || ::dlclose(module) != 0) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  return true;
}

std::string ModuleFileName() {
  std::vector<char> buffer(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return std::string();
  return std::string(buffer.data(), static_cast<size_t>(n));
}

std::wstring ModuleFileNameW() { return Utf8ToWide(ModuleFileName()); }

std::string ProgramFolder() {
  const std::string exe = ModuleFileName();
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

namespace {

// Converts with iconv between this platform's wchar_t (UTF-32) and UTF-8; bytes that do not
// convert are skipped.
template <class Out, class In>
Out Convert(const char* to, const char* from, const In& text) {
  Out out;
  if (text.empty()) return out;
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  auto* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  size_t inLeft = text.size() * sizeof(typename In::value_type);
  std::vector<char> buffer(inLeft * 4 + 16);
  while (inLeft > 0) {
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    const size_t r = ::iconv(cd, &in, &inLeft, &dst, &dstLeft);
    const size_t made = buffer.size() - dstLeft;
    out.append(reinterpret_cast<const typename Out::value_type*>(buffer.data()),
               made / sizeof(typename Out::value_type));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      const size_t skip = std::min(inLeft, sizeof(typename In::value_type));
      in += skip;
      inLeft -= skip;
    }
  }
  ::iconv_close(cd);
  return out;
}

}  // namespace

std::string WideToUtf8(const std::wstring& text) {
  return Convert<std::string>("UTF-8", "WCHAR_T", text);
}

std::wstring Utf8ToWide(const std::string& text) {
  return Convert<std::wstring>("WCHAR_T", "UTF-8", text);
}

}  // namespace platform
