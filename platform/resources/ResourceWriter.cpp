#include "platform/resources/ResourceWriter.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "platform/resources/ResourceFormat.h"
#include "platform/text/CodePageConversion.h"

namespace platform {

namespace {

void Put(std::vector<uint8_t>& out, size_t at, const void* data, size_t size) {
  std::memcpy(out.data() + at, data, size);
}

}  // namespace

void ResourceWriter::Add(const ResourceId& type, const ResourceId& name, std::vector<uint8_t> data) {
  resources_[{type, name}] = std::move(data);
}

std::vector<uint8_t> ResourceWriter::Utf16Text(const std::wstring& text) {
  std::vector<uint8_t> out = {0xFF, 0xFE};
  auto unit = [&out](uint32_t u) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  };
  for (wchar_t c : text) {
    const auto cp = static_cast<uint32_t>(c);
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  unit(0);
  return out;
}

std::vector<uint8_t> ResourceWriter::Bytes() const {
  using namespace resource_format;
  std::string strings;
  auto stringOffset = [&strings](const std::wstring& name) {
    std::string utf8;
    WideToMultiByte(65001, name, utf8);
    const auto at = static_cast<uint32_t>(strings.size());
    strings += utf8;
    strings += '\0';
    return at;
  };
  std::vector<Entry> entries;
  for (const auto& [key, data] : resources_) {
    Entry e{};
    e.typeIsId = key.first.isId;
    e.typeValue = key.first.isId ? key.first.id : stringOffset(key.first.name);
    e.nameIsId = key.second.isId;
    e.nameValue = key.second.isId ? key.second.id : stringOffset(key.second.name);
    e.dataSize = static_cast<uint32_t>(data.size());
    entries.push_back(e);
  }
  size_t at = sizeof(Header) + entries.size() * sizeof(Entry) + strings.size();
  size_t i = 0;
  for (const auto& [key, data] : resources_) {
    at = (at + 3) & ~size_t{3};
    entries[i++].dataOffset = static_cast<uint32_t>(at);
    at += data.size();
  }
  std::vector<uint8_t> out(at, 0);
  Header header{};
  std::memcpy(header.magic, kMagic, sizeof kMagic);
  header.entryCount = static_cast<uint32_t>(entries.size());
  header.stringTableSize = static_cast<uint32_t>(strings.size());
  Put(out, 0, &header, sizeof header);
  Put(out, sizeof header, entries.data(), entries.size() * sizeof(Entry));
  Put(out, sizeof header + entries.size() * sizeof(Entry), strings.data(), strings.size());
  i = 0;
  for (const auto& [key, data] : resources_) {
    if (!data.empty()) Put(out, entries[i].dataOffset, data.data(), data.size());
    ++i;
  }
  return out;
}

bool ResourceWriter::Save(const std::string& path) const {
  const std::vector<uint8_t> bytes = Bytes();
  const std::string temp = path + ".~tmp" + std::to_string(getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace platform
