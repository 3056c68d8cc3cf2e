// The study-status control: reading the host's definitions and study statuses, the next
// manual status, the opening and closing rules, the button and the drop-down menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/widgets/StudyStatusControl.h"
#include "app/widgets/tests/FakeResources.h"
#include "app/widgets/tests/IconFile.h"

namespace app {
namespace {

namespace fs = std::filesystem;

std::wstring Definition(const std::wstring& id, const std::wstring& name, bool manual = true,
                        const std::wstring& icon = L"") {
  std::wstring xml = L"<Status StatusID=\"" + id + L"\" StatusName=\"" + name + L"\" DisplayName=\"Show " + name +
                     L"\" Manual=\"" + (manual ? L"true" : L"false") + L"\"";
  if (!icon.empty()) xml += L" IconFileName=\"" + icon + L"\"";
  return xml + L"/>";
}

std::wstring Definitions(const std::vector<std::wstring>& items) {
  std::wstring xml = L"<Statuses>";
  for (const auto& item : items) xml += item;
  return xml + L"</Statuses>";
}

std::wstring States(const std::vector<std::pair<std::string, int>>& studies) {
  std::wstring xml = L"<Studies>";
  for (const auto& [uid, id] : studies)
    xml += L"<Study StudyUID=\"" + std::wstring(uid.begin(), uid.end()) + L"\" StatusID=\"" + std::to_wstring(id) +
           L"\"/>";
  return xml + L"</Studies>";
}

// The owner as the main window is: a notified status goes to the current study; a closing
// status to the study it names.
struct Owner {
  static void Apply(void* data, int status) {
    auto* self = static_cast<Owner*>(data);
    self->applied.push_back(status);
    self->control->SetStudyStatus(self->current, status);
  }
  static void ApplyOnClose(void* data, const std::string& uid, int status) {
    static_cast<Owner*>(data)->closed.emplace_back(uid, status);
  }
  explicit Owner(TStudyStatusControl* c) : control(c) {
    c->notification = &Apply;
    c->notificationData = this;
    c->closeNotification = &ApplyOnClose;
    c->closeNotificationData = this;
  }
  TStudyStatusControl* control;
  std::string current;
  std::vector<int> applied;
  std::vector<std::pair<std::string, int>> closed;
};

class StudyStatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("status_icons_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::wstring Folder() const { return folder_.wstring(); }
  fs::path folder_;
};

TEST_F(StudyStatusTest, InvalidIdentifiersAllEndUnderMinusOneLastWins) {
  TStudyStatusControl control;
  ASSERT_TRUE(control.LoadStatuses(
      Definitions({Definition(L"0", L"zero"), Definition(L"18", L"eighteen"), Definition(L"-5", L"minus"),
                   Definition(L"17", L"top"), Definition(L"x", L"text")}),
      L""));
  ASSERT_NE(control.Definition(-1), nullptr);
  EXPECT_EQ(control.Definition(-1)->GetStatusName(), L"text");
  EXPECT_NE(control.Definition(17), nullptr);
  EXPECT_EQ(control.NextManualStatus(-1), 17);  // -1 is never a next status
}

TEST_F(StudyStatusTest, UnreadableDefinitionsKeepWhatWasLoaded) {
  TStudyStatusControl control;
  EXPECT_FALSE(control.LoadStatuses(L"", L""));
  EXPECT_FALSE(control.LoadStatuses(L"<Statuses><broken></Statuses>", L""));
  EXPECT_FALSE(control.LoadStatuses(L"<Statuses/>", L""));
  ASSERT_TRUE(control.LoadStatuses(Definitions({Definition(L"2", L"a")}), L""));
  EXPECT_EQ(control.Popup().GetItemCount(), 1);
  EXPECT_TRUE(control.LoadStatuses(L"not xml", L""));
  EXPECT_EQ(control.Popup().GetItemCount(), 1);  // the menu stays as it was, no status twice
}

TEST_F(StudyStatusTest, EmptySettingsMatchAnEmptyStatusName) {
  TStudyStatusControl control;
  test::FakeResources none;
  control.ReadOpenCloseStatus(&none);
  control.LoadStatuses(Definitions({Definition(L"3", L"named"), L"<Status StatusID=\"5\"/>"}), L"");
  EXPECT_EQ(control.GetStatusOnOpen(), 5);
  EXPECT_EQ(control.GetStatusOnClose(), 5);
}

TEST_F(StudyStatusTest, NextManualStatusSkipsTheOthers) {
  TStudyStatusControl control;
  control.LoadStatuses(Definitions({Definition(L"2", L"two"), Definition(L"5", L"five"),
                                    Definition(L"6", L"six", false), Definition(L"8", L"eight")}),
                       L"");
  const std::pair<int, int> cases[] = {{-1, 2}, {1, 2}, {2, 5}, {3, 5}, {4, 5}, {5, 8},
                                       {6, 8},  {7, 8}, {8, -1}, {12, -1}, {17, -1}};
  for (const auto& [from, next] : cases) EXPECT_EQ(control.NextManualStatus(from), next) << from;
  // The non-manual status has no menu item.
  EXPECT_EQ(control.Popup().GetItemCount(), 3);
}

TEST_F(StudyStatusTest, TheButtonAppliesTheNextStatusOnlyWhenThereIsOne) {
  // The menu outlives the control, whose popup owns the items in it.
  TTntPopupMenu menu(nullptr);
  menu.OwnerDraw = true;
  TToolButton button(nullptr);
  button.DropdownMenu = &menu;
  TStudyStatusControl control;
  Owner owner(&control);
  control.LoadStatuses(Definitions({Definition(L"2", L"two"), Definition(L"5", L"five")}), L"");
  control.LoadStudyStates(States({{"1.2.3", 2}}));
  int earlier = 0;
  button.OnClick = [&](TObject*) { ++earlier; };
  ASSERT_FALSE(control.AttachButton(nullptr));
  ASSERT_TRUE(control.AttachButton(&button));
  EXPECT_EQ(menu.Items()->Count(), 2);
  owner.current = "1.2.3";
  ASSERT_TRUE(control.SelectStudy("1.2.3"));
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(control.GetHint(), L"Show five");
  EXPECT_TRUE(menu.Items()->Items(0)->Checked());

  button.Click();
  EXPECT_EQ(owner.applied, std::vector<int>{5});
  EXPECT_EQ(control.GetStudyStatus("1.2.3"), 5);
  EXPECT_EQ(earlier, 1);
  EXPECT_FALSE(button.Enabled());
  EXPECT_TRUE(menu.Items()->Items(1)->Checked());
  EXPECT_EQ(control.GetHint(), L"");

  // At -1 a click neither applies anything nor reaches the earlier handler.
  control.OnButtonClick(&button);
  EXPECT_EQ(owner.applied.size(), 1u);
  EXPECT_EQ(earlier, 1);

  // The menu applies the chosen item's status.
  menu.Items()->Items(0)->Click();
  EXPECT_EQ(owner.applied, (std::vector<int>{5, 2}));
  EXPECT_EQ(control.GetStudyStatus("1.2.3"), 2);
  EXPECT_TRUE(button.Enabled());
}

TEST_F(StudyStatusTest, IconFolderGetsOneSeparator) {
  const struct {
    std::wstring folder, expected;
  } cases[] = {
      {L"/icons", L"/icons/a.ico"},
      {L"/icons/", L"/icons/a.ico"},
      {L"", L"a.ico"},
  };
  for (const auto& c : cases) {
    TStudyStatusControl control;
    control.LoadStatuses(Definitions({Definition(L"2", L"two", true, L"a.ico")}), c.folder);
    control.LoadStudyStates(States({{"1", 2}}));
    EXPECT_EQ(control.GetStudyStatusIconFileName("1"), c.expected) << c.folder;
  }
}

TEST_F(StudyStatusTest, DefaultRulesOpenFourAsSixAndCloseUnchangedSixAsFour) {
  TStudyStatusControl control;
  Owner owner(&control);
  control.LoadStatuses(Definitions({Definition(L"4", L"four"), Definition(L"6", L"six"), Definition(L"7", L"seven")}),
                       L"");
  control.LoadStudyStates(States({{"1.1", 4}, {"1.2", 4}, {"1.3", 6}, {"1.4", 6}}));
  for (const char* uid : {"1.1", "1.2"}) {
    owner.current = uid;
    ASSERT_TRUE(control.SelectStudy(uid));
    EXPECT_EQ(control.GetStudyStatus(uid), 6);
    EXPECT_TRUE(control.IsStudyOpened(uid));
  }
  EXPECT_EQ(owner.applied, (std::vector<int>{6, 6}));
  // The user moves study 1.2 on; 1.3 is opened as it is; 1.4 is never opened.
  owner.current = "1.2";
  control.Popup().Item(2)->Click();
  EXPECT_EQ(control.GetStudyStatus("1.2"), 7);
  owner.current = "1.3";
  control.SelectStudy("1.3");
  EXPECT_EQ(owner.applied.size(), 3u);

  control.ApplyStatusOnClose();
  EXPECT_EQ(owner.closed, (std::vector<std::pair<std::string, int>>{{"1.1", 4}, {"1.3", 4}}));
  EXPECT_EQ(control.GetStudyStatus("1.1"), 4);
  EXPECT_EQ(control.GetStudyStatus("1.2"), 7);
  EXPECT_EQ(control.GetStudyStatus("1.4"), 6);
}

TEST_F(StudyStatusTest, ConfiguredRulesRaiseToTheOpeningAndClosingStatus) {
  TStudyStatusControl control;
  Owner owner(&control);
  test::FakeResources settings;
  settings.studyStatus = {{L"StatusOnOpen", L"three"}, {L"StatusOnClose", L"nine"}};
  control.ReadOpenCloseStatus(&settings);
  control.LoadStatuses(Definitions({Definition(L"1", L"one"), Definition(L"3", L"three"), Definition(L"5", L"five"),
                                    Definition(L"9", L"nine"), Definition(L"10", L"ten")}),
                       L"");
  ASSERT_EQ(control.GetStatusOnOpen(), 3);
  ASSERT_EQ(control.GetStatusOnClose(), 9);
  control.LoadStudyStates(States({{"a", 1}, {"b", 5}, {"c", 10}, {"d", 1}}));
  owner.current = "a";
  control.SelectStudy("a");
  EXPECT_EQ(control.GetStudyStatus("a"), 3);
  owner.current = "b";
  control.SelectStudy("b");
  EXPECT_EQ(control.GetStudyStatus("b"), 5);
  EXPECT_TRUE(control.IsStudyOpened("b"));
  EXPECT_TRUE(control.Popup().Item(2)->Checked());
  owner.current = "c";
  control.SelectStudy("c");
  EXPECT_EQ(owner.applied, std::vector<int>{3});

  control.ApplyStatusOnClose();
  EXPECT_EQ(owner.closed, (std::vector<std::pair<std::string, int>>{{"a", 9}, {"b", 9}}));
  EXPECT_EQ(control.GetStudyStatus("c"), 10);
  EXPECT_EQ(control.GetStudyStatus("d"), 1);  // never opened
}

TEST_F(StudyStatusTest, UnknownStudiesChangeNothing) {
  TStudyStatusControl control;
  Owner owner(&control);
  control.LoadStatuses(Definitions({Definition(L"2", L"two"), Definition(L"5", L"five")}), L"");
  EXPECT_FALSE(control.LoadStudyStates(L""));
  ASSERT_TRUE(control.LoadStudyStates(
      L"<S><Study StudyUID=\"1\" StatusID=\"2\"/><Study StudyUID=\"\" StatusID=\"2\"/>"
      L"<Study StudyUID=\"3\" StatusID=\"40\"/></S>"));
  owner.current = "1";
  control.SelectStudy("1");
  const int next = control.GetNextStatus();
  for (const char* uid : {"", "3", "9.9"}) {
    EXPECT_FALSE(control.SelectStudy(uid)) << uid;
    EXPECT_EQ(control.GetStudyStatus(uid), -1) << uid;
    EXPECT_EQ(control.GetStudyStatusText(uid), L"") << uid;
    TBitmap bitmap;
    EXPECT_FALSE(control.GetStudyStatusIcon(uid, &bitmap, "normal")) << uid;
    control.SetStudyStatus(uid, 5);
  }
  EXPECT_EQ(control.GetNextStatus(), next);
  EXPECT_TRUE(control.Popup().Item(0)->Checked());
  EXPECT_TRUE(owner.applied.empty());
}

TEST_F(StudyStatusTest, IconsGivePicturesPerStateAndAMissingOneLeavesNoItem) {
  test::WriteIcon((folder_ / "green.ico").string(), 16, 0x00C000);
  TStudyStatusControl control;
  control.LoadStatuses(Definitions({Definition(L"2", L"plain"), Definition(L"3", L"icon", true, L"green.ico"),
                                    Definition(L"4", L"auto", false, L"green.ico"),
                                    Definition(L"5", L"lost", true, L"missing.ico")}),
                       Folder());
  control.LoadStudyStates(States({{"p", 2}, {"i", 3}, {"a", 4}, {"l", 5}}));
  EXPECT_EQ(control.Popup().GetItemCount(), 2);  // plain and icon; the lost one has no item
  TBitmap bitmap;
  EXPECT_FALSE(control.GetStudyStatusIcon("p", &bitmap, "normal"));
  EXPECT_FALSE(control.GetStudyStatusIcon("l", &bitmap, "normal"));
  EXPECT_EQ(control.GetStudyStatusText("l"), L"Show lost");  // still in the table
  ASSERT_TRUE(control.GetStudyStatusIcon("a", &bitmap, "normal"));
  EXPECT_EQ(bitmap.Width(), 16);
  EXPECT_EQ(bitmap.Canvas()->Pixel(8, 8) & 0xFFFFFF, 0x00C000);
  ASSERT_TRUE(control.GetStudyStatusIcon("i", &bitmap, "disabled"));
  const int grey = static_cast<int>(0.59 * 0xC0);
  EXPECT_EQ(bitmap.Canvas()->Pixel(8, 8) & 0xFFFFFF, grey | grey << 8 | grey << 16);
  EXPECT_FALSE(control.GetStudyStatusIcon("i", &bitmap, "hotchecked"));
}

TEST_F(StudyStatusTest, StatusNamesNeedNotBeIdentifiersNorUnique) {
  test::WriteIcon((folder_ / "s.ico").string(), 16, 0x0000C0);
  TStudyStatusControl control;
  control.LoadStatuses(Definitions({Definition(L"1", L"In Review", true, L"s.ico"), Definition(L"2", L"In Review"),
                                    Definition(L"3", L"2nd-read", true, L"s.ico"), Definition(L"4", L""),
                                    Definition(L"5", L"Same"), Definition(L"6", L"Same")}),
                       Folder());
  ASSERT_EQ(control.Popup().GetItemCount(), 6);
  std::set<std::string> names;
  for (int i = 0; i < 6; ++i) {
    names.insert(control.Popup().Item(i)->Name());
    EXPECT_EQ(control.Popup().Item(i)->Tag, i + 1);
  }
  EXPECT_EQ(names.size(), 6u);
  EXPECT_EQ(control.Popup().Item(0)->Caption(), L"Show In Review");
  EXPECT_EQ(control.Popup().Item(5)->Caption(), L"Show Same");
}

}  // namespace
}  // namespace app
