// The XML parser's cursor on indented pages with comments, its typed getters and file loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/support/XMLParser.h"

namespace app {
namespace {

// r holds a comment, x, a comment and y, indented as the pages are.
const wchar_t* const kPage =
    L"<?xml version=\"1.0\"?>\n"
    L"<!-- page -->\n"
    L"<r a=\"1\">\n"
    L"  <!-- one -->\n"
    L"  <x/>\n"
    L"  <!-- two -->\n"
    L"  <y n=\"12ab\" e=\"\" w=\"Yes\" m=\"-7\" t=\"2\" z=\"0\" letters=\"abc\">text</y>\n"
    L"</r>\n";

class XMLParserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(p_.SetXML(kPage, -1));
    ASSERT_TRUE(p_.FirstElement());
    ASSERT_TRUE(p_.Dive());  // on r
  }
  std::wstring Pop() { return p_.PopMessage(); }
  TsgXMLParser p_;
};

TEST_F(XMLParserTest, LoadStandsOnTheRootAfterFirstElementAndDive) {
  EXPECT_EQ(p_.Name(), L"r");
  EXPECT_EQ(p_.ChildName(), L"#comment");  // the first child node, of any type
  EXPECT_FALSE(p_.IsEmpty());
}

TEST_F(XMLParserTest, ElementWalksSkipCommentsAndRunOffTheEnd) {
  ASSERT_TRUE(p_.FirstElement());
  EXPECT_EQ(p_.ChildName(), L"x");
  ASSERT_TRUE(p_.NextElement());
  EXPECT_EQ(p_.ChildName(), L"y");
  EXPECT_FALSE(p_.NextElement());
  EXPECT_EQ(Pop(), L"NextChild S_FALSE");
  EXPECT_EQ(p_.ChildName(), L"");
  EXPECT_EQ(Pop(), L"ChildName XMLParser: Child is NULL!");
  EXPECT_FALSE(p_.NextElement());
  EXPECT_EQ(Pop(), L"NextChild XMLParser: Child is NULL!");

  // SeekChild always starts from the first child; the letter case must match.
  EXPECT_TRUE(p_.SeekChild(L"y"));
  EXPECT_EQ(p_.ChildName(), L"y");
  EXPECT_TRUE(p_.PrevElement());
  EXPECT_EQ(p_.ChildName(), L"x");
  EXPECT_FALSE(p_.SeekChild(L"Y"));
  EXPECT_EQ(p_.ChildName(), L"x");
}

TEST_F(XMLParserTest, ChildWalksSeeEveryNode) {
  ASSERT_TRUE(p_.FirstChild());
  EXPECT_EQ(p_.ChildName(), L"#comment");
  ASSERT_TRUE(p_.SeekChild(L"x"));
  ASSERT_TRUE(p_.NextChild());
  EXPECT_EQ(p_.ChildName(), L"#comment");
  EXPECT_EQ(p_.ChildXML(-1), L"<!-- two -->");
  ASSERT_TRUE(p_.PrevChild());
  EXPECT_EQ(p_.ChildName(), L"x");
}

TEST_F(XMLParserTest, DiveRaiseResetAndDiveTo) {
  ASSERT_TRUE(p_.SeekChild(L"y"));
  ASSERT_TRUE(p_.Dive());
  EXPECT_EQ(p_.Name(), L"y");
  EXPECT_EQ(p_.Text(-1), L"text");
  ASSERT_TRUE(p_.Raise());
  EXPECT_EQ(p_.Name(), L"r");
  EXPECT_EQ(p_.ChildName(), L"#comment");  // the parent's first child, not y
  ASSERT_TRUE(p_.Raise());
  EXPECT_EQ(p_.Name(), L"#document");
  EXPECT_FALSE(p_.Raise());
  EXPECT_EQ(Pop(), L"Raise XMLParser: Root already reached!");

  ASSERT_TRUE(p_.DiveTo(L"r"));
  EXPECT_EQ(p_.Name(), L"r");
  EXPECT_FALSE(p_.DiveTo(L"nothing"));
  ASSERT_TRUE(p_.SeekChild(L"x"));
  ASSERT_TRUE(p_.Dive());
  EXPECT_FALSE(p_.Dive());  // x has no child
  EXPECT_EQ(Pop(), L"Dive XMLParser: Child is NULL!");
  EXPECT_FALSE(p_.DiveTo(L"any"));
  EXPECT_EQ(Pop(), L"DiveTo XMLParser: XML parser returns error retrieving children!");

  ASSERT_TRUE(p_.Reset());
  EXPECT_EQ(p_.Name(), L"#document");
}

TEST_F(XMLParserTest, TextNeedsATextNodeFirst) {
  TsgXMLParser p;
  ASSERT_TRUE(p.SetXML(L"<r><!-- c -->text</r>", -1));
  ASSERT_TRUE(p.FirstElement() && p.Dive());
  EXPECT_EQ(p.Text(-1), L"");
  EXPECT_EQ(p.PopMessage(), L"Text XMLParser: Text node not found!");
}

TEST_F(XMLParserTest, ChildGetters) {
  ASSERT_TRUE(p_.SeekChild(L"y"));
  EXPECT_EQ(p_.GetChildAttribute<int32_t>(L"absent", 5, -1), 5);
  EXPECT_EQ(Pop(), L"ChildAttribute XMLParser: Attribute not exists!");
  EXPECT_EQ(p_.GetChildAttribute<int32_t>(L"e", 5, -1), 5);
  EXPECT_EQ(p_.GetChildAttribute<int32_t>(L"n", 5, -1), 12);
  EXPECT_EQ(p_.GetChildAttribute<int32_t>(L"letters", 5, -1), 0);
  EXPECT_EQ(p_.GetChildAttribute<int32_t>(L"m", 5, -1), -7);

  EXPECT_TRUE(p_.GetChildAttribute<bool>(L"w", false, -1));        // "Yes"
  EXPECT_FALSE(p_.GetChildAttribute<bool>(L"z", true, -1));        // "0"
  EXPECT_FALSE(p_.GetChildAttribute<bool>(L"m", true, -1));        // "-7"
  EXPECT_TRUE(p_.GetChildAttribute<bool>(L"letters", false, -1));  // any other word
  EXPECT_TRUE(p_.GetChildAttribute<bool>(L"e", true, -1));         // empty: the default

  EXPECT_EQ(p_.GetChildAttribute<std::wstring>(L"e", L"def", -1), L"");
  EXPECT_EQ(p_.GetChildAttribute<std::wstring>(L"absent", L"def", -1), L"def");
}

TEST_F(XMLParserTest, WordTableForTheChildBooleanGetter) {
  TsgXMLParser p;
  std::wstring xml = L"<r><e";
  const wchar_t* yes[] = {L"Yes", L"YES", L"yes", L"True", L"TRUE", L"true", L"On", L"ON", L"on", L"1", L"other"};
  const wchar_t* no[] = {L"No", L"NO", L"no", L"False", L"FALSE", L"false", L"Off", L"OFF", L"off", L"0", L"-1"};
  for (size_t i = 0; i < std::size(yes); ++i) xml += L" y" + std::to_wstring(i) + L"=\"" + yes[i] + L"\"";
  for (size_t i = 0; i < std::size(no); ++i) xml += L" n" + std::to_wstring(i) + L"=\"" + no[i] + L"\"";
  xml += L"/></r>";
  ASSERT_TRUE(p.SetXML(xml, -1));
  ASSERT_TRUE(p.FirstElement() && p.Dive() && p.FirstElement());
  for (size_t i = 0; i < std::size(yes); ++i)
    EXPECT_TRUE(p.GetChildAttribute<bool>(L"y" + std::to_wstring(i), false, -1)) << yes[i];
  for (size_t i = 0; i < std::size(no); ++i)
    EXPECT_FALSE(p.GetChildAttribute<bool>(L"n" + std::to_wstring(i), true, -1)) << no[i];
}

TEST_F(XMLParserTest, NodeGettersAndAttributeLists) {
  EXPECT_EQ(p_.GetAttribute<int32_t>(L"a", 9, -1), 1);
  EXPECT_EQ(p_.GetAttributeCount(), 1);
  EXPECT_EQ(p_.AttributeName(0, -1), L"a");
  EXPECT_EQ(p_.AttributeName(1, -1), L"");
  ASSERT_TRUE(p_.SeekChild(L"y") && p_.Dive());
  EXPECT_TRUE(p_.GetAttribute<bool>(L"w", false, -1));  // "Yes", read as the child getter reads it
  EXPECT_TRUE(p_.GetAttribute<bool>(L"t", false, -1));  // "2"
  EXPECT_EQ(p_.GetAttribute<std::wstring>(L"e", L"def", -1), L"");

  ASSERT_TRUE(p_.Raise() && p_.SeekChild(L"x") && p_.Dive());
  EXPECT_EQ(p_.GetAttributeCount(), 0);
  ASSERT_TRUE(p_.Reset());
  EXPECT_EQ(p_.GetAttribute<int32_t>(L"a", 9, -1), 9);
  EXPECT_EQ(Pop(), L"Attribute XMLParser: Attribute not exists!");
  EXPECT_EQ(p_.GetAttributeCount(), -1);
}

TEST(XMLParserLoadTest, EmptyAndMalformedTexts) {
  TsgXMLParser p;
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_FALSE(p.SetXML(L"", -1));
  EXPECT_FALSE(p.PopErrorFlag());
  EXPECT_EQ(p.Name(), L"");  // no current node

  EXPECT_FALSE(p.SetXML(L"<r><x></r>", -1));
  const std::wstring message = p.PopMessage();
  EXPECT_EQ(message.rfind(L"SetXML ", 0), 0u);
  EXPECT_GT(message.size(), 7u);
  EXPECT_EQ(p.Name(), L"");
}

class XMLParserFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("xmlparser_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::wstring Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return (dir_ / name).wstring();
  }
  static std::string Utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
  }
  std::filesystem::path dir_;
};

TEST_F(XMLParserFileTest, Utf16FilesOnly) {
  TsgXMLParser p;
  EXPECT_TRUE(p.LoadFromFile(Write("bom.xml", "\xFF\xFE" + Utf16("<r a=\"1\"/>")), -1));
  ASSERT_TRUE(p.FirstElement() && p.Dive());
  EXPECT_EQ(p.Name(), L"r");

  // Without the mark the first character is lost.
  EXPECT_FALSE(p.LoadFromFile(Write("nobom.xml", Utf16("<r/>")), -1));
  EXPECT_FALSE(p.LoadFromFile(Write("utf8.xml", "\xEF\xBB\xBF<r/>"), -1));
  p.PopErrorFlag();
  EXPECT_FALSE(p.LoadFromFile((dir_ / "missing.xml").wstring(), -1));
  EXPECT_FALSE(p.PopErrorFlag());
  EXPECT_FALSE(p.LoadFromFile(Write("one.xml", "<"), -1));
}

TEST_F(XMLParserFileTest, OversizedFileIsRefusedUnread) {
  // A sparse file past the size limit: refused before any buffer is sized from it.
  const auto path = dir_ / "huge.xml";
  std::ofstream(path, std::ios::binary) << "\xFF\xFE";
  std::filesystem::resize_file(path, TsgXMLParser::kMaxFileSize + 1);
  TsgXMLParser p;
  EXPECT_FALSE(p.LoadFromFile(path.wstring(), -1));
}

}  // namespace
}  // namespace app
