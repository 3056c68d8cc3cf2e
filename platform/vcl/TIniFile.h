// The VCL's ini-file classes. TIniFile acts as the Windows profile functions do: each call
// reads the file afresh, a value loses the blanks around it and one pair of enclosing quotes
// and is cut to 2047 characters, section names are read into 16384 bytes, and each write
// rewrites the file at once. TMemIniFile reads the file once, keeps values as written
// (blanks around them removed) and writes with UpdateFile. Both find the first of two equal
// names and compare names without regard to ASCII case.
#pragma once

#include <string>

#include "platform/vcl/IniDocument.h"
#include "platform/vcl/SystemTypes.h"
#include "platform/vcl/TStringList.h"

class TCustomIniFile {
 public:
  explicit TCustomIniFile(const System::AnsiString& fileName) : FFileName(fileName) {}
  virtual ~TCustomIniFile() = default;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const System::AnsiString& FileName() const { return FFileName; }

  virtual System::AnsiString ReadString(const System::AnsiString& section, const System::AnsiString& key,
                                        const System::AnsiString& fallback) = 0;
  virtual void WriteString(const System::AnsiString& section, const System::AnsiString& key,
                           const System::AnsiString& value) = 0;
  virtual void ReadSections(TStringList& sections) = 0;
  // The key names of a section, in file order.
  virtual void ReadSection(const System::AnsiString& section, TStringList& keys) = 0;
  virtual void EraseSection(const System::AnsiString& section) = 0;
  virtual void DeleteKey(const System::AnsiString& section, const System::AnsiString& key) = 0;
  virtual void UpdateFile() = 0;

  // Lines "key=value": each key of ReadSection with ReadString's value for it, so a key
  // that occurs twice gives the first value both times.
  void ReadSectionValues(const System::AnsiString& section, TStringList& values);
  bool SectionExists(const System::AnsiString& section);
  bool ValueExists(const System::AnsiString& section, const System::AnsiString& key);

  // StrToInt of the value (hexadecimal after "$" or "0x"); the default when it does not read.
  int32_t ReadInteger(const System::AnsiString& section, const System::AnsiString& key, int32_t fallback);
  void WriteInteger(const System::AnsiString& section, const System::AnsiString& key, int32_t value);
  // A value other than "0" is true; the default when the key is missing or empty.
  bool ReadBool(const System::AnsiString& section, const System::AnsiString& key, bool fallback);
  void WriteBool(const System::AnsiString& section, const System::AnsiString& key, bool value);
  double ReadFloat(const System::AnsiString& section, const System::AnsiString& key, double fallback);

 private:
  System::AnsiString FFileName;
};

class TIniFile : public TCustomIniFile {
 public:
  using TCustomIniFile::TCustomIniFile;
  static constexpr size_t kValueBytes = 2048;      // one value, its NUL included
  static constexpr size_t kSectionNameBytes = 16384;  // all names, separators included

  System::AnsiString ReadString(const System::AnsiString& section, const System::AnsiString& key,
                                const System::AnsiString& fallback) override;
  void WriteString(const System::AnsiString& section, const System::AnsiString& key,
                   const System::AnsiString& value) override;
  void ReadSections(TStringList& sections) override;
  void ReadSection(const System::AnsiString& section, TStringList& keys) override;
  void EraseSection(const System::AnsiString& section) override;
  void DeleteKey(const System::AnsiString& section, const System::AnsiString& key) override;
  void UpdateFile() override {}

 private:
  IniDocument Read() const;
  void Write(const IniDocument& document) const;
};

class TMemIniFile : public TCustomIniFile {
 public:
  explicit TMemIniFile(const System::AnsiString& fileName);

  System::AnsiString ReadString(const System::AnsiString& section, const System::AnsiString& key,
                                const System::AnsiString& fallback) override;
  void WriteString(const System::AnsiString& section, const System::AnsiString& key,
                   const System::AnsiString& value) override;
  void ReadSections(TStringList& sections) override;
  void ReadSection(const System::AnsiString& section, TStringList& keys) override;
  void EraseSection(const System::AnsiString& section) override;
  void DeleteKey(const System::AnsiString& section, const System::AnsiString& key) override;
  // Writes the whole text back to the file (the lines it did not change as they were).
  void UpdateFile() override;

 private:
  IniDocument FDocument;
};
