#include "platform/resources/VersionInfo.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <sstream>

namespace platform {

namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;

void Align(std::vector<uint8_t>& out) {
  while (out.size() % 4) out.push_back(0);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutText(std::vector<uint8_t>& out, const std::wstring& text) {
  for (wchar_t c : text) Put16(out, static_cast<uint32_t>(c) & 0xFFFF);
  Put16(out, 0);
}

// One block: header, key, value, children; the length is written once its end is known.
std::vector<uint8_t> Block(const std::wstring& key, uint16_t type, const std::vector<uint8_t>& value,
                           uint16_t valueLength, const std::vector<std::vector<uint8_t>>& children) {
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, valueLength);
  Put16(out, type);
  PutText(out, key);
  Align(out);
  out.insert(out.end(), value.begin(), value.end());
  for (const auto& child : children) {
    Align(out);
    out.insert(out.end(), child.begin(), child.end());
  }
  out[0] = static_cast<uint8_t>(out.size());
  out[1] = static_cast<uint8_t>(out.size() >> 8);
  return out;
}

std::wstring Hex4(uint32_t v) {
  wchar_t buffer[8];
  std::swprintf(buffer, 8, L"%04X", v & 0xFFFF);
  return buffer;
}

bool ParseQuad(const std::wstring& text, uint16_t (&quad)[4]) {
  std::wstring t = text;
  for (auto& c : t)
    if (c == L',' || c == L'.') c = L' ';
  std::wistringstream in(t);
  for (auto& part : quad) {
    unsigned value = 0;
    if (!(in >> value) || value > 0xFFFF) return false;
    part = static_cast<uint16_t>(value);
  }
  return true;
}

std::wstring Trimmed(const std::wstring& text) {
  size_t b = 0, e = text.size();
  while (b < e && std::iswspace(static_cast<wint_t>(text[b]))) ++b;
  while (e > b && std::iswspace(static_cast<wint_t>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}

bool SameKey(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
  return true;
}

struct BlockView {
  size_t start = 0, end = 0;  // the block's bytes
  uint16_t valueLength = 0, type = 0;
  std::wstring key;
  size_t value = 0;     // offset of the value
  size_t children = 0;  // offset of the first child
};

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

bool ReadBlock(const uint8_t* base, size_t limit, size_t start, BlockView& view) {
  if (start + 6 > limit) return false;
  const uint16_t length = Get16(base + start);
  if (length < 6 || start + length > limit) return false;
  view.start = start;
  view.end = start + length;
  view.valueLength = Get16(base + start + 2);
  view.type = Get16(base + start + 4);
  view.key.clear();
  size_t at = start + 6;
  for (;;) {
    if (at + 2 > view.end) return false;
    const uint16_t unit = Get16(base + at);
    at += 2;
    if (unit == 0) break;
    view.key += static_cast<wchar_t>(unit);
  }
  at = (at + 3) & ~size_t{3};
  view.value = at;
  // Text values count UTF-16 units, binary values bytes.
  const size_t valueBytes = view.type == 1 ? size_t{view.valueLength} * 2 : view.valueLength;
  if (view.value + valueBytes > view.end) return false;
  view.children = (view.value + valueBytes + 3) & ~size_t{3};
  return true;
}

}  // namespace

bool ParseVersionSource(const std::wstring& text, VersionSource& source) {
  std::wistringstream in(text);
  std::wstring line;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    if (line.empty() || line[0] == L';') continue;
    const auto eq = line.find(L'=');
    if (eq == std::wstring::npos) return false;
    const std::wstring key = Trimmed(line.substr(0, eq)), value = Trimmed(line.substr(eq + 1));
    if (key == L"FILEVERSION") {
      if (!ParseQuad(value, source.fileVersion)) return false;
    } else if (key == L"PRODUCTVERSION") {
      if (!ParseQuad(value, source.productVersion)) return false;
    } else if (SameKey(key, L"Translation")) {
      unsigned language = 0, codePage = 0;
      if (std::swscanf(value.c_str(), L"%x %x", &language, &codePage) != 2) return false;
      source.language = static_cast<uint16_t>(language);
      source.codePage = static_cast<uint16_t>(codePage);
    } else {
      source.strings.emplace_back(key, value);
    }
  }
  return true;
}

std::vector<uint8_t> BuildVersionResource(const VersionSource& source) {
  std::vector<uint8_t> fixed;
  Put32(fixed, kFixedSignature);
  Put32(fixed, 0x00010000);
  Put32(fixed, (uint32_t{source.fileVersion[0]} << 16) | source.fileVersion[1]);
  Put32(fixed, (uint32_t{source.fileVersion[2]} << 16) | source.fileVersion[3]);
  Put32(fixed, (uint32_t{source.productVersion[0]} << 16) | source.productVersion[1]);
  Put32(fixed, (uint32_t{source.productVersion[2]} << 16) | source.productVersion[3]);
  for (int i = 0; i < 7; ++i) Put32(fixed, i == 2 ? 0x00040004 : i == 3 ? 2 : 0);  // NT, DLL

  std::vector<std::vector<uint8_t>> strings;
  for (const auto& [key, value] : source.strings) {
    std::vector<uint8_t> text;
    PutText(text, value);
    strings.push_back(Block(key, 1, text, static_cast<uint16_t>(value.size() + 1), {}));
  }
  const auto table = Block(Hex4(source.language) + Hex4(source.codePage), 1, {}, 0, strings);
  const auto stringInfo = Block(L"StringFileInfo", 1, {}, 0, {table});
  std::vector<uint8_t> translation;
  Put32(translation, source.language | (uint32_t{source.codePage} << 16));
  const auto var = Block(L"Translation", 0, translation, 4, {});
  const auto varInfo = Block(L"VarFileInfo", 1, {}, 0, {var});
  return Block(L"VS_VERSION_INFO", 0, fixed, static_cast<uint16_t>(fixed.size()), {stringInfo, varInfo});
}

bool VerQueryValue(const void* block, size_t size, const std::wstring& subBlock, const void** value,
                   uint32_t* length) {
  const auto* base = static_cast<const uint8_t*>(block);
  BlockView view;
  if (!base || !ReadBlock(base, size, 0, view)) return false;
  std::wistringstream path(subBlock);
  std::wstring part;
  while (std::getline(path, part, L'\\')) {
    if (part.empty()) continue;
    bool found = false;
    for (size_t at = view.children; at < view.end;) {
      BlockView child;
      if (!ReadBlock(base, view.end, at, child)) return false;
      if (SameKey(child.key, part)) {
        view = child;
        found = true;
        break;
      }
      at = (child.end + 3) & ~size_t{3};
    }
    if (!found) return false;
  }
  if (view.valueLength == 0) return false;
  *value = base + view.value;
  *length = view.valueLength;
  return true;
}

bool VerQueryString(const void* block, size_t size, const std::wstring& subBlock, std::wstring& text) {
  const void* value = nullptr;
  uint32_t length = 0;
  if (!VerQueryValue(block, size, subBlock, &value, &length)) return false;
  const auto* p = static_cast<const uint8_t*>(value);
  text.clear();
  for (uint32_t i = 0; i < length; ++i) {
    const uint16_t unit = Get16(p + 2 * i);
    if (unit == 0) break;
    text += static_cast<wchar_t>(unit);
  }
  return true;
}

uint32_t VerLanguageName(uint32_t language, wchar_t* buffer, uint32_t size) {
  static const std::map<uint32_t, std::wstring> names = {
      {0x0000, L"Language Neutral"},           {0x0400, L"Process Default Language"},
      {0x0404, L"Chinese (Traditional)"},      {0x0405, L"Czech"},
      {0x0406, L"Danish"},                     {0x0407, L"German (Germany)"},
      {0x0408, L"Greek"},                      {0x0409, L"English (United States)"},
      {0x040A, L"Spanish (Traditional Sort)"}, {0x040B, L"Finnish"},
      {0x040C, L"French (France)"},            {0x040E, L"Hungarian"},
      {0x0410, L"Italian (Italy)"},            {0x0411, L"Japanese"},
      {0x0412, L"Korean"},                     {0x0413, L"Dutch (Netherlands)"},
      {0x0414, L"Norwegian (Bokmal)"},         {0x0415, L"Polish"},
      {0x0416, L"Portuguese (Brazil)"},        {0x0419, L"Russian"},
      {0x041D, L"Swedish"},                    {0x041F, L"Turkish"},
      {0x0804, L"Chinese (Simplified)"},       {0x0809, L"English (United Kingdom)"},
      {0x0816, L"Portuguese (Portugal)"},      {0x0C0A, L"Spanish (Modern Sort)"}};
  const auto it = names.find(language & 0xFFFF);
  const std::wstring name = it != names.end() ? it->second : L"Unknown language";
  if (buffer && size > 0) {
    const size_t n = std::min<size_t>(name.size(), size - 1);
    std::wmemcpy(buffer, name.data(), n);
    buffer[n] = L'\0';
  }
  return static_cast<uint32_t>(name.size());
}

}  // namespace platform
