// The browser tests run with an application object, so that windows, timers and messages work.
#include <gtest/gtest.h>

#include "platform/process/Process.h"
#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  platform::SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  platform::Application app(argc, argv, true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
