// The proxy tests run with an application object, so that windows and posted messages work.
#include <gtest/gtest.h>

#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
