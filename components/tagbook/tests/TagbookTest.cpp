// The component on its own, through its binary interface, as any client loads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "components/tagbook/TagbookInterface.h"
#include "platform/com/ComClient.h"
#include "platform/com/Library.h"

namespace tagbook {
namespace {

using platform::com::ComClient;
using platform::com::HRESULT;
namespace hr = platform::com::hr;
using orn_com_wrapper::CLSID_DicomDataElementRegistry;
using orn_com_wrapper::IDicomDataElementRegistry;
using orn_com_wrapper::IID_IDicomDataElementRegistry;

constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80070490u);

std::wstring DataFolder() { return platform::Utf8ToWide(platform::ProgramFolder() + "LEXICA_DATA"); }

class TagbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(FClient.Get(), nullptr) << FClient.ErrorText();
    ASSERT_EQ(Registry()->Initialize(DataFolder().c_str()), hr::Ok);
  }
  IDicomDataElementRegistry* Registry() { return FClient.Get(); }

  struct Answer {
    std::string vr, name;
    uint16_t retired = 0xFFFF, vmMin = 0, vmMax = 0;
  };
  HRESULT Lookup(uint16_t group, uint16_t element, Answer* a) {
    uint16_t gi = 0, ei = 0;
    HRESULT s = Registry()->FindGroup(group, &gi);
    if (s != hr::Ok) return s;
    s = Registry()->FindElement(gi, element, &ei);
    if (s != hr::Ok) return s;
    const char* vr = nullptr;
    const char* name = nullptr;
    EXPECT_EQ(Registry()->GetVR(gi, ei, &vr), hr::Ok);
    EXPECT_EQ(Registry()->GetName(gi, ei, &name), hr::Ok);
    EXPECT_EQ(Registry()->IsRetired(gi, ei, &a->retired), hr::Ok);
    EXPECT_EQ(Registry()->GetFirstNumber(gi, ei, &a->vmMin), hr::Ok);
    EXPECT_EQ(Registry()->GetSecondNumber(gi, ei, &a->vmMax), hr::Ok);
    a->vr = vr;
    a->name = name;
    return hr::Ok;
  }

  ComClient<IDicomDataElementRegistry> FClient{nullptr, CLSID_DicomDataElementRegistry, IID_IDicomDataElementRegistry, "Tagbook.dll"};
};

TEST_F(TagbookTest, AnswersStandardEntriesOfEveryKind) {
  const struct {
    uint16_t group, element;
    const char* vr;
    const char* name;
    uint16_t retired, vmMin, vmMax;
  } cases[] = {
      {0x0010, 0x0010, "PN", "Patient's Name", 0, 1, 1},
      {0x0008, 0x0119, "UC", "Long Code Value", 0, 1, 1},
      {0x0002, 0x0026, "UR", "Source Presentation Address", 0, 1, 1},
      {0x0066, 0x0022, "OD", "Double Point Coordinates Data", 0, 1, 1},
      {0x0066, 0x0040, "OL", "Long Primitive Point Index List", 0, 1, 1},
      {0x0072, 0x0081, "OV", "Selector OV Value", 0, 1, 1},
      {0x0072, 0x0082, "SV", "Selector SV Value", 0, 1, 0xFFFF},
      {0x0072, 0x0083, "UV", "Selector UV Value", 0, 1, 0xFFFF},
      {0x0018, 0x9810, "US or SS", "Zero Velocity Pixel Value", 0, 1, 1},
      {0x0028, 0x1101, "US or SS", "Red Palette Color Lookup Table Descriptor", 0, 3, 3},
      {0x0000, 0x0001, "UL", "Command Length to End", 1, 1, 1},
      {0x0020, 0x0032, "DS", "Image Position (Patient)", 0, 3, 3},
      {0x7FE0, 0x0010, "OB or OW", "Pixel Data", 0, 1, 1},
      // Repeating groups and elements: any even group of the range, masked elements.
      {0x6000, 0x0010, "US", "Overlay Rows", 0, 1, 1},
      {0x601E, 0x3000, "OB or OW", "Overlay Data", 0, 1, 1},
      {0x5002, 0x0005, "US", "Curve Dimensions", 1, 1, 1},
      {0x0020, 0x3105, "CS", "Source Image IDs", 1, 1, 0xFFFF},
      {0x1000, 0x0121, "US", "Run Length Triplet", 1, 3, 3},
      {0x7F00, 0x0010, "OB or OW", "Variable Pixel Data", 1, 1, 1},
      // An exactly known group falls back to the repeating one that covers it.
      {0x7FE0, 0x0011, "US", "Variable Next Data Group", 1, 1, 1},
  };
  for (const auto& c : cases) {
    Answer a;
    ASSERT_EQ(Lookup(c.group, c.element, &a), hr::Ok) << std::hex << c.group << "," << c.element;
    EXPECT_EQ(a.vr, c.vr) << std::hex << c.group << "," << c.element;
    EXPECT_EQ(a.name, c.name);
    EXPECT_EQ(a.retired, c.retired) << a.name;
    EXPECT_EQ(a.vmMin, c.vmMin) << a.name;
    EXPECT_EQ(a.vmMax, c.vmMax) << a.name;
  }
}

// A client built elsewhere knows only slot numbers: call through the table by index.
TEST_F(TagbookTest, OperationsSitInTheirSlots) {
  void** table = *reinterpret_cast<void***>(Registry());
  using FindGroupFn = HRESULT (*)(void*, uint16_t, uint16_t*);
  using FindElementFn = HRESULT (*)(void*, uint16_t, uint16_t, uint16_t*);
  using NumberFn = HRESULT (*)(void*, uint16_t, uint16_t, uint16_t*);
  using TextFn = HRESULT (*)(void*, uint16_t, uint16_t, const char**);
  uint16_t gi = 0, ei = 0, first = 0, second = 0, retired = 9;
  const char* vr = nullptr;
  const char* name = nullptr;
  ASSERT_EQ(reinterpret_cast<FindGroupFn>(table[9])(Registry(), 0x0028, &gi), hr::Ok);
  ASSERT_EQ(reinterpret_cast<FindElementFn>(table[10])(Registry(), gi, 0x0030, &ei), hr::Ok);
  EXPECT_EQ(reinterpret_cast<NumberFn>(table[13])(Registry(), gi, ei, &first), hr::Ok);
  EXPECT_EQ(reinterpret_cast<NumberFn>(table[14])(Registry(), gi, ei, &second), hr::Ok);
  EXPECT_EQ(reinterpret_cast<NumberFn>(table[15])(Registry(), gi, ei, &retired), hr::Ok);
  EXPECT_EQ(reinterpret_cast<TextFn>(table[16])(Registry(), gi, ei, &vr), hr::Ok);
  EXPECT_EQ(reinterpret_cast<TextFn>(table[17])(Registry(), gi, ei, &name), hr::Ok);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(retired, 0);
  EXPECT_STREQ(vr, "DS");
  EXPECT_STREQ(name, "Pixel Spacing");
  using InitializeFn = HRESULT (*)(void*, const wchar_t*);
  EXPECT_EQ(reinterpret_cast<InitializeFn>(table[7])(Registry(), DataFolder().c_str()), hr::Unexpected)
      << "slot 7 is Initialize, refused the second time";
}

TEST_F(TagbookTest, UnknownTagsAndForeignIndexesFail) {
  uint16_t gi = 0xBEEF, ei = 0xBEEF;
  EXPECT_EQ(Registry()->FindGroup(0x0006, &gi), kNotFound);
  EXPECT_EQ(Registry()->FindGroup(0xFFF0, &gi), kNotFound);
  ASSERT_EQ(Registry()->FindGroup(0x0010, &gi), hr::Ok);
  EXPECT_EQ(Registry()->FindElement(gi, 0x0011, &ei), kNotFound);
  EXPECT_EQ(Registry()->FindElement(0xFFFF, 0x0010, &ei), kNotFound);

  ASSERT_EQ(Registry()->FindElement(gi, 0x0010, &ei), hr::Ok);
  uint16_t otherGroup = 0;
  ASSERT_EQ(Registry()->FindGroup(0x0008, &otherGroup), hr::Ok);
  const char* vr = "unchanged";
  EXPECT_EQ(Registry()->GetVR(otherGroup, ei, &vr), hr::InvalidArg);
  EXPECT_EQ(Registry()->GetVR(gi, 0xFFFF, &vr), hr::InvalidArg);
  EXPECT_STREQ(vr, "unchanged");
  EXPECT_EQ(Registry()->GetVR(gi, ei, nullptr), hr::Pointer);

  EXPECT_EQ(Registry()->Reserved3(), hr::NotImpl);
  EXPECT_EQ(Registry()->Initialize(DataFolder().c_str()), hr::Unexpected) << "initialised once";
}

TEST(TagbookLoad, RefusesMissingAndMalformedDataAndLookupsBeforeInitialize) {
  ComClient<IDicomDataElementRegistry> client(nullptr, CLSID_DicomDataElementRegistry, IID_IDicomDataElementRegistry, "Tagbook.dll");
  ASSERT_NE(client.Get(), nullptr);
  uint16_t gi = 0;
  EXPECT_EQ(client.Get()->FindGroup(0x0010, &gi), hr::Unexpected);
  EXPECT_EQ(client.Get()->Initialize(nullptr), hr::Pointer);
  EXPECT_EQ(static_cast<uint32_t>(client.Get()->Initialize(L"/no/such/folder")), 0x80070002u);

  const std::string folder = platform::ProgramFolder() + "tagbook_bad_data";
  std::remove((folder + "/datadict.txt").c_str());
  std::remove(folder.c_str());
  ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
  const char* bad[] = {
      "0010\t0010\tPN\t1\t0\n",                      // too few fields
      "001G\t0010\tPN\t1\t0\tPatient's Name\n",      // not hex
      "0010\t0010\tP\t1\t0\tPatient's Name\n",       // VR too short
      "0010\t0010\tPN\tone\t0\tPatient's Name\n",    // VM not a number
      "0010\t0010\tPN\t1\t2\tPatient's Name\n",      // retired flag not 0 or 1
      "0010\t0010\tPN\t1\t0\tA\n0010\t0010\tPN\t1\t0\tB\n",  // duplicate
      "# only a comment\n",                            // no entries
  };
  for (const char* content : bad) {
    std::ofstream(folder + "/datadict.txt", std::ios::binary) << content;
    ComClient<IDicomDataElementRegistry> fresh(nullptr, CLSID_DicomDataElementRegistry, IID_IDicomDataElementRegistry, "Tagbook.dll");
    EXPECT_EQ(static_cast<uint32_t>(fresh.Get()->Initialize(platform::Utf8ToWide(folder).c_str())), 0x8007000Du)
        << content;
  }
  std::ofstream(folder + "/datadict.txt", std::ios::binary) << "0010\t0010\tPN\t1\t0\tPatient's Name\r\n";
  EXPECT_EQ(client.Get()->Initialize(platform::Utf8ToWide(folder + "/").c_str()), hr::Ok);
  EXPECT_EQ(client.Get()->FindGroup(0x0010, &gi), hr::Ok);
  std::remove((folder + "/datadict.txt").c_str());
  std::remove(folder.c_str());
}

}  // namespace
}  // namespace tagbook
