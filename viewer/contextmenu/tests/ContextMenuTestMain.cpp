// The context-menu tests run real widgets on the offscreen platform with an application object.
#include <gtest/gtest.h>

#include "platform/process/Process.h"
#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  platform::SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  platform::Application app(argc, argv, true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
