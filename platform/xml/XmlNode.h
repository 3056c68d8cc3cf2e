// Nodes of the XML DOM, with the answers of MSXML's DOM where callers depend on them: a query
// for a missing first child, sibling, parent, attribute map or named attribute answers
// S_FALSE (hr::False) and leaves a null node; names are "#text", "#comment",
// "#cdata-section" and "#document" for those nodes; values come as a variant that is a text
// (VtBstr) for text, comment, CDATA, processing-instruction and attribute nodes and null
// (VtNull) for elements and the document. A node keeps its document alive.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/HResult.h"

struct _xmlNode;

namespace platform::xml {

using com::HRESULT;

enum NodeType : int32_t {
  NodeElement = 1,
  NodeAttribute = 2,
  NodeText = 3,
  NodeCData = 4,
  NodeProcessingInstruction = 7,
  NodeComment = 8,
  NodeDocument = 9,
};

constexpr uint16_t VtNull = 1;
constexpr uint16_t VtBstr = 8;

struct Variant {
  uint16_t vt = VtNull;
  std::wstring bstrVal;
};

struct DocumentState;

class XmlNodeList;
class XmlNamedNodeMap;

class XmlNode {
 public:
  XmlNode() = default;
  XmlNode(std::shared_ptr<DocumentState> document, _xmlNode* node);

  bool IsNull() const { return node_ == nullptr; }
  explicit operator bool() const { return node_ != nullptr; }
  bool operator==(const XmlNode& other) const { return node_ == other.node_; }

  // Each returns S_OK with the node, or S_FALSE with a null node; E_INVALIDARG on a null node.
  HRESULT firstChild(XmlNode& child) const;
  HRESULT lastChild(XmlNode& child) const;
  HRESULT nextSibling(XmlNode& sibling) const;
  HRESULT previousSibling(XmlNode& sibling) const;
  HRESULT parentNode(XmlNode& parent) const;
  HRESULT childNodes(XmlNodeList& list) const;
  // S_OK when the node has children, else S_FALSE; `has` says the same.
  HRESULT hasChildNodes(bool& has) const;
  HRESULT nodeName(std::wstring& name) const;
  HRESULT nodeValue(Variant& value) const;
  HRESULT nodeType(NodeType& type) const;
  // S_FALSE and a null map for every node but an element.
  HRESULT attributes(XmlNamedNodeMap& map) const;
  // The node's XML text with its own tags (the whole subtree).
  HRESULT xml(std::wstring& text) const;
  // The text content of the node and its descendants.
  HRESULT text(std::wstring& content) const;

 private:
  friend class XmlDocument;
  std::shared_ptr<DocumentState> document_;
  _xmlNode* node_ = nullptr;
};

class XmlNodeList {
 public:
  XmlNodeList() = default;
  explicit XmlNodeList(std::vector<XmlNode> nodes) : nodes_(std::move(nodes)) {}
  int32_t length() const { return static_cast<int32_t>(nodes_.size()); }
  HRESULT item(int32_t index, XmlNode& node) const;
  HRESULT reset() {
    next_ = 0;
    return com::hr::Ok;
  }
  // S_FALSE and a null node after the last one.
  HRESULT nextNode(XmlNode& node);

 private:
  std::vector<XmlNode> nodes_;
  size_t next_ = 0;
};

class XmlNamedNodeMap {
 public:
  XmlNamedNodeMap() = default;
  explicit XmlNamedNodeMap(std::vector<XmlNode> attributes) : valid_(true), attributes_(std::move(attributes)) {}
  bool IsNull() const { return !valid_; }
  int32_t length() const { return static_cast<int32_t>(attributes_.size()); }
  // S_FALSE and a null node when there is no attribute of that name (names are exact).
  HRESULT getNamedItem(const std::wstring& name, XmlNode& attribute) const;
  HRESULT item(int32_t index, XmlNode& attribute) const;

 private:
  bool valid_ = false;
  std::vector<XmlNode> attributes_;
};

}  // namespace platform::xml
