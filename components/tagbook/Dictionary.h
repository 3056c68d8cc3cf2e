// The standard data dictionary read from the component's data folder ("datadict.txt"), in
// tables that answer lookups without allocating and without a lock once loaded.
//
// Repeating groups and elements (60xx, 1000xxx0, ...) are entries with a mask. A group is
// found exactly first, then among the masked groups; an element is found exactly in its group
// first, then among the group's masked elements, then in the masked group that also covers an
// exactly known group (7FE0 falls back to 7Fxx). An element index is the entry's position in
// the whole table, so it stays 16-bit and the later calls can check it belongs to the group.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tagbook {

struct DictionaryEntry {
  uint16_t element = 0;
  uint16_t elementMask = 0xFFFF;  // bits that must match; 0 bits are "x" digits
  uint16_t group = 0;             // index of the group the entry belongs to
  uint16_t vmMin = 0xFFFF;
  uint16_t vmMax = 0xFFFF;
  bool retired = false;
  std::string vr;
  std::string name;
};

class Dictionary {
 public:
  // Reads the data file. Returns 0, or the Win32 error code of the failure (missing file,
  // malformed line as InvalidData, too many entries).
  uint32_t Load(const std::string& path);

  bool FindGroup(uint16_t group, uint16_t* groupIndex) const;
  bool FindElement(uint16_t groupIndex, uint16_t element, uint16_t* elementIndex) const;
  // The entry for a pair of indexes that FindElement gave, or null.
  const DictionaryEntry* Entry(uint16_t groupIndex, uint16_t elementIndex) const;

  size_t EntryCount() const { return FEntries.size(); }

 private:
  struct Group {
    uint16_t number = 0;
    uint16_t mask = 0xFFFF;
    uint32_t first = 0;        // entries [first, first + exactCount) exact, sorted by element
    uint32_t exactCount = 0;   // then the masked entries up to first + count
    uint32_t count = 0;
    int32_t fallback = -1;     // the masked group that also covers this one
  };

  bool FindInGroup(const Group& g, uint16_t element, uint16_t* elementIndex) const;

  std::vector<Group> FGroups;  // exact groups sorted by number, then the masked ones
  uint32_t FExactGroups = 0;
  std::vector<DictionaryEntry> FEntries;
};

}  // namespace tagbook
