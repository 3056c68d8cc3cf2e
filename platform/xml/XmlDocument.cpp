#include "platform/xml/XmlDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "platform/xml/DocumentState.h"

namespace platform::xml {

namespace {

bool WhiteSpaceOnly(const xmlChar* text) {
  for (; text && *text; ++text)
    if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
  return true;
}

// Drops the text nodes of white space alone, except under xml:space="preserve".
void DropBlankText(xmlNodePtr node) {
  for (xmlNodePtr child = node->children; child;) {
    xmlNodePtr next = child->next;
    if (child->type == XML_TEXT_NODE && WhiteSpaceOnly(child->content) &&
        xmlNodeGetSpacePreserve(node) != 1) {
      xmlUnlinkNode(child);
      xmlFreeNode(child);
    } else if (child->type == XML_ELEMENT_NODE) {
      DropBlankText(child);
    }
    child = next;
  }
}

std::wstring OneLine(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return FromUtf8(text);
}

}  // namespace

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

HRESULT XmlDocument::loadXML(const std::wstring& text, bool* success) {
  root_ = XmlNode();
  error_ = ParseError{};
  declaration_ = false;
  if (success) *success = false;

  const std::string bytes = ToUtf8(text);
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (!context) return com::hr::OutOfMemory;
  // The text is already decoded: an encoding named in its declaration is ignored, as MSXML
  // ignores it for a string.
  const int options = XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  xmlDocPtr doc = bytes.empty() ? nullptr
                                : xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()),
                                                    nullptr, "UTF-8", options);
  if (!doc || !context->wellFormed) {
    const xmlError* e = xmlCtxtGetLastError(context);
    error_.errorCode = e && e->code ? static_cast<int32_t>(0xC00CE000u | (static_cast<uint32_t>(e->code) & 0xFFF))
                                    : static_cast<int32_t>(0xC00CE558u);
    error_.reason = e && e->message ? OneLine(e->message) : L"XML document must have a top level element.";
    error_.line = e ? e->line : 0;
    error_.linepos = e ? e->int2 : 0;
    if (doc) xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return com::hr::False;
  }
  xmlFreeParserCtxt(context);
  DropBlankText(reinterpret_cast<xmlNodePtr>(doc));
  auto state = std::make_shared<DocumentState>(doc);
  root_ = XmlNode(state, reinterpret_cast<xmlNodePtr>(doc));
  const auto start = bytes.find_first_not_of(" \t\r\n");
  declaration_ = start != std::string::npos && bytes.compare(start, 5, "<?xml") == 0;
  if (success) *success = true;
  return com::hr::Ok;
}

HRESULT XmlDocument::xml(std::wstring& text) const {
  text.clear();
  if (root_.IsNull()) return com::hr::Ok;
  root_.xml(text);
  if (declaration_) {
    const xmlDocPtr doc = root_.document_->doc;
    std::string head = "<?xml version=\"";
    head += doc->version ? reinterpret_cast<const char*>(doc->version) : "1.0";
    head += "\"";
    if (doc->standalone == 1) head += " standalone=\"yes\"";
    text = FromUtf8(head + "?>\r\n") + text;
  }
  return com::hr::Ok;
}

HRESULT XmlDocument::documentElement(XmlNode& element) const {
  element = XmlNode(root_.document_, root_.IsNull() ? nullptr : xmlDocGetRootElement(root_.document_->doc));
  return element.IsNull() ? com::hr::False : com::hr::Ok;
}

}  // namespace platform::xml
