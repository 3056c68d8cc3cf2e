// Resource modules made by the packer at build time, read the way the start-up code reads
// them; modules and version records that are not sound are refused without harm.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/core/LastError.h"
#include "platform/resources/ResourceModule.h"
#include "platform/resources/ResourceWriter.h"
#include "platform/resources/VersionInfo.h"

namespace platform {
namespace {

// The UTF-16 text of a text resource, its mark skipped, up to the NUL or the end of its data.
std::wstring TextOf(ResourceModuleHandle module, const ResourceId& name, const ResourceId& type) {
  ResourceHandle resource = FindResource(module, name, type);
  if (!resource) return L"<missing>";
  const auto* p = static_cast<const uint8_t*>(LoadResource(module, resource));
  const uint32_t units = SizeofResource(module, resource) / 2;
  std::wstring text;
  for (uint32_t i = 0; i < units; ++i) {
    uint32_t u = p[2 * i] | (p[2 * i + 1] << 8);
    if (i == 0 && u == 0xFEFF) continue;
    if (u == 0) break;
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
      const uint32_t low = p[2 * i + 2] | (p[2 * i + 3] << 8);
      u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
      ++i;
    }
    text += static_cast<wchar_t>(u);
  }
  return text;
}

class ResourceModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadResourceModule("Lingopack_Testish.dll");  // beside the test program
    ASSERT_NE(module_, nullptr) << GetLastError();
  }
  void TearDown() override {
    if (module_) {
      EXPECT_TRUE(FreeResourceModule(module_));
    }
  }
  ResourceModuleHandle module_ = nullptr;
};

TEST_F(ResourceModuleTest, TextsAndPagesAsTheStoresReadThem) {
  std::vector<std::wstring> names;
  EXPECT_TRUE(EnumResourceNames(module_, L"XML", [&](ResourceModuleHandle m, const ResourceId& type,
                                                     const ResourceId& name) {
    EXPECT_EQ(m, module_);
    EXPECT_EQ(type.name, L"XML");
    names.push_back(name.Text());
    return true;
  }));
  // Names are upper case and in the module's order.
  EXPECT_EQ(names, (std::vector<std::wstring>{L"GUI_MAIN_FORM", L"GUI_STRINGS"}));

  EXPECT_EQ(TextOf(module_, L"gui_strings", L"xml"),
            L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<GUI_STRINGS>\n  <item name=\"Open\" "
            L"value=\"\u00d6ffnen\"/>\n</GUI_STRINGS>\n");
  EXPECT_EQ(TextOf(module_, L"ABOUTFORM_TEXT", L"ORN_TEXT"),
            L"About this workstation \u2013 \u00fcn\u00efc\u00f6d\u00e9 \u4e2d\u6587 \U0001F600");
  ResourceHandle text = FindResource(module_, L"ABOUTFORM_TEXT", L"ORN_TEXT");
  const auto* bytes = static_cast<const uint8_t*>(LoadResource(module_, text));
  const uint32_t size = SizeofResource(module_, text);
  ASSERT_GE(size, 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_EQ(bytes[size - 1] | bytes[size - 2], 0);  // a closing NUL unit

  ResourceHandle bitmap = FindResource(module_, L"CHECKER", rt::Bitmap);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(SizeofResource(module_, bitmap), 64u);  // the file without its 14-byte header
  EXPECT_EQ(static_cast<const uint8_t*>(LoadResource(module_, bitmap))[0], 40);
  EXPECT_EQ(SizeofResource(module_, FindResource(module_, L"CUR_ZOOM", rt::Cursor)), 1150u);
  EXPECT_NE(FindResource(module_, L"#7", rt::RcData), nullptr);
  EXPECT_NE(FindResource(module_, ResourceId(7), rt::RcData), nullptr);
}

TEST_F(ResourceModuleTest, FailuresSetWin32Codes) {
  struct Case {
    const char* what;
    ResourceId name, type;
    uint32_t error;
  } cases[] = {
      {"unknown name", L"GUI_NOTHING", L"XML", err::ResourceNameNotFound},
      {"unknown type", L"GUI_STRINGS", L"STRING", err::ResourceTypeNotFound},
      {"id for a name", ResourceId(1), L"XML", err::ResourceNameNotFound},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(FindResource(module_, c.name, c.type), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  int visits = 0;
  EXPECT_FALSE(EnumResourceNames(module_, L"UNICODE", [&](auto, auto&, auto&) { return ++visits, true; }));
  EXPECT_EQ(GetLastError(), err::ResourceTypeNotFound);
  EXPECT_TRUE(EnumResourceNames(module_, L"XML", [&](auto, auto&, auto&) { return ++visits, false; }));
  EXPECT_EQ(visits, 1);  // a callback answering false ends the walk

  EXPECT_EQ(LoadResourceModule("Lingopack_Nowhere.dll"), nullptr);
  EXPECT_EQ(GetLastError(), err::ModNotFound);
  // The executable carries no resources unless a "<program>.res" lies beside it.
  EXPECT_EQ(FindResource(ExecutableModule(), L"GUI_STRINGS", L"XML"), nullptr);
  EXPECT_FALSE(FreeResourceModule(ExecutableModule()));
}

TEST_F(ResourceModuleTest, VersionRecord) {
  ResourceHandle version = FindResource(module_, ResourceId(1), rt::Version);
  ASSERT_NE(version, nullptr);
  const void* block = LoadResource(module_, version);
  const size_t size = SizeofResource(module_, version);

  const void* value = nullptr;
  uint32_t length = 0;
  ASSERT_TRUE(VerQueryValue(block, size, L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  uint32_t translation;
  std::memcpy(&translation, value, 4);
  EXPECT_EQ(translation, 0x04E40407u);
  ASSERT_TRUE(VerQueryValue(block, size, L"\\", &value, &length));
  uint32_t fixed[4];
  std::memcpy(fixed, value, sizeof fixed);
  EXPECT_EQ(fixed[0], 0xFEEF04BDu);
  EXPECT_EQ(fixed[2], 0x00020005u);
  EXPECT_EQ(fixed[3], 0x00000011u);

  struct Case {
    const wchar_t* path;
    const wchar_t* expected;  // null: no such value
  } cases[] = {
      {L"\\StringFileInfo\\040704E4\\FileVersion", L"2.5.0.17"},
      {L"\\StringFileInfo\\040704e4\\companyname", L"Vistrel"},
      {L"\\StringFileInfo\\040704E4\\FileDescription", L"Language module (Testish)"},
      {L"\\StringFileInfo\\040704E4\\LegalCopyright", nullptr},
      {L"\\StringFileInfo\\040904E4\\FileVersion", nullptr},
  };
  for (const auto& c : cases) {
    std::wstring text;
    EXPECT_EQ(VerQueryString(block, size, c.path, text), c.expected != nullptr);
    if (c.expected) {
      EXPECT_EQ(text, c.expected);
    }
  }

  wchar_t name[9];
  const uint32_t needed = VerLanguageName(0x0407, name, 9);
  EXPECT_EQ(needed, 16u);  // "German (Germany)"
  EXPECT_EQ(std::wstring(name), L"German (");
  std::vector<wchar_t> whole(needed + 1);
  EXPECT_EQ(VerLanguageName(0x0407, whole.data(), needed + 1), needed);
  EXPECT_EQ(std::wstring(whole.data()), L"German (Germany)");
}

TEST(ResourceModuleHostileTest, DamagedModulesAreRefused) {
  ResourceWriter writer;
  writer.Add(L"XML", L"PAGE", ResourceWriter::Utf16Text(L"<a/>"));
  writer.Add(rt::RcData, 3, {1, 2, 3});
  const std::vector<uint8_t> good = writer.Bytes();
  const std::string path = std::filesystem::temp_directory_path() / ("vres-" + std::to_string(getpid()) + ".dll");
  auto tryLoad = [&](const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    ResourceModuleHandle m = LoadResourceModule(path);
    if (m) FreeResourceModule(m);
    return m != nullptr;
  };
  EXPECT_TRUE(tryLoad(good));
  // Every truncation that cuts into the data is refused with BadExeFormat.
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(tryLoad(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)))) << n;
    EXPECT_EQ(GetLastError(), err::BadExeFormat);
  }
  // Huge counts and offsets.
  for (size_t at : {8u, 12u, 16u + 4u, 16u + 12u, 16u + 16u}) {
    auto bad = good;
    bad[at] = bad[at + 1] = bad[at + 2] = bad[at + 3] = 0xFF;
    EXPECT_FALSE(tryLoad(bad)) << at;
  }
  std::filesystem::remove(path);
}

TEST(VersionInfoHostileTest, DamagedRecordsAnswerNothing) {
  VersionSource source;
  source.strings = {{L"FileVersion", L"1.0"}};
  const std::vector<uint8_t> good = BuildVersionResource(source);
  const void* value;
  uint32_t length;
  ASSERT_TRUE(VerQueryValue(good.data(), good.size(), L"\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
  for (size_t at = 0; at < good.size(); ++at) {
    for (uint8_t b : {0x00, 0xFF, 0x07}) {
      auto bad = good;
      bad[at] = b;
      VerQueryValue(bad.data(), bad.size(), L"\\StringFileInfo\\040904B0\\FileVersion", &value, &length);
      VerQueryValue(bad.data(), bad.size(), L"\\VarFileInfo\\Translation", &value, &length);
    }
  }
  EXPECT_FALSE(VerQueryValue(good.data(), 5, L"\\", &value, &length));
}

}  // namespace
}  // namespace platform
