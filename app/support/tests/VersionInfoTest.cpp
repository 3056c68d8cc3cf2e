// Version records of modules written for the test, and the set with its executable fall-back.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "app/support/VersionInfo.h"
#include "platform/resources/ResourceWriter.h"
#include "platform/resources/VersionInfo.h"

namespace app {
namespace {

using Info = TsgVersionInfo<std::wstring>;
using Set = TsgVersionInfoSet<std::wstring>;

class VersionInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("version_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    for (auto m : modules_) platform::FreeResourceModule(m);
    std::filesystem::remove_all(dir_);
  }
  platform::ResourceModuleHandle Module(const std::string& name, const platform::VersionSource* source) {
    platform::ResourceWriter writer;
    writer.Add(L"XML", L"PAGE", platform::ResourceWriter::Utf16Text(L"<p/>"));
    if (source) writer.Add(platform::rt::Version, uint16_t{1}, platform::BuildVersionResource(*source));
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(writer.Save(path));
    auto module = platform::LoadResourceModule(path);
    EXPECT_NE(module, nullptr);
    modules_.push_back(module);
    return module;
  }
  std::filesystem::path dir_;
  std::vector<platform::ResourceModuleHandle> modules_;
};

TEST_F(VersionInfoTest, EnglishRecordWithEveryValue) {
  platform::VersionSource source;
  source.language = 1033;
  source.codePage = 1252;
  source.strings = {{L"CompanyName", L"Vistrel"},         {L"FileDescription", L"Language module"},
                    {L"FileVersion", L"5.6.0.1"},         {L"InternalName", L"Lingopack"},
                    {L"LegalCopyright", L"(C) Vistrel"},  {L"OriginalFilename", L"Lingopack_English.dll"},
                    {L"ProductName", L"Vistrel"},         {L"ProductVersion", L"5.6"}};
  Info info(Module("en.dll", &source));
  EXPECT_EQ(info.QueryPrefix, L"\\StringFileInfo\\040904E4\\");
  EXPECT_EQ(info.Language, 1033u);
  EXPECT_EQ(info.CodePage, 1252u);
  EXPECT_EQ(info.LanguageName, L"English (United States)");
  EXPECT_EQ(info.CompanyName, L"Vistrel");
  EXPECT_EQ(info.FileDescription, L"Language module");
  EXPECT_EQ(info.FileVersion, L"5.6.0.1");
  EXPECT_EQ(info.InternalName, L"Lingopack");
  EXPECT_EQ(info.LegalNotice, L"(C) Vistrel");
  EXPECT_EQ(info.FileNameAtBuild, L"Lingopack_English.dll");
  EXPECT_EQ(info.ProductName, L"Vistrel");
  EXPECT_EQ(info.ProductVersion, L"5.6");
}

TEST_F(VersionInfoTest, FirstTranslationSetsThePrefixAndMissingValuesStayUnavailable) {
  platform::VersionSource source;
  source.language = 1031;
  source.codePage = 1200;
  source.strings = {{L"FileVersion", L"2.0"}};
  Info info(Module("de.dll", &source));
  EXPECT_EQ(info.QueryPrefix, L"\\StringFileInfo\\040704B0\\");
  EXPECT_EQ(info.LanguageName, L"German (Germany)");
  EXPECT_EQ(info.FileVersion, L"2.0");
  EXPECT_EQ(info.CompanyName, L"Unavailable");
  EXPECT_EQ(info.ProductVersion, L"Unavailable");
}

TEST_F(VersionInfoTest, ModuleWithoutVersionResource) {
  Info info(Module("plain.dll", nullptr));
  EXPECT_EQ(info.Language, 0x0400u);
  EXPECT_EQ(info.QueryPrefix, L"\\StringFileInfo\\040904E4");
  for (const std::wstring* text : {&info.LanguageName, &info.CompanyName, &info.FileDescription, &info.FileVersion,
                                   &info.InternalName, &info.LegalNotice, &info.FileNameAtBuild, &info.ProductName,
                                   &info.ProductVersion})
    EXPECT_EQ(*text, L"Unavailable");
  EXPECT_EQ(info.FormatHex4(1033), L"0409");
  EXPECT_EQ(info.FormatHex4(1252), L"04E4");
  EXPECT_EQ(info.FormatHex4(0xABCD), L"ABCD");
  EXPECT_EQ(info.FormatHex4(0), L"0000");
}

TEST_F(VersionInfoTest, SetFallsBackToTheExecutable) {
  Set set;
  const std::wstring exe = set.ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(set.NextModuleName(true), exe);
  EXPECT_EQ(set.NextModuleName(false), L"");
  EXPECT_EQ(set.NextModuleName(false), L"");

  platform::VersionSource source;
  source.strings = {{L"FileVersion", L"1"}};
  auto module = Module("a.dll", &source);
  set.AddModule(L"Language", module);
  source.strings = {{L"FileVersion", L"2"}};
  set.AddModule(L"Language", Module("b.dll", &source));  // replaces the first record
  EXPECT_EQ(set.GetVersionInfo(L"Language")->FileVersion, L"2");
  EXPECT_EQ(set.GetVersionInfo(L"language"), set.GetVersionInfo(exe));  // case differs: the executable's

  set.Clear();
  EXPECT_EQ(set.NextModuleName(false), L"");
  try {
    set.GetVersionInfo(exe);
    FAIL() << "no exception";
  } catch (const std::range_error& e) {
    EXPECT_STREQ(e.what(), "Error getting version info!");
  }
}

}  // namespace
}  // namespace app
