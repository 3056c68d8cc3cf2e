#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <cctype>
#include <memory>
#include <set>
#include <string>

#include "platform/com/ComClient.h"
#include "platform/com/HResult.h"
#include "platform/com/Library.h"
#include "platform/com/Uuid.h"
#include "platform/com/tests/TestComponent.h"
#include "platform/core/LastError.h"

namespace platform::com {
namespace {

using testing::CLSID_TestAdder;
using testing::IID_ITestAdder;
using testing::ITestAdder;
using Client = ComClient<ITestAdder>;

TEST(HResult, MessagesAreTheSystemTexts) {
  const struct { HRESULT status; const char* text; } cases[] = {
      {hr::DllNotFound, "DLL for class not found\r\n"},
      {hr::Fail, "Unspecified error\r\n"},
      {hr::NoInterface, "No such interface supported\r\n"},
      {hr::Unexpected, "Catastrophic failure\r\n"},
      {hr::NoAggregation, "Class does not support aggregation (or class object is remote)\r\n"},
      {hr::InvalidArg, "The parameter is incorrect.\r\n"},
      {hr::OutOfMemory, "Not enough memory resources are available to complete this operation.\r\n"},
      {HResultFromWin32(err::FileNotFound), "The system cannot find the file specified.\r\n"},
      {-1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HResultMessage(c.status), c.text) << std::hex << c.status;
  EXPECT_EQ(HResultFromWin32(0), hr::Ok);
  EXPECT_EQ(static_cast<uint32_t>(HResultFromWin32(err::FileNotFound)), 0x80070002u);
  EXPECT_TRUE(Failed(hr::DllNotFound));
  EXPECT_FALSE(Failed(hr::False));
}

TEST(Library, ProgramFolderHoldsTheRunningProgram) {
  const std::string exe = ModuleFileName();
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(exe, folder + "test_platform_com");
  EXPECT_EQ(ModuleFileNameW(), Utf8ToWide(exe));
}

TEST(Library, WideTextRoundTripsThroughUtf8) {
  const std::wstring wide = L"C:/Bilder/\u00e9t\u00e9/\u65e5\u672c/\U0001F600";
  const std::string utf8 = WideToUtf8(wide);
  EXPECT_EQ(utf8, "C:/Bilder/\xc3\xa9t\xc3\xa9/\xe6\x97\xa5\xe6\x9c\xac/\xf0\x9f\x98\x80");
  EXPECT_EQ(Utf8ToWide(utf8), wide);
  EXPECT_EQ(WideToUtf8(L""), "");
}

TEST(Library, LoadFailuresSetTheLastError) {
  EXPECT_EQ(LoadModule("NoSuchComponent.dll"), nullptr);
  EXPECT_EQ(GetLastError(), err::ModNotFound);

  const std::string notAModule = ProgramFolder() + "com_test_not_a_module.dll";
  std::ofstream(notAModule) << "not an ELF file";
  EXPECT_EQ(LoadModule(notAModule), nullptr);
  EXPECT_EQ(GetLastError(), err::BadExeFormat);
  std::remove(notAModule.c_str());

  ModuleHandle module = LoadModule("ComTestAdder.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(ModuleSymbol(module, "DllGetClassObject"), nullptr);
  EXPECT_EQ(ModuleSymbol(module, "NoSuchSymbol"), nullptr);
  EXPECT_EQ(GetLastError(), err::ProcNotFound);
  EXPECT_TRUE(FreeModule(module));
}

TEST(ComClient, MissingDllGivesDllNotFound) {
  Client client(nullptr, CLSID_TestAdder, IID_ITestAdder, "NoSuchComponent.dll");
  EXPECT_EQ(client.Get(), nullptr);
  EXPECT_EQ(static_cast<uint32_t>(client.Status()), 0x800401F8u);
  EXPECT_EQ(client.ErrorText(), "The specified module could not be found.\r\n");
  EXPECT_EQ(HResultMessage(client.Status()), "DLL for class not found\r\n");
}

TEST(ComClient, MissingEntryPointGivesTheSystemText) {
  Client client(nullptr, CLSID_TestAdder, IID_ITestAdder, "ComTestNoEntry.dll");
  EXPECT_EQ(client.Get(), nullptr);
  EXPECT_EQ(client.Status(), -1);
  EXPECT_EQ(client.ErrorText(), "The specified procedure could not be found.\r\n");
}

TEST(ComClient, ClientsShareOneLoadAndEachHoldsAnObject) {
  // The load count runs over the whole process: count from where it stands.
  const auto loadsBefore = Client::LoadCount();
  {
    Client first(nullptr, CLSID_TestAdder, IID_ITestAdder, "ComTestAdder.dll");
    Client second(nullptr, CLSID_TestAdder, IID_ITestAdder, "ComTestAdder.dll");
    ASSERT_NE(first.Get(), nullptr);
    ASSERT_NE(second.Get(), nullptr);
    EXPECT_EQ(first.Status(), hr::Ok);
    EXPECT_TRUE(first.ErrorText().empty());
    EXPECT_NE(static_cast<void*>(first.Get()), static_cast<void*>(second.Get()));
    int32_t sum = 0;
    EXPECT_EQ(first.Get()->Add(40, 2, &sum), hr::Ok);
    EXPECT_EQ(sum, 42);
    int32_t live = 0;
    first.Get()->LiveObjects(&live);
    EXPECT_EQ(live, 2);
    EXPECT_EQ(Client::LoadCount() - loadsBefore, 1u);
    EXPECT_EQ(Client::UseCount(), 2u);
  }
  EXPECT_EQ(Client::UseCount(), 0u);
  // The last client unloaded the module; the next one loads it again.
  Client again(nullptr, CLSID_TestAdder, IID_ITestAdder, "ComTestAdder.dll");
  EXPECT_NE(again.Get(), nullptr);
  EXPECT_EQ(Client::LoadCount() - loadsBefore, 2u);
}

TEST(ComClient, FailuresOfTheClassObjectAndInstanceAreReported) {
  const CLSID unknownClass = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
  Client wrongClass(nullptr, unknownClass, IID_ITestAdder, "ComTestAdder.dll");
  EXPECT_EQ(wrongClass.Get(), nullptr);
  EXPECT_EQ(wrongClass.Status(), hr::ClassNotAvailable);
  EXPECT_EQ(wrongClass.ErrorText(), "ClassFactory cannot supply requested class\r\n");

  // A later client while the failed one still lives loads the class object itself instead of
  // using a null one.
  Client good(nullptr, CLSID_TestAdder, IID_ITestAdder, "ComTestAdder.dll");
  ASSERT_NE(good.Get(), nullptr);

  const IID unknownInterface = {0x9, 0x9, 0x9, {9, 9, 9, 9, 9, 9, 9, 9}};
  Client wrongInterface(nullptr, CLSID_TestAdder, unknownInterface, "ComTestAdder.dll");
  EXPECT_EQ(wrongInterface.Get(), nullptr);
  EXPECT_EQ(wrongInterface.Status(), hr::NoInterface);

  auto outer = reinterpret_cast<IUnknown*>(good.Get());
  Client aggregated(outer, CLSID_TestAdder, IID_ITestAdder, "ComTestAdder.dll");
  EXPECT_EQ(aggregated.Get(), nullptr);
  EXPECT_EQ(aggregated.Status(), hr::NoAggregation);

  int32_t live = 0;
  good.Get()->LiveObjects(&live);
  EXPECT_EQ(live, 1) << "objects made for a failed request were released";
}

TEST(ComClient, AFailedFirstLoadIsRetriedOnceTheDllIsThere) {
  const std::string folder = ProgramFolder();
  const std::string name = "ComTestLate.dll";
  std::remove((folder + name).c_str());
  {
    Client missing(nullptr, CLSID_TestAdder, IID_ITestAdder, name);
    EXPECT_EQ(missing.Status(), hr::DllNotFound);
    // Put the DLL in place while the failed client still lives.
    std::ifstream src(folder + "ComTestAdder.dll", std::ios::binary);
    std::ofstream(folder + name, std::ios::binary) << src.rdbuf();
    Client later(nullptr, CLSID_TestAdder, IID_ITestAdder, name);
    EXPECT_NE(later.Get(), nullptr);
    EXPECT_EQ(later.Status(), hr::Ok);
  }
  std::remove((folder + name).c_str());
}

}  // namespace
}  // namespace platform::com

// UUIDs: version 4 with the RFC 4122 variant, 36 lower-case characters, a new one every call.
TEST(Uuid, TextFormAndFreshness) {
  using namespace platform::com;
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    UUID uuid;
    ASSERT_EQ(UuidCreate(&uuid), RPC_S_OK);
    unsigned char* text = nullptr;
    ASSERT_EQ(UuidToStringA(&uuid, &text), RPC_S_OK);
    const std::string s(reinterpret_cast<const char*>(text));
    EXPECT_EQ(RpcStringFreeA(&text), RPC_S_OK);
    EXPECT_EQ(text, nullptr);
    ASSERT_EQ(s.size(), 36u);
    for (size_t k = 0; k < s.size(); ++k) {
      if (k == 8 || k == 13 || k == 18 || k == 23)
        EXPECT_EQ(s[k], '-');
      else
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(s[k])) || (s[k] >= 'a' && s[k] <= 'f')) << s;
    }
    EXPECT_EQ(s[14], '4') << s;
    EXPECT_NE(std::string("89ab").find(s[19]), std::string::npos) << s;
    seen.insert(s);
  }
  EXPECT_EQ(seen.size(), 100u);
  EXPECT_EQ(UuidCreate(nullptr), RPC_S_INVALID_ARG);
}
