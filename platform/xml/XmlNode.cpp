#include "platform/xml/XmlNode.h"

#include <libxml/tree.h>

#include "platform/text/CodePageConversion.h"
#include "platform/xml/DocumentState.h"

namespace platform::xml {

using com::hr::False;
using com::hr::InvalidArg;
using com::hr::Ok;

std::wstring FromUtf8(std::string_view text) {
  std::wstring wide;
  MultiByteToWide(65001, text, wide);
  return wide;
}

std::string ToUtf8(std::wstring_view text) {
  std::string bytes;
  WideToMultiByte(65001, text, bytes);
  return bytes;
}

namespace {

std::wstring Chars(const xmlChar* text) {
  return text ? FromUtf8(reinterpret_cast<const char*>(text)) : std::wstring();
}

std::wstring QualifiedName(const xmlNode* node) {
  std::wstring name = Chars(node->name);
  if (node->ns && node->ns->prefix) name = Chars(node->ns->prefix) + L":" + name;
  return name;
}

// Serialises one node without formatting.
std::string Dump(xmlDocPtr doc, xmlNodePtr node) {
  xmlBufferPtr buffer = xmlBufferCreate();
  if (!buffer) return {};
  std::string out;
  if (node->type == XML_ATTRIBUTE_NODE) {
    xmlChar* value = xmlNodeGetContent(node);
    xmlChar* escaped = xmlEncodeSpecialChars(doc, value);
    out = std::string(reinterpret_cast<const char*>(node->name)) + "=\"" +
          (escaped ? reinterpret_cast<const char*>(escaped) : "") + "\"";
    xmlFree(escaped);
    xmlFree(value);
  } else if (xmlNodeDump(buffer, doc, node, 0, 0) >= 0) {
    out.assign(reinterpret_cast<const char*>(xmlBufferContent(buffer)), static_cast<size_t>(xmlBufferLength(buffer)));
  }
  xmlBufferFree(buffer);
  return out;
}

}  // namespace

XmlNode::XmlNode(std::shared_ptr<DocumentState> document, _xmlNode* node)
    : document_(node ? std::move(document) : nullptr), node_(node) {}

static HRESULT Answer(const std::shared_ptr<DocumentState>& document, xmlNodePtr found, XmlNode& out) {
  out = XmlNode(document, found);
  return found ? Ok : False;
}

HRESULT XmlNode::firstChild(XmlNode& child) const {
  if (!node_) return InvalidArg;
  return Answer(document_, node_->children, child);
}

HRESULT XmlNode::lastChild(XmlNode& child) const {
  if (!node_) return InvalidArg;
  return Answer(document_, node_->last, child);
}

HRESULT XmlNode::nextSibling(XmlNode& sibling) const {
  if (!node_) return InvalidArg;
  return Answer(document_, node_->type == XML_DOCUMENT_NODE ? nullptr : node_->next, sibling);
}

HRESULT XmlNode::previousSibling(XmlNode& sibling) const {
  if (!node_) return InvalidArg;
  return Answer(document_, node_->type == XML_DOCUMENT_NODE ? nullptr : node_->prev, sibling);
}

HRESULT XmlNode::parentNode(XmlNode& parent) const {
  if (!node_) return InvalidArg;
  // Attributes and the document have no parent in the DOM.
  const bool none = node_->type == XML_ATTRIBUTE_NODE || node_->type == XML_DOCUMENT_NODE;
  return Answer(document_, none ? nullptr : node_->parent, parent);
}

HRESULT XmlNode::childNodes(XmlNodeList& list) const {
  if (!node_) return InvalidArg;
  std::vector<XmlNode> nodes;
  for (xmlNodePtr c = node_->children; c; c = c->next) nodes.emplace_back(document_, c);
  list = XmlNodeList(std::move(nodes));
  return Ok;
}

HRESULT XmlNode::hasChildNodes(bool& has) const {
  if (!node_) return InvalidArg;
  has = node_->children != nullptr;
  return has ? Ok : False;
}

HRESULT XmlNode::nodeName(std::wstring& name) const {
  if (!node_) return InvalidArg;
  switch (node_->type) {
    case XML_TEXT_NODE: name = L"#text"; break;
    case XML_COMMENT_NODE: name = L"#comment"; break;
    case XML_CDATA_SECTION_NODE: name = L"#cdata-section"; break;
    case XML_DOCUMENT_NODE: name = L"#document"; break;
    default: name = QualifiedName(node_); break;
  }
  return Ok;
}

HRESULT XmlNode::nodeValue(Variant& value) const {
  if (!node_) return InvalidArg;
  value = Variant{};
  switch (node_->type) {
    case XML_TEXT_NODE:
    case XML_COMMENT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_PI_NODE:
      value.vt = VtBstr;
      value.bstrVal = Chars(node_->content);
      break;
    case XML_ATTRIBUTE_NODE: {
      xmlChar* content = xmlNodeGetContent(node_);
      value.vt = VtBstr;
      value.bstrVal = Chars(content);
      xmlFree(content);
      break;
    }
    default:
      break;
  }
  return Ok;
}

HRESULT XmlNode::nodeType(NodeType& type) const {
  if (!node_) return InvalidArg;
  switch (node_->type) {
    case XML_ELEMENT_NODE: type = NodeElement; break;
    case XML_ATTRIBUTE_NODE: type = NodeAttribute; break;
    case XML_TEXT_NODE: type = NodeText; break;
    case XML_CDATA_SECTION_NODE: type = NodeCData; break;
    case XML_PI_NODE: type = NodeProcessingInstruction; break;
    case XML_COMMENT_NODE: type = NodeComment; break;
    case XML_DOCUMENT_NODE: type = NodeDocument; break;
    default: type = static_cast<NodeType>(node_->type); break;
  }
  return Ok;
}

HRESULT XmlNode::attributes(XmlNamedNodeMap& map) const {
  if (!node_) return InvalidArg;
  if (node_->type != XML_ELEMENT_NODE) {
    map = XmlNamedNodeMap();
    return False;
  }
  std::vector<XmlNode> list;
  for (xmlAttrPtr a = node_->properties; a; a = a->next)
    list.emplace_back(document_, reinterpret_cast<xmlNodePtr>(a));
  map = XmlNamedNodeMap(std::move(list));
  return Ok;
}

HRESULT XmlNode::xml(std::wstring& text) const {
  if (!node_) return InvalidArg;
  if (node_->type != XML_DOCUMENT_NODE) {
    text = FromUtf8(Dump(document_->doc, node_));
    return Ok;
  }
  std::string out;
  for (xmlNodePtr c = node_->children; c; c = c->next) out += Dump(document_->doc, c) + "\r\n";
  text = FromUtf8(out);
  return Ok;
}

HRESULT XmlNode::text(std::wstring& content) const {
  if (!node_) return InvalidArg;
  xmlChar* value = xmlNodeGetContent(node_);
  content = Chars(value);
  xmlFree(value);
  return Ok;
}

HRESULT XmlNodeList::item(int32_t index, XmlNode& node) const {
  if (index < 0 || index >= length()) {
    node = XmlNode();
    return False;
  }
  node = nodes_[static_cast<size_t>(index)];
  return Ok;
}

HRESULT XmlNodeList::nextNode(XmlNode& node) {
  if (next_ >= nodes_.size()) {
    node = XmlNode();
    return False;
  }
  node = nodes_[next_++];
  return Ok;
}

HRESULT XmlNamedNodeMap::getNamedItem(const std::wstring& name, XmlNode& attribute) const {
  for (const auto& a : attributes_) {
    std::wstring n;
    a.nodeName(n);
    if (n == name) {
      attribute = a;
      return Ok;
    }
  }
  attribute = XmlNode();
  return False;
}

HRESULT XmlNamedNodeMap::item(int32_t index, XmlNode& attribute) const {
  if (index < 0 || index >= length()) {
    attribute = XmlNode();
    return False;
  }
  attribute = attributes_[static_cast<size_t>(index)];
  return Ok;
}

}  // namespace platform::xml
