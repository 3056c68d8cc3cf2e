#include "fileset/proxy/ReferencedFile.h"

namespace ORN_dicom {

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
