#include "dicom/entities/records/ReferencedFileID.h"

namespace ORN_dicom {

bool IsSafeReferencedFileID(const std::string& fileID) {
  if (fileID.empty() || fileID[0] == '\\' || fileID[0] == '/') return false;
  if (fileID.size() >= 2 && fileID[1] == ':') return false;
  for (const char c : fileID) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
  }
  size_t start = 0;
  for (;;) {
    const size_t end = fileID.find_first_of("\\/", start);
    const size_t length = (end == std::string::npos ? fileID.size() : end) - start;
    const std::string component = fileID.substr(start, length);
    if (component.empty() || component == "..") return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

std::string SafePathOfFileID(const std::string& fileID) {
  if (!IsSafeReferencedFileID(fileID)) return std::string();
  std::string path = fileID;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace ORN_dicom
