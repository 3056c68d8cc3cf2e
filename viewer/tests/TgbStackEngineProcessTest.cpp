#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/process/CommandLine.h"
#include "platform/process/Event.h"
#include "platform/process/Process.h"
#include "platform/process/tests/TestNames.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/engine/TgbStackEngineProcess.h"

namespace ORN_image {
namespace {

using platform::kWaitObject0;
using platform::testing::OutProgram;
using platform::testing::PumpUntil;
using platform::testing::UniqueName;
namespace fs = std::filesystem;

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

// What the exit callback saw, from the watcher thread.
struct ExitLog {
  std::mutex mutex;
  std::vector<bool> calls;
  std::unique_ptr<platform::Event> called = platform::Event::Create(true, false);
  std::vector<bool> Calls() {
    std::lock_guard<std::mutex> lock(mutex);
    return calls;
  }
};

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.SetExitCallback([log = log_](bool stopped) {
      std::lock_guard<std::mutex> lock(log->mutex);
      log->calls.push_back(stopped);
      log->called->Set();
    });
  }
  void TearDown() override {
    engine_.Stop();
    for (const auto& f : files_) fs::remove(f);
  }

  bool Start(const std::string& mode, const std::string& images = "IMG-LIST", const std::string& states = "PS-LIST",
             const std::string& frames = "FI-LIST", uint32_t timeoutMs = 60000, std::string exe = {}) {
    report_ = (fs::temp_directory_path() / UniqueName("report")).string();
    files_.push_back(report_);
    std::istringstream i(images), s(states), f(frames);
    if (exe.empty()) exe = OutProgram("fake_engine");
    return engine_.Start(i, s, f, mode + " " + report_, exe, panel_.Handle(), timeoutMs);
  }

  // The engine's window, once it said so to the panel.
  platform::WindowHandle WaitEngineWindow() {
    PumpUntil([&] { return engineWindow_ != 0; });
    return engineWindow_;
  }

  std::unique_ptr<platform::Process> OpenChild() { return platform::Process::Open(engine_.ChildProcessId()); }

  std::shared_ptr<ExitLog> log_ = std::make_shared<ExitLog>();
  platform::WindowHandle engineWindow_ = 0;
  platform::Window panel_{[this](uint32_t m, platform::WParam w, platform::LParam l) -> platform::LResult {
    if (m == 0x8401 && l != 0) engineWindow_ = static_cast<platform::WindowHandle>(w);
    return 0;
  }};
  TgbStackEngineProcess engine_;
  std::string report_;
  std::vector<std::string> files_;
};

TEST_F(Launcher, StartsTheEngineWithItsListsAndStopsIt) {
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_EQ(engine_.FindEngineWindow(), 0);
  ASSERT_TRUE(Start("normal"));
  EXPECT_TRUE(engine_.IsRunning());
  EXPECT_TRUE(engine_.IsStarted());
  EXPECT_EQ(engine_.StartTime().size(), 17u);
  const uint32_t pid = engine_.ChildProcessId();

  const auto lines = ReadLines(report_);
  const std::vector<std::string> expected = {std::to_string(pid),
                                             OutProgram("fake_engine"),
                                             std::to_string(platform::CurrentProcessId()),
                                             std::to_string(panel_.Handle()),
                                             "normal",
                                             report_,
                                             "end",
                                             "IMG-LIST",
                                             "PS-LIST",
                                             "FI-LIST"};
  EXPECT_EQ(lines, expected);

  const platform::WindowHandle window = WaitEngineWindow();
  ASSERT_NE(window, 0);
  EXPECT_EQ(engine_.FindEngineWindow(), window);

  auto child = OpenChild();
  ASSERT_TRUE(child);
  engine_.Stop();
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_FALSE(engine_.IsStarted());
  EXPECT_TRUE(engine_.StartTime().empty());
  EXPECT_EQ(platform::WaitForObject(child.get(), 20000), kWaitObject0);
  EXPECT_TRUE(log_->Calls().empty());  // a stop on request is not reported
  EXPECT_EQ(engine_.FindEngineWindow(), 0);
}

TEST_F(Launcher, ShortListsAreNotPublishedButTheImageListMustBeThere) {
  ASSERT_TRUE(Start("normal", "IM", "P", ""));
  auto lines = ReadLines(report_);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[7], "IM");
  EXPECT_EQ(lines[8], "<none>");
  EXPECT_EQ(lines[9], "<none>");
  engine_.Stop();

  EXPECT_FALSE(Start("normal", "I"));
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_FALSE(fs::exists(report_));  // the child was ended before it ever ran
}

TEST_F(Launcher, MissingProgramFailsAndTouchesNothing) {
  EXPECT_FALSE(Start("normal", "IMG", "PS", "FI", 60000, "/nonexistent/Pixtrane.exe"));
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_FALSE(engine_.IsStarted());
  EXPECT_TRUE(log_->Calls().empty());
}

TEST_F(Launcher, ChildDyingDuringTheWaitEndsTheStart) {
  EXPECT_FALSE(Start("die"));
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_FALSE(engine_.IsStarted());
  ASSERT_EQ(platform::WaitForObject(log_->called.get(), 20000), kWaitObject0);
  EXPECT_EQ(log_->Calls(), std::vector<bool>{false});
}

TEST_F(Launcher, TimeOutEndsTheChildAndTheWatcherReportsIt) {
  EXPECT_FALSE(Start("hang", "IMG", "PS", "FI", 300));
  EXPECT_FALSE(engine_.IsRunning());
  ASSERT_EQ(platform::WaitForObject(log_->called.get(), 20000), kWaitObject0);
  EXPECT_EQ(log_->Calls(), std::vector<bool>{false});
}

TEST_F(Launcher, EngineEndingByItselfIsReported) {
  ASSERT_TRUE(Start("normal"));
  const platform::WindowHandle window = WaitEngineWindow();
  ASSERT_NE(window, 0);
  ASSERT_TRUE(platform::PostMessage(window, platform::kWmClose, 0, 0));
  ASSERT_EQ(platform::WaitForObject(log_->called.get(), 20000), kWaitObject0);
  EXPECT_EQ(log_->Calls(), std::vector<bool>{false});
  EXPECT_TRUE(PumpUntil([&] { return !engine_.IsRunning(); }));
}

TEST_F(Launcher, StopBeforeTheEngineHasAWindowStillEndsIt) {
  ASSERT_TRUE(Start("nowindow"));
  EXPECT_EQ(engine_.FindEngineWindow(), 0);
  auto child = OpenChild();
  ASSERT_TRUE(child);
  engine_.Stop();
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_EQ(platform::WaitForObject(child.get(), 20000), kWaitObject0);
}

TEST_F(Launcher, SecondStartEndsTheFirstEngine) {
  ASSERT_TRUE(Start("normal"));
  auto first = OpenChild();
  ASSERT_TRUE(first);
  const uint32_t firstPid = engine_.ChildProcessId();
  ASSERT_TRUE(Start("normal"));
  EXPECT_NE(engine_.ChildProcessId(), firstPid);
  EXPECT_TRUE(engine_.IsRunning());
  EXPECT_EQ(platform::WaitForObject(first.get(), 20000), kWaitObject0);
  EXPECT_TRUE(log_->Calls().empty());
}

TEST_F(Launcher, ProgramFolderWithBlanksStillStarts) {
  const fs::path dir = fs::temp_directory_path() / (UniqueName("program") + " folder");
  fs::create_directories(dir);
  const fs::path exe = dir / "Pixtrane.exe";
  fs::copy_file(OutProgram("fake_engine"), exe);
  EXPECT_TRUE(Start("normal", "IMG", "PS", "FI", 60000, exe.string()));
  auto lines = ReadLines(report_);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], exe.string());
  engine_.Stop();
  fs::remove_all(dir);
}

TEST_F(Launcher, DestroyingTheLauncherEndsItsEngine) {
  auto launcher = std::make_unique<TgbStackEngineProcess>();
  std::istringstream i("IMAGES"), s(""), f("");
  const std::string out = (fs::temp_directory_path() / UniqueName("report")).string();
  files_.push_back(out);
  ASSERT_TRUE(launcher->Start(i, s, f, "nowindow " + out, OutProgram("fake_engine"), panel_.Handle(), 60000));
  auto child = platform::Process::Open(launcher->ChildProcessId());
  ASSERT_TRUE(child);
  launcher.reset();
  EXPECT_EQ(platform::WaitForObject(child.get(), 20000), kWaitObject0);
}

TEST(EngineCommandLine, SessionNumberOnlyWithoutSharing) {
  const uint64_t none = ~uint64_t(0);
  const struct {
    uint64_t session;
    bool sharing;
    const char* line;
  } cases[] = {
      {none, false, "/opt/vistrel/Pixtrane.exe 123 4294967298 a b end"},
      {none, true, "/opt/vistrel/Pixtrane.exe 123 4294967298 a b end"},
      {18446744073709551614ull, false, "/opt/vistrel/Pixtrane.exe 123 4294967298 a b 18446744073709551614 end"},
      {42, true, "/opt/vistrel/Pixtrane.exe 123 4294967298 a b end"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TgbStackEngineProcess::BuildCommandLine("/opt/vistrel/Pixtrane.exe", 123, 4294967298, "a b", c.session,
                                                      c.sharing),
              c.line);
  EXPECT_EQ(TgbStackEngineProcess::BuildCommandLine("/opt/my programs/Pixtrane.exe", -5, 7, "x", none, false),
            "\"/opt/my programs/Pixtrane.exe\" -5 7 x end");
  EXPECT_EQ(TgbStackEngineProcess::MakeObjectName("FileMappingEvent", 77), "FileMappingEvent77");
}

TEST(EngineCommandLine, SharingIsReadFromTheSettingsFile) {
  const fs::path ini = fs::temp_directory_path() / (UniqueName("settings") + ".ini");
  EXPECT_FALSE(TgbStackEngineProcess::IsSharingEnabled(ini.string()));  // no file
  const struct {
    const char* content;
    bool sharing;
  } cases[] = {
      {"[WEB SETTINGS]\nSharing=1\n", true},
      {"[web settings]\r\n sharing = 2 \r\n", true},
      {"[WEB SETTINGS]\nSharing=0\n", false},
      {"[WEB SETTINGS]\nSharing=yes\n", false},
      {"[OTHER]\nSharing=1\n[WEB SETTINGS]\n", false},
      {"[WEB SETTINGS]\nSharing=$10\n", true},
  };
  for (const auto& c : cases) {
    std::ofstream(ini) << c.content;
    EXPECT_EQ(TgbStackEngineProcess::IsSharingEnabled(ini.string()), c.sharing) << c.content;
  }
  fs::remove(ini);
  const std::string settings = TgbStackEngineProcess::SettingsFilePath();
  EXPECT_TRUE(settings.ends_with("test_viewer_engini")) << settings;
}

}  // namespace
}  // namespace ORN_image
