#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/core/LastError.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Event.h"
#include "platform/process/NamedFileMapping.h"
#include "platform/process/NamedObjects.h"
#include "platform/process/Process.h"
#include "platform/process/tests/TestNames.h"

namespace platform {
namespace {

using testing::OutProgram;
using testing::UniqueName;

std::string Helper() { return QuoteArgument(OutProgram("process_helper")); }

TEST(NamedFileMapping, HasExactlyTheAskedLengthZeroFilled) {
  const std::string name = UniqueName("map");
  auto m = NamedFileMapping::Create(name, 5000);
  ASSERT_TRUE(m);
  EXPECT_EQ(GetLastError(), err::Success);
  EXPECT_EQ(m->Size(), 5000u);
  auto v = m->Map();
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Size(), 5000u);
  for (uint64_t i = 0; i < v->Size(); ++i) ASSERT_EQ(v->Data()[i], 0) << i;
  auto part = m->Map(4097, 10);
  ASSERT_TRUE(part);
  part->Data()[0] = 0x5A;
  EXPECT_EQ(v->Data()[4097], 0x5A);
  EXPECT_FALSE(m->Map(4990, 11));
  EXPECT_FALSE(m->Map(5000));
  EXPECT_FALSE(NamedFileMapping::Create(UniqueName("zero"), 0));
  EXPECT_EQ(GetLastError(), err::InvalidParameter);
}

TEST(NamedFileMapping, SecondCreateOpensTheExistingOne) {
  const std::string name = UniqueName("twice");
  auto a = NamedFileMapping::Create(name, 100);
  ASSERT_TRUE(a);
  auto b = NamedFileMapping::Create(name, 400);
  ASSERT_TRUE(b);
  EXPECT_EQ(GetLastError(), err::AlreadyExists);
  EXPECT_EQ(b->Size(), 100u);
  a->Map()->Data()[3] = 7;
  EXPECT_EQ(b->Map()->Data()[3], 7);
}

TEST(NamedFileMapping, AnotherProcessReadsAndWritesIt) {
  const std::string name = UniqueName("xmap");
  auto m = NamedFileMapping::Create(name, 1234);
  ASSERT_TRUE(m);
  auto v = m->Map();
  auto p = Process::Start(Helper() + " map-write " + name + " hello", {});
  ASSERT_TRUE(p);
  ASSERT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
  EXPECT_EQ(p->ExitCode(), 34u);  // the size the child saw, modulo 100
  EXPECT_EQ(std::memcmp(v->Data(), "hello", 5), 0);
}

TEST(NamedFileMapping, OutlivesTheCreatorsHandleWhileAnotherProcessHoldsIt) {
  const std::string name = UniqueName("outlive");
  const std::string held = UniqueName("held");
  auto heldEvent = Event::Create(true, false, held);
  auto m = NamedFileMapping::Create(name, 64);
  ASSERT_TRUE(m && heldEvent);
  std::memcpy(m->Map()->Data(), "kept", 4);
  auto holder = Process::Start(Helper() + " map-hold " + name + " " + held, {});
  ASSERT_TRUE(holder);
  ASSERT_EQ(WaitForObjects({heldEvent.get(), holder.get()}, 20000), kWaitObject0);
  m.reset();  // the creator lets go

  auto again = NamedFileMapping::Open(name);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Size(), 64u);
  EXPECT_EQ(std::memcmp(again->Map()->Data(), "kept", 4), 0);
  again.reset();

  holder->Terminate(0);
  ASSERT_EQ(WaitForObject(holder.get(), 20000), kWaitObject0);
  EXPECT_FALSE(NamedFileMapping::Open(name));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
}

TEST(NamedFileMapping, ViewKeepsItAliveAfterTheHandleCloses) {
  const std::string name = UniqueName("view");
  auto m = NamedFileMapping::Create(name, 10);
  auto v = m->Map();
  m.reset();
  auto again = NamedFileMapping::Open(name);
  ASSERT_TRUE(again);
  v.reset();
  again.reset();
  EXPECT_FALSE(NamedFileMapping::Open(name));
}

TEST(NamedFileMapping, StaleNameOfACrashedProcessDoesNotBlockANewOne) {
  const std::string name = UniqueName("stale");
  // What a crashed creator leaves: the file, with nobody holding it.
  const std::string path = named::PathOf("map", name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "old old old", 11), 11);
  ::close(fd);

  EXPECT_FALSE(NamedFileMapping::Open(name));
  auto m = NamedFileMapping::Create(name, 3);
  ASSERT_TRUE(m);
  EXPECT_EQ(GetLastError(), err::Success);
  EXPECT_EQ(m->Size(), 3u);
  auto v = m->Map();
  EXPECT_EQ(v->Data()[0], 0);

  // The same for an event left behind.
  const std::string ename = UniqueName("staleevent");
  ASSERT_EQ(::mkfifo(named::PathOf("event", ename).c_str(), 0700), 0);
  EXPECT_FALSE(Event::Open(ename));
  auto e = Event::Create(false, false, ename);
  ASSERT_TRUE(e);
  EXPECT_EQ(GetLastError(), err::Success);
  EXPECT_FALSE(e->IsManualReset());
}

TEST(NamedFileMapping, UnnamedMappingWorksAlone) {
  auto m = NamedFileMapping::Create("", 4096 * 3 + 1);
  ASSERT_TRUE(m);
  auto v = m->Map();
  v->Data()[4096 * 3] = 1;
  EXPECT_TRUE(v->Flush());
}

}  // namespace
}  // namespace platform
