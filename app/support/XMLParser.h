// One XML document with a cursor of two positions (current node and current child), typed
// attribute getters with defaults, and an error guard that records every failure.
#pragma once

#include <memory>
#include <string>

#include "app/support/ErrorGuard.h"
#include "platform/xml/XmlDocument.h"

namespace app {

using XmlNode = platform::xml::XmlNode;

class TsgXMLParser : public TErrorGuard {
 public:
  TsgXMLParser();
  ~TsgXMLParser() override;
  TsgXMLParser(const TsgXMLParser&) = delete;
  TsgXMLParser& operator=(const TsgXMLParser&) = delete;

  // Texts pass as UTF-16 already; the code page is kept in the interface but changes nothing.
  virtual std::wstring BSTRToString(const wchar_t* bstr, int32_t codePage);
  virtual std::wstring StringToBSTR(const std::wstring& text, int32_t codePage);
  virtual XmlNode fGetAttribute(const std::wstring& name);
  virtual XmlNode GetAttributeAt(int32_t index);
  virtual int32_t GetAttributeCount();
  virtual XmlNode fGetChildAttribute(const std::wstring& name);
  virtual bool SetXML(const std::wstring& text, int32_t codePage);
  virtual std::wstring GetXML(int32_t codePage);
  virtual bool LoadFromFile(const std::wstring& path, int32_t codePage);
  virtual std::wstring Name();
  virtual std::wstring Text(int32_t codePage);
  virtual bool Dive();
  virtual bool DiveTo(const std::wstring& name);
  virtual bool Raise();
  virtual bool Reset();
  virtual std::wstring ChildName();
  virtual std::wstring ChildXML(int32_t codePage);
  virtual bool FirstChild();
  virtual bool NextChild();
  virtual bool PrevChild();
  virtual bool FirstElement();
  virtual bool NextElement();
  virtual bool PrevElement();
  virtual bool SeekChild(const std::wstring& name);
  virtual bool IsEmpty();
  virtual int32_t AttributeCount();
  virtual std::wstring AttributeName(int32_t index, int32_t codePage);

  // int, bool and std::wstring only.
  template <class T>
  T GetAttribute(const std::wstring& name, T fallback, int32_t codePage);
  template <class T>
  T GetChildAttribute(const std::wstring& name, T fallback, int32_t codePage);

  // Files larger than this are refused: the whole file is read into memory at once.
  static constexpr uint64_t kMaxFileSize = 0x3FFFFFFE;

 private:
  XmlNode LookUpAttribute(const XmlNode& node, const std::wstring& name, const wchar_t* prefix,
                          const wchar_t* missingNode);
  bool IsElement(const XmlNode& node) const;
  bool ReadValue(const XmlNode& attribute, const wchar_t* prefix, platform::xml::Variant& value);
  int32_t ReadInt(const XmlNode& attribute, const wchar_t* prefix, int32_t fallback);
  bool ReadBool(const XmlNode& attribute, const wchar_t* prefix, bool fallback, bool words);
  std::wstring ReadText(const XmlNode& attribute, const wchar_t* prefix, const std::wstring& fallback);

  std::unique_ptr<platform::xml::XmlDocument> document_;
  XmlNode node_;
  XmlNode child_;
};

template <> int32_t TsgXMLParser::GetAttribute<int32_t>(const std::wstring&, int32_t, int32_t);
template <> bool TsgXMLParser::GetAttribute<bool>(const std::wstring&, bool, int32_t);
template <> std::wstring TsgXMLParser::GetAttribute<std::wstring>(const std::wstring&, std::wstring, int32_t);
template <> int32_t TsgXMLParser::GetChildAttribute<int32_t>(const std::wstring&, int32_t, int32_t);
template <> bool TsgXMLParser::GetChildAttribute<bool>(const std::wstring&, bool, int32_t);
template <> std::wstring TsgXMLParser::GetChildAttribute<std::wstring>(const std::wstring&, std::wstring, int32_t);

}  // namespace app
