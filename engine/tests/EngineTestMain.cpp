// The engine tests run with an application object, so that windows and messages work; the
// test stacks they wrote are removed at the end.
#include <gtest/gtest.h>

#include "engine/tests/TestStacks.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  platform::SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  platform::Application app(argc, argv, false);
  ORN_engine::testing::StacksCleanup cleanup;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
