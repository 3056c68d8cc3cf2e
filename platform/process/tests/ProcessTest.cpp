#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/core/LastError.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Event.h"
#include "platform/process/Process.h"
#include "platform/process/ProcessSnapshot.h"
#include "platform/process/tests/TestNames.h"

namespace platform {
namespace {

using testing::OutProgram;
using testing::UniqueName;

std::string Helper() { return QuoteArgument(OutProgram("process_helper")); }

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST(CommandLine, SplitsAsWindowsPrograms) {
  const struct {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"  prog\t a  ", {"prog", "a"}},
      {"\"C:/Program Files/x.exe\" 1 2", {"C:/Program Files/x.exe", "1", "2"}},
      {"/a/b\\c.exe x", {"/a/b\\c.exe", "x"}},
      {"p \"a b\" c", {"p", "a b", "c"}},
      {"p a\\\\\"b c\"", {"p", "a\\b c"}},
      {"p a\\\"b", {"p", "a\"b"}},
      {"p a\\\\b", {"p", "a\\\\b"}},
      {"p \"a\"\"b\"", {"p", "a\"b"}},
      {"p \"\"", {"p", ""}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, QuotedArgumentsSplitBackUnchanged) {
  const std::vector<std::string> args = {"x", "a b", "", "q\"uote", "tail\\", "in\\ner", "both \\\"x\\"};
  std::string line = "prog";
  for (const auto& a : args) line += " " + QuoteArgument(a);
  std::vector<std::string> expected = {"prog"};
  expected.insert(expected.end(), args.begin(), args.end());
  EXPECT_EQ(SplitCommandLine(line), expected);
}

TEST(Process, RunsAndReportsItsExitCode) {
  auto p = Process::Start(Helper() + " exit 42", {});
  ASSERT_TRUE(p);
  EXPECT_NE(p->Id(), 0u);
  EXPECT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 42u);
  EXPECT_EQ(WaitForObject(p.get(), 0), kWaitObject0);  // stays signalled
}

TEST(Process, SuspendedDoesNotRunUntilResumed) {
  const std::string name = UniqueName("suspended");
  auto e = Event::Create(true, false, name);
  ASSERT_TRUE(e);
  auto p = Process::Start(Helper() + " set-event " + name, {.suspended = true, .hidden = true});
  ASSERT_TRUE(p);
  EXPECT_EQ(WaitForObject(e.get(), 200), kWaitTimeout);
  EXPECT_EQ(p->ExitCode(), kStillActive);
  ASSERT_TRUE(p->Resume());
  EXPECT_EQ(WaitForObjects({e.get()}, 20000), kWaitObject0);
  EXPECT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 0u);
  EXPECT_FALSE(p->Resume());
}

TEST(Process, TerminateGivesTheExitCodeAndFailsOnceEnded) {
  auto p = Process::Start(Helper() + " sleep", {});
  ASSERT_TRUE(p);
  EXPECT_EQ(WaitForObject(p.get(), 50), kWaitTimeout);
  ASSERT_TRUE(p->Terminate(7));
  EXPECT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 7u);
  EXPECT_FALSE(p->Terminate(1));
}

TEST(Process, SuspendedChildCanBeTerminated) {
  auto p = Process::Start(Helper() + " exit 3", {.suspended = true});
  ASSERT_TRUE(p);
  ASSERT_TRUE(p->Terminate(0));
  EXPECT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 0u);
}

TEST(Process, MissingProgramFailsAtOnce) {
  EXPECT_FALSE(Process::Start("/nonexistent/folder/prog.exe a b", {}));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
  EXPECT_FALSE(Process::Start("no-such-program-anywhere-xyz", {}));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
  EXPECT_FALSE(Process::Start("   ", {}));
}

TEST(Process, ProgramInAFolderWithBlanksStartsWhenQuoted) {
  const auto dir = std::filesystem::temp_directory_path() / (UniqueName("dir") + " with blanks");
  std::filesystem::create_directories(dir);
  const auto copy = dir / "helper prog";
  std::filesystem::copy_file(OutProgram("process_helper"), copy);
  const std::string out = (dir / "args.txt").string();
  auto p = Process::Start(QuoteArgument(copy.string()) + " args-to " + QuoteArgument(out) + " \"one two\" three", {});
  ASSERT_TRUE(p);
  EXPECT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 0u);
  EXPECT_EQ(ReadLines(out), (std::vector<std::string>{"one two", "three"}));
  // Unquoted, the name stops at the first blank and is not found.
  EXPECT_FALSE(Process::Start(copy.string() + " exit 0", {}));
  std::filesystem::remove_all(dir);
}

TEST(Process, ChildSeesEnvironmentAndItsParent) {
  const std::string var = "VISTREL_TEST_" + std::to_string(::getpid());
  ASSERT_TRUE(SetEnvironmentVariable(var, "value 1"));
  std::string got;
  ASSERT_TRUE(GetEnvironmentVariable(var, got));
  EXPECT_EQ(got, "value 1");
  auto p = Process::Start(Helper() + " env-is " + var + " \"value 1\"", {});
  ASSERT_TRUE(p);
  ASSERT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 0u);
  ASSERT_TRUE(DeleteEnvironmentVariable(var));
  EXPECT_FALSE(GetEnvironmentVariable(var, got));
  EXPECT_EQ(GetLastError(), err::EnvvarNotFound);

  const std::string out = (std::filesystem::temp_directory_path() / UniqueName("parent")).string();
  auto q = Process::Start(Helper() + " parent-to " + QuoteArgument(out), {});
  ASSERT_TRUE(q);
  ASSERT_EQ(WaitForObject(q.get(), 20000), kWaitObject0);
  const auto lines = ReadLines(out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::to_string(CurrentProcessId()));
  EXPECT_EQ(lines[1], ProcessExecutableName(CurrentProcessId()));
  EXPECT_EQ(lines[1], "test_platform_process");
  std::filesystem::remove(out);
}

TEST(Process, HardExitSkipsEverythingAndGivesTheCode) {
  auto p = Process::Start(Helper() + " hard-exit 9", {});
  ASSERT_TRUE(p);
  ASSERT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 9u);
}

TEST(Process, OpenWaitsForAProcessThatIsNotOurChild) {
  auto self = Process::Open(CurrentProcessId());
  ASSERT_TRUE(self);
  EXPECT_EQ(self->ExitCode(), kStillActive);
  EXPECT_EQ(WaitForObject(self.get(), 0), kWaitTimeout);
  EXPECT_FALSE(Process::Open(0));
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

TEST(ProcessSnapshot, ListsOurselvesAndOurChildWithTheirParents) {
  auto child = Process::Start(QuoteArgument(testing::OutProgram("process_helper")) + " sleep", {});
  ASSERT_TRUE(child);
  const auto entries = ProcessSnapshot();
  const ProcessEntry* self = nullptr;
  const ProcessEntry* kid = nullptr;
  for (const auto& e : entries) {
    if (e.pid == CurrentProcessId()) self = &e;
    if (e.pid == child->Id()) kid = &e;
  }
  ASSERT_TRUE(self && kid);
  EXPECT_EQ(self->parentPid, ParentProcessId());
  EXPECT_EQ(self->exeName, "test_platform_process");
  EXPECT_EQ(kid->parentPid, CurrentProcessId());
  child->Terminate(0);
  EXPECT_EQ(WaitForObject(child.get(), 20000), kWaitObject0);
}

TEST(ProcessSnapshot, CreationTimeIsAFileTimeOfThisRun) {
  uint64_t self = 0, child = 0;
  ASSERT_TRUE(ProcessCreationTime(CurrentProcessId(), self));
  const uint64_t now = (static_cast<uint64_t>(std::time(nullptr)) + 11644473600ull) * 10000000ull;
  EXPECT_LE(self, now + 20000000ull);  // the boot time is given in whole seconds
  EXPECT_GT(self, now - 864000000000ull);
  auto p = Process::Start(QuoteArgument(testing::OutProgram("process_helper")) + " sleep", {});
  ASSERT_TRUE(p);
  ASSERT_TRUE(ProcessCreationTime(p->Id(), child));
  EXPECT_GE(child, self);
  p->Terminate(0);
  WaitForObject(p.get(), 20000);
  EXPECT_FALSE(ProcessCreationTime(0, child));
}

}  // namespace
}  // namespace platform
