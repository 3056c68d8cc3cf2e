#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "dicom/elements/DDERegistryLoader.h"
#include "dicom/elements/IDicomDataElementRegistry.h"
#include "dicom/elements/TanDDERegistry.h"
#include "platform/com/Library.h"

namespace orn_dicom {
namespace {

using orn_dicom_impl::TanDDERegistry;
using Client = orn_com::com_client<orn_com_wrapper::IDicomDataElementRegistry>;

// What the factory facades do before they make a factory.
void LoadDictionaryLikeTheFacades(const std::string& dll = "Tagbook.dll") {
  if (IsDDERegistryReady()) return;
  if (!InitializeDDERegistry(dll, GetStandardDDEPath())) throw std::runtime_error(GetDDERegistryError());
}

struct Answer {
  std::string vr, name;
  bool retired;
};

Answer Lookup(uint16_t group, uint16_t element) {
  TanDDERegistry registry;
  iDDE_PROPERTIES& entry = registry.Group(group).Element(element);
  return {entry.VR(), entry.Name(), entry.IsRetired()};
}

void ExpectThrowsUninitialized() {
  try {
    TanDDERegistry registry;
    FAIL() << "a registry object was made without a loaded dictionary";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "DICOM Data Element Registry is uninitialized.");
  }
}

// The probe component's own counters, reached through the same loaded module.
struct Probe {
  Probe() : module(platform::LoadModule("TagbookProbe.dll")) {}
  ~Probe() { platform::FreeModule(module); }
  template <class F>
  F* Fn(const char* name) { return reinterpret_cast<F*>(platform::ModuleSymbol(module, name)); }
  int Calls() { return Fn<int()>("ProbeCallCount")(); }
  int Initializes() { return Fn<int()>("ProbeInitializeCount")(); }
  bool InGate() { return Fn<bool()>("ProbeInGate")(); }
  void OpenGate() { Fn<void()>("ProbeOpenGate")(); }
  platform::ModuleHandle module;
};

TEST(DictionaryClient, StandardDataPathIsBesideTheExecutable) {
  const std::wstring path = GetStandardDDEPath();
  EXPECT_EQ(path, platform::Utf8ToWide(platform::ProgramFolder()) + L"LEXICA_DATA");
  EXPECT_EQ(detail::StandardDDEPathFrom(L"Vistrel.exe", L"kept"), L"kept");
  EXPECT_EQ(detail::StandardDDEPathFrom(L"", L""), L"");
  EXPECT_EQ(detail::StandardDDEPathFrom(L"/opt/vistrel/Vistrel.exe", L""), L"/opt/vistrel/LEXICA_DATA");
  EXPECT_EQ(detail::StandardDDEPathFrom(L"/" + std::wstring(2000, L'a'), L"kept"), L"/LEXICA_DATA")
      << "a path longer than the buffer is taken cut";
}

TEST(DictionaryClient, LookupBeforeAnyLoadThrows) {
  EXPECT_FALSE(IsDDERegistryReady());
  ExpectThrowsUninitialized();
  EXPECT_EQ(detail::DDERegistryUserCount(), 0);
}

TEST(DictionaryClient, AnswersStandardPrivateAndUnknownElements) {
  LoadDictionaryLikeTheFacades();
  ASSERT_TRUE(IsDDERegistryReady());
  EXPECT_TRUE(GetDDERegistryError().empty());
  const struct {
    uint16_t group, element;
    const char* vr;
    const char* name;
    bool retired;
  } cases[] = {
      {0x0010, 0x0010, "PN", "Patient's Name", false},
      {0x0028, 0x0106, "US or SS", "Smallest Image Pixel Value", false},
      {0x0008, 0x0040, "US", "Data Set Type", true},
      {0x6004, 0x3000, "OB or OW", "Overlay Data", false},
      {0x0009, 0x0010, "LO", "Private Creator Data Element", false},
      {0x0009, 0x00FF, "LO", "Private Creator Data Element", false},
      {0x0009, 0x0100, "UN", "Private Data Element", false},
      {0x0009, 0x000F, "UN", "Private Data Element", false},
      {0x0029, 0x0000, "UN", "Private Data Element", false},
      {0x0006, 0x0010, "UN", "Unknown Data Element", false},  // even group the dictionary lacks
      {0x0010, 0x0011, "UN", "Unknown Data Element", false},  // known group, unknown element
  };
  for (const auto& c : cases) {
    const Answer a = Lookup(c.group, c.element);
    EXPECT_EQ(a.vr, c.vr) << std::hex << c.group << "," << c.element;
    EXPECT_EQ(a.name, c.name) << std::hex << c.group << "," << c.element;
    EXPECT_EQ(a.retired, c.retired) << std::hex << c.group << "," << c.element;
  }

  TanDDERegistry registry;
  EXPECT_TRUE(registry.Group(0x0011).IsPrivate());
  EXPECT_FALSE(registry.Group(0x0006).IsPrivate());
  EXPECT_TRUE(registry.Group(0x0006).IsUnknown());
  iDDE_GROUP& standard = registry.Group(0x0028);
  EXPECT_FALSE(standard.IsUnknown());
  iDDE_PROPERTIES& descriptor = standard.Element(0x1101);
  EXPECT_FALSE(descriptor.IsUnknown());
  EXPECT_EQ(descriptor.FirstNumber(), 3);
  EXPECT_EQ(descriptor.SecondNumber(), 3);
  EXPECT_TRUE(registry.Group(0x0009).Element(0x1000).IsUnknown());
  EXPECT_FALSE(registry.Group(0x0009).Element(0x0010).IsUnknown());
  EXPECT_EQ(registry.Group(0x0009).Element(0x0010).FirstNumber(), 0xFFFF);
  EXPECT_EQ(detail::DDERegistryUserCount(), 1);
}

TEST(DictionaryClient, MissingComponentGivesTheLoadErrorThenLoadsOnceInPlace) {
  const std::string folder = platform::ProgramFolder();
  const std::string name = "TagbookLate.dll";
  std::remove((folder + name).c_str());

  EXPECT_FALSE(InitializeDDERegistry(name, GetStandardDDEPath()));
  EXPECT_EQ(GetDDERegistryError(), "DLL for class not found\r\n");
  EXPECT_FALSE(IsDDERegistryReady());
  try {
    LoadDictionaryLikeTheFacades(name);
    FAIL() << "the facades must throw";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "DLL for class not found\r\n");
  }
  ExpectThrowsUninitialized();
  EXPECT_EQ(Client::UseCount(), 0u) << "the failed client released what it had taken";

  {
    std::ifstream src(folder + "Tagbook.dll", std::ios::binary);
    std::ofstream(folder + name, std::ios::binary) << src.rdbuf();
  }
  EXPECT_NO_THROW(LoadDictionaryLikeTheFacades(name));
  EXPECT_TRUE(GetDDERegistryError().empty());
  EXPECT_EQ(Lookup(0x0010, 0x0020).name, "Patient ID");
  std::remove((folder + name).c_str());
}

TEST(DictionaryClient, ComponentWithoutEntryPointOrRefusingItsDataFails) {
  // No class-object entry point: the system has no text for the client's status -1.
  EXPECT_FALSE(InitializeDDERegistry("ComTestNoEntry.dll", GetStandardDDEPath()));
  EXPECT_EQ(GetDDERegistryError(), "");
  EXPECT_EQ(Client::UseCount(), 0u);

  EXPECT_FALSE(InitializeDDERegistry("Tagbook.dll", L"/no/such/folder"));
  EXPECT_EQ(GetDDERegistryError(), "The system cannot find the file specified.\r\n");
  EXPECT_FALSE(IsDDERegistryReady());
  ExpectThrowsUninitialized();
  // The next attempt replaces the wrapper whose data was refused.
  EXPECT_TRUE(InitializeDDERegistry("Tagbook.dll", GetStandardDDEPath()));
  EXPECT_EQ(Lookup(0x0008, 0x0018).vr, "UI");
  // The module without an entry point was unloaded with its client; Tagbook.dll was loaded once
  // and stayed loaded while its refusing wrapper was replaced.
  EXPECT_EQ(Client::LoadCount(), 2u);
}

TEST(DictionaryClient, PrivateGroupsNeverReachTheComponentAndStandardOnesCostTwoCalls) {
  ASSERT_TRUE(InitializeDDERegistry("TagbookProbe.dll", L"probe"));
  Probe probe;
  const int before = probe.Calls();
  for (uint16_t group : {0x0009, 0x0011, 0x7FE1, 0xFFFF}) {
    for (uint16_t element : {0x0000, 0x0010, 0x00FF, 0x1000, 0xFFFF}) {
      TanDDERegistry registry;
      iDDE_PROPERTIES& e = registry.Group(group).Element(element);
      (void)e.VR();
      (void)e.Name();
      (void)e.IsRetired();
    }
  }
  EXPECT_EQ(probe.Calls(), before);

  TanDDERegistry registry;
  iDDE_PROPERTIES& e = registry.Group(0x0010).Element(0x0010);
  EXPECT_EQ(probe.Calls(), before + 2);
  EXPECT_STREQ(e.VR(), "PN");
  EXPECT_EQ(probe.Calls(), before + 3);
}

TEST(DictionaryClient, FailedCallsForAFoundEntryGiveUsableAnswers) {
  ASSERT_TRUE(InitializeDDERegistry("TagbookProbe.dll", L"probe"));
  TanDDERegistry registry;
  iDDE_GROUP& group = registry.Group(0x0010);

  iDDE_PROPERTIES& failing = group.Element(0x0020);
  EXPECT_FALSE(failing.IsUnknown());
  EXPECT_STREQ(failing.VR(), "UN") << "no VR text from the component";
  EXPECT_STREQ(failing.Name(), "Unknown Data Element");
  EXPECT_FALSE(failing.IsRetired());
  EXPECT_EQ(failing.FirstNumber(), 0xFFFF);
  EXPECT_EQ(failing.SecondNumber(), 0xFFFF);

  EXPECT_STREQ(group.Element(0x0030).VR(), "UN") << "a VR text shorter than two characters";
  EXPECT_STREQ(group.Element(0x0030).Name(), "Short");

  // A failing call gives whatever the component wrote before failing.
  iDDE_PROPERTIES& wrote = group.Element(0x0040);
  EXPECT_STREQ(wrote.VR(), "SH");
  EXPECT_TRUE(wrote.IsRetired());
  EXPECT_EQ(wrote.FirstNumber(), 3);

  // A positive status is no success either.
  EXPECT_TRUE(registry.Group(0x0030).IsUnknown());
  EXPECT_TRUE(registry.Group(0x0040).IsUnknown());
}

TEST(DictionaryClient, InitializeWhileARegistryLivesDoesNotTouchTheComponent) {
  ASSERT_TRUE(InitializeDDERegistry("TagbookProbe.dll", L"probe"));
  Probe probe;
  const int initializes = probe.Initializes();
  {
    TanDDERegistry registry;
    EXPECT_TRUE(InitializeDDERegistry("NoSuch.dll", L"refuse"));
    EXPECT_TRUE(InitializeDDERegistry("TagbookProbe.dll", L"refuse"));
  }
  // Without a live registry object the ready state answers; the component is not asked again.
  EXPECT_TRUE(InitializeDDERegistry("TagbookProbe.dll", L"refuse"));
  EXPECT_EQ(probe.Initializes(), initializes);
  EXPECT_EQ(Client::LoadCount(), 1u);
}

TEST(DictionaryClient, RefusedDataFolderLeavesTheLoadRetryable) {
  EXPECT_FALSE(InitializeDDERegistry("TagbookProbe.dll", L"refuse"));
  EXPECT_EQ(GetDDERegistryError(), "The system cannot find the path specified.\r\n");
  ExpectThrowsUninitialized();
  EXPECT_TRUE(InitializeDDERegistry("TagbookProbe.dll", L"probe"));
  EXPECT_TRUE(GetDDERegistryError().empty());
  EXPECT_EQ(Client::LoadCount(), 1u) << "the DLL stayed loaded while the wrapper was replaced";
}

// A registry object made while another thread loads waits for the outcome.
void RegistryMadeDuringLoad(const std::wstring& path, bool expectReady) {
  Probe probe;
  std::atomic<bool> loaded{false};
  std::thread loader([&] { loaded = InitializeDDERegistry("TagbookProbe.dll", path); });
  while (!probe.InGate()) std::this_thread::yield();

  // The gate opens only once both users are about to ask, so they find the load under way.
  std::atomic<int> starting{0};
  std::atomic<int> outcome{-1};  // 1 made, 0 threw
  std::thread user([&] {
    try {
      starting.fetch_add(1);
      TanDDERegistry registry;
      outcome = 1;
    } catch (const std::runtime_error&) {
      outcome = 0;
    }
  });
  std::thread readiness([&] {
    starting.fetch_add(1);
    EXPECT_EQ(IsDDERegistryReady(), expectReady);
  });
  while (starting.load() < 2) std::this_thread::yield();
  probe.OpenGate();
  loader.join();
  user.join();
  readiness.join();
  EXPECT_EQ(loaded.load(), expectReady);
  EXPECT_EQ(outcome.load(), expectReady ? 1 : 0);
}

TEST(DictionaryClient, RegistryMadeDuringASuccessfulLoadWaitsAndSucceeds) {
  RegistryMadeDuringLoad(L"gate", true);
}

TEST(DictionaryClient, RegistryMadeDuringAFailedLoadWaitsAndThrows) {
  RegistryMadeDuringLoad(L"gate-refuse", false);
}

TEST(DictionaryClient, ConcurrentFirstUsersLoadOnceAndAllEndReady) {
  constexpr int kThreads = 8;
  std::atomic<int> waiting{kThreads};
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&] {
      waiting.fetch_sub(1);
      while (waiting.load() > 0) std::this_thread::yield();  // start together
      try {
        LoadDictionaryLikeTheFacades();
        if (Lookup(0x0020, 0x000D).name == "Study Instance UID") ready.fetch_add(1);
      } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(ready.load(), kThreads);
  EXPECT_TRUE(IsDDERegistryReady());
  EXPECT_EQ(Client::LoadCount(), 1u);
  EXPECT_EQ(detail::DDERegistryUserCount(), 0);
}

TEST(DictionaryClient, ConcurrentLookupsAgree) {
  LoadDictionaryLikeTheFacades();
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        const uint16_t element = static_cast<uint16_t>((i + t) % 4 == 0 ? 0x0010 : 0x0011);
        const Answer a = Lookup(0x0010, element);
        if (a.vr != (element == 0x0010 ? "PN" : "UN")) wrong.fetch_add(1);
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace orn_dicom
