// vistrel_respack <module file> <manifest>: packs the files a manifest names into a
// data-only resource module. Each manifest line is "<type> <name> <file>" (file relative to
// the manifest; blank lines and lines starting with "#" are skipped):
//   XML, ORN_TEXT   a text file (UTF-8, or UTF-16LE with its mark), stored as UTF-16LE with a
//                   mark and a closing NUL
//   BITMAP          a .bmp file, stored without its 14-byte file header (RT_BITMAP)
//   CURSOR          a .cur file, stored whole (RT_CURSOR)
//   VERSION         a version source (see VersionInfo.h), stored as a version record (RT_VERSION)
//   RCDATA          any file, as it is (RT_RCDATA); any other type name: the same, under that name
// A name "#<number>" is an integer identifier.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/resources/ResourceWriter.h"
#include "platform/resources/VersionInfo.h"
#include "platform/text/CodePageConversion.h"

using namespace platform;

namespace {

bool ReadBytes(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::wstring DecodeText(const std::vector<uint8_t>& bytes) {
  std::wstring text;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
      if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
        const uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
      text += static_cast<wchar_t>(unit);
    }
    return text;
  }
  size_t skip = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  MultiByteToWide(65001, std::string_view(reinterpret_cast<const char*>(bytes.data()) + skip, bytes.size() - skip),
                  text);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vistrel_respack <module file> <manifest>\n";
    return 2;
  }
  const std::filesystem::path manifest = argv[2];
  std::ifstream in(manifest);
  if (!in) {
    std::cerr << "cannot read " << manifest << "\n";
    return 1;
  }
  ResourceWriter writer;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    std::string type, name, file;
    if (!(fields >> type) || type[0] == '#') continue;
    if (!(fields >> name >> file)) {
      std::cerr << manifest << ":" << number << ": expected <type> <name> <file>\n";
      return 1;
    }
    std::vector<uint8_t> bytes;
    const auto path = manifest.parent_path() / file;
    if (!ReadBytes(path, bytes)) {
      std::cerr << manifest << ":" << number << ": cannot read " << path << "\n";
      return 1;
    }
    const ResourceId id(std::wstring(name.begin(), name.end()));
    if (type == "XML" || type == "ORN_TEXT") {
      writer.Add(std::wstring(type.begin(), type.end()), id, ResourceWriter::Utf16Text(DecodeText(bytes)));
    } else if (type == "BITMAP") {
      if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
        std::cerr << path << ": not a BMP file\n";
        return 1;
      }
      writer.Add(rt::Bitmap, id, std::vector<uint8_t>(bytes.begin() + 14, bytes.end()));
    } else if (type == "CURSOR") {
      writer.Add(rt::Cursor, id, bytes);
    } else if (type == "ICON") {
      writer.Add(rt::Icon, id, bytes);
    } else if (type == "VERSION") {
      VersionSource source;
      if (!ParseVersionSource(DecodeText(bytes), source)) {
        std::cerr << path << ": not a version source\n";
        return 1;
      }
      writer.Add(rt::Version, id, BuildVersionResource(source));
    } else if (type == "RCDATA") {
      writer.Add(rt::RcData, id, bytes);
    } else {
      writer.Add(std::wstring(type.begin(), type.end()), id, bytes);
    }
  }
  if (!writer.Save(argv[1])) {
    std::cerr << "cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
