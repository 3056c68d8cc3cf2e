#include <gtest/gtest.h>

#include <QEventLoop>

#include <thread>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Process.h"
#include "platform/process/Thread.h"
#include "platform/process/tests/TestNames.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/PeerProtocol.h"
#include "platform/windows/tests/Pump.h"

namespace platform {
namespace {

using testing::OutProgram;
using testing::PumpUntil;
using testing::UniqueName;

struct Seen {
  uint32_t message;
  WParam wParam;
  LParam lParam;
};

// A window of the test that records what reaches it.
class Recorder {
 public:
  explicit Recorder(const std::string& title = {})
      : window_([this](uint32_t m, WParam w, LParam l) { return Handle(m, w, l); }, title) {}
  WindowHandle handle() const { return window_.Handle(); }
  std::vector<Seen> seen;
  std::function<LResult(uint32_t, WParam, LParam)> answer;

 private:
  LResult Handle(uint32_t m, WParam w, LParam l) {
    seen.push_back({m, w, l});
    return answer ? answer(m, w, l) : 0;
  }
  Window window_;
};

bool Got(const Recorder& r, uint32_t message) {
  for (const auto& s : r.seen)
    if (s.message == message) return true;
  return false;
}

TEST(WindowHandle, IsPointerSizedPositiveAndDiesWithTheWindow) {
  static_assert(sizeof(WindowHandle) == sizeof(void*));
  WindowHandle h;
  {
    Recorder a, b;
    h = a.handle();
    EXPECT_GT(h, 1);
    EXPECT_NE(a.handle(), b.handle());
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(WindowProcessId(h), CurrentProcessId());
  }
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(WindowProcessId(h), 0u);
  const WindowHandle bad[] = {0, 1, -1, h};
  for (const WindowHandle w : bad) {
    SetLastError(0);
    EXPECT_FALSE(PostMessage(w, kWmApp, 0, 0)) << w;
    EXPECT_EQ(GetLastError(), err::InvalidWindowHandle) << w;
    SetLastError(0);
    EXPECT_EQ(SendMessage(w, kWmApp, 0, 0), 0) << w;
    EXPECT_EQ(GetLastError(), err::InvalidWindowHandle) << w;
  }
}

TEST(LocalMessages, PostedInOrderSentAtOnceCopyDataNotPostable) {
  Recorder r;
  r.answer = [](uint32_t m, WParam w, LParam) -> LResult { return m == kWmApp + 9 ? LResult(w * 2) : 0; };
  for (WParam i = 0; i < 5; ++i) ASSERT_TRUE(PostMessage(r.handle(), kWmApp + 1, i, -LParam(i)));
  EXPECT_EQ(SendMessage(r.handle(), kWmApp + 9, 21, 0), 42);
  ASSERT_EQ(r.seen.size(), 1u);  // the send ran first, the posts wait for the loop
  ProcessMessages();
  ASSERT_EQ(r.seen.size(), 6u);
  for (WParam i = 0; i < 5; ++i) {
    EXPECT_EQ(r.seen[i + 1].wParam, i);
    EXPECT_EQ(r.seen[i + 1].lParam, -LParam(i));
  }
  CopyDataStruct cds{1, 0, nullptr};
  EXPECT_FALSE(PostMessage(r.handle(), kWmCopyData, 0, reinterpret_cast<LParam>(&cds)));
}

TEST(LocalMessages, OtherThreadsPostAndSendToTheGuiThread) {
  Recorder r;
  const uint32_t gui = CurrentThreadId();
  uint32_t ranOn = 0;
  r.answer = [&](uint32_t, WParam w, LParam) -> LResult {
    ranOn = CurrentThreadId();
    return LResult(w + 1);
  };
  LResult sent = 0;
  std::thread t([&] {
    PostMessage(r.handle(), kWmApp + 1, 5, 0);
    sent = SendMessage(r.handle(), kWmApp + 2, 9, 0);
  });
  ASSERT_TRUE(PumpUntil([&] { return r.seen.size() == 2; }));
  t.join();
  EXPECT_EQ(sent, 10);
  EXPECT_EQ(ranOn, gui);
  EXPECT_EQ(r.seen[0].message, kWmApp + 1u);  // the post came first
}

TEST(Timers, FireWithPointerSizedIdsAlsoInsideAModalLoop) {
  const std::uintptr_t id = std::uintptr_t(0x12345678ABCDull);
  Recorder r;
  int ticks = 0;
  QEventLoop modal;
  r.answer = [&](uint32_t m, WParam w, LParam) -> LResult {
    if (m == kWmTimer && w == id && ++ticks == 3) modal.quit();
    if (m == kWmApp) modal.exec();  // a modal loop inside a message handler
    return 0;
  };
  ASSERT_EQ(SetTimer(r.handle(), id, 10), id);
  EXPECT_EQ(SetTimer(0, 1, 10), 0u);
  PostMessage(r.handle(), kWmApp, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_TRUE(KillTimer(r.handle(), id));
  EXPECT_FALSE(KillTimer(r.handle(), id));
  const int after = ticks;
  ProcessMessages();
  EXPECT_EQ(ticks, after);
}

// A peer process with a window; the fixture waits until it reports ready.
class Peer : public ::testing::Test {
 protected:
  void SetUp() override {
    title_ = UniqueName("peer");
    const std::string line = QuoteArgument(OutProgram("window_peer")) + " " + title_ + " " +
                             std::to_string(me_.handle());
    process_ = Process::Start(line, {});
    ASSERT_TRUE(process_);
    ASSERT_TRUE(PumpUntil([&] { return Got(me_, peer::kReady); }));
    peer_ = static_cast<WindowHandle>(me_.seen.back().wParam);
    me_.seen.clear();
  }
  void TearDown() override {
    if (process_ && process_->ExitCode() == kStillActive) {
      PostMessage(peer_, peer::kQuit, 0, 0);
      if (WaitForObject(process_.get(), 20000) != kWaitObject0) process_->Terminate(1);
    }
  }
  Recorder me_;
  std::string title_;
  std::unique_ptr<Process> process_;
  WindowHandle peer_ = 0;
};

TEST_F(Peer, FindWindowByTitleAcrossProcesses) {
  EXPECT_EQ(FindWindow(title_), peer_);
  std::string upper = title_;
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(FindWindow(upper), peer_);
  EXPECT_EQ(FindWindow(title_ + "x"), 0);
  EXPECT_TRUE(IsWindow(peer_));
  EXPECT_EQ(WindowProcessId(peer_), process_->Id());
  Recorder named(UniqueName("local"));
  EXPECT_NE(FindWindow(UniqueName("nobody")), named.handle());

  ASSERT_TRUE(PostMessage(peer_, peer::kQuit, 0, 0));
  ASSERT_EQ(WaitForObject(process_.get(), 20000), kWaitObject0);
  EXPECT_EQ(FindWindow(title_), 0);
  EXPECT_FALSE(IsWindow(peer_));
  SetLastError(0);
  EXPECT_FALSE(PostMessage(peer_, kWmApp, 0, 0));
  EXPECT_EQ(GetLastError(), err::InvalidWindowHandle);
  EXPECT_EQ(SendMessage(peer_, peer::kEcho, 1, 2), 0);
  EXPECT_EQ(GetLastError(), err::InvalidWindowHandle);
}

TEST_F(Peer, SendAndPostBothWays) {
  EXPECT_EQ(SendMessage(peer_, peer::kEcho, 40, 2), 42);
  EXPECT_EQ(SendMessage(peer_, peer::kEcho, 0, -7), -7);
  ASSERT_TRUE(PostMessage(peer_, peer::kPostBack, 11, -12));
  ASSERT_TRUE(PumpUntil([&] { return Got(me_, peer::kPosted); }));
  EXPECT_EQ(me_.seen.back().wParam, 11u);
  EXPECT_EQ(me_.seen.back().lParam, -12);

  // Posts of one sender arrive in order.
  me_.seen.clear();
  ASSERT_TRUE(PostMessage(peer_, peer::kBurst, 500, 0));
  ASSERT_TRUE(PumpUntil([&] { return me_.seen.size() == 500; }));
  for (size_t i = 0; i < 500; ++i) ASSERT_EQ(me_.seen[i].wParam, i);
}

TEST_F(Peer, FloodsOfPostsBothWaysDoNotDeadlock) {
  // Each side posts more than a socket holds while the other does the same.
  const WParam count = 20000;
  ASSERT_TRUE(PostMessage(peer_, peer::kBurst, count, 0));
  for (WParam i = 0; i < count; ++i) ASSERT_TRUE(PostMessage(peer_, peer::kEcho, i, 0));
  ASSERT_TRUE(PumpUntil([&] { return me_.seen.size() == count; }));
  EXPECT_EQ(me_.seen.back().wParam, count - 1);
  EXPECT_EQ(SendMessage(peer_, peer::kEcho, 1, 1), 2);  // and the peer still answers
}

TEST_F(Peer, SendIsReentrantWhileWaiting) {
  me_.answer = [](uint32_t m, WParam w, LParam) -> LResult { return m == peer::kAsk ? LResult(w * 10) : 0; };
  // The peer sends kAsk back to us while we wait for it; we serve it and it adds 1.
  EXPECT_EQ(SendMessage(peer_, peer::kSendBack, 4, 0), 41);
  ASSERT_EQ(me_.seen.size(), 1u);
  EXPECT_EQ(me_.seen[0].message, peer::kAsk);
}

TEST_F(Peer, CopyDataCopiesSmallAndLargeRecords) {
  for (const uint32_t size : {0u, 1u, 1000u, 32u * 1024u, 32u * 1024u + 1u, 8u * 1024u * 1024u}) {
    std::vector<uint8_t> data(size);
    for (uint32_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 251);
    CopyDataStruct cds{0x805E, size, data.data()};
    const LResult sum = SendMessage(peer_, kWmCopyData, me_.handle(), reinterpret_cast<LParam>(&cds));
    EXPECT_EQ(static_cast<uint32_t>(sum), peer::Checksum(data.data(), size)) << size;
  }
  // The peer sends the record back reversed while we wait; we get our own copy.
  std::vector<uint8_t> received;
  uintptr_t tag = 0;
  me_.answer = [&](uint32_t m, WParam, LParam l) -> LResult {
    if (m != kWmCopyData) return 0;
    const auto* cds = reinterpret_cast<const CopyDataStruct*>(l);
    tag = cds->dwData;
    const auto* p = static_cast<const uint8_t*>(cds->lpData);
    received.assign(p, p + cds->cbData);
    return 1;
  };
  std::vector<uint8_t> data(3 * 1024 * 1024 + 5);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i % 253);
  CopyDataStruct cds{peer::kCopyEcho, static_cast<uint32_t>(data.size()), data.data()};
  SendMessage(peer_, kWmCopyData, me_.handle(), reinterpret_cast<LParam>(&cds));
  EXPECT_EQ(tag, peer::kCopyEcho);
  std::reverse(data.begin(), data.end());
  EXPECT_TRUE(received == data);
}

TEST_F(Peer, SenderWaitEndsWhenThePeerDies) {
  SetLastError(0);
  EXPECT_EQ(SendMessage(peer_, peer::kDieNow, 0, 0), 0);
  EXPECT_EQ(GetLastError(), err::InvalidWindowHandle);
  ASSERT_EQ(WaitForObject(process_.get(), 20000), kWaitObject0);
  EXPECT_EQ(process_->ExitCode(), 3u);
}

TEST_F(Peer, AnotherThreadSendsToThePeer) {
  LResult r = 0;
  auto t = Thread::Create([&] { return static_cast<uint32_t>(r = SendMessage(peer_, peer::kEcho, 2, 3)); }, false);
  ASSERT_EQ(WaitForObject(t.get(), 20000), kWaitObject0);
  EXPECT_EQ(r, 5);
}

}  // namespace
}  // namespace platform
