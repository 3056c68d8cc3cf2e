// The message list: ids, selection after removal, the rows in the modal window, deleting a
// row there, the keys that close it, and other threads while it is up.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/widgets/MessageList.h"

namespace app {
namespace {

TEST(MessageListTest, RemovingTheSelectedMessageSelectsTheNextId) {
  const struct {
    const char* what;
    int select;  // index of the added ids
    int remove;
    int selectedAfter;  // index, -1 for none
  } cases[] = {
      {"selected first: the next", 0, 0, 1},
      {"selected middle: the next", 1, 1, 2},
      {"selected last: none", 2, 2, -1},
      {"another one removed: the selection stays", 0, 2, 0},
  };
  for (const auto& c : cases) {
    TMessageManager list;
    const int ids[] = {list.AddMessage(), list.AddMessage(), list.AddMessage()};
    list.Select(ids[c.select]);
    list.RemoveMessage(ids[c.remove]);
    EXPECT_EQ(list.GetSelectedId(), c.selectedAfter == -1 ? -1 : ids[c.selectedAfter]) << c.what;
    EXPECT_EQ(list.GetCount(), 2) << c.what;
  }
}

TEST(MessageListTest, TextsTimesAndUnknownIds) {
  TMessageManager list;
  const int id = list.AddMessage();
  EXPECT_EQ(list.GetMessageText(id), L"New message");
  EXPECT_EQ(list.GetMessageTime(id).size(), 8u);  // hh:mm:ss
  list.SetMessageText(id, L"Study arrived");
  EXPECT_EQ(list.GetMessageText(id), L"Study arrived");
  list.SetMessageText(id + 100, L"x");
  EXPECT_EQ(list.GetMessageText(id + 100), L"");
  EXPECT_EQ(list.GetMessageTime(id + 100), L"");
  list.RemoveSelected();  // nothing selected: nothing happens
  EXPECT_EQ(list.GetCount(), 1);
  list.Select(id + 100);
  EXPECT_EQ(list.GetSelectedId(), -1);
  list.Select(id);
  list.RemoveSelected();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetSelectedId(), -1);
}

TEST(MessageListTest, IdsOfASecondListContinueTheFirst) {
  int last;
  {
    TMessageManager first;
    first.AddMessage();
    last = first.AddMessage();
  }
  TMessageManager second;
  EXPECT_EQ(second.AddMessage(), last + 1);
}

// Runs `script` from inside the modal loop of the list's window.
void WhileShown(TMessageManager& list, std::function<void(TfmMessageManager*)> script) {
  TTimer timer(nullptr);
  timer.SetEnabled(false);
  timer.SetInterval(10);
  TfmMessageManager* window = nullptr;
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    script(window);
  };
  list.OnWindowShown = [&](TfmMessageManager* w) {
    window = w;
    timer.SetEnabled(true);
  };
  list.ShowMessages();
}

TEST(MessageListTest, TheWindowStacksRowsAndTakesThemBackWhenClosed) {
  TMessageManager list;
  const int first = list.AddMessage();
  list.AddMessage();
  std::vector<TfrmMessageFrame*> rows;
  bool ran = false;
  WhileShown(list, [&](TfmMessageManager* window) {
    ran = true;
    // Rows stack in the order of arrival; three added now go to the bottom at once.
    for (int i = 0; i < 3; ++i) list.AddMessage();
    TScrollBox* box = window->scrListBox;
    ASSERT_EQ(box->ControlCount(), 5);
    for (int i = 0; i < 5; ++i) {
      auto* row = static_cast<TfrmMessageFrame*>(box->Controls(i));
      rows.push_back(row);
      EXPECT_EQ(row->Top(), 28 * i) << i;
      EXPECT_TRUE(row->Visible());
    }
    // Deleting the second row removes its message; the others keep their order, closing up.
    rows[1]->spbDeleteClick(rows[1]->spbDelete);
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_FALSE(rows[1]->Visible());
    EXPECT_EQ(rows[1]->Parent(), box);  // it goes with the window
    const int tops[] = {0, -1, 28, 56, 84};
    for (int i : {0, 2, 3, 4}) EXPECT_EQ(rows[i]->Top(), tops[i]) << i;
    // A click on a row selects its message.
    rows[0]->FrameClick(rows[0]->lblMessage);
    EXPECT_EQ(list.GetSelectedId(), first);
    bool handled = false;
    window->aeMessagesShortCut('A', 0, handled);
    EXPECT_FALSE(handled);
    window->aeMessagesShortCut(13, 0, handled);
    EXPECT_TRUE(handled);
  });
  ASSERT_TRUE(ran);
  EXPECT_EQ(list.Window(), nullptr);
  EXPECT_EQ(list.GetCount(), 4);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i != 1) {
      EXPECT_EQ(rows[i]->Parent(), nullptr) << i;
    }
  }
}

TEST(MessageListTest, EscapeClosesTheWindow) {
  TMessageManager list;
  list.AddMessage();
  bool ran = false;
  WhileShown(list, [&](TfmMessageManager* window) {
    ran = true;
    EXPECT_TRUE(window->aeMessages->ShortCut(27, 0));
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(list.Window(), nullptr);
}

TEST(MessageListTest, OtherThreadsAreNotBlockedWhileTheWindowIsUp) {
  TMessageManager list;
  const int id = list.AddMessage();
  std::atomic<bool> done{false};
  std::wstring seen;
  std::thread reader;
  WhileShown(list, [&](TfmMessageManager* window) {
    reader = std::thread([&] {
      seen = list.GetMessageText(id);
      done = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(done) << "the reader waited for the window";
    window->SetModalResult(mrOk);
  });
  reader.join();
  EXPECT_EQ(seen, L"New message");
}

TEST(MessageListTest, ASecondShowWhileOpenDoesNothing) {
  TMessageManager list;
  list.AddMessage();
  int shown = 0;
  WhileShown(list, [&](TfmMessageManager* window) {
    TfmMessageManager* before = list.Window();
    list.OnWindowShown = [&](TfmMessageManager*) { ++shown; };
    list.ShowMessages();
    EXPECT_EQ(list.Window(), before);
    window->SetModalResult(mrOk);
  });
  EXPECT_EQ(shown, 0);
}

}  // namespace
}  // namespace app
