// The DOM answers the property pages rely on.
#include <gtest/gtest.h>

#include "platform/xml/XmlDocument.h"

namespace platform::xml {
namespace {

using com::hr::False;
using com::hr::InvalidArg;
using com::hr::Ok;

std::wstring Name(const XmlNode& node) {
  std::wstring name;
  node.nodeName(name);
  return name;
}

// The names of a node's children, in order.
std::vector<std::wstring> ChildNames(const XmlNode& node) {
  std::vector<std::wstring> names;
  XmlNodeList list;
  EXPECT_EQ(node.childNodes(list), Ok);
  list.reset();
  XmlNode child;
  while (list.nextNode(child) == Ok) names.push_back(Name(child));
  EXPECT_TRUE(child.IsNull());
  return names;
}

const wchar_t kPage[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
    L"<!-- page -->\r\n"
    L"<GUI_STRINGS lang=\"English\" count=\"12abc\" empty=\"\">\r\n"
    L"  <!-- first -->\r\n"
    L"  <x/>\r\n"
    L"  <!-- second -->\r\n"
    L"  <y a=\"1\" b=\"&lt;2&gt;\">Caption &amp; more</y>\r\n"
    L"  <z><![CDATA[<raw>]]></z>\r\n"
    L"  <p xml:space=\"preserve\">  </p>\r\n"
    L"  <?target data?>\r\n"
    L"  <u>\u00e9\u4e2d</u>\r\n"
    L"</GUI_STRINGS>\r\n";

TEST(XmlDomTest, TreeAsMsxmlShowsIt) {
  XmlDocument document;
  bool ok = false;
  ASSERT_EQ(document.loadXML(kPage, &ok), Ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(document.parseError().errorCode, 0);
  const XmlNode doc = document.Node();
  EXPECT_EQ(Name(doc), L"#document");
  EXPECT_EQ(ChildNames(doc), (std::vector<std::wstring>{L"#comment", L"GUI_STRINGS"}));

  XmlNode root;
  ASSERT_EQ(document.documentElement(root), Ok);
  // White-space-only text between elements is gone; xml:space="preserve" keeps it.
  EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"#comment", L"x", L"#comment", L"y", L"z", L"p",
                                                         L"target", L"u"}));
  struct Case {
    int index;
    NodeType type;
    uint16_t vt;
    std::wstring value;
  } cases[] = {
      {0, NodeComment, VtBstr, L" first "},
      {1, NodeElement, VtNull, L""},
      {6, NodeProcessingInstruction, VtBstr, L"data"},
  };
  XmlNodeList list;
  root.childNodes(list);
  for (const auto& c : cases) {
    XmlNode node;
    ASSERT_EQ(list.item(c.index, node), Ok);
    NodeType type;
    Variant value;
    node.nodeType(type);
    node.nodeValue(value);
    EXPECT_EQ(type, c.type) << c.index;
    EXPECT_EQ(value.vt, c.vt) << c.index;
    EXPECT_EQ(value.bstrVal, c.value) << c.index;
  }
  XmlNode y, text, z, cdata, p, blank, u, uText;
  list.item(3, y);
  list.item(4, z);
  list.item(5, p);
  list.item(7, u);
  ASSERT_EQ(y.firstChild(text), Ok);
  EXPECT_EQ(Name(text), L"#text");
  Variant value;
  text.nodeValue(value);
  EXPECT_EQ(value.bstrVal, L"Caption & more");
  ASSERT_EQ(z.firstChild(cdata), Ok);
  EXPECT_EQ(Name(cdata), L"#cdata-section");
  ASSERT_EQ(p.firstChild(blank), Ok);
  EXPECT_EQ(Name(blank), L"#text");
  u.firstChild(uText);
  uText.nodeValue(value);
  EXPECT_EQ(value.bstrVal, L"\u00e9\u4e2d");
  std::wstring xml;
  y.xml(xml);
  EXPECT_EQ(xml, L"<y a=\"1\" b=\"&lt;2&gt;\">Caption &amp; more</y>");
}

TEST(XmlDomTest, MissingNodesAnswerFalseAndNull) {
  XmlDocument document;
  ASSERT_EQ(document.loadXML(L"<r><!--c--><x/><y k=\"v\"/></r>"), Ok);
  XmlNode doc = document.Node(), r, x, y, none = XmlNode(), out;
  ASSERT_EQ(doc.firstChild(r), Ok);
  ASSERT_EQ(r.firstChild(x), Ok);  // the comment
  x.nextSibling(x);
  ASSERT_EQ(Name(x), L"x");
  ASSERT_EQ(x.nextSibling(y), Ok);

  struct Case {
    const char* what;
    HRESULT result;
  } cases[] = {
      {"first child of an empty element", x.firstChild(out)},
      {"next sibling of the last", y.nextSibling(out)},
      {"parent of the document", doc.parentNode(out)},
      {"sibling of the document", doc.nextSibling(out)},
      {"previous sibling of the first", r.previousSibling(out)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, False) << c.what;
  out = r;
  EXPECT_EQ(x.firstChild(out), False);
  EXPECT_TRUE(out.IsNull());
  EXPECT_EQ(none.firstChild(out), InvalidArg);

  XmlNode parent;
  ASSERT_EQ(r.parentNode(parent), Ok);
  EXPECT_EQ(Name(parent), L"#document");
  bool has = true;
  EXPECT_EQ(x.hasChildNodes(has), False);
  EXPECT_FALSE(has);

  XmlNamedNodeMap map;
  EXPECT_EQ(doc.attributes(map), False);
  EXPECT_TRUE(map.IsNull());
  ASSERT_EQ(x.attributes(map), Ok);
  EXPECT_EQ(map.length(), 0);
  ASSERT_EQ(y.attributes(map), Ok);
  XmlNode attribute;
  EXPECT_EQ(map.getNamedItem(L"K", attribute), False);  // names are exact
  EXPECT_TRUE(attribute.IsNull());
  ASSERT_EQ(map.getNamedItem(L"k", attribute), Ok);
  Variant value;
  attribute.nodeValue(value);
  EXPECT_EQ(value.vt, VtBstr);
  EXPECT_EQ(value.bstrVal, L"v");
  EXPECT_EQ(attribute.parentNode(out), False);
  EXPECT_EQ(map.item(1, attribute), False);
}

TEST(XmlDomTest, MalformedTextFailsWithAReason) {
  XmlDocument document;
  ASSERT_EQ(document.loadXML(L"<a/>"), Ok);
  const wchar_t* bad[] = {L"<a><b></a>", L"text only", L"<a x=1/>", L"<a/><b/>", L""};
  for (const wchar_t* text : bad) {
    bool ok = true;
    EXPECT_EQ(document.loadXML(text, &ok), False);
    EXPECT_FALSE(ok);
    EXPECT_NE(document.parseError().errorCode, 0);
    EXPECT_FALSE(document.parseError().reason.empty());
    EXPECT_TRUE(document.Node().IsNull());  // a failed load leaves an empty document
    std::wstring xml = L"x";
    document.xml(xml);
    EXPECT_EQ(xml, L"");
  }
}

TEST(XmlDomTest, NodesOutliveAReload) {
  XmlDocument document;
  ASSERT_EQ(document.loadXML(L"<old><kept/></old>"), Ok);
  XmlNode old;
  document.documentElement(old);
  ASSERT_EQ(document.loadXML(L"<new/>"), Ok);
  XmlNode kept;
  ASSERT_EQ(old.firstChild(kept), Ok);
  EXPECT_EQ(Name(kept), L"kept");
  std::wstring xml;
  document.xml(xml);
  EXPECT_EQ(xml, L"<new/>\r\n");
  document.loadXML(L"<?xml version=\"1.0\"?><a>t</a>");
  document.xml(xml);
  EXPECT_EQ(xml, L"<?xml version=\"1.0\"?>\r\n<a>t</a>\r\n");
}

}  // namespace
}  // namespace platform::xml
