// The test main of every GUI test program of app/: the program's application object, on the
// offscreen platform unless the environment names another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::vector<char*> args(argv, argv + argc);
  char platformOption[] = "-platform";
  char offscreen[] = "offscreen";
  if (!std::getenv("QT_QPA_PLATFORM")) {
    args.push_back(platformOption);
    args.push_back(offscreen);
  }
  args.push_back(nullptr);
  int count = static_cast<int>(args.size()) - 1;
  platform::Application app(count, args.data(), true);
  return RUN_ALL_TESTS();
}
