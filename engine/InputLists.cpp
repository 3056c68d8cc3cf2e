#include "engine/InputLists.h"

#include <cstring>

#include "platform/process/NamedFileMapping.h"

namespace ORN_engine {

std::vector<std::string> ParseList(const uint8_t* data, size_t size) {
  std::vector<std::string> lines;
  if (data == nullptr) return lines;
  const void* nul = std::memchr(data, 0, size);
  const size_t end = nul != nullptr ? size_t(static_cast<const uint8_t*>(nul) - data) : size;
  size_t start = 0;
  while (start < end) {
    size_t stop = start;
    while (stop < end && data[stop] != '\n') ++stop;
    std::string line(reinterpret_cast<const char*>(data) + start, stop - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = stop + 1;
  }
  return lines;
}

std::vector<int32_t> FrameNumbers(const std::vector<std::string>& lines, size_t count) {
  std::vector<int32_t> frames(count, 0);
  for (size_t i = 0; i < count && i < lines.size(); ++i) {
    const std::string& t = lines[i];
    int64_t v = 0;
    bool ok = !t.empty() && t.size() <= 9;
    for (char c : t) {
      if (c < '0' || c > '9') {
        ok = false;
        break;
      }
      v = v * 10 + (c - '0');
    }
    frames[i] = ok ? int32_t(v) : 0;
  }
  return frames;
}

namespace {
std::vector<std::string> ListOf(const std::string& name) {
  auto mapping = platform::NamedFileMapping::Open(name);
  if (!mapping) return {};
  auto view = mapping->Map();
  if (!view) return {};
  return ParseList(view->Data(), size_t(view->Size()));
}
}  // namespace

InputLists ReadInputLists(uint32_t pid) {
  const std::string id = std::to_string(int32_t(pid));
  InputLists lists;
  lists.Images = ListOf("StackImageFiles" + id);
  lists.PresentationStates = ListOf("PresentationStateFiles" + id);
  lists.Frames = FrameNumbers(ListOf("FrameIndexes" + id), lists.Images.size());
  return lists;
}

}  // namespace ORN_engine
