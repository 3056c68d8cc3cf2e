#include "platform/vcl/TStringList.h"

#include <fstream>
#include <sstream>

#include "platform/vcl/SysUtils.h"

int TStringList::AddObject(const System::AnsiString& text, void* object) {
  FItems.push_back({text, object});
  return Count() - 1;
}

void TStringList::Insert(int index, const System::AnsiString& text) {
  if (index < 0 || index > Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  FItems.insert(FItems.begin() + index, Item{text, nullptr});
}

void TStringList::Delete(int index) {
  Entry(index);
  FItems.erase(FItems.begin() + index);
}

int TStringList::IndexOf(const System::AnsiString& text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(FItems[static_cast<size_t>(i)].text, text)) return i;
  return -1;
}

int TStringList::IndexOfName(const System::AnsiString& name) const {
  for (int i = 0; i < Count(); ++i) {
    const auto& text = FItems[static_cast<size_t>(i)].text;
    const auto eq = text.find('=');
    if (eq != std::string::npos && SameText(text.substr(0, eq), name)) return i;
  }
  return -1;
}

System::AnsiString TStringList::Names(int index) const {
  const auto& text = Entry(index).text;
  const auto eq = text.find('=');
  return eq == std::string::npos ? System::AnsiString() : text.substr(0, eq);
}

System::AnsiString TStringList::ValueFromIndex(int index) const {
  const auto& text = Entry(index).text;
  const auto eq = text.find('=');
  return eq == std::string::npos ? System::AnsiString() : text.substr(eq + 1);
}

System::AnsiString TStringList::Values(const System::AnsiString& name) const {
  const int i = IndexOfName(name);
  return i < 0 ? System::AnsiString() : ValueFromIndex(i);
}

void TStringList::SetValue(const System::AnsiString& name, const System::AnsiString& value) {
  const int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(name + "=" + value);
  } else {
    Entry(i).text = name + "=" + value;
  }
}

System::AnsiString TStringList::Text() const {
  System::AnsiString out;
  for (const auto& item : FItems) out += item.text + "\r\n";
  return out;
}

void TStringList::SetText(const System::AnsiString& text) {
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      Add(text.substr(start));
      break;
    }
    Add(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

System::AnsiString TStringList::CommaText() const {
  System::AnsiString out;
  for (size_t i = 0; i < FItems.size(); ++i) {
    const auto& text = FItems[i].text;
    if (i) out += ',';
    const bool quote =
        text.empty() || text.find_first_of(" ,\"") != std::string::npos ||
        text.find_first_of("\t\r\n") != std::string::npos;
    if (!quote) {
      out += text;
      continue;
    }
    out += '"';
    for (char c : text) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

bool TStringList::LoadFromFile(const System::AnsiString& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  SetText(buffer.str());
  return true;
}

bool TStringList::SaveToFile(const System::AnsiString& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << Text();
  return static_cast<bool>(out.flush());
}
