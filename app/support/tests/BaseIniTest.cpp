// The Base.ini cache: exact section and key matches, first value of a repeated key, loads that
// keep or replace the cache, and the conversions with their defaults.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/support/BaseIni.h"

namespace orn_ini {
namespace {

class BaseIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("baseini_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name) << text;
    return (dir_ / name).string();
  }
  std::filesystem::path dir_;
};

TEST_F(BaseIniTest, LookupsMatchExactly) {
  BASE_INI_ANSI ini;
  ASSERT_TRUE(ini.Load(Write("VistrelBase.ini",
                             "[GUI CONFIG]\n"
                             "StudiesPanelHideDelay=250\n"
                             "Hex=$10\n"
                             "Ten=ten\n"
                             "Lead=  7\n"
                             "BlockWheelNavigationThroughStudy=yes\n"
                             "Empty=\n"
                             "Twice=first\n"
                             "Twice=second\n")));
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "StudiesPanelHideDelay", 400), 250);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "studiespanelhidedelay", 400), 400);
  EXPECT_EQ(ini.ReadInteger("Gui Config", "StudiesPanelHideDelay", 400), 400);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Hex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Ten", 3), 3);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Lead", 3), 7);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Empty", 3), 3);
  EXPECT_EQ(ini.ReadString("GUI CONFIG", "BlockWheelNavigationThroughStudy", ""), "yes");
  EXPECT_EQ(ini.ReadString("GUI CONFIG", "Empty", "def"), "def");
  EXPECT_EQ(ini.ReadString("GUI CONFIG", "Twice", ""), "first");
  EXPECT_EQ(ini.ReadString("GUI CONFIG", "Missing", "def"), "def");
}

TEST_F(BaseIniTest, LoadsThatKeepOrReplace) {
  BASE_INI_ANSI ini;
  ASSERT_TRUE(ini.Load(Write("a.ini", "[OLD]\nk=1\n[GUI CONFIG]\nx=2\n")));
  EXPECT_FALSE(ini.Load(""));
  EXPECT_FALSE(ini.Load((dir_ / "missing.ini").string()));
  EXPECT_FALSE(ini.Load(Write("none.ini", "; only a comment\n")));
  EXPECT_EQ(ini.ReadInteger("OLD", "k", 0), 1);

  ASSERT_TRUE(ini.Load(Write("b.ini", "[GUI CONFIG]\nx=3\n")));
  EXPECT_EQ(ini.ReadInteger("OLD", "k", 0), 0);  // gone with the earlier file
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "x", 0), 3);

  BASE_INI_ANSI empty;
  EXPECT_FALSE(empty.Load(Write("c.ini", "[GUI CONFIG]\n")));
  EXPECT_EQ(empty.ReadString("GUI CONFIG", "x", "d"), "d");
}

}  // namespace
}  // namespace orn_ini
