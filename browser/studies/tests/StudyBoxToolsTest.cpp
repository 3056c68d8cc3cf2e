// The study box's tools with real widgets: the navigator's positions and auto-repeat, the
// wheel-navigation block, the lossy switch and its prompt, attachments, key images, status
// and the GUI settings from the pages.
#include <gtest/gtest.h>

#include "app/startup/tests/PagesRecord.h"
#include "app/startup/tests/StartupFiles.h"
#include "browser/studies/TFrameStudyBox.h"
#include "browser/studies/tests/FakeTiles.h"

namespace ORN_browser::test {
namespace {

class StudyBoxToolsTest : public ::testing::Test {
 protected:
  std::unique_ptr<TFrameStudyBox> MakeBox(std::vector<int> images, int lossyState = -1,
                                          std::vector<const char*> modalities = {}) {
    images_ = images;
    modalities_ = modalities;
    auto box = std::make_unique<TFrameStudyBox>(nullptr, lossyState, static_cast<int>(images.size()), 3, L"MR Head",
                                                &fake_.host);
    box->OnExpanded = [] {};
    box->OnCollapsed = [] {};
    box->OnGetStackInfo = [this](int key, int stack, STACK_INFO_INIT_STRUCT& info) {
      const char* modality = stack < static_cast<int>(modalities_.size()) ? modalities_[static_cast<size_t>(stack)] : "CT";
      info = Describe(key, stack, images_.at(static_cast<size_t>(stack)), modality);
      return true;
    };
    return box;
  }
  FakeTileSet& Set(int i = 0) { return *fake_.sets.at(static_cast<size_t>(i)); }
  // Shows tile `i` with its window on image `current`.
  void ShowTile(int i, int current) {
    Set().At(i)->shown = true;
    Set().At(i)->current = current;
  }

  FakeHost fake_;
  std::vector<int> images_;
  std::vector<const char*> modalities_;
};

TEST_F(StudyBoxToolsTest, NavigatorPositionsRunOverTheTilesInOrder) {
  auto box = MakeBox({3, 0, 2});
  box->Expand();
  struct Case {
    int index;
    bool found;
    int tile, image;
  };
  for (const Case& c : {Case{0, true, 0, 0}, Case{1, true, 0, 1}, Case{2, true, 0, 2}, Case{3, true, 2, 0},
                        Case{4, true, 2, 1}, Case{5, false, -7, -7}, Case{-1, false, -7, -7}}) {
    int tile = -7, image = -7;
    EXPECT_EQ(box->LocateNavigatorPosition(c.index, tile, image), c.found) << c.index;
    EXPECT_EQ(tile, c.tile) << c.index;
    EXPECT_EQ(image, c.image) << c.index;
  }
  // Moving the thumb shows the image: positions 4 and 5 are tile 2's images 0 and 1.
  box->TrackBarStadyNavigator->SetPosition(5);
  EXPECT_EQ(Set().At(2)->wentTo.back(), 1);
  EXPECT_EQ(Set().At(2)->shownCalls.back(), true);
  EXPECT_EQ(box->LastNavigatorStack(), 2);
  EXPECT_EQ(box->LastNavigatorImage(), 1);
  EXPECT_TRUE(Set().At(1)->wentTo.empty());
}

TEST_F(StudyBoxToolsTest, NavigatorPositionOfATileDependsOnItsWindowAndTheMode) {
  auto box = MakeBox({3, 6});
  box->Expand();
  FakeTile* second = Set().At(1);
  EXPECT_EQ(box->GetNavigatorPosition(second, 0), 4);  // no ready window yet
  EXPECT_EQ(box->GetNavigatorPosition(second, -1), 4);
  ShowTile(1, 1);
  EXPECT_EQ(box->GetNavigatorPosition(second, 0), 5);
  EXPECT_EQ(box->GetNavigatorPosition(second, 1), 4);
  EXPECT_EQ(box->GetNavigatorPosition(second, -1), 3 + 6);
  FakeTile stranger;
  EXPECT_EQ(box->GetNavigatorPosition(&stranger, 0), -1);
  EXPECT_EQ(box->GetNavigatorPosition(nullptr, 0), -1);
}

TEST_F(StudyBoxToolsTest, RepeatWrapsAroundInBothDirections) {
  auto box = MakeBox({2, 2});
  box->Expand();
  box->StartNavigatorForward();
  EXPECT_EQ(box->RepeatDirection(), 1);
  box->TrackBarStadyNavigator->SetPosition(4);
  box->OnTimer(box->RepeatTimerId());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 1);
  box->OnTimer(box->RepeatTimerId());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 2);

  // The back button during the forward walk turns it round at once.
  box->sbBack->Click();
  EXPECT_EQ(box->RepeatDirection(), -1);
  EXPECT_FALSE(box->sbForward->Down());
  box->TrackBarStadyNavigator->SetPosition(1);
  box->OnTimer(box->RepeatTimerId());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 4);
  // Pressing the down button again stops.
  box->sbBack->Click();
  EXPECT_EQ(box->RepeatDirection(), 0);
  box->OnTimer(box->RepeatTimerId());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 4);
}

TEST_F(StudyBoxToolsTest, MouseInAStackWindowPausesResumesAndStopsTheWalk) {
  auto box = MakeBox({3, 3});
  box->Expand();
  box->StartNavigatorForward();
  box->TrackBarStadyNavigator->SetPosition(2);
  Set().OnWorkAreaLeftDown(Set().At(1));
  EXPECT_TRUE(box->IsNavigatorBusy());
  box->OnTimer(box->RepeatTimerId());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 2);  // paused
  ShowTile(1, 2);
  Set().OnWorkAreaLeftUp(Set().At(1));
  EXPECT_FALSE(box->IsNavigatorBusy());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 6);  // the image the user chose
  box->OnTimer(box->RepeatTimerId());
  EXPECT_EQ(box->TrackBarStadyNavigator->Position(), 1);
  Set().OnWorkAreaRightDown(Set().At(1));
  EXPECT_EQ(box->RepeatDirection(), 0);
  EXPECT_FALSE(box->sbForward->Down());
}

TEST_F(StudyBoxToolsTest, WheelNavigationBlockByModality) {
  struct Case {
    const char* setting;
    const char* modality;
    bool allowed;
  };
  app::test::ScratchIni files("studybox_wheel");
  for (const Case& c : {Case{"CT;MG", "MG", false}, Case{"CT;MR", "MG", true}, Case{"mg", "MG", true},
                        Case{" MG ", "MG", false}, Case{"", "MG", true}, Case{"CT\\US.MG", "MG", false},
                        Case{"CT, MG :XA", "XA", false}, Case{"MG;", "MG", false}}) {
    files.WriteIni("[GUI_DEFAULTS]\n");
    files.WriteBaseIni(std::string("[GUI CONFIG]\nBlockWheelNavigationThroughStudy=") + c.setting + "\n");
    app::test::PagesRecord record({});
    record.Load(-1, files.Prefix());
    auto box = MakeBox({2, 2}, -1, {"US", c.modality});
    box->ApplyGuiSettings(&record);
    int next = 0, previous = 0;
    box->OnNextStack = [&] { ++next; };
    box->OnPreviousStack = [&] { ++previous; };
    box->Expand();
    EXPECT_EQ(box->IsWheelNavigationAllowed(), c.allowed) << c.setting;
    Set(static_cast<int>(fake_.sets.size()) - 1).OnNextStack();
    Set(static_cast<int>(fake_.sets.size()) - 1).OnPreviousStack();
    EXPECT_EQ(next, c.allowed ? 1 : 0) << c.setting;
    EXPECT_EQ(previous, c.allowed ? 1 : 0) << c.setting;
  }
}

TEST_F(StudyBoxToolsTest, LossySwitchAsksFirstAndCancelPutsItBack) {
  fake_.host.SessionMode = true;
  auto box = MakeBox({1, 1}, 0);
  box->Expand();
  EXPECT_TRUE(box->tbLossy->Visible());
  EXPECT_TRUE(box->tbLossy->Enabled());
  EXPECT_EQ(Set().At(0)->lossyCalls, (std::vector<int>{0}));

  SetMessageBoxAnswers({IDCANCEL});
  box->tbLossy->Click();
  EXPECT_FALSE(box->tbLossy->Down());
  EXPECT_EQ(Set().At(0)->lossyCalls.size(), 1u);

  SetMessageBoxAnswers({IDOK});
  box->tbLossy->Click();
  EXPECT_TRUE(box->tbLossy->Down());
  EXPECT_EQ(Set().At(0)->lossyCalls.back(), 1);
  EXPECT_EQ(Set().At(1)->lossyCalls.back(), 1);

  // The stack window's request for the whole study.
  SetMessageBoxAnswers({IDCANCEL});
  EXPECT_EQ(Set().At(0)->OnStudyLossyRequest(false), 0);
  EXPECT_TRUE(box->tbLossy->Down());
  SetMessageBoxAnswers({IDOK});
  EXPECT_EQ(Set().At(0)->OnStudyLossyRequest(false), 1);
  EXPECT_FALSE(box->tbLossy->Down());
  EXPECT_EQ(Set().At(1)->lossyCalls.back(), 0);
}

TEST_F(StudyBoxToolsTest, LossySwitchWithoutPromptAndInStandAloneMode) {
  app::test::ScratchIni files("studybox_lossy");
  files.WriteIni("[GUI_DEFAULTS]\nPromptLossySwitch=0\n");
  app::test::PagesRecord record({});
  record.Load(-1, files.Prefix());
  auto box = MakeBox({1}, 1);
  EXPECT_TRUE(box->tbLossy->Visible());
  EXPECT_TRUE(box->tbLossy->Down());
  EXPECT_FALSE(box->tbLossy->Enabled());  // stand-alone: visible but disabled
  box->ApplyGuiSettings(&record);
  EXPECT_FALSE(box->PromptsLossySwitch());
  box->Expand();
  SetMessageBoxAnswers({IDCANCEL});  // would refuse if a box were shown
  box->tbLossy->SetEnabled(true);
  box->tbLossy->Click();
  EXPECT_FALSE(box->tbLossy->Down());
  EXPECT_EQ(Set().At(0)->lossyCalls.back(), 0);
  SetMessageBoxAnswers({});

  box->SetLossyState(-1);
  EXPECT_FALSE(box->tbLossy->Visible());
  EXPECT_FALSE(box->ToolButton5->Visible());
  EXPECT_EQ(Set().At(0)->lossyCalls.back(), -1);
}

TEST_F(StudyBoxToolsTest, AttachmentsButtonFollowsTheText) {
  auto box = MakeBox({1});
  box->SetAttachments("");
  EXPECT_FALSE(box->tbOpenAttachments->Visible());
  EXPECT_FALSE(box->ToolButton1->Visible());
  box->tbOpenAttachmentsClick(nullptr);  // no closure: nothing
  box->SetAttachments("report.pdf");
  EXPECT_TRUE(box->tbOpenAttachments->Visible());
  EXPECT_TRUE(box->ToolButton1->Visible());
  System::AnsiString opened;
  box->OnOpenAttachments = [&](const System::AnsiString& text) { opened = text; };
  box->tbOpenAttachmentsClick(nullptr);
  EXPECT_EQ(opened, "report.pdf");
}

TEST_F(StudyBoxToolsTest, StatusPictureAndHint) {
  auto box = MakeBox({1});
  TBitmap picture;
  picture.SetSize(22, 22);
  box->SetStatusImage(true, &picture);
  EXPECT_TRUE(box->imgStudyStatus->Visible());
  EXPECT_TRUE(box->bvStudyStatus->Visible());
  EXPECT_EQ(box->imgStudyStatus->Picture()->Width(), 22);
  EXPECT_LT(box->bvStudyStatus->Left(), box->imgStudyStatus->Left());
  box->SetStatusHint(L"Read");
  box->SetStatusHint(L"");
  EXPECT_EQ(box->imgStudyStatus->Hint(), L"Read");
  box->SetStatusImage(false, nullptr);
  EXPECT_FALSE(box->imgStudyStatus->Visible());
}

TEST_F(StudyBoxToolsTest, TransientKeyImagesComeFromTheFirstKeyImageTile) {
  auto box = MakeBox({1, 1, 1});
  box->Expand();
  EXPECT_EQ(box->GetTransientKeyImageCount(), 0);
  Set().At(1)->keyImage = true;
  Set().At(2)->keyImage = true;
  Set().At(2)->transientKeyImages = 4;
  EXPECT_EQ(box->GetTransientKeyImageCount(), 4);
  box->SaveTransientKeyImages();
  EXPECT_EQ(Set().At(1)->saves, 1);
  EXPECT_EQ(Set().At(2)->saves, 0);
}

TEST_F(StudyBoxToolsTest, WheelOutsideIsOfferedToTheTilesUntilOneTakesIt) {
  auto box = MakeBox({1, 1, 1});
  box->Expand();
  EXPECT_FALSE(box->HandleWheelOutside(1, 2, -120, 0));
  Set().At(1)->takesWheel = true;
  EXPECT_TRUE(box->HandleWheelOutside(1, 2, -120, 0));
  EXPECT_EQ(Set().At(0)->wheelOffered.size(), 2u);
  EXPECT_EQ(Set().At(1)->wheelOffered.size(), 2u);
  EXPECT_EQ(Set().At(2)->wheelOffered.size(), 1u);
}

TEST_F(StudyBoxToolsTest, StudyBoxPageSizesTheHeaderAndTheTexts) {
  const std::wstring page = app::test::Page(
      L"GUI_STUDY_BOX", L"<tbSystem button_height=\"32\" button_width=\"40\"><tbDisable image=\"NOPE\"/></tbSystem>");
  const std::wstring strings = app::test::Page(
      L"GUI_STRINGS", L"<msgWarningCaption value=\"Achtung\"/><msgQueryToConfirm value=\"OK?\"/>");
  app::test::PagesRecord record({{L"GUI_STUDY_BOX", page}, {L"GUI_STRINGS", strings}});
  auto box = MakeBox({1, 1});
  box->ApplyGuiSettings(&record);
  EXPECT_EQ(box->GetHeaderHeight(), 36);
  EXPECT_EQ(box->Height(), 38);
  EXPECT_EQ(box->ilNormal16x16->Height, 24);
  EXPECT_EQ(box->ilNormal16x16->Width, 32);
  EXPECT_EQ(box->GetMaxHeight(), 2 * FakeTile::kHeight + 38);
  EXPECT_EQ(box->CaptionText(), L"Achtung");
  EXPECT_EQ(box->ConfirmText(), L"OK?");
  EXPECT_EQ(box->ReinitializeText(), L"The action may require to reinitialize some opened stacks.");
  EXPECT_EQ(Set().resourcesApplied, 1);
}

TEST_F(StudyBoxToolsTest, BrokenPagesLeaveTheDesign) {
  app::test::PagesRecord record({{L"GUI_STUDY_BOX", L"<GUI_STUDY_BOX><tbSystem"}, {L"GUI_STRINGS", L"<<"}});
  auto box = MakeBox({1});
  const int header = box->GetHeaderHeight();
  box->ApplyGuiSettings(&record);
  box->ApplyGuiSettings(nullptr);
  EXPECT_EQ(box->GetHeaderHeight(), header);
  EXPECT_EQ(box->CaptionText(), L"Warning");
}

}  // namespace
}  // namespace ORN_browser::test
