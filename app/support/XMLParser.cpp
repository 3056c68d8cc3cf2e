#include "app/support/XMLParser.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/support/ORNValue.h"
#include "app/support/Utf16Text.h"
#include "platform/text/CodePageConversion.h"

namespace app {

namespace hr = platform::com::hr;
using platform::xml::NodeElement;
using platform::xml::NodeType;
using platform::xml::Variant;
using platform::xml::VtBstr;

TsgXMLParser::TsgXMLParser() {
  document_ = std::make_unique<platform::xml::XmlDocument>();
  Check(!document_, L"Construcor XMLParser: CoCreateInstance ", 0);
}

TsgXMLParser::~TsgXMLParser() = default;

std::wstring TsgXMLParser::BSTRToString(const wchar_t* bstr, int32_t) { return bstr ? std::wstring(bstr) : std::wstring(); }

std::wstring TsgXMLParser::StringToBSTR(const std::wstring& text, int32_t) {
  return text.substr(0, text.find(L'\0'));
}

bool TsgXMLParser::SetXML(const std::wstring& text, int32_t codePage) {
  node_ = XmlNode();
  child_ = XmlNode();
  if (text.empty()) return false;
  const std::wstring bstr = StringToBSTR(text, ResolveCodePage(codePage));
  if (!document_) return false;
  const HRESULT result = document_->loadXML(bstr);
  if (!Check(result != hr::Ok, L"SetXML XMLParser: loadXML ", 0)) {
    node_ = document_->Node();
    return true;
  }
  const std::wstring& reason = document_->parseError().reason;
  if (!reason.empty()) SetError(L"SetXML " + reason, 0);
  return false;
}

std::wstring TsgXMLParser::GetXML(int32_t) {
  std::wstring text;
  if (document_ && document_->parsed() && document_->xml(text) == hr::Ok) return text;
  return {};
}

bool TsgXMLParser::LoadFromFile(const std::wstring& path, int32_t codePage) {
  std::string utf8;
  if (!platform::WideToMultiByte(65001, path, utf8)) return false;
  std::error_code ec;
  const auto size = std::filesystem::file_size(utf8, ec);
  // A file too large for the buffer of the whole text is refused, never read in part.
  if (ec || size > kMaxFileSize) return false;
  std::ifstream file(utf8, std::ios::binary);
  if (!file) return false;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return false;
  // The first two bytes are taken as the byte-order mark.
  const std::wstring text = bytes.size() > 2 ? Utf16LeToWide(bytes.data() + 2, bytes.size() - 2) : std::wstring();
  return SetXML(text, codePage);
}

std::wstring TsgXMLParser::Name() {
  if (Check(node_.IsNull(), L"Name XMLParser: Current node is NULL!", 0)) return {};
  std::wstring name;
  if (CheckHResult(node_.nodeName(name), L"Name ")) return {};
  return name;
}

std::wstring TsgXMLParser::Text(int32_t) {
  if (Check(node_.IsNull(), L"Text XMLParser: Current node is NULL!", 0)) return {};
  XmlNode first;
  if (Check(node_.firstChild(first) == hr::InvalidArg, L"Text XMLParser: Error retrieving first child!", 0)) return {};
  std::wstring name;
  if (!first.IsNull() && CheckHResult(first.nodeName(name), L"Text ")) return {};
  if (Check(name != L"#text", L"Text XMLParser: Text node not found!", 0)) return {};
  Variant value;
  if (CheckHResult(first.nodeValue(value), L"Text ")) return {};
  if (Check(value.vt != VtBstr, L"Text XMLParser: Variant of BSTR type expected!", 0)) return {};
  return value.bstrVal;
}

bool TsgXMLParser::Dive() {
  if (Check(child_.IsNull(), L"Dive XMLParser: Child is NULL!", 0)) return false;
  node_ = child_;
  XmlNode first;
  const HRESULT result = node_.firstChild(first);
  child_ = first;
  Check(result == hr::InvalidArg, L"Dive XMLParser: Error retrieving first child!", 0);
  return true;
}

bool TsgXMLParser::DiveTo(const std::wstring& name) {
  if (Check(node_.IsNull(), L"DiveTo XMLParser: Current node is NULL!", 0)) return false;
  bool has = false;
  const HRESULT result = node_.hasChildNodes(has);
  if (Check(result == hr::False || !has, L"DiveTo XMLParser: XML parser returns error retrieving children!", 0))
    return false;
  platform::xml::XmlNodeList list;
  if (CheckHResult(node_.childNodes(list), L"DiveTo  get childs XMLParser: Unexpected error!")) return false;
  list.reset();
  XmlNode node;
  while (list.nextNode(node) == hr::Ok && !node.IsNull()) {
    std::wstring nodeName;
    if (node.nodeName(nodeName) != hr::Ok) continue;
    if (nodeName == name) {
      node_ = node;
      XmlNode first;
      node_.firstChild(first);
      child_ = first;
      return true;
    }
  }
  return false;
}

bool TsgXMLParser::Raise() {
  if (node_.IsNull()) return false;
  XmlNode parent;
  const HRESULT result = node_.parentNode(parent);
  if (Check(result == hr::InvalidArg, L"Raise XMLParser: Unexpected error!", 0)) return false;
  if (Check(parent.IsNull(), L"Raise XMLParser: Root already reached!", 0)) return false;
  node_ = parent;
  XmlNode first;
  const HRESULT firstResult = node_.firstChild(first);
  child_ = first;
  return !CheckHResult(firstResult, L"Raise ");
}

bool TsgXMLParser::Reset() {
  if (Check(!document_, L"Reset XMLParser: loadXML ", 0)) return false;
  node_ = document_->Node();
  XmlNode first;
  const HRESULT result = node_.firstChild(first);
  child_ = first;
  return !Check(result == hr::InvalidArg, L"Reset XMLParser: Error retrieving first child!", 0);
}

std::wstring TsgXMLParser::ChildName() {
  if (Check(child_.IsNull(), L"ChildName XMLParser: Child is NULL!", 0)) return {};
  std::wstring name;
  if (CheckHResult(child_.nodeName(name), L"ChildName ")) return {};
  return name;
}

std::wstring TsgXMLParser::ChildXML(int32_t) {
  if (Check(child_.IsNull(), L"ChildXML XMLParser: Child is NULL!", 0)) return {};
  std::wstring text;
  if (CheckHResult(child_.xml(text), L"ChildXML XMLParser: Unexpected error!")) return {};
  return text;
}

bool TsgXMLParser::FirstChild() {
  if (Check(node_.IsNull(), L"FirstChild XMLParser: Current node is NULL!", 0)) return false;
  XmlNode first;
  const HRESULT result = node_.firstChild(first);
  child_ = first;
  if (Check(result == hr::InvalidArg, L"FirstChild XMLParser: Error retrieving first child!", 0)) return false;
  return !child_.IsNull();
}

bool TsgXMLParser::NextChild() {
  if (Check(child_.IsNull(), L"NextChild XMLParser: Child is NULL!", 0)) return false;
  XmlNode next;
  const HRESULT result = child_.nextSibling(next);
  child_ = next;
  if (CheckHResult(result, L"NextChild ")) return false;
  return !child_.IsNull();
}

bool TsgXMLParser::PrevChild() {
  if (Check(child_.IsNull(), L"PrevChild XMLParser: Child is NULL!", 0)) return false;
  XmlNode previous;
  const HRESULT result = child_.previousSibling(previous);
  child_ = previous;
  if (CheckHResult(result, L"PrevChild ")) return false;
  return !child_.IsNull();
}

bool TsgXMLParser::IsElement(const XmlNode& node) const {
  NodeType type{};
  return !node.IsNull() && node.nodeType(type) == hr::Ok && type == NodeElement;
}

bool TsgXMLParser::FirstElement() {
  if (!FirstChild()) return false;
  while (!IsElement(child_))
    if (!NextChild()) return false;
  return true;
}

bool TsgXMLParser::NextElement() {
  if (!NextChild()) return false;
  while (!IsElement(child_))
    if (!NextChild()) return false;
  return true;
}

bool TsgXMLParser::PrevElement() {
  if (!PrevChild()) return false;
  while (!IsElement(child_))
    if (!PrevChild()) return false;
  return true;
}

bool TsgXMLParser::SeekChild(const std::wstring& name) {
  if (node_.IsNull()) return false;
  XmlNode node;
  const HRESULT result = node_.firstChild(node);
  if (CheckHResult(result, L"SeekChild ") || node.IsNull()) return false;
  while (!node.IsNull()) {
    std::wstring nodeName;
    if (node.nodeName(nodeName) == hr::Ok && nodeName == name) {
      child_ = node;
      return true;
    }
    XmlNode next;
    if (node.nextSibling(next) != hr::Ok) return false;
    node = next;
  }
  return false;
}

bool TsgXMLParser::IsEmpty() {
  if (!document_) return true;
  std::wstring text;
  CheckHResult(document_->xml(text), L"IsEmpty XMLParser: Unexpected error!");
  return text.empty();
}

XmlNode TsgXMLParser::LookUpAttribute(const XmlNode& node, const std::wstring& name, const wchar_t* prefix,
                                      const wchar_t* missingNode) {
  const std::wstring p = prefix;
  if (Check(node.IsNull(), p + missingNode, 0)) return {};
  platform::xml::XmlNamedNodeMap map;
  if (CheckHResult(node.attributes(map), p + L"XMLParser: get_attributes not succeded!")) return {};
  if (Check(map.IsNull(), p + L"XMLParser: get_attributes not succeded!", 0)) return {};
  if (Check(map.length() == 0, p + L"XMLParser: Attribute list is empty!", 0)) return {};
  XmlNode attribute;
  map.getNamedItem(name, attribute);
  return attribute;
}

XmlNode TsgXMLParser::fGetAttribute(const std::wstring& name) {
  return LookUpAttribute(node_, name, L"fGetAttribute ", L"XMLParser: Current node is NULL!");
}

XmlNode TsgXMLParser::fGetChildAttribute(const std::wstring& name) {
  return LookUpAttribute(child_, name, L"fGetChildAttribute ", L"XMLParser: Child is NULL!");
}

XmlNode TsgXMLParser::GetAttributeAt(int32_t index) {
  if (Check(node_.IsNull(), L"fGetAttribute XMLParser: Current node is NULL!", 0)) return {};
  platform::xml::XmlNamedNodeMap map;
  if (CheckHResult(node_.attributes(map), L"fGetAttribute XMLParser: get_attributes not succeded!")) return {};
  if (Check(map.IsNull(), L"fGetAttribute XMLParser: get_attributes not succeded!", 0)) return {};
  if (Check(map.length() == 0, L"fGetAttribute XMLParser: Attribute list is empty!", 0)) return {};
  XmlNode attribute;
  if (index >= 0) map.item(index, attribute);
  return attribute;
}

int32_t TsgXMLParser::GetAttributeCount() {
  if (Check(node_.IsNull(), L"fGetAttribute XMLParser: Current node is NULL!", 0)) return -1;
  platform::xml::XmlNamedNodeMap map;
  if (CheckHResult(node_.attributes(map), L"fGetAttribute XMLParser: get_attributes not succeded!")) return -1;
  if (Check(map.IsNull(), L"fGetAttribute XMLParser: get_attributes not succeded!", 0)) return -1;
  return map.length();
}

int32_t TsgXMLParser::AttributeCount() { return GetAttributeCount(); }

std::wstring TsgXMLParser::AttributeName(int32_t index, int32_t) {
  XmlNode attribute = GetAttributeAt(index);
  if (attribute.IsNull()) return {};
  std::wstring name;
  if (CheckHResult(attribute.nodeName(name), L"AttributeName ")) return {};
  return name;
}

bool TsgXMLParser::ReadValue(const XmlNode& attribute, const wchar_t* prefix, Variant& value) {
  const std::wstring p = prefix;
  if (Check(attribute.IsNull(), p + L"XMLParser: Attribute not exists!", 0)) return false;
  return !CheckHResult(attribute.nodeValue(value), p);
}

int32_t TsgXMLParser::ReadInt(const XmlNode& attribute, const wchar_t* prefix, int32_t fallback) {
  Variant value;
  if (!ReadValue(attribute, prefix, value)) return fallback;
  if (value.vt != VtBstr) {
    SetError(std::wstring(prefix) + L"XMLParser: Variant of integer type expected!", 1);
    return fallback;
  }
  if (value.bstrVal.empty()) return fallback;
  return TsgORNValue<std::wstring>(value.bstrVal).ToInteger();
}

bool TsgXMLParser::ReadBool(const XmlNode& attribute, const wchar_t* prefix, bool fallback, bool words) {
  Variant value;
  if (!ReadValue(attribute, prefix, value)) return fallback;
  if (value.vt != VtBstr) {
    SetError(std::wstring(prefix) + L"XMLParser: Variant of boolean type expected!", 1);
    return fallback;
  }
  if (value.bstrVal.empty()) return fallback;
  TsgORNValue<std::wstring> text(value.bstrVal);
  const int32_t number = text.ToInteger();
  if (words && text.PopErrorFlag()) return text.ToBoolean();
  return number > 0;
}

std::wstring TsgXMLParser::ReadText(const XmlNode& attribute, const wchar_t* prefix, const std::wstring& fallback) {
  Variant value;
  if (!ReadValue(attribute, prefix, value)) return fallback;
  if (Check(value.vt != VtBstr, std::wstring(prefix) + L"XMLParser: Variant of BSTR type expected!", 0)) return fallback;
  return value.bstrVal;
}

template <>
int32_t TsgXMLParser::GetAttribute<int32_t>(const std::wstring& name, int32_t fallback, int32_t) {
  return ReadInt(fGetAttribute(name), L"Attribute ", fallback);
}
template <>
bool TsgXMLParser::GetAttribute<bool>(const std::wstring& name, bool fallback, int32_t) {
  return ReadBool(fGetAttribute(name), L"Attribute ", fallback, true);
}
template <>
std::wstring TsgXMLParser::GetAttribute<std::wstring>(const std::wstring& name, std::wstring fallback, int32_t) {
  return ReadText(fGetAttribute(name), L"Attribute ", fallback);
}
template <>
int32_t TsgXMLParser::GetChildAttribute<int32_t>(const std::wstring& name, int32_t fallback, int32_t) {
  return ReadInt(fGetChildAttribute(name), L"ChildAttribute ", fallback);
}
template <>
bool TsgXMLParser::GetChildAttribute<bool>(const std::wstring& name, bool fallback, int32_t) {
  return ReadBool(fGetChildAttribute(name), L"ChildAttribute ", fallback, true);
}
template <>
std::wstring TsgXMLParser::GetChildAttribute<std::wstring>(const std::wstring& name, std::wstring fallback,
                                                          int32_t) {
  return ReadText(fGetChildAttribute(name), L"ChildAttribute ", fallback);
}

}  // namespace app
