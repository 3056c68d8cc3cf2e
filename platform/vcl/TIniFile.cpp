#include "platform/vcl/TIniFile.h"

#include "platform/vcl/SysUtils.h"

void TCustomIniFile::ReadSectionValues(const System::AnsiString& section, TStringList& values) {
  TStringList keys;
  ReadSection(section, keys);
  values.Clear();
  for (int i = 0; i < keys.Count(); ++i)
    values.Add(keys.Strings[i] + "=" + ReadString(section, keys.Strings[i], ""));
}

bool TCustomIniFile::SectionExists(const System::AnsiString& section) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const System::AnsiString& section, const System::AnsiString& key) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(key) >= 0;
}

int32_t TCustomIniFile::ReadInteger(const System::AnsiString& section, const System::AnsiString& key,
                                    int32_t fallback) {
  const System::AnsiString text = ReadString(section, key, "");
  if (text.empty()) return fallback;
  return StrToIntDef(text, fallback);
}

void TCustomIniFile::WriteInteger(const System::AnsiString& section, const System::AnsiString& key,
                                  int32_t value) {
  WriteString(section, key, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const System::AnsiString& section, const System::AnsiString& key, bool fallback) {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const System::AnsiString& section, const System::AnsiString& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const System::AnsiString& section, const System::AnsiString& key,
                                 double fallback) {
  const System::AnsiString text = ReadString(section, key, "");
  if (text.empty()) return fallback;
  return StrToFloatDef(text, fallback);
}

IniDocument TIniFile::Read() const {
  IniDocument document;
  document.Load(FileName());
  return document;
}

void TIniFile::Write(const IniDocument& document) const { document.Save(FileName()); }

System::AnsiString TIniFile::ReadString(const System::AnsiString& section, const System::AnsiString& key,
                                        const System::AnsiString& fallback) {
  auto value = Read().Value(section, key);
  if (!value) return fallback.substr(0, kValueBytes - 1);
  System::AnsiString text = *value;
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    text = text.substr(1, text.size() - 2);
  return text.substr(0, kValueBytes - 1);
}

void TIniFile::WriteString(const System::AnsiString& section, const System::AnsiString& key,
                           const System::AnsiString& value) {
  IniDocument document = Read();
  document.SetValue(section, key, value);
  Write(document);
}

void TIniFile::ReadSections(TStringList& sections) {
  sections.Clear();
  size_t used = 1;  // the closing NUL of the list
  for (const auto& name : Read().SectionNames()) {
    if (used + name.size() + 1 > kSectionNameBytes) break;
    used += name.size() + 1;
    sections.Add(name);
  }
}

void TIniFile::ReadSection(const System::AnsiString& section, TStringList& keys) {
  keys.Clear();
  for (const auto& key : Read().KeyNames(section)) keys.Add(key);
}

void TIniFile::EraseSection(const System::AnsiString& section) {
  IniDocument document = Read();
  document.EraseSection(section);
  Write(document);
}

void TIniFile::DeleteKey(const System::AnsiString& section, const System::AnsiString& key) {
  IniDocument document = Read();
  document.DeleteKey(section, key);
  Write(document);
}

TMemIniFile::TMemIniFile(const System::AnsiString& fileName) : TCustomIniFile(fileName) {
  FDocument.Load(fileName);
}

System::AnsiString TMemIniFile::ReadString(const System::AnsiString& section, const System::AnsiString& key,
                                           const System::AnsiString& fallback) {
  auto value = FDocument.Value(section, key);
  return value ? *value : fallback;
}

void TMemIniFile::WriteString(const System::AnsiString& section, const System::AnsiString& key,
                              const System::AnsiString& value) {
  FDocument.SetValue(section, key, value);
}

void TMemIniFile::ReadSections(TStringList& sections) {
  sections.Clear();
  for (const auto& name : FDocument.SectionNames()) sections.Add(name);
}

void TMemIniFile::ReadSection(const System::AnsiString& section, TStringList& keys) {
  keys.Clear();
  for (const auto& key : FDocument.KeyNames(section)) keys.Add(key);
}

void TMemIniFile::EraseSection(const System::AnsiString& section) { FDocument.EraseSection(section); }

void TMemIniFile::DeleteKey(const System::AnsiString& section, const System::AnsiString& key) {
  FDocument.DeleteKey(section, key);
}

void TMemIniFile::UpdateFile() { FDocument.Save(FileName()); }
