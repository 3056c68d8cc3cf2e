// Text values (integer and boolean read-outs, formats) and the localised text store over
// resource modules written for the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "app/support/ORNValue.h"
#include "app/support/PropertiesBag.h"
#include "platform/resources/ResourceWriter.h"

namespace app {
namespace {

using Value = TsgORNValue<std::wstring>;

TEST(ORNValueTest, ToIntegerAndItsFlag) {
  struct Case {
    const wchar_t* text;
    int32_t value;
    bool flag;
  } cases[] = {{L"42", 42, false}, {L"4x2", 4, true}, {L"-7", -7, false}, {L"1-2", 1, false},
               {L"abc", 0, true},  {L" 5", 5, true}, {L"99999999999", INT32_MAX, false}};
  for (const auto& c : cases) {
    Value v(c.text);
    EXPECT_EQ(v.ToInteger(), c.value) << c.text;
    EXPECT_EQ(v.PopErrorFlag(), c.flag) << c.text;
  }
  Value empty(L"");
  EXPECT_EQ(empty.ToInteger(), 0);
  EXPECT_FALSE(empty.PopErrorFlag());
  EXPECT_EQ(empty.GetType(), 3);
}

TEST(ORNValueTest, ToBooleanAcceptsExactlyTheListedWords) {
  for (const wchar_t* t : {L"Yes", L"YES", L"yes", L"True", L"TRUE", L"true", L"On", L"ON", L"on", L"0", L"yES",
                           L"oN", L"maybe"})
    EXPECT_TRUE(Value(t).ToBoolean()) << t;
  for (const wchar_t* t : {L"No", L"NO", L"no", L"False", L"FALSE", L"false", L"Off", L"OFF", L"off", L""})
    EXPECT_FALSE(Value(t).ToBoolean()) << t;
}

TEST(ORNValueTest, FormatSettersRefuseOutOfRange) {
  TsgORNFormat<std::wstring> f;
  EXPECT_FALSE(f.SetRadix(1));
  EXPECT_FALSE(f.SetRadix(37));
  EXPECT_EQ(f.GetRadix(), 10);
  EXPECT_FALSE(f.SetPrecision(350));
  EXPECT_TRUE(f.SetPrecision(349));
  EXPECT_TRUE(f.SetPrecision(-5));
  EXPECT_FALSE(f.SetMode(3));
  EXPECT_EQ(f.GetDecimalSeparator(), L'.');

  Value v(L"1");
  TsgORNFormat<std::wstring> source;
  source.SetRadix(16);
  source.SetDecimalSeparator(L',');
  EXPECT_TRUE(v.ApplyFormat(source, 0));
  EXPECT_EQ(v.GetFormat().GetRadix(), 10);
  EXPECT_TRUE(v.ApplyFormat(source, 0x8000 | 0x10000));
  EXPECT_EQ(v.GetFormat().GetRadix(), 16);
  EXPECT_EQ(v.GetFormat().GetDecimalSeparator(), L',');
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> bytes) { return bytes; }

class TextStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("textstore_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    platform::ResourceWriter first;
    first.Add(L"XML", L"GUI_STRINGS", platform::ResourceWriter::Utf16Text(L"<a>first</a>"));
    first.Add(L"XML", uint16_t{101}, platform::ResourceWriter::Utf16Text(L"numbered"));
    first.Add(L"XML", L"NOMARK", Bytes({'h', 0, 'i', 0, 0, 0}));
    first.Add(L"XML", L"MIDNUL", Bytes({0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0, 0, 0}));
    first.Add(L"XML", L"NONUL", Bytes({0xFF, 0xFE, 'x', 0, 'y', 0}));
    first.Add(L"XML", L"UTF8", Bytes({0xEF, 0xBB, 0xBF, 'G', 0xC3, 0xBC, 't', 0}));
    first.Add(L"ORN_TEXT", L"ABOUT", platform::ResourceWriter::Utf16Text(L"about"));
    ASSERT_TRUE(first.Save((dir_ / "first.dll").string()));
    platform::ResourceWriter second;
    second.Add(L"XML", L"GUI_STRINGS", platform::ResourceWriter::Utf16Text(L"<b>second</b>"));
    ASSERT_TRUE(second.Save((dir_ / "second.dll").string()));
    first_ = platform::LoadResourceModule((dir_ / "first.dll").string());
    second_ = platform::LoadResourceModule((dir_ / "second.dll").string());
    ASSERT_TRUE(first_ && second_);
  }
  void TearDown() override {
    platform::FreeResourceModule(first_);
    platform::FreeResourceModule(second_);
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
  HMODULE first_ = nullptr;
  HMODULE second_ = nullptr;
};

TEST_F(TextStoreTest, LaterModuleWinsAndNamesCountOnce) {
  TsgPropertiesBag<wchar_t> store;
  EXPECT_EQ(store.LoadModuleStrings(first_, L"XML", -1), 6);
  EXPECT_EQ(store.LoadModuleStrings(second_, L"XML", -1), 6);
  EXPECT_EQ(store.GetString(L"GUI_STRINGS"), L"<b>second</b>");
  EXPECT_FALSE(store.PopErrorFlag());
  EXPECT_EQ(store.ResourceType(), L"XML");

  // LoadStrings starts over; an empty type enumerates nothing.
  EXPECT_EQ(store.LoadStrings(first_, L"ORN_TEXT", -1), 1);
  EXPECT_EQ(store.GetString(L"ABOUT"), L"about");
  EXPECT_EQ(store.LoadStrings(first_, L"", -1), 0);
}

TEST_F(TextStoreTest, TextsAreCutAtMarkNulAndEndOfData) {
  TsgPropertiesBag<wchar_t> store;
  store.LoadModuleStrings(first_, L"XML", -1);
  EXPECT_EQ(store.GetString(L"GUI_STRINGS"), L"<a>first</a>");  // mark dropped
  EXPECT_EQ(store.GetString(L"NOMARK"), L"hi");
  EXPECT_EQ(store.GetString(L"MIDNUL"), L"a");
  EXPECT_EQ(store.GetString(L"NONUL"), L"xy");  // ends with the data, no read past it
  EXPECT_EQ(store.GetString(L"UTF8"), L"G\u00FCt");  // UTF-8 mark: decoded as UTF-8
}

TEST_F(TextStoreTest, NumbersAndNames) {
  TsgPropertiesBag<wchar_t> store;
  store.LoadModuleStrings(first_, L"XML", -1);
  EXPECT_EQ(store.GetStringAt(101), L"numbered");
  EXPECT_EQ(store.GetString(L"101"), L"numbered");

  EXPECT_EQ(store.GetString(L"gui_strings"), L"");  // names match with their letter case
  EXPECT_TRUE(store.PopErrorFlag());
  EXPECT_EQ(store.PopMessage(), L"UNICODE->String[name]: String not found!");
  EXPECT_EQ(store.GetStringAt(5), L"");
  EXPECT_EQ(store.PopMessage(), L"UNICODE->String[index]: String not found!");

  // A hit after a miss leaves the guard clear.
  store.GetString(L"missing");
  EXPECT_EQ(store.GetString(L"NOMARK"), L"hi");
  EXPECT_FALSE(store.PopErrorFlag());
  EXPECT_EQ(store.PopMessage(), L"");

  store.Clear();
  EXPECT_EQ(store.GetCount(), 0);
  EXPECT_EQ(store.GetString(L"NOMARK"), L"");
  EXPECT_EQ(store.PopMessage(), L"UNICODE->String[name]: String not found!");
}

TEST_F(TextStoreTest, DirectReadsStoreNothing) {
  TsgPropertiesBag<wchar_t> store;
  store.LoadModuleStrings(second_, L"XML", -1);
  EXPECT_EQ(store.ReadString(first_, L"ORN_TEXT", L"ABOUT", -1), L"about");
  EXPECT_EQ(store.GetCount(), 1);
  EXPECT_EQ(store.ResourceType(), L"ORN_TEXT");
  EXPECT_EQ(store.ReadStringAt(first_, L"XML", 101, -1), L"numbered");

  EXPECT_EQ(store.ReadStringAt(first_, L"XML", 7, -1), L"");
  EXPECT_EQ(store.PopMessage().rfind(L"UNICODE->AddString (name): ", 0), 0u);
  EXPECT_EQ(store.ReadString(first_, L"XML", L"NOTHERE", -1), L"");
  EXPECT_EQ(store.PopMessage(), L"UNICODE->AddString (name): The specified resource name cannot be found in the image file.\r\n");
}

TEST(StringTableTest, QueryInterface) {
  TsgPropertiesBag<wchar_t> store;
  void* out = nullptr;
  EXPECT_EQ(store.QueryInterface(IID_STRINGS, nullptr), platform::com::hr::Fail);
  EXPECT_EQ(store.QueryInterface(platform::com::IID_IUnknown, &out), platform::com::hr::NoInterface);
  EXPECT_EQ(store.QueryInterface(IID_ORN_STRINGS, &out), platform::com::hr::Ok);
  EXPECT_EQ(out, static_cast<iSTRINGS*>(&store));
  EXPECT_EQ(store.QueryInterface(IID_ERROR_GUARD, &out), platform::com::hr::Ok);
  EXPECT_EQ(out, static_cast<TErrorGuard*>(&store));
}

}  // namespace
}  // namespace app
