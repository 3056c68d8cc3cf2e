#include "platform/com/Library.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/text/CodePageConversion.h"

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

std::string WideToUtf8(const std::wstring& text) {
  std::string out;
  WideToMultiByte(65001, text, out);
  return out;
}

std::wstring Utf8ToWide(const std::string& text) {
  std::wstring out;
  MultiByteToWide(65001, text, out);
  return out;
}

}  // namespace platform
