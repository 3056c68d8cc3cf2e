#include "fileset/proxy/ReferencedFile.h"

namespace ORN_dicom {

bool IsSafeReferencedFileID(const std::string& fileID) {
  if (fileID.empty() || fileID[0] == '\\' || fileID[0] == '/') return false;
  if (fileID.size() >= 2 && fileID[1] == ':') return false;
  size_t start = 0;
  for (;;) {
    const size_t end = fileID.find_first_of("\\/", start);
    const std::string component = fileID.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (component == "..") return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

bool ReferencedFilePath(const std::string& folderWithSeparator, const std::string& fileID, std::string& path) {
  if (!IsSafeReferencedFileID(fileID)) return false;
  std::string joined = folderWithSeparator + fileID;
  for (size_t i = folderWithSeparator.size(); i < joined.size(); ++i)
    if (joined[i] == '\\') joined[i] = '/';
  path.swap(joined);
  return true;
}

bool IsDicomUID(const std::string& text) {
  if (text.empty() || text.size() > 64) return false;
  size_t componentStart = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '.') {
      const size_t length = i - componentStart;
      if (length == 0) return false;
      if (length > 1 && text[componentStart] == '0') return false;
      componentStart = i + 1;
    } else if (text[i] < '0' || text[i] > '9') {
      return false;
    }
  }
  return true;
}

}  // namespace ORN_dicom
