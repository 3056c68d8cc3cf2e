#include "platform/vcl/IniDocument.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/vcl/SysUtils.h"

namespace {

// The section name of a header line "[name]", or nothing for other lines.
std::optional<std::string> HeaderName(const std::string& line) {
  const std::string text = TrimLeft(line);
  if (text.empty() || text[0] != '[') return std::nullopt;
  const auto close = text.find(']');
  return Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key of a line "key=value"; comments (";") and lines without "=" have none.
std::optional<std::string> KeyName(const std::string& line) {
  const std::string text = TrimLeft(line);
  if (text.empty() || text[0] == ';') return std::nullopt;
  const auto eq = text.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Trim(text.substr(0, eq));
}

}  // namespace

bool IniDocument::Load(const std::string& path) {
  lines_.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  SetText(buffer.str());
  return true;
}

bool IniDocument::Save(const std::string& path) const {
  const std::string temp = path + ".~tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << Text();
    if (!out.flush()) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

void IniDocument::SetText(const std::string& text) {
  lines_.clear();
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

std::string IniDocument::Text() const {
  std::string out;
  for (const auto& line : lines_) out += line + "\r\n";
  return out;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const auto& line : lines_)
    if (auto name = HeaderName(line)) names.push_back(*name);
  return names;
}

int IniDocument::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = HeaderName(lines_[i]);
    if (name && SameText(*name, Trim(section))) return static_cast<int>(i);
  }
  return -1;
}

size_t IniDocument::SectionEnd(int header) const {
  size_t i = static_cast<size_t>(header) + 1;
  while (i < lines_.size() && !HeaderName(lines_[i])) ++i;
  return i;
}

int IniDocument::FindKey(int header, const std::string& key) const {
  const size_t end = SectionEnd(header);
  for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
    auto name = KeyName(lines_[i]);
    if (name && SameText(*name, Trim(key))) return static_cast<int>(i);
  }
  return -1;
}

std::vector<std::string> IniDocument::KeyNames(const std::string& section) const {
  std::vector<std::string> keys;
  const int header = FindSection(section);
  if (header < 0) return keys;
  const size_t end = SectionEnd(header);
  for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i)
    if (auto name = KeyName(lines_[i])) keys.push_back(*name);
  return keys;
}

std::optional<std::string> IniDocument::Value(const std::string& section, const std::string& key) const {
  const int header = FindSection(section);
  if (header < 0) return std::nullopt;
  const int line = FindKey(header, key);
  if (line < 0) return std::nullopt;
  const std::string& text = lines_[static_cast<size_t>(line)];
  return Trim(text.substr(text.find('=') + 1));
}

void IniDocument::SetValue(const std::string& section, const std::string& key, const std::string& value) {
  const std::string entry = Trim(key) + "=" + value;
  int header = FindSection(section);
  if (header < 0) {
    lines_.push_back("[" + Trim(section) + "]");
    lines_.push_back(entry);
    return;
  }
  const int line = FindKey(header, key);
  if (line >= 0) {
    lines_[static_cast<size_t>(line)] = entry;
    return;
  }
  // After the section's last non-empty line, so a blank line before the next section stays.
  size_t at = SectionEnd(header);
  while (at > static_cast<size_t>(header) + 1 && Trim(lines_[at - 1]).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), entry);
}

void IniDocument::DeleteKey(const std::string& section, const std::string& key) {
  const int header = FindSection(section);
  if (header < 0) return;
  const int line = FindKey(header, key);
  if (line >= 0) lines_.erase(lines_.begin() + line);
}

void IniDocument::EraseSection(const std::string& section) {
  const int header = FindSection(section);
  if (header < 0) return;
  lines_.erase(lines_.begin() + header, lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
}
