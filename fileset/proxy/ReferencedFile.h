// Joining a Referenced File ID (components separated by "\") to the file-set folder, and the
// checks that keep a path made from file-set data inside that folder: an ID that
// IsSafeReferencedFileID refuses (a ".." component, an absolute path, ...) is refused, and a UID used as a folder name must be a UID.
#pragma once

#include <string>

#include "dicom/entities/records/ReferencedFileID.h"

namespace ORN_dicom {

// The folder (ending in its separator, or empty) followed by the ID with "\" turned into "/";
// false, with `path` untouched, for an ID that IsSafeReferencedFileID refuses.
bool ReferencedFilePath(const std::string& folderWithSeparator, const std::string& fileID, std::string& path);
// True for a DICOM UID: 1 to 64 characters, digits in components separated by single dots,
// no component with a leading zero.
bool IsDicomUID(const std::string& text);

}  // namespace ORN_dicom
