#include "fileset/proxy/KeyFileProtocol.h"

#include <cstdint>

#include "platform/files/FileAttributes.h"

namespace ORN_dicom_impl::key_file {

namespace attr = platform::attr;

namespace {
bool Has(uint32_t word, uint32_t bits) { return (word & bits) == bits; }
}  // namespace

bool IsReady(const std::string& path) {
  const uint32_t word = platform::GetFileAttributes(path);
  if (word == platform::kInvalidFileAttributes) return false;
  return Has(word, attr::ReadOnly | attr::Archive) && (word & (attr::Hidden | attr::Offline)) == 0;
}

bool Claim(const std::string& path, int attempts) {
  for (int i = 0; i < attempts; ++i) {
    platform::SetFileAttributes(path, attr::Normal);
    platform::SetFileAttributes(path, attr::Offline);
    const uint32_t word = platform::GetFileAttributes(path);
    if (word != platform::kInvalidFileAttributes && (word & attr::Offline) != 0 &&
        (word & (attr::Hidden | attr::ReadOnly | attr::Archive)) == 0)
      return true;
  }
  return false;
}

bool MakeReady(const std::string& path) {
  return platform::SetFileAttributes(path, attr::Normal) &&
         platform::SetFileAttributes(path, attr::ReadOnly | attr::Archive);
}

}  // namespace ORN_dicom_impl::key_file
