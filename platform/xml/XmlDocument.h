// An XML DOM document in place of MSXML's DOMDocument, on libxml2. loadXML drops the text
// nodes that hold only white space (MSXML's default, preserveWhiteSpace false) and answers
// S_FALSE for a text that does not parse, with the reason in parseError; the document is then
// empty. External entities and network access are never used.
#pragma once

#include <memory>
#include <string>

#include "platform/xml/XmlNode.h"

namespace platform::xml {

struct ParseError {
  int32_t errorCode = 0;  // 0 when the last load succeeded
  std::wstring reason;    // the parser's message, one line
  int32_t line = 0;
  int32_t linepos = 0;
};

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // S_OK when the text parsed, S_FALSE when it did not (the document is then empty).
  HRESULT loadXML(const std::wstring& text, bool* success = nullptr);
  const ParseError& parseError() const { return error_; }
  // True once no load is in progress: loads are synchronous, so always.
  bool parsed() const { return true; }
  // The XML text of the whole document ("" when nothing is loaded).
  HRESULT xml(std::wstring& text) const;
  // The document node (type NodeDocument, named "#document"); null before a load.
  XmlNode Node() const { return root_; }
  // The root element, or a null node.
  HRESULT documentElement(XmlNode& element) const;

 private:
  XmlNode root_;
  ParseError error_;
  bool declaration_ = false;
};

}  // namespace platform::xml
