// The VCL's string list: an ordered list of 8-bit texts. Strings[i] reads and writes an item;
// an index outside the list throws std::out_of_range.
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
  int Add(const System::AnsiString& text) {
    FItems.push_back(text);
    return static_cast<int>(FItems.size()) - 1;
  }
  int Count() const { return static_cast<int>(FItems.size()); }
  void Clear() { FItems.clear(); }

  class StringsProperty {
   public:
    explicit StringsProperty(TStringList& owner) : FOwner(owner) {}
    System::AnsiString& operator[](int index) { return FOwner.Item(index); }
    const System::AnsiString& operator[](int index) const { return FOwner.Item(index); }

   private:
    TStringList& FOwner;
  };
  StringsProperty Strings;

 private:
  System::AnsiString& Item(int index) {
    if (index < 0 || index >= Count())
      throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<size_t>(index)];
  }

  std::vector<System::AnsiString> FItems;
};
