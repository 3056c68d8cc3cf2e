#include "components/tagbook/Dictionary.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <tuple>

#include "platform/core/LastError.h"

namespace tagbook {

namespace {

// Four hex digits, "x" for any digit. Gives the value with 0 in the "x" places and the mask.
bool ParseMaskedWord(const std::string& text, uint16_t* value, uint16_t* mask) {
  if (text.size() != 4) return false;
  uint16_t v = 0, m = 0;
  for (char c : text) {
    v = static_cast<uint16_t>(v << 4);
    m = static_cast<uint16_t>(m << 4);
    if (c == 'x') continue;
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return false;
    v = static_cast<uint16_t>(v | digit);
    m = static_cast<uint16_t>(m | 0xF);
  }
  *value = v;
  *mask = m;
  return true;
}

// "1" -> 1,1; "1-3" -> 1,3; "1-n", "2-2n" -> 1 or 2, 0xFFFF.
bool ParseVM(const std::string& text, uint16_t* vmMin, uint16_t* vmMax) {
  auto number = [](const std::string& s, uint16_t* out) {
    if (s.empty() || s.size() > 4) return false;
    unsigned v = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + static_cast<unsigned>(c - '0');
    }
    *out = static_cast<uint16_t>(v);
    return true;
  };
  const auto dash = text.find('-');
  if (dash == std::string::npos) {
    if (!number(text, vmMin)) return false;
    *vmMax = *vmMin;
    return true;
  }
  if (!number(text.substr(0, dash), vmMin)) return false;
  const std::string upper = text.substr(dash + 1);
  if (!upper.empty() && upper.back() == 'n') {
    *vmMax = 0xFFFF;
    return true;
  }
  return number(upper, vmMax);
}

struct Row {
  uint16_t group, groupMask, element, elementMask;
  DictionaryEntry entry;
};

bool ParseLine(const std::string& line, Row* row) {
  std::string fields[6];
  size_t start = 0;
  for (int i = 0; i < 6; ++i) {
    const size_t tab = i < 5 ? line.find('\t', start) : std::string::npos;
    if (i < 5 && tab == std::string::npos) return false;
    fields[i] = line.substr(start, i < 5 ? tab - start : std::string::npos);
    start = tab + 1;
  }
  DictionaryEntry& e = row->entry;
  if (!ParseMaskedWord(fields[0], &row->group, &row->groupMask)) return false;
  if (!ParseMaskedWord(fields[1], &row->element, &row->elementMask)) return false;
  if (fields[2].size() < 2) return false;
  if (!ParseVM(fields[3], &e.vmMin, &e.vmMax)) return false;
  if (fields[4] != "0" && fields[4] != "1") return false;
  e.vr = fields[2];
  e.retired = fields[4] == "1";
  e.name = fields[5];
  e.element = row->element;
  e.elementMask = row->elementMask;
  return true;
}

}  // namespace

uint32_t Dictionary::Load(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return platform::ErrorFromErrno(errno);

  std::vector<Row> rows;
  std::string line;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, file.get()) != nullptr) {
    line += buffer;
    if (line.back() != '\n' && !std::feof(file.get())) {
      if (line.size() > 4096) return platform::err::InvalidData;
      continue;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!line.empty() && line[0] != '#') {
      Row row{};
      if (!ParseLine(line, &row)) return platform::err::InvalidData;
      rows.push_back(std::move(row));
    }
    line.clear();
  }
  if (std::ferror(file.get())) return platform::err::ReadFault;
  if (rows.empty() || rows.size() > 0xFFFF) return platform::err::InvalidData;

  // Exact groups first by number, then masked groups; in a group exact elements first.
  auto key = [](const Row& r) {
    return std::make_tuple(r.groupMask != 0xFFFF, r.group, r.groupMask, r.elementMask != 0xFFFF,
                           r.element, r.elementMask);
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) { return key(a) < key(b); });

  std::vector<Group> groups;
  std::vector<DictionaryEntry> entries;
  entries.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    Row& r = rows[i];
    if (i > 0 && key(rows[i - 1]) == key(r)) return platform::err::InvalidData;  // duplicate
    if (groups.empty() || groups.back().number != r.group || groups.back().mask != r.groupMask) {
      Group g;
      g.number = r.group;
      g.mask = r.groupMask;
      g.first = static_cast<uint32_t>(entries.size());
      groups.push_back(g);
    }
    Group& g = groups.back();
    r.entry.group = static_cast<uint16_t>(groups.size() - 1);
    ++g.count;
    if (r.elementMask == 0xFFFF) ++g.exactCount;
    entries.push_back(std::move(r.entry));
  }
  uint32_t exactGroups = 0;
  while (exactGroups < groups.size() && groups[exactGroups].mask == 0xFFFF) ++exactGroups;
  for (uint32_t i = 0; i < exactGroups; ++i) {
    for (uint32_t m = exactGroups; m < groups.size(); ++m) {
      if ((groups[i].number & groups[m].mask) == groups[m].number) {
        groups[i].fallback = static_cast<int32_t>(m);
        break;
      }
    }
  }
  FGroups = std::move(groups);
  FEntries = std::move(entries);
  FExactGroups = exactGroups;
  return 0;
}

bool Dictionary::FindGroup(uint16_t group, uint16_t* groupIndex) const {
  const auto begin = FGroups.begin();
  const auto end = FGroups.begin() + FExactGroups;
  const auto it = std::lower_bound(begin, end, group, [](const Group& g, uint16_t n) { return g.number < n; });
  if (it != end && it->number == group) {
    *groupIndex = static_cast<uint16_t>(it - begin);
    return true;
  }
  for (size_t m = FExactGroups; m < FGroups.size(); ++m) {
    if ((group & FGroups[m].mask) == FGroups[m].number) {
      *groupIndex = static_cast<uint16_t>(m);
      return true;
    }
  }
  return false;
}

bool Dictionary::FindInGroup(const Group& g, uint16_t element, uint16_t* elementIndex) const {
  const auto begin = FEntries.begin() + g.first;
  const auto exactEnd = begin + g.exactCount;
  const auto it = std::lower_bound(begin, exactEnd, element,
                                   [](const DictionaryEntry& e, uint16_t n) { return e.element < n; });
  if (it != exactEnd && it->element == element) {
    *elementIndex = static_cast<uint16_t>(it - FEntries.begin());
    return true;
  }
  for (auto m = exactEnd; m != begin + g.count; ++m) {
    if ((element & m->elementMask) == m->element) {
      *elementIndex = static_cast<uint16_t>(m - FEntries.begin());
      return true;
    }
  }
  return false;
}

bool Dictionary::FindElement(uint16_t groupIndex, uint16_t element, uint16_t* elementIndex) const {
  if (groupIndex >= FGroups.size()) return false;
  const Group& g = FGroups[groupIndex];
  if (FindInGroup(g, element, elementIndex)) return true;
  return g.fallback >= 0 && FindInGroup(FGroups[static_cast<size_t>(g.fallback)], element, elementIndex);
}

const DictionaryEntry* Dictionary::Entry(uint16_t groupIndex, uint16_t elementIndex) const {
  if (groupIndex >= FGroups.size() || elementIndex >= FEntries.size()) return nullptr;
  const DictionaryEntry& e = FEntries[elementIndex];
  if (e.group == groupIndex || e.group == FGroups[groupIndex].fallback) return &e;
  return nullptr;
}

}  // namespace tagbook
