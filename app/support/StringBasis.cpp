#include "app/support/StringBasis.h"

namespace app {

bool TsgProperties<std::wstring>::Clear() {
  texts_.clear();
  return true;
}

std::wstring TsgProperties<std::wstring>::StoreNamedResource(HMODULE module, const S& name, int32_t codePage) {
  return SetString(name, AddString(module, name, codePage));
}

std::wstring TsgProperties<std::wstring>::StoreNumberedResource(HMODULE module, uint16_t id, int32_t codePage) {
  return SetString(std::to_wstring(id), AddString(module, id, codePage));
}

std::wstring TsgProperties<std::wstring>::SetString(const S& name, const S& text) {
  S& stored = texts_[name];
  stored = text;
  return stored;
}

TStringBasis::TStringBasis() {
  type_ = L"STRING";
  enumProc_ = &TStringBasis::EnumProc;
  enumContext_ = this;
}

std::wstring TStringBasis::GetString(const std::wstring& name) {
  auto it = texts_.find(name);
  const bool missing = it == texts_.end();
  TErrorGuard::Check(missing, prefix_ + L"String[name]: " + L"String not found!", 0);
  return missing ? std::wstring() : it->second;
}

std::wstring TStringBasis::GetStringAt(int32_t number) {
  auto it = texts_.find(std::to_wstring(number));
  const bool missing = it == texts_.end();
  TErrorGuard::Check(missing, prefix_ + L"String[index]: " + L"String not found!", 0);
  return missing ? std::wstring() : it->second;
}

std::wstring TStringBasis::ReadString(HMODULE module, const std::wstring& type, const std::wstring& name,
                                      int32_t codePage) {
  type_ = type.empty() ? L"STRING" : type;
  return AddString(module, name, codePage);
}

std::wstring TStringBasis::ReadStringAt(HMODULE module, const std::wstring& type, uint16_t id, int32_t codePage) {
  type_ = type.empty() ? L"STRING" : type;
  return AddString(module, id, codePage);
}

int32_t TStringBasis::LoadInto(HMODULE module, const std::wstring& type, int32_t codePage, bool clear) {
  type_ = type;
  codePage_ = ResolveCodePage(codePage);
  if (clear) texts_.clear();
  if (enumProc_ && enumContext_ && !type_.empty()) {
    EnumNamesProc proc = enumProc_;
    void* context = enumContext_;
    platform::EnumResourceNames(module, platform::ResourceId(type_),
                                [proc, context](HMODULE m, const platform::ResourceId& t,
                                                const platform::ResourceId& n) { return proc(m, t, n, context); });
  }
  return GetCount();
}

int32_t TStringBasis::LoadStrings(HMODULE module, const std::wstring& type, int32_t codePage) {
  return LoadInto(module, type, codePage, true);
}

int32_t TStringBasis::LoadModuleStrings(HMODULE module, const std::wstring& type, int32_t codePage) {
  return LoadInto(module, type, codePage, false);
}

bool TStringBasis::Clear() { return TsgProperties<std::wstring>::Clear(); }

bool TStringBasis::EnumProc(HMODULE module, const platform::ResourceId&, const platform::ResourceId& name,
                            void* context) {
  auto* table = static_cast<TStringBasis*>(context);
  const int32_t codePage = table->GetCodePage();
  if (name.isId)
    table->StoreNumberedResource(module, name.id, codePage);
  else
    table->StoreNamedResource(module, name.name, codePage);
  return true;
}

HRESULT TStringBasis::QueryInterface(const IID& iid, void** out) {
  if (!out) return platform::com::hr::Fail;
  *out = nullptr;
  if (iid == IID_STRINGS || iid == IID_ORN_STRINGS) {
    *out = static_cast<iSTRINGS*>(this);
    return platform::com::hr::Ok;
  }
  if (iid == IID_ERROR_GUARD) {
    *out = static_cast<TErrorGuard*>(this);
    return platform::com::hr::Ok;
  }
  return platform::com::hr::NoInterface;
}

}  // namespace app
