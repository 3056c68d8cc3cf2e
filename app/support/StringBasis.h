// String tables: an ordered map of named wide texts, filled from the resources of one type in
// a resource module and read by name or by integer identifier.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "app/support/ErrorGuard.h"
#include "platform/resources/ResourceModule.h"

namespace app {

using HMODULE = platform::ResourceModuleHandle;

inline constexpr IID IID_STRINGS = {0x6B1D5E21, 0x41A7, 0x4C3E, {0x9A, 0x51, 0x2F, 0x0C, 0x7D, 0x13, 0xE8, 0x02}};
inline constexpr IID IID_ORN_STRINGS = {0x6B1D5E22, 0x41A7, 0x4C3E, {0x9A, 0x51, 0x2F, 0x0C, 0x7D, 0x13, 0xE8, 0x03}};

// Orders names code unit by code unit, letter case included, as a case-sensitive string
// comparison in the English locale does for the resource names in use.
class TLess : public TErrorGuard {
 public:
  bool operator()(const std::wstring& a, const std::wstring& b) const { return a.compare(b) < 0; }
};

// Called for each resource name of the enumerated type; the context is the table.
using EnumNamesProc = bool (*)(HMODULE module, const platform::ResourceId& type, const platform::ResourceId& name,
                               void* context);

template <class S>
class iPROPERTYBAG {
 public:
  virtual S AddString(HMODULE module, const S& name, int32_t codePage) = 0;
  virtual bool Clear() = 0;
  virtual int32_t GetCodePage() const = 0;
  virtual ~iPROPERTYBAG() = default;
  virtual int32_t Load(HMODULE module, const S& type, int32_t codePage) = 0;
  virtual S StoreNamedResource(HMODULE module, const S& name, int32_t codePage) = 0;
  virtual S StoreNumberedResource(HMODULE module, uint16_t id, int32_t codePage) = 0;
  virtual S SetString(const S& name, const S& text) = 0;
  virtual int32_t GetCount() const = 0;
};

template <class S>
class TsgProperties;

template <>
class TsgProperties<std::wstring> : public iPROPERTYBAG<std::wstring> {
 public:
  using S = std::wstring;
  bool Clear() override;
  int32_t GetCodePage() const override { return codePage_; }
  S StoreNamedResource(HMODULE module, const S& name, int32_t codePage) override;
  S StoreNumberedResource(HMODULE module, uint16_t id, int32_t codePage) override;
  S SetString(const S& name, const S& text) override;
  int32_t GetCount() const override { return static_cast<int32_t>(texts_.size()); }
  virtual S AddString(HMODULE module, uint16_t id, int32_t codePage) = 0;
  using iPROPERTYBAG<S>::AddString;

  const S& ResourceType() const { return type_; }

 protected:
  std::map<S, S, TLess> texts_;
  S type_;
  int32_t codePage_ = -1;
  EnumNamesProc enumProc_ = nullptr;
  void* enumContext_ = nullptr;
};

class iSTRINGS {
 public:
  virtual ~iSTRINGS() = default;
  virtual std::wstring GetString(const std::wstring& name) = 0;
  virtual std::wstring GetStringAt(int32_t number) = 0;
  virtual std::wstring ReadString(HMODULE module, const std::wstring& type, const std::wstring& name,
                                  int32_t codePage) = 0;
  virtual std::wstring ReadStringAt(HMODULE module, const std::wstring& type, uint16_t id, int32_t codePage) = 0;
};

class iORN_STRINGS : public iSTRINGS, public TsgProperties<std::wstring>, public TErrorGuard {};

// Leaves reading one resource to a derived class (the text store).
class TStringBasis : public iORN_STRINGS {
 public:
  TStringBasis();
  std::wstring GetString(const std::wstring& name) override;
  std::wstring GetStringAt(int32_t number) override;
  std::wstring ReadString(HMODULE module, const std::wstring& type, const std::wstring& name,
                          int32_t codePage) override;
  std::wstring ReadStringAt(HMODULE module, const std::wstring& type, uint16_t id, int32_t codePage) override;
  virtual int32_t LoadStrings(HMODULE module, const std::wstring& type, int32_t codePage);
  virtual int32_t LoadModuleStrings(HMODULE module, const std::wstring& type, int32_t codePage);
  bool Clear() override;
  HRESULT QueryInterface(const IID& iid, void** out) override;
  int32_t Load(HMODULE module, const std::wstring& type, int32_t codePage) override {
    return LoadStrings(module, type, codePage);
  }

 protected:
  std::wstring prefix_ = L"PURE VIRTUAL STRINGS: ";

 private:
  int32_t LoadInto(HMODULE module, const std::wstring& type, int32_t codePage, bool clear);
  static bool EnumProc(HMODULE module, const platform::ResourceId& type, const platform::ResourceId& name,
                       void* context);
};

}  // namespace app
