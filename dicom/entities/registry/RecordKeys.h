// Rules on the texts that key and order records: blank trimming, DICOM TM parsing, the
// ultrasound-class test and the key arguments of the searches.
#pragma once

#include <optional>
#include <string>

namespace ORN_dicom {

// The text without blanks and control characters (bytes up to 0x20) at both ends.
std::string TrimText(const std::string& text);

// A DICOM TM text as a time of day, a fraction of a day; 0.0 for an empty text. Hours outside
// "00".."23", minutes and seconds outside "00".."59" read as 0, so "240000000" is midnight.
// Throws std::out_of_range for a fraction of more than six characters and
// std::invalid_argument for a part that is not a number.
double ParseDicomTime(const std::string& text);
// The same parse, with no value in place of an exception.
std::optional<double> TryParseDicomTime(const std::string& text);

// True when the trimmed UID holds "1.2.840.10008.5.1.4.1.1.3" or "1.2.840.10008.5.1.4.1.1.6".
bool IsUltrasoundSOPClass(const std::string& sopClassUID);

// A key argument of the searches: null reads as the empty key; up to 64 characters are taken
// trimmed; 65 and more are refused (false) and the key is left as it was.
bool ReadKey(const char* argument, std::string& key);

}  // namespace ORN_dicom
