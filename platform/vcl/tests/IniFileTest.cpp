// Ini files with the profile functions' rules, and the string list behind them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/vcl/TIniFile.h"
#include "platform/vcl/TStringList.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vcl-ini-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "Base.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void WriteFile(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string ReadFile() {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static std::vector<std::string> Items(const TStringList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.Strings[i]);
    return out;
  }

  std::filesystem::path dir_;
  std::string path_;
};

const char kSample[] =
    "; settings\r\n"
    "[GUI CONFIG]\r\n"
    "StudiesPanelHideDelay = 250\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Hex=$10\r\n"
    "Word=ten\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Tools]\r\n"
    "Name=Viewer\r\n"
    "[gui config]\r\n"
    "Late=1\r\n";

TEST_F(IniFileTest, ReadsAsTheProfileFunctions) {
  WriteFile(kSample);
  TIniFile ini(path_);
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"GUI CONFIG", "StudiesPanelHideDelay", "250"},
      {"gui config", "studiespanelhidedelay", "250"},  // names ignore case
      {"GUI CONFIG", "Quoted", "  spaced  "},          // one pair of quotes dropped
      {"GUI CONFIG", "Single", "x"},
      {"GUI CONFIG", "Dup", "first"},                   // first duplicate wins
      {"GUI CONFIG", "Empty", ""},
      {"GUI CONFIG", "Late", "<none>"},                 // a second section of the name is not seen
      {"GUI CONFIG", "Missing", "<none>"},
      {"Nowhere", "Name", "<none>"},
      {"Tools", "Name", "Viewer"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<none>"), c.expected) << c.section << "/" << c.key;

  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "StudiesPanelHideDelay", 400), 250);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Hex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Word", 7), 7);
  EXPECT_EQ(ini.ReadInteger("GUI CONFIG", "Empty", 7), 7);
  EXPECT_TRUE(ini.ReadBool("GUI CONFIG", "Hex", false));

  TStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(Items(sections), (std::vector<std::string>{"GUI CONFIG", "Tools", "gui config"}));

  TStringList values;
  ini.ReadSectionValues("GUI CONFIG", values);
  ASSERT_EQ(values.Count(), 8);
  EXPECT_EQ(values.Strings[5], "Dup=first");
  EXPECT_EQ(values.Strings[6], "Dup=first");  // each key read through the lookup
  EXPECT_TRUE(ini.SectionExists("tools"));
  EXPECT_FALSE(ini.ValueExists("Tools", "Icon"));
}

TEST_F(IniFileTest, ValuesAndSectionListsAreCutAsTheProfileBuffers) {
  std::string text = "[A]\r\nLong=" + std::string(3000, 'v') + "\r\n";
  for (int i = 0; i < 2000; ++i) text += "[Section" + std::to_string(1000 + i) + "]\r\n";  // 12 bytes each
  WriteFile(text);
  TIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("A", "Long", "").size(), 2047u);
  TStringList sections;
  ini.ReadSections(sections);
  // "A" takes 2 bytes, the final NUL 1: (16384 - 3) / 12 names of Section follow.
  EXPECT_EQ(sections.Count(), 1 + (16384 - 3) / 12);
}

TEST_F(IniFileTest, WritingKeepsTheRestOfTheFile) {
  WriteFile(kSample);
  {
    TIniFile ini(path_);
    ini.WriteString("gui config", "dup", "changed");   // replaces the first, in place
    ini.WriteString("Tools", "Icon", "a.ico");          // appended to its section
    ini.WriteInteger("New", "Count", -3);               // a new section at the end
    ini.DeleteKey("GUI CONFIG", "Word");
  }
  const std::string expected =
      "; settings\r\n"
      "[GUI CONFIG]\r\n"
      "StudiesPanelHideDelay = 250\r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Hex=$10\r\n"
      "dup=changed\r\n"
      "Dup=second\r\n"
      "Empty=\r\n"
      "\r\n"
      "[Tools]\r\n"
      "Name=Viewer\r\n"
      "Icon=a.ico\r\n"
      "[gui config]\r\n"
      "Late=1\r\n"
      "[New]\r\n"
      "Count=-3\r\n";
  EXPECT_EQ(ReadFile(), expected);
  TIniFile ini(path_);
  ini.EraseSection("TOOLS");
  EXPECT_EQ(ini.ReadString("Tools", "Name", "-"), "-");
  EXPECT_EQ(ini.ReadString("gui config", "Late", "-"), "-");  // still hidden behind the first
}

TEST_F(IniFileTest, MemIniFileKeepsChangesUntilUpdate) {
  WriteFile(kSample);
  TMemIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("GUI CONFIG", "Quoted", ""), "\"  spaced  \"");  // quotes kept
  EXPECT_EQ(ini.ReadString("GUI CONFIG", "DUP", ""), "first");
  ini.WriteString("Tools", "Name", "Other");
  EXPECT_EQ(ini.ReadString("Tools", "Name", ""), "Other");
  EXPECT_EQ(TIniFile(path_).ReadString("Tools", "Name", ""), "Viewer");
  ini.UpdateFile();
  EXPECT_EQ(TIniFile(path_).ReadString("Tools", "Name", ""), "Other");
  EXPECT_EQ(TIniFile(path_).ReadString("GUI CONFIG", "Hex", ""), "$10");
}

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  TIniFile ini(path_);
  TStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections.Count(), 0);
  EXPECT_EQ(ini.ReadInteger("A", "B", 9), 9);
  TMemIniFile mem(path_);
  EXPECT_EQ(mem.ReadString("A", "B", "d"), "d");
}

TEST(StringListTest, ListOperations) {
  TStringList list;
  list.SetText("a=1\r\nB=2\nc\rd=4");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Values("b"), "2");
  EXPECT_EQ(list.IndexOfName("D"), 3);
  EXPECT_EQ(list.IndexOf("C"), 2);
  EXPECT_EQ(list.Names(2), "");
  list.SetValue("a", "");
  EXPECT_EQ(list.Strings[0], "B=2");
  list.SetValue("e", "5");
  list.Insert(0, "first, \"q\"");
  EXPECT_EQ(list.Text(), "first, \"q\"\r\nB=2\r\nc\r\nd=4\r\ne=5\r\n");
  EXPECT_EQ(list.CommaText(), "\"first, \"\"q\"\"\",B=2,c,d=4,e=5");
  list.Delete(0);
  EXPECT_THROW(list.Delete(4), std::out_of_range);
  int tag = 0;
  list.AddObject("obj", &tag);
  EXPECT_EQ(list.Objects(4), &tag);
}

}  // namespace
