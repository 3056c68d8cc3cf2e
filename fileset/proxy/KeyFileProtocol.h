// The hand-over of key-image temporary files between their writer and the key-object pass,
// told by the file's attribute word: read-only and archive (neither hidden nor offline) mean
// complete and waiting; offline alone means taken.
#pragma once

#include <string>

namespace ORN_dicom_impl::key_file {

// Read-only and archive set, hidden and offline clear.
bool IsReady(const std::string& path);
// Clears every attribute and sets offline, until the word reads offline without hidden,
// read-only and archive; false when that did not happen within `attempts` tries.
bool Claim(const std::string& path, int attempts);
// Every attribute cleared, then read-only and archive set; false when the word cannot be
// written (the file vanished, for instance).
bool MakeReady(const std::string& path);

}  // namespace ORN_dicom_impl::key_file
