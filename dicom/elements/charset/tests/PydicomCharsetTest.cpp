// Decodes every text element of pydicom's character-set sample files and compares the text
// with pydicom's own. pydicom_texts.py (beside this file) runs under Debian's python3 and
// prints, per element, the Specific Character Set in force, the value bytes and pydicom's text.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"

namespace {

namespace fs = std::filesystem;
using ORN_string_utils::TanDicomAnsiToUnicode;

const char kPython[] = "/usr/bin/python3";
const char kCharsetFiles[] = "/usr/lib/python3/dist-packages/pydicom/data/charset_files";

// Elements whose text this decoder gives differently from pydicom on purpose, with the reason.
// Keyed by "file tag-path". None at present: every element agrees.
const std::map<std::string, std::string> kKnownDifferences = {};

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// Python writes valid UTF-8; this reads it without the code under test.
std::wstring FromUtf8(const std::string& s) {
  std::wstring out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < s.size(); ++k) c = (c << 6) | (s[i + k] & 0x3F);
    out.push_back(static_cast<wchar_t>(c));
    i += 1 + extra;
  }
  return out;
}

std::vector<std::wstring> Split(const std::wstring& s, wchar_t separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t pos; (pos = s.find(separator, start)) != std::wstring::npos; start = pos + 1) {
    parts.push_back(s.substr(start, pos - start));
  }
  parts.push_back(s.substr(start));
  return parts;
}

std::wstring Join(const std::vector<std::wstring>& parts, wchar_t separator) {
  std::wstring s;
  for (size_t i = 0; i < parts.size(); ++i) s += (i ? std::wstring(1, separator) : L"") + parts[i];
  return s;
}

std::wstring TrimRight(std::wstring s) {
  while (!s.empty() && (s.back() == L' ' || s.back() == L'\0')) s.pop_back();
  return s;
}

// pydicom's text conventions: trailing blanks and NULs of each value dropped; a person name
// loses its empty trailing component groups.
std::wstring AsPydicomShowsIt(const std::wstring& text, const std::string& vr) {
  if (vr == "ST" || vr == "LT" || vr == "UT") return TrimRight(text);
  if (vr != "PN") {
    std::vector<std::wstring> values = Split(text, L'\\');
    for (auto& v : values) v = TrimRight(v);
    return Join(values, L'\\');
  }
  std::vector<std::wstring> values = Split(TrimRight(text), L'\\');
  for (auto& v : values) {
    std::vector<std::wstring> groups = Split(v, L'=');
    while (!groups.empty() && groups.back().empty()) groups.pop_back();
    v = Join(groups, L'=');
  }
  return Join(values, L'\\');
}

TanDicomAnsiToUnicode::TTextKind KindOf(const std::string& vr) {
  if (vr == "PN") return TanDicomAnsiToUnicode::TTextKind::PersonName;
  if (vr == "ST" || vr == "LT" || vr == "UT") return TanDicomAnsiToUnicode::TTextKind::LongText;
  return TanDicomAnsiToUnicode::TTextKind::Text;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(PydicomCharsetFiles, DecodeToPydicomsText) {
  if (!fs::exists(kPython)) GTEST_SKIP() << kPython << " is missing: pydicom comparison skipped";
  if (!fs::is_directory(kCharsetFiles)) {
    GTEST_SKIP() << "pydicom (python3-pydicom) is not installed: " << kCharsetFiles << " is missing";
  }
  const fs::path script = fs::path(VISTREL_CHARSET_TESTS_DIR) / "pydicom_texts.py";
  const fs::path out = fs::temp_directory_path() /
                       ("vistrel_pydicom_texts_" + std::to_string(std::random_device()()) + ".tsv");
  const fs::path err = fs::path(out).replace_extension(".err");
  const std::string command = std::string(kPython) + " '" + script.string() + "' '" + kCharsetFiles +
                              "' > '" + out.string() + "' 2> '" + err.string() + "'";
  const int status = std::system(command.c_str());
  const std::string output = Slurp(out);
  const std::string errors = Slurp(err);
  fs::remove(out);
  fs::remove(err);
  ASSERT_EQ(status, 0) << command << "\n" << errors;
  if (output.rfind("SKIP", 0) == 0) GTEST_SKIP() << output;

  TanDicomAnsiToUnicode converter;
  std::set<std::string> filesSeen;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
    if (f.size() == 5) f.emplace_back();  // an empty text leaves the last field empty
    ASSERT_EQ(f.size(), 6u) << line;
    const std::string& file = f[0];
    const std::string& vr = f[2];
    const std::string characterSet = FromHex(f[3]);
    const std::string bytes = FromHex(f[4]);
    const std::wstring expected = FromUtf8(FromHex(f[5]));
    filesSeen.insert(file);

    const std::wstring decoded = AsPydicomShowsIt(
        converter.Decode(characterSet, bytes.data(), static_cast<int64_t>(bytes.size()), KindOf(vr)), vr);
    const std::string where = file + " " + f[1];
    if (kKnownDifferences.count(where)) {
      EXPECT_NE(decoded, expected) << where << " now agrees with pydicom: "
                                   << kKnownDifferences.at(where);
      continue;
    }
    EXPECT_EQ(decoded, expected) << where << " " << vr << " charset \"" << characterSet << '"';
  }
  for (const auto& entry : fs::directory_iterator(kCharsetFiles)) {
    if (entry.path().extension() == ".dcm") {
      EXPECT_TRUE(filesSeen.count(entry.path().filename().string())) << entry.path() << " not compared";
    }
  }
}

}  // namespace
