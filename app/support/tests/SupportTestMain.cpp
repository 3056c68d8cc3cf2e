// The support tests run with the program's application object on the offscreen platform.
#include <gtest/gtest.h>


#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
