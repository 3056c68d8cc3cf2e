// The session number of the command line and the parent process handed to children.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/startup/ProgramEntry.h"
#include "platform/process/Process.h"
#include "platform/process/Wait.h"

namespace app {
namespace {

TEST(SessionNumberTest, FromTheCommandLine) {
  struct Case {
    const char* line;
    int show;
    int64_t session;
  } cases[] = {
      {"1234 end", 10, 1234},       {"1234", 10, -1},        {"1234\tmore", 10, -1},
      {"-1 more", 10, -1},          {"-5 more", 10, -5},     {"99999999999 more", 10, -1},
      {"1234 end", 0, -1},          {"", 10, -1},            {"abc def", 10, -1},
      {"$10 x", 10, 16},            {"0x1F x", 10, 31},      {"  12 x", 1, -1},
      {"2147483647 x", 10, 2147483647}, {"-2147483648 x", 10, -2147483648LL},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SessionNumberFromCommandLine(c.line, c.show), c.session) << "'" << c.line << "' show " << c.show;
}

TEST(SessionNumberTest, CommandLineOfTheArguments) {
  char program[] = "Vistrel.exe", a[] = "1234", b[] = "end", tab[] = "12\t34", blank[] = "x y";
  char* plain[] = {program, a, b, nullptr};
  EXPECT_EQ(CommandLineOfArguments(3, plain), "1234 end");
  char* quoted[] = {program, tab, blank, nullptr};
  EXPECT_EQ(CommandLineOfArguments(3, quoted), "\"12\t34\" \"x y\"");
  EXPECT_EQ(SessionNumberFromCommandLine(CommandLineOfArguments(3, quoted), 10), -1);
}

TEST(ParentProcessTest, ChildrenSeeBothVariables) {
  platform::DeleteEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_ID");
  platform::DeleteEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_NAME");
  PublishParentProcess();
  std::string id, name;
  ASSERT_TRUE(platform::GetEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_ID", id));
  EXPECT_EQ(id, std::to_string(platform::ParentProcessId()));
  ASSERT_TRUE(platform::GetEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_NAME", name));
  EXPECT_EQ(name, platform::ProcessExecutableName(platform::ParentProcessId()));

  // A child started afterwards inherits both.
  const auto out = std::filesystem::temp_directory_path() /
                   ("vistrel_child_env_" + std::to_string(platform::CurrentProcessId()));
  auto child = platform::Process::Start(
      "/bin/sh -c \"echo $EV_ORNSYS_VISTREL_PARENT_PROCESS_ID:$EV_ORNSYS_VISTREL_PARENT_PROCESS_NAME > " +
          out.string() + "\"",
      {});
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(platform::WaitForObject(child.get(), 10000), platform::kWaitObject0);
  std::ifstream in(out);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, id + ":" + name);
  std::filesystem::remove(out);
}

}  // namespace
}  // namespace app
