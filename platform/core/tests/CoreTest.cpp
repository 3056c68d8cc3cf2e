#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "platform/core/Clock.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"

namespace platform {
namespace {

TEST(LastError, IsPerThread) {
  SetLastError(err::AccessDenied);
  uint32_t seenByOther = 12345;
  std::thread([&] { seenByOther = GetLastError(); }).join();
  EXPECT_EQ(seenByOther, err::Success);
  EXPECT_EQ(GetLastError(), err::AccessDenied);
}

TEST(LastError, MapsErrnoToWin32Codes) {
  const struct { int e; uint32_t code; } cases[] = {
      {0, err::Success},          {ENOENT, err::FileNotFound},  {ENOTDIR, err::PathNotFound},
      {EACCES, err::AccessDenied}, {EEXIST, err::FileExists},     {ENOSPC, err::DiskFull},
      {ENOMEM, err::NotEnoughMemory}, {EBADF, err::InvalidHandle}, {EXDEV, err::NotSameDevice},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorFromErrno(c.e), c.code) << c.e;
}

TEST(SystemMessage, GivesWin32TextsWithLineEnd) {
  EXPECT_EQ(SystemMessage(0), "The operation completed successfully.\r\n");
  EXPECT_EQ(SystemMessage(2), "The system cannot find the file specified.\r\n");
  EXPECT_EQ(SystemMessage(38), "Reached the end of the file.\r\n");
  EXPECT_EQ(SystemMessage(424242), "");
}

TEST(FakeClock, SleepAdvancesTimeWithoutWaiting) {
  testing::FakeClock clock(5000);
  EXPECT_EQ(TickCount(), 5000u);
  Sleep(30000);
  Sleep(1);
  EXPECT_EQ(TickCount(), 35001u);
  EXPECT_EQ(clock.SleepCalls(), 2u);
  EXPECT_EQ(clock.SleptMilliseconds(), 30001u);
}

TEST(Clock, RealTickCountMovesWithSleep) {
  const uint32_t before = TickCount();
  Sleep(20);
  EXPECT_GE(static_cast<uint32_t>(TickCount() - before), 20u);
}

}  // namespace
}  // namespace platform
