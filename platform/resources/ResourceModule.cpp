#include "platform/resources/ResourceModule.h"

#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "platform/com/Library.h"
#include "platform/core/LastError.h"
#include "platform/resources/ResourceFormat.h"
#include "platform/text/CodePageConversion.h"

namespace platform {

struct ResourceEntry {
  ResourceId type;
  ResourceId name;
  uint32_t offset = 0;
  uint32_t size = 0;
};

struct ResourceModuleData {
  std::string path;
  std::vector<uint8_t> bytes;
  std::vector<ResourceEntry> entries;
};

namespace {

std::mutex& Lock() {
  static std::mutex mutex;
  return mutex;
}

std::set<ResourceModuleHandle>& Modules() {
  static std::set<ResourceModuleHandle> modules;
  return modules;
}

bool Known(ResourceModuleHandle module) {
  std::lock_guard<std::mutex> lock(Lock());
  return module && Modules().count(module);
}

// A name from the string table, or nothing when the offset or the text is not sound.
bool ReadName(const std::vector<uint8_t>& bytes, size_t tableStart, size_t tableSize, uint32_t offset,
              std::wstring& name) {
  if (offset >= tableSize) return false;
  const char* start = reinterpret_cast<const char*>(bytes.data() + tableStart + offset);
  const void* end = std::memchr(start, 0, tableSize - offset);
  if (!end) return false;
  return MultiByteToWide(65001, std::string_view(start, static_cast<size_t>(static_cast<const char*>(end) - start)),
                         name);
}

bool Parse(ResourceModuleData& module) {
  using namespace resource_format;
  const auto& bytes = module.bytes;
  Header header;
  if (bytes.size() < sizeof header) return false;
  std::memcpy(&header, bytes.data(), sizeof header);
  if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0) return false;
  const uint64_t tableStart = sizeof header + uint64_t{header.entryCount} * sizeof(Entry);
  if (tableStart + header.stringTableSize > bytes.size()) return false;
  for (uint32_t i = 0; i < header.entryCount; ++i) {
    Entry e;
    std::memcpy(&e, bytes.data() + sizeof header + size_t{i} * sizeof(Entry), sizeof e);
    if (uint64_t{e.dataOffset} + e.dataSize > bytes.size()) return false;
    ResourceEntry entry;
    entry.offset = e.dataOffset;
    entry.size = e.dataSize;
    std::wstring text;
    if (e.typeIsId) {
      if (e.typeValue == 0 || e.typeValue > 0xFFFF) return false;
      entry.type = ResourceId(static_cast<uint16_t>(e.typeValue));
    } else {
      if (!ReadName(bytes, tableStart, header.stringTableSize, e.typeValue, text) || text.empty()) return false;
      entry.type = ResourceId(text);
    }
    if (e.nameIsId) {
      if (e.nameValue == 0 || e.nameValue > 0xFFFF) return false;
      entry.name = ResourceId(static_cast<uint16_t>(e.nameValue));
    } else {
      if (!ReadName(bytes, tableStart, header.stringTableSize, e.nameValue, text) || text.empty()) return false;
      entry.name = ResourceId(text);
    }
    module.entries.push_back(std::move(entry));
  }
  return true;
}

}  // namespace

ResourceModuleHandle LoadResourceModule(const std::string& fileName) {
  // A bare file name is looked for beside the program first, as LoadLibrary does.
  std::string path = fileName;
  if (fileName.find('/') == std::string::npos && !ProgramFolder().empty() &&
      std::ifstream(ProgramFolder() + fileName).good())
    path = ProgramFolder() + fileName;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetLastError(err::ModNotFound);
    return nullptr;
  }
  auto module = std::make_unique<ResourceModuleData>();
  module->path = path;
  module->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!Parse(*module)) {
    SetLastError(err::BadExeFormat);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(Lock());
  ResourceModuleHandle handle = module.release();
  Modules().insert(handle);
  return handle;
}

bool FreeResourceModule(ResourceModuleHandle module) {
  const ResourceModuleHandle executable = ExecutableModule();
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (!module || !Modules().count(module) || module == executable) {
      SetLastError(err::InvalidHandle);
      return false;
    }
    Modules().erase(module);
  }
  delete module;
  return true;
}

ResourceModuleHandle ExecutableModule() {
  static ResourceModuleHandle executable = [] {
    const std::string path = ModuleFileName() + ".res";
    ResourceModuleHandle module = LoadResourceModule(path);
    if (!module) {
      module = new ResourceModuleData{path, {}, {}};
      std::lock_guard<std::mutex> lock(Lock());
      Modules().insert(module);
    }
    return module;
  }();
  return executable;
}

std::string ResourceModuleFileName(ResourceModuleHandle module) { return Known(module) ? module->path : std::string(); }

ResourceHandle FindResource(ResourceModuleHandle module, const ResourceId& name, const ResourceId& type) {
  if (!Known(module)) {
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  bool typeSeen = false;
  for (const auto& entry : module->entries) {
    if (!(entry.type == type)) continue;
    typeSeen = true;
    if (entry.name == name) return &entry;
  }
  SetLastError(typeSeen ? err::ResourceNameNotFound : err::ResourceTypeNotFound);
  return nullptr;
}

const void* LoadResource(ResourceModuleHandle module, ResourceHandle resource) {
  if (!Known(module) || !resource) {
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  return module->bytes.data() + resource->offset;
}

uint32_t SizeofResource(ResourceModuleHandle module, ResourceHandle resource) {
  if (!Known(module) || !resource) {
    SetLastError(err::InvalidHandle);
    return 0;
  }
  return resource->size;
}

bool EnumResourceNames(ResourceModuleHandle module, const ResourceId& type, const EnumNamesCallback& callback) {
  if (!Known(module)) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  bool any = false;
  for (const auto& entry : module->entries) {
    if (!(entry.type == type)) continue;
    any = true;
    if (!callback(module, entry.type, entry.name)) return true;
  }
  if (!any) SetLastError(err::ResourceTypeNotFound);
  return any;
}

}  // namespace platform
