// The VCL's string list: an ordered list of 8-bit texts, each with an optional object pointer.
// Strings[i] reads and writes an item; an index outside the list throws std::out_of_range.
// Name lookups (IndexOf, IndexOfName, Values) ignore ASCII case, as the VCL's list does.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/vcl/SystemTypes.h"

class TStringList {
 public:
  TStringList() : Strings(*this) {}
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;
  virtual ~TStringList() = default;

  // Appends a text and returns its index.
  int Add(const System::AnsiString& text) { return AddObject(text, nullptr); }
  int AddObject(const System::AnsiString& text, void* object);
  void Insert(int index, const System::AnsiString& text);
  void Delete(int index);
  int Count() const { return static_cast<int>(FItems.size()); }
  void Clear() { FItems.clear(); }

  int IndexOf(const System::AnsiString& text) const;
  // Lines "name=value": the index of the first line of that name, or -1.
  int IndexOfName(const System::AnsiString& name) const;
  System::AnsiString Names(int index) const;
  System::AnsiString ValueFromIndex(int index) const;
  // The value of the first line of that name, "" when there is none.
  System::AnsiString Values(const System::AnsiString& name) const;
  // Sets the value of the first line of that name (appends one; an empty value deletes it).
  void SetValue(const System::AnsiString& name, const System::AnsiString& value);

  void* Objects(int index) const { return Entry(index).object; }
  void SetObject(int index, void* object) { Entry(index).object = object; }

  // All items, each followed by CR LF; setting splits at CR LF, LF or CR.
  System::AnsiString Text() const;
  void SetText(const System::AnsiString& text);
  // Items separated by commas; items with blanks, commas or quotes are double-quoted.
  System::AnsiString CommaText() const;

  // Reads and writes the text of a file; false when the file cannot be read or written.
  bool LoadFromFile(const System::AnsiString& path);
  bool SaveToFile(const System::AnsiString& path) const;

  class StringsProperty {
   public:
    explicit StringsProperty(TStringList& owner) : FOwner(owner) {}
    System::AnsiString& operator[](int index) { return FOwner.Entry(index).text; }
    const System::AnsiString& operator[](int index) const { return FOwner.Entry(index).text; }

   private:
    TStringList& FOwner;
  };
  StringsProperty Strings;

 private:
  struct Item {
    System::AnsiString text;
    void* object = nullptr;
  };
  Item& Entry(int index) const {
    if (index < 0 || index >= Count())
      throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return const_cast<Item&>(FItems[static_cast<size_t>(index)]);
  }

  std::vector<Item> FItems;
};
