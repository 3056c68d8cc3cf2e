// The English language module built beside the program: its pages and texts read by name
// through the text stores and property pages, and its version record.
#include <gtest/gtest.h>

#include "app/support/PropertiesBag.h"
#include "app/support/PropertiesPage.h"
#include "app/support/VersionInfo.h"

namespace app {
namespace {

class EnglishModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = platform::LoadResourceModule("Lingopack_English.dll");
    ASSERT_NE(module_, nullptr);
    xml_.LoadModuleStrings(module_, L"XML", -1);
    texts_.LoadModuleStrings(module_, L"ORN_TEXT", -1);
  }
  void TearDown() override { platform::FreeResourceModule(module_); }
  platform::ResourceModuleHandle module_ = nullptr;
  TsgPropertiesBag<wchar_t> xml_;
  TsgPropertiesBag<wchar_t> texts_;
};

TEST_F(EnglishModuleTest, EveryPageParsesAndStandsOnItsRoot) {
  for (const wchar_t* name : {L"GUI_STRINGS", L"GUI_COLORS", L"GUI_FONTS", L"GUI_HINTS", L"GUI_IMAGES",
                              L"GUI_MAIN_FORM", L"GUI_MENU_ITEMS", L"GUI_STACK_FRAME", L"GUI_STUDY_BOX",
                              L"GUI_DICOM_GRID", L"GUI_DICOMINFO_FRAME"}) {
    TsgPropertiesPage page;
    ASSERT_TRUE(page.Init(xml_.GetString(name), -1)) << page.Parser().PopMessage();
    EXPECT_EQ(page.Name(), name);
  }
  EXPECT_EQ(xml_.GetCount(), 11);
}

TEST_F(EnglishModuleTest, StringsColorsAndAboutText) {
  TsgPropertiesPage strings;
  ASSERT_TRUE(strings.Init(xml_.GetString(L"GUI_STRINGS"), -1));
  ASSERT_TRUE(strings.SeekChild(L"msgErrorCaption"));
  EXPECT_EQ(strings.GetChildAttribute<std::wstring>(L"value", L"", -1), L"Error");
  ASSERT_TRUE(strings.SeekChild(L"msgDicomDirNotFound"));
  EXPECT_EQ(strings.GetChildAttribute<std::wstring>(L"value", L"", -1), L"DICOMDIR file was not found.");

  TsgPropertiesPage colors;
  ASSERT_TRUE(colors.Init(xml_.GetString(L"GUI_COLORS"), -1));
  ASSERT_TRUE(colors.SeekChild(L"cTitle"));
  EXPECT_EQ(colors.GetChildAttribute<int32_t>(L"red", 128, -1), 0x2B);
  ASSERT_TRUE(colors.SeekChild(L"popup_text_normal"));
  EXPECT_EQ(colors.GetChildAttribute<std::wstring>(L"value", L"", -1), L"clWhite");

  TsgPropertiesPage main;
  ASSERT_TRUE(main.Init(xml_.GetString(L"GUI_MAIN_FORM"), -1));
  TsgPropertiesPage bar;
  ASSERT_TRUE(bar.Init(main.GetSectionXML(L"tbPatients", -1), -1));
  EXPECT_EQ(bar.GetAttribute<int32_t>(L"button_width", 0, -1), 24);
  EXPECT_TRUE(bar.SeekChild(L"tbNextPatient"));

  const std::wstring about = texts_.GetString(L"ABOUTFORM_TEXT");
  EXPECT_EQ(about.rfind(L"Vistrel DICOM review workstation.", 0), 0u);
}

TEST_F(EnglishModuleTest, VersionRecord) {
  TsgVersionInfo<std::wstring> info(module_);
  EXPECT_EQ(info.LanguageName, L"English (United States)");
  EXPECT_EQ(info.FileDescription, L"Language module (English)");
  EXPECT_EQ(info.FileNameAtBuild, L"Lingopack_English.dll");
}

}  // namespace
}  // namespace app
