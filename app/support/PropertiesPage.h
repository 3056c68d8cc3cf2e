// An XML property page: loaded from one XML text, standing on its root element; a window
// picks a section (a child element) by key and reads its attributes with defaults of its own.
#pragma once

#include <string>

#include "app/support/XMLParser.h"

namespace app {

class TsgPropertiesPage : public TErrorGuard {
 public:
  TsgPropertiesPage() = default;
  ~TsgPropertiesPage() override = default;

  virtual bool Init(const std::wstring& text, int32_t codePage);
  virtual bool InitFromFile(const std::wstring& path, int32_t codePage);
  // Elements only: text, comments and processing instructions are skipped.
  virtual bool FirstChild() { return parser_.FirstElement(); }
  virtual bool NextChild() { return parser_.NextElement(); }
  virtual bool Dive() { return parser_.Dive(); }
  virtual bool Raise() { return parser_.Raise(); }
  virtual bool SeekChild(const std::wstring& name) { return parser_.SeekChild(name); }
  virtual std::wstring GetSectionXML(const std::wstring& name, int32_t codePage);
  virtual std::wstring GetXML(int32_t codePage) { return parser_.GetXML(codePage); }
  virtual std::wstring ChildXML(int32_t codePage) { return parser_.ChildXML(ResolveCodePage(codePage)); }
  virtual std::wstring Name() { return parser_.Name(); }
  virtual std::wstring ChildName() { return parser_.ChildName(); }
  virtual bool IsEmpty() { return parser_.IsEmpty(); }
  virtual int32_t AttributeCount() { return parser_.AttributeCount(); }
  virtual std::wstring AttributeName(int32_t index, int32_t codePage) { return parser_.AttributeName(index, codePage); }

  template <class T>
  T GetAttribute(const std::wstring& name, T fallback, int32_t codePage) {
    return parser_.GetAttribute<T>(name, std::move(fallback), ResolveCodePage(codePage));
  }
  template <class T>
  T GetChildAttribute(const std::wstring& name, T fallback, int32_t codePage) {
    return parser_.GetChildAttribute<T>(name, std::move(fallback), ResolveCodePage(codePage));
  }

  // The parser's own error guard, where every failure but that of Init is recorded.
  TsgXMLParser& Parser() { return parser_; }

 private:
  TsgXMLParser parser_;
};

}  // namespace app
