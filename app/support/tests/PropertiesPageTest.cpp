// Property pages as windows read them: sections by key, attributes with defaults, sections
// taken whole into a second page, and the page's own failure record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/support/PropertiesPage.h"

namespace app {
namespace {

const wchar_t* const kStrings =
    L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
    L"<!-- texts -->\n"
    L"<GUI_STRINGS right_to_left=\"Yes\" flag=\"1\">\n"
    L"  <!-- captions -->\n"
    L"  <ok value=\"Ok\"/>\n"
    L"  <cancel value=\"\"/>\n"
    L"  <about/>\n"
    L"  <tbPatients button_width=\"24\" normal_il=\"ilMine\" pin=\"Yes\">\n"
    L"    <tbClose image=\"3\"/>\n"
    L"  </tbPatients>\n"
    L"</GUI_STRINGS>\n";

TEST(PropertiesPageTest, InitStandsOnTheRootElement) {
  TsgPropertiesPage page;
  ASSERT_TRUE(page.Init(kStrings, -1));
  EXPECT_EQ(page.Name(), L"GUI_STRINGS");
  EXPECT_EQ(page.ChildName(), L"#comment");  // right after Init: the first child node
  EXPECT_FALSE(page.IsEmpty());
  EXPECT_EQ(page.AttributeCount(), 2);
  EXPECT_EQ(page.AttributeName(0, -1), L"right_to_left");
}

TEST(PropertiesPageTest, SectionsAndDefaults) {
  TsgPropertiesPage page;
  ASSERT_TRUE(page.Init(kStrings, -1));
  ASSERT_TRUE(page.SeekChild(L"ok"));
  EXPECT_EQ(page.GetChildAttribute<std::wstring>(L"value", L"OK", -1), L"Ok");
  ASSERT_TRUE(page.SeekChild(L"cancel"));
  EXPECT_EQ(page.GetChildAttribute<std::wstring>(L"value", L"Cancel", -1), L"");
  ASSERT_TRUE(page.SeekChild(L"about"));
  EXPECT_EQ(page.GetChildAttribute<std::wstring>(L"value", L"About", -1), L"About");
  EXPECT_EQ(page.Parser().PopMessage(), L"ChildAttribute XMLParser: Attribute not exists!");

  // A key in another letter case is not found; the section found before stays current.
  EXPECT_FALSE(page.SeekChild(L"OK"));
  EXPECT_EQ(page.ChildName(), L"about");

  // The root's own attributes read the words as the child getter does.
  EXPECT_TRUE(page.GetAttribute<bool>(L"right_to_left", false, -1));
  EXPECT_TRUE(page.GetAttribute<bool>(L"flag", false, -1));
  ASSERT_TRUE(page.SeekChild(L"tbPatients"));
  EXPECT_TRUE(page.GetChildAttribute<bool>(L"pin", false, -1));
}

TEST(PropertiesPageTest, ElementWalk) {
  TsgPropertiesPage page;
  ASSERT_TRUE(page.Init(kStrings, -1));
  std::vector<std::wstring> names;
  for (bool ok = page.FirstChild(); ok; ok = page.NextChild()) names.push_back(page.ChildName());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"ok", L"cancel", L"about", L"tbPatients"}));
  EXPECT_EQ(page.Parser().PopMessage(), L"NextChild S_FALSE");
  EXPECT_EQ(page.ChildName(), L"");
}

TEST(PropertiesPageTest, SectionTakenWholeIntoASecondPage) {
  TsgPropertiesPage page;
  ASSERT_TRUE(page.Init(kStrings, -1));
  const std::wstring section = page.GetSectionXML(L"tbPatients", -1);
  EXPECT_EQ(section.rfind(L"<tbPatients", 0), 0u);
  EXPECT_EQ(page.ChildName(), L"tbPatients");

  TsgPropertiesPage bar;
  ASSERT_TRUE(bar.Init(section, -1));
  EXPECT_EQ(bar.GetAttribute<int32_t>(L"button_width", 16, -1), 24);
  EXPECT_EQ(bar.GetAttribute<int32_t>(L"button_height", 16, -1), 16);
  EXPECT_EQ(bar.GetAttribute<std::wstring>(L"normal_il", L"ilNormal16x16", -1), L"ilMine");
  EXPECT_EQ(bar.GetAttribute<std::wstring>(L"hot_il", L"ilHot16x16", -1), L"ilHot16x16");
  ASSERT_TRUE(bar.SeekChild(L"tbClose"));
  EXPECT_EQ(bar.GetChildAttribute<int32_t>(L"image", -1, -1), 3);

  EXPECT_EQ(page.GetSectionXML(L"tbMissing", -1), L"");
  TsgPropertiesPage none;
  EXPECT_FALSE(none.Init(page.GetSectionXML(L"tbMissing", -1), -1));
  EXPECT_EQ(none.GetAttribute<int32_t>(L"button_width", 16, -1), 16);
}

bool Collect(void* context, int32_t, std::wstring message) {
  static_cast<std::vector<std::wstring>*>(context)->push_back(message);
  return false;
}

TEST(PropertiesPageTest, FailedInitIsRecordedInThePageAndTheParser) {
  TsgPropertiesPage page;
  std::vector<std::wstring> seen;
  page.SetCallback(&Collect, &seen);
  EXPECT_FALSE(page.Init(L"", -1));
  EXPECT_EQ(page.PopMessage(), L"Proppage->Init Proppage: XML SetXML returns error!");
  EXPECT_EQ(page.GetChildAttribute<std::wstring>(L"value", L"def", -1), L"def");

  EXPECT_FALSE(page.Init(L"<a><b></a>", -1));
  EXPECT_EQ(page.PopMessage(), L"Proppage->Init Proppage: XML SetXML returns error!");
  EXPECT_EQ(page.Parser().PopMessage().rfind(L"SetXML ", 0), 0u);
  // The callback handed to the parser sees the parser's failures too.
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.back(), L"Proppage->Init Proppage: XML SetXML returns error!");
  EXPECT_EQ(seen[seen.size() - 2].rfind(L"SetXML ", 0), 0u);
}

TEST(PropertiesPageTest, InitFromFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("page_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("<page><a value=\"x\"/></page>")) utf16 += std::string{c, '\0'};
  std::ofstream(dir / "utf16.xml", std::ios::binary) << utf16;
  std::ofstream(dir / "utf8.xml", std::ios::binary) << "<page><a value=\"x\"/></page>";
  TsgPropertiesPage page;
  EXPECT_FALSE(page.InitFromFile((dir / "utf8.xml").wstring(), -1));
  ASSERT_TRUE(page.InitFromFile((dir / "utf16.xml").wstring(), -1));
  ASSERT_TRUE(page.SeekChild(L"a"));
  EXPECT_EQ(page.GetChildAttribute<std::wstring>(L"value", L"", -1), L"x");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace app
