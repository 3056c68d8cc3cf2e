// Builds the bytes of a data-only resource module (see ResourceFormat.h).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/resources/ResourceId.h"

namespace platform {

class ResourceWriter {
 public:
  // A later resource of the same type and name replaces the earlier one.
  void Add(const ResourceId& type, const ResourceId& name, std::vector<uint8_t> data);
  std::vector<uint8_t> Bytes() const;
  // Writes to a temporary name and renames it into place; false on failure.
  bool Save(const std::string& path) const;

  // A text resource: UTF-16LE with a byte-order mark and a closing NUL unit.
  static std::vector<uint8_t> Utf16Text(const std::wstring& text);

 private:
  std::map<std::pair<ResourceId, ResourceId>, std::vector<uint8_t>> resources_;
};

}  // namespace platform
