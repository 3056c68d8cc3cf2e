// The test that a Referenced File ID names a file below the file-set folder. An ID comes from
// a DICOMDIR, which is untrusted input: one that could reach outside the folder is refused
// before any path is made from it.
#pragma once

#include <string>

namespace ORN_dicom {

// True when the ID is relative ("\" or "/" between components, no leading separator, no drive
// letter), no component is empty or "..", and it holds no NUL or other control character.
bool IsSafeReferencedFileID(const std::string& fileID);
// The ID as a path of this platform ("/" between its components), or "" for an ID that
// IsSafeReferencedFileID refuses.
std::string SafePathOfFileID(const std::string& fileID);

}  // namespace ORN_dicom
