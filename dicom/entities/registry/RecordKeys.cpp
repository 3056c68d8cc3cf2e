#include "dicom/entities/registry/RecordKeys.h"

#include <stdexcept>

namespace ORN_dicom {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A part that passed its text bounds must still be a number.
int PartValue(const std::string& part) {
  if (part.empty()) throw std::invalid_argument("'' is not a valid integer value");
  int value = 0;
  for (char c : part) {
    if (!IsDigit(c)) throw std::invalid_argument("'" + part + "' is not a valid integer value");
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string Bounded(const std::string& part, const char* low, const char* high) {
  return (part < low || part > high) ? std::string("00") : part;
}

}  // namespace

std::string TrimText(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

double ParseDicomTime(const std::string& text) {
  if (text.empty()) return 0.0;
  const size_t length = text.size();
  const std::string hours = Bounded(text.substr(0, 2), "00", "23");
  std::string minutes = "00";
  std::string seconds = "00";
  std::string milliseconds = "000";
  size_t pos = 2;  // 0-based: the character after the hours
  if (length >= 4) {
    if (!IsDigit(text[2])) ++pos;
    minutes = Bounded(text.substr(pos, 2), "00", "59");
    pos += 2;
  }
  // "Before the end": at least two characters remain, as for the fraction below.
  if (pos + 1 < length) {
    if (!IsDigit(text[pos])) ++pos;
    seconds = Bounded(text.substr(pos, 2), "00", "59");
    pos += 2;
  }
  if (pos + 1 < length) {
    ++pos;  // the full stop
    const std::string rest = text.substr(pos);
    if (rest.size() > 6) throw std::out_of_range("Range check error");
    std::string fraction = "000000";
    fraction.replace(0, rest.size(), rest);
    if (fraction < "000" || fraction > "999") fraction = "000";
    milliseconds = fraction.substr(0, 3);
  }
  const int h = PartValue(hours);
  const int m = PartValue(minutes);
  const int s = PartValue(seconds);
  const int ms = PartValue(milliseconds);
  return (((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms) / 86400000.0;
}

std::optional<double> TryParseDicomTime(const std::string& text) {
  try {
    return ParseDicomTime(text);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool IsUltrasoundSOPClass(const std::string& sopClassUID) {
  const std::string uid = TrimText(sopClassUID);
  return uid.find("1.2.840.10008.5.1.4.1.1.3") != std::string::npos ||
         uid.find("1.2.840.10008.5.1.4.1.1.6") != std::string::npos;
}

bool ReadKey(const char* argument, std::string& key) {
  if (argument == nullptr) {
    key.clear();
    return true;
  }
  size_t length = 0;
  while (length < 65 && argument[length] != '\0') ++length;
  if (length > 64) return false;
  key = TrimText(std::string(argument, length));
  return true;
}

}  // namespace ORN_dicom
