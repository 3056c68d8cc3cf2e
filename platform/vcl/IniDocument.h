// The lines of an ini file and the lookups of the Windows profile functions on them:
// sections and keys in file order, names compared without regard to ASCII case, the first of
// two equal names wins, and a change rewrites only the line it concerns.
#pragma once

#include <optional>
#include <string>
#include <vector>

class IniDocument {
 public:
  // False when the file cannot be read; the document is then empty.
  bool Load(const std::string& path);
  // Writes to a temporary name beside the file and renames it into place.
  bool Save(const std::string& path) const;
  void SetText(const std::string& text);
  std::string Text() const;

  std::vector<std::string> SectionNames() const;
  // Key names of the first section of that name, duplicates included, in file order.
  std::vector<std::string> KeyNames(const std::string& section) const;
  // The raw value (blanks around it removed) of the first key of that name.
  std::optional<std::string> Value(const std::string& section, const std::string& key) const;

  void SetValue(const std::string& section, const std::string& key, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& key);
  void EraseSection(const std::string& section);

 private:
  // Index of the header line of the first section of that name, or -1.
  int FindSection(const std::string& section) const;
  // One past the last line of the section whose header is at `header`.
  size_t SectionEnd(int header) const;
  int FindKey(int header, const std::string& key) const;

  std::vector<std::string> lines_;
};
