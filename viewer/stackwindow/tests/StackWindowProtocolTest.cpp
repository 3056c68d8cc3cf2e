// The stack window with real widgets (offscreen) against recording windows that stand where
// the engine, the tile and the main window are: the track-bar protocol, the ready sequence,
// tool switches, waits and linked changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/vcl/Forms.h"
#include "viewer/stackwindow/TFrameStackWindow.h"
#include "viewer/stackwindow/tests/MessageRecorder.h"

namespace msg = ORN_image::engine_msg;
using platform::testing::PumpUntil;

namespace {

class StackWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<TForm>(nullptr);
    host_->SetBounds(0, 0, 400, 400);
    frame_ = new TFrameStackWindow(nullptr, -1, 0, main_.Handle(), tile_.Handle());
    frame_->SetParent(host_.get());
    frame_->SetBounds(0, 0, 400, 400);
    host_->Show();
    frame_->SetShown(true);
    frame_->WorkAreaEngineWindow(engine_.Handle());
    Settle();
  }
  void TearDown() override {
    delete frame_;
    host_.reset();
  }
  void Settle() {
    engine_.Settle();
    engine_.Clear();
    main_.Clear();
    tile_.Clear();
  }
  // The stack as the engine reports it before readiness.
  void Report(int count) {
    frame_->WorkAreaImageCount(count);
    frame_->WorkAreaEngineMatrix(1, 1);
  }

  MessageRecorder engine_, main_, tile_;
  std::unique_ptr<TForm> host_;
  TFrameStackWindow* frame_ = nullptr;
};

std::vector<platform::LParam> GoToRequests(const MessageRecorder& engine) {
  std::vector<platform::LParam> out;
  for (const auto& m : engine.Of(msg::kGoToImage)) out.push_back(m.lParam);
  return out;
}

// ---- The track-bar protocol ----

struct StepCase {
  const char* name;
  int count, columns, rows, start;
  void (*step)(TFrameStackWindow&);
  int position;  // after the step
  // enabled after the step: first, prev, prevPage, next, nextPage, last
  bool first, prev, prevPage, next, nextPage, last;
};

TEST_F(StackWindowTest, SteppingButtonsMoveTheTrackBarAndAskTheEngineOnce) {
  const StepCase cases[] = {
      {"next from the first", 10, 1, 1, 1, [](TFrameStackWindow& f) { f.tbNextClick(nullptr); }, 2, 1, 1, 1, 1, 1, 1},
      {"previous on the first stays", 10, 1, 1, 1, [](TFrameStackWindow& f) { f.tbPrevClick(nullptr); }, 1, 0, 0, 0, 1, 1, 1},
      {"last", 10, 1, 1, 4, [](TFrameStackWindow& f) { f.tbLastClick(nullptr); }, 10, 1, 1, 1, 0, 0, 0},
      {"first", 10, 1, 1, 7, [](TFrameStackWindow& f) { f.tbFirstClick(nullptr); }, 1, 0, 0, 0, 1, 1, 1},
      {"next page of a 2x2 matrix", 10, 2, 2, 1, [](TFrameStackWindow& f) { f.tbNextPageClick(nullptr); }, 5, 1, 1, 1, 1, 1, 1},
      {"previous page clamps at the start", 10, 2, 2, 3, [](TFrameStackWindow& f) { f.tbPrevPageClick(nullptr); }, 1, 0, 0, 0, 1, 1, 1},
      {"2x2 matrix, 6 images at 3: no page either way", 6, 2, 2, 2, [](TFrameStackWindow& f) { f.tbNextClick(nullptr); }, 3, 1, 1, 0, 1,
       0, 1},
      {"next page clamps at the end", 6, 2, 2, 5, [](TFrameStackWindow& f) { f.tbNextPageClick(nullptr); }, 6, 1, 1, 1, 0, 0, 0},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    Report(c.count);
    frame_->WorkAreaEngineMatrix(c.columns, c.rows);  // taken before readiness with the matrix set
    frame_->trbarNavigator->Tag = 1;
    frame_->trbarNavigator->SetPosition(c.start);
    frame_->trbarNavigator->Tag = 0;
    Settle();
    const int before = frame_->trbarNavigator->Position();
    c.step(*frame_);
    engine_.Settle();
    EXPECT_EQ(frame_->trbarNavigator->Position(), c.position);
    EXPECT_EQ(frame_->tbFirst->Enabled(), c.first);
    EXPECT_EQ(frame_->tbPrev->Enabled(), c.prev);
    EXPECT_EQ(frame_->tbPrevPage->Enabled(), c.prevPage);
    EXPECT_EQ(frame_->tbNext->Enabled(), c.next);
    EXPECT_EQ(frame_->tbNextPage->Enabled(), c.nextPage);
    EXPECT_EQ(frame_->tbLast->Enabled(), c.last);
    const auto requests = GoToRequests(engine_);
    if (c.position == before) {
      EXPECT_TRUE(requests.empty());
    } else {
      EXPECT_EQ(requests, std::vector<platform::LParam>{c.position - 1});
    }
  }
}

TEST_F(StackWindowTest, EngineImageReportMovesTheTrackBarWithoutEcho) {
  Report(20);
  Settle();
  frame_->WorkAreaImageChanged(7, 7);
  engine_.Settle();
  EXPECT_EQ(frame_->trbarNavigator->Position(), 8);
  EXPECT_EQ(frame_->CurrentImageIndex(), 7);
  EXPECT_TRUE(GoToRequests(engine_).empty());
  EXPECT_EQ(frame_->trbarNavigator->Tag, 0);
  // The same report again changes nothing and leaves no tag that would swallow a user move.
  frame_->WorkAreaImageChanged(7, 7);
  frame_->tbNextClick(nullptr);
  engine_.Settle();
  EXPECT_EQ(GoToRequests(engine_), std::vector<platform::LParam>{8});
}

TEST_F(StackWindowTest, OneImageStackDisablesEveryStepAndHidesTheNavigatorTools) {
  Report(1);
  EXPECT_EQ(frame_->trbarNavigator->Min(), 1);
  EXPECT_EQ(frame_->trbarNavigator->Max(), 1);
  for (TToolButton* b : {frame_->tbFirst, frame_->tbPrev, frame_->tbPrevPage, frame_->tbNext, frame_->tbNextPage,
                         frame_->tbLast})
    EXPECT_FALSE(b->Enabled()) << b->Name();
  EXPECT_FALSE(frame_->tbNavigator->Visible());
  EXPECT_FALSE(frame_->tbMatrix->Visible());
  EXPECT_FALSE(frame_->LinkOptions().LinkByNavigation());
  frame_->OnEngineReady();
  EXPECT_FALSE(frame_->tbNavigator->Enabled());
}

TEST_F(StackWindowTest, NarrowNavigatorKeepsTheTrackBarAtSeventyTwoPixels) {
  frame_->pscrolNavigator->SetWidth(100);
  frame_->pscrolNavigatorResize(nullptr);
  EXPECT_EQ(frame_->pnlTrackbar->Width(), 72);
}

// ---- Cine ----

TEST_F(StackWindowTest, CineStartCarriesCountRateDirectionAndLoop) {
  Report(30);
  frame_->UpDownFPS->SetPosition(15);
  frame_->tbLoot->SetDown(true);
  Settle();
  frame_->tbBack->Click();  // a user's click: the button goes down
  engine_.Settle();
  const auto starts = engine_.Of(msg::kCineStarted);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].wParam, platform::WParam(29) << 16);
  EXPECT_EQ(starts[0].lParam, 15 | (1 << 16) | (1 << 24));
  EXPECT_FALSE(frame_->CineStopped());
  EXPECT_FALSE(frame_->pnlTrackbar->Visible());
  // A rate changed while it runs goes to the engine; switching direction starts anew.
  frame_->UpDownFPS->SetPosition(25);
  frame_->eFPSChange(nullptr);
  frame_->tbForward->Click();
  engine_.Settle();
  EXPECT_EQ(engine_.Of(msg::kFrameRate).back().lParam, 25);
  EXPECT_EQ(engine_.Of(msg::kCineStarted).size(), 2u);
  EXPECT_TRUE(engine_.Of(msg::kCineStopped).empty());
  frame_->tbForward->Click();  // up: stop
  engine_.Settle();
  EXPECT_EQ(engine_.Of(msg::kCineStopped).size(), 1u);
  EXPECT_TRUE(frame_->CineStopped());
}

TEST_F(StackWindowTest, CineStopReportIsIgnoredWhilePausedAndShownOtherwise) {
  Report(30);
  frame_->tbForward->Click();
  frame_->PauseCine();
  frame_->WorkAreaCineStopped(12);
  EXPECT_TRUE(frame_->tbForward->Down());
  EXPECT_NE(frame_->trbarNavigator->Position(), 13);
  frame_->ResumeCine();
  frame_->WorkAreaCineStopped(12);
  EXPECT_FALSE(frame_->tbForward->Down());
  EXPECT_EQ(frame_->trbarNavigator->Position(), 13);
}

TEST_F(StackWindowTest, HidingStopsTheEngineCineAndShowingStartsItAgain) {
  Report(30);
  frame_->tbForward->Click();
  Settle();
  frame_->SetShown(false);
  frame_->WorkAreaCineStopped(4);  // the engine's answer to the stop
  EXPECT_TRUE(frame_->tbForward->Down());
  EXPECT_FALSE(frame_->CineStopped());
  frame_->SetShown(true);
  engine_.Settle();
  EXPECT_EQ(engine_.Of(msg::kCineStopped).size(), 1u);
  EXPECT_EQ(engine_.Of(msg::kCineStarted).size(), 1u);
}

TEST_F(StackWindowTest, FrameRateReportDecidesTheAutomaticCine) {
  struct Case {
    int count, fps;
    bool automatic;
    int shownRate;
  };
  const Case cases[] = {{3, 6, true, 6}, {3, 5, false, 5}, {2, 6, false, 6}, {10, 250, true, 20}, {10, 0, false, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " images at " + std::to_string(c.fps) + " fps");
    frame_->UpDownFPS->SetPosition(20);
    Report(c.count);
    frame_->WorkAreaFrameRate(c.fps);
    EXPECT_EQ(frame_->AutoCine(), c.automatic);
    EXPECT_EQ(frame_->UpDownFPS->Position(), c.shownRate);
    EXPECT_EQ(frame_->LinkOptions().NavigateByTime(), c.automatic);
  }
}

// ---- The ready sequence ----

struct ReadyCase {
  const char* name;
  int count;
  int fps;
  bool keyImageTile;
  bool linkDown;
  std::vector<uint32_t> engineCodes;  // what the frame posts and sends to its engine, in order
  int columns, rows;
};

TEST_F(StackWindowTest, ReadySequenceSendsSettingsInOrderForEachKindOfStack) {
  // The statistics record is sent (it arrives before what was posted); the rest is posted.
  const ReadyCase cases[] = {
      {"plain stack", 40, 0, false, false, {msg::kStatisticsSettings, msg::kInverse, msg::kZoom}, 1, 1},
      {"automatic cine of three images", 3, 6, false, false,
       {msg::kStatisticsSettings, msg::kInverse, msg::kZoom, msg::kCineStarted}, 1, 1},
      {"five frames per second is no cine", 3, 5, false, false,
       {msg::kStatisticsSettings, msg::kInverse, msg::kZoom}, 1, 1},
      {"key images laid out near-square", 5, 0, true, false,
       {msg::kStatisticsSettings, msg::kInverse, msg::kZoom, msg::kInverse, msg::kMatrix}, 3, 2},
      {"one image", 1, 0, false, false, {msg::kStatisticsSettings, msg::kInverse, msg::kZoom}, 1, 1},
  };
  for (const ReadyCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    frame_->KeyImageTile = c.keyImageTile;
    Report(c.count);
    frame_->WorkAreaFrameRate(c.fps);
    frame_->tbZoom->SetDown(true);
    Settle();
    frame_->OnEngineReady();
    engine_.Settle();
    main_.Settle();
    EXPECT_TRUE(frame_->EngineReady());
    EXPECT_FALSE(frame_->EngineFailed());
    EXPECT_EQ(engine_.Codes(), c.engineCodes);
    EXPECT_EQ(frame_->MatrixColumns(), c.columns);
    EXPECT_EQ(frame_->MatrixRows(), c.rows);
    if (c.keyImageTile) {
      EXPECT_EQ(engine_.Of(msg::kMatrix)[0].lParam, 3 | (2 << 16));
      EXPECT_TRUE(frame_->tbMatrix->Down());
    }
    // The main window hears the ready frame (tool code 0) with the frame's handle.
    const auto relays = main_.Of(stack_msg::kToolSwitch);
    ASSERT_FALSE(relays.empty());
    EXPECT_EQ(relays[0].wParam, platform::WParam(frame_->Handle()));
    EXPECT_EQ(relays[0].lParam, tool_code::kNone);
    EXPECT_TRUE(frame_->pnlServicesNavigatorServices->Enabled());
    EXPECT_EQ(frame_->WorkArea()->PopupMenu, frame_->pmWorkareaPopup);
  }
}

TEST_F(StackWindowTest, ConfiguredZoomIsSentAsPercentTimesHundred) {
  // Without settings the constructor's 100 % stands.
  frame_->OnEngineReady();
  engine_.Settle();
  ASSERT_EQ(engine_.Of(msg::kZoom).size(), 1u);
  EXPECT_EQ(engine_.Of(msg::kZoom)[0].lParam, 10000);
}

// ---- Waits on the engine ----

TEST_F(StackWindowTest, GoToImageReportsFailureWhenTheEngineCannotGoThere) {
  Report(10);
  frame_->OnEngineReady();
  EXPECT_TRUE(frame_->GoToImage(4));
  EXPECT_EQ(frame_->trbarNavigator->Position(), 5);
  EXPECT_FALSE(frame_->GoToImage(10));  // past the end
  EXPECT_FALSE(frame_->GoToImage(-1));
  EXPECT_EQ(frame_->trbarNavigator->Position(), 5);
}

TEST_F(StackWindowTest, WaitsEndWithFailureWhenTheEngineDies) {
  Report(10);
  TFrameStackWindow::EngineWaitBound() = 20000;
  {
    MessageRecorder shortLived;
    frame_->WorkAreaEngineWindow(shortLived.Handle());
  }  // the engine's window is gone before it was ready
  EXPECT_FALSE(frame_->WaitForEngine());
  EXPECT_TRUE(frame_->EngineFailed());
  EXPECT_FALSE(frame_->GoToImage(2));
  EXPECT_TRUE(frame_->EngineFailed()) << "a failed engine stays reported";
}

TEST_F(StackWindowTest, WaitsEndAfterTheBoundWhenTheEngineNeverAnswers) {
  TFrameStackWindow::EngineWaitBound() = 150;
  EXPECT_FALSE(frame_->WaitForEngine());
  EXPECT_TRUE(frame_->EngineFailed());
  TFrameStackWindow::EngineWaitBound() = 30000;
  frame_->ReinitializeEngine();
  EXPECT_FALSE(frame_->EngineFailed());
  engine_.Settle();
  ASSERT_EQ(engine_.Of(msg::kReinitialise).size(), 1u);
  EXPECT_EQ(engine_.Of(msg::kReinitialise)[0].lParam, frame_->WorkArea()->Handle());
}

TEST_F(StackWindowTest, CurrentImageFileOnlyOnceReady) {
  frame_->GetImageFile = [](int32_t index, System::AnsiString& first, System::AnsiString& file) {
    first = "x";
    file = "IM" + std::to_string(index);
    return true;
  };
  EXPECT_EQ(frame_->GetCurrentImageFile(), "");
  Report(10);
  frame_->OnEngineReady();
  frame_->WorkAreaImageChanged(3, 3);
  EXPECT_EQ(frame_->GetCurrentImageFile(), "IM3");
}

// ---- Activation, tools and the tool switch ----

TEST_F(StackWindowTest, ActivationTellsTileAndMainWindowUnlessTheyAskedAndColoursTheBorder) {
  frame_->Activate(tile_.Handle());
  EXPECT_TRUE(frame_->IsActive());
  EXPECT_TRUE(tile_.Of(stack_msg::kActivate).empty());
  ASSERT_EQ(main_.Of(stack_msg::kActivate).size(), 1u);
  EXPECT_EQ(main_.Of(stack_msg::kActivate)[0].wParam, platform::WParam(frame_->Handle()));
  EXPECT_EQ(frame_->pnlTop->Color(), frame_->ActiveColor());
  // The main window's 0x8802 naming this frame itself changes nothing.
  platform::SendMessage(frame_->Handle(), stack_msg::kDeactivate, platform::WParam(frame_->Handle()), 0);
  EXPECT_TRUE(frame_->IsActive());
  platform::SendMessage(frame_->Handle(), stack_msg::kDeactivate, 1234, 0);
  EXPECT_FALSE(frame_->IsActive());
  EXPECT_EQ(frame_->pnlTop->Color(), frame_->InactiveColor());
  EXPECT_EQ(tile_.Of(stack_msg::kDeactivate).size(), 1u);
}

TEST_F(StackWindowTest, ToolClickBroadcastsOnceAndTheEchoIsIgnored) {
  Report(10);
  Settle();
  frame_->tbVOI->Click();
  main_.Settle();
  const auto relays = main_.Of(stack_msg::kToolSwitch);
  ASSERT_EQ(relays.size(), 1u);
  EXPECT_EQ(relays[0].lParam, tool_code::kVoi);
  EXPECT_EQ(engine_.Codes(), (std::vector<uint32_t>{msg::kEndTool, msg::kResetTool, msg::kMouseTool}));
  EXPECT_EQ(engine_.Of(msg::kMouseTool)[0].lParam, msg::kToolVoi);
  EXPECT_EQ(frame_->WorkArea()->Cursor(), cursor_id::kVoiUp);
  Settle();
  // The main window relays it to every frame: the sender does not apply it again.
  platform::SendMessage(frame_->Handle(), stack_msg::kToolSwitch, platform::WParam(frame_->Handle()), tool_code::kPan);
  engine_.Settle();
  EXPECT_TRUE(engine_.messages.empty());
  EXPECT_TRUE(frame_->tbVOI->Down());
  // From another frame it presses the button programmatically: nothing is broadcast again.
  platform::SendMessage(frame_->Handle(), stack_msg::kToolSwitch, 1234, tool_code::kPan);
  main_.Settle();
  EXPECT_TRUE(frame_->tbPan->Down());
  EXPECT_FALSE(frame_->tbVOI->Down());
  EXPECT_TRUE(main_.messages.empty());
}

TEST_F(StackWindowTest, NavigatorCodeFallsBackToTheCurrentToolWhenTheNavigatorIsHidden) {
  Report(1);  // one image: no navigator button
  frame_->tbMagnifier->SetDown(true);
  Settle();
  frame_->SwitchTool(1234, tool_code::kNavigator);
  engine_.Settle();
  EXPECT_TRUE(frame_->tbMagnifier->Down());
  EXPECT_EQ(engine_.Of(msg::kMouseTool).back().lParam, msg::kToolMagnifier);
  // With no tool down at all, zoom is pressed.
  frame_->tbMagnifier->SetDown(false);
  Settle();
  frame_->RestoreCurrentTool();
  engine_.Settle();
  EXPECT_TRUE(frame_->tbZoom->Down());
  EXPECT_EQ(engine_.Of(msg::kMouseTool).back().lParam, msg::kToolZoom);
}

TEST_F(StackWindowTest, ReferenceLinesGoToOtherEnginesAndTheSourceRedraws) {
  TReferenceLines lines;
  lines.SourceEngine = 999;
  lines.Planes.resize(2);
  frame_->SwitchTool(reinterpret_cast<platform::WParam>(&lines), tool_code::kReferenceLines);
  ASSERT_EQ(engine_.Of(msg::kImagePlane).size(), 1u);
  EXPECT_EQ(engine_.Of(msg::kImagePlane)[0].cbData, 2 * 384u);
  EXPECT_FALSE(frame_->ReferenceLineSource());
  Settle();
  lines.SourceEngine = engine_.Handle();
  frame_->SwitchTool(reinterpret_cast<platform::WParam>(&lines), tool_code::kReferenceLines);
  engine_.Settle();
  EXPECT_TRUE(frame_->ReferenceLineSource());
  EXPECT_EQ(engine_.Codes(), std::vector<uint32_t>{msg::kRedraw});
  // The source then ignores position relays.
  Settle();
  frame_->SwitchTool(platform::WParam(3 << 16 | 4), tool_code::kPositionRelay);
  engine_.Settle();
  EXPECT_TRUE(engine_.messages.empty());
}

TEST_F(StackWindowTest, ImagePlaneOfTheActiveFrameReachesTheMainWindowAsOneContainer) {
  frame_->Activate(0);
  Settle();
  msg::ImagePlaneRecord planes[3]{};
  planes[1].ImageIndex = 7;
  frame_->WorkAreaImagePlane(planes, sizeof(planes));
  main_.Settle();
  const auto relays = main_.Of(stack_msg::kToolSwitch);
  ASSERT_EQ(relays.size(), 1u);
  EXPECT_EQ(relays[0].lParam, tool_code::kReferenceLines);
  std::unique_ptr<TReferenceLines> lines(reinterpret_cast<TReferenceLines*>(relays[0].wParam));
  ASSERT_EQ(lines->Planes.size(), 3u);
  EXPECT_EQ(lines->Planes[1].ImageIndex, 7);
  EXPECT_EQ(lines->SourceEngine, engine_.Handle());
}

// ---- Window procedure ----

TEST_F(StackWindowTest, PresetReplyAndHintTimer) {
  EXPECT_FALSE(frame_->VoiReplyReceived());
  platform::SendMessage(frame_->Handle(), msg::kPresetInEffect, 0, 2);
  EXPECT_TRUE(frame_->VoiReplyReceived());
  frame_->lblVOIHint->SetCaption(L"W 400 C 40");
  frame_->lblVOIHint->ShowHint = true;
  platform::SendMessage(frame_->Handle(), platform::kWmTimer, stack_msg::kWindowLevelHintTimer, 0);
  EXPECT_EQ(frame_->lblVOIHint->Caption(), L"");
  EXPECT_FALSE(frame_->lblVOIHint->ShowHint);
  // An empty hint is cleared as well.
  platform::SendMessage(frame_->Handle(), platform::kWmTimer, stack_msg::kWindowLevelHintTimer, 0);
  EXPECT_EQ(frame_->lblVOIHint->Caption(), L"");
}

TEST_F(StackWindowTest, ParentNotifyActivatesOnlyForClicks) {
  platform::SendMessage(frame_->Handle(), stack_msg::kWmParentNotify, stack_msg::kWmCreate, 0);
  platform::SendMessage(frame_->Handle(), stack_msg::kWmParentNotify, stack_msg::kWmDestroy, 0);
  EXPECT_FALSE(frame_->IsActive());
  platform::SendMessage(frame_->Handle(), stack_msg::kWmParentNotify, 0x0201, 0);
  EXPECT_TRUE(frame_->IsActive());
}

TEST_F(StackWindowTest, HideFromTheTileIsPassedToTheMainWindow) {
  platform::SendMessage(frame_->Handle(), stack_msg::kHide, platform::WParam(tile_.Handle()), 0);
  main_.Settle();
  EXPECT_FALSE(frame_->Visible());
  ASSERT_EQ(main_.Of(stack_msg::kHide).size(), 1u);
  EXPECT_EQ(main_.Of(stack_msg::kHide)[0].wParam, platform::WParam(frame_->Handle()));
}

TEST_F(StackWindowTest, DestroyingAVisibleFrameDetachesItFirst) {
  bool detached = false;
  frame_->OnCellDetach = [&](TFrameStackWindow*) { detached = true; };
  const platform::WindowHandle handle = frame_->Handle();
  delete frame_;
  frame_ = nullptr;
  EXPECT_TRUE(detached);
  ASSERT_EQ(tile_.Of(stack_msg::kHide).size(), 1u);
  EXPECT_EQ(tile_.Of(stack_msg::kHide)[0].wParam, platform::WParam(handle));
}

// ---- Linked changes ----

TEST_F(StackWindowTest, FirstZoomReportWhileLinkedSendsNoRatioOverZero) {
  Report(10);
  frame_->OnEngineReady();
  std::vector<double> ratios;
  frame_->OnLinkedZoom = [&](TFrameStackWindow*, double r) {
    ratios.push_back(r);
    return true;
  };
  frame_->tbLink->SetDown(true);
  frame_->tbZoom->SetDown(true);
  frame_->Activate(0);
  frame_->OnEngineZoom(1.5);  // first report: the reference only
  frame_->OnEngineZoom(3.0);
  ASSERT_EQ(ratios.size(), 1u);
  EXPECT_DOUBLE_EQ(ratios[0], 2.0);
  EXPECT_DOUBLE_EQ(frame_->CurrentZoom(), 3.0);
}

TEST_F(StackWindowTest, WindowChangeWithoutTheVoiToolKeepsTheLinkReference) {
  Report(10);
  frame_->OnEngineReady();
  std::vector<std::pair<double, double>> deltas;
  frame_->OnLinkedVoi = [&](TFrameStackWindow*, double c, double w) {
    deltas.emplace_back(c, w);
    return true;
  };
  frame_->WorkAreaWindowLevelChanged(40, 400);  // before linking: the reference
  frame_->tbLink->SetDown(true);
  frame_->Activate(0);
  frame_->tbZoom->SetDown(true);
  frame_->WorkAreaWindowLevelChanged(100, 500);  // not made with the VOI tool: not passed on
  EXPECT_TRUE(deltas.empty());
  frame_->tbVOI->SetDown(true);
  frame_->WorkAreaWindowLevelChanged(110, 520);
  ASSERT_EQ(deltas.size(), 1u);
  EXPECT_DOUBLE_EQ(deltas[0].first, 70);
  EXPECT_DOUBLE_EQ(deltas[0].second, 120);
}

TEST_F(StackWindowTest, LinkedWindowValuesAreClampedToSixteenBits) {
  Report(10);
  frame_->OnEngineReady();
  frame_->tbLink->SetDown(true);
  frame_->WorkAreaWindowLevelChanged(30000, 60000);
  frame_->tbLinkClick(nullptr);  // references := current values
  Settle();
  frame_->ApplyLinkedVoi(nullptr, 10000, 10000);
  engine_.Settle();
  const auto sent = engine_.Of(msg::kWindowLevel);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(msg::WindowCentreOf(sent[0].lParam), 32767);
  EXPECT_EQ(msg::WindowWidthOf(sent[0].lParam), 65535);
  // The sender itself does not apply its own change.
  Settle();
  frame_->ApplyLinkedVoi(frame_, 1, 1);
  engine_.Settle();
  EXPECT_TRUE(engine_.messages.empty());
}

TEST_F(StackWindowTest, LinkedImageStepIsClampedToTheStack) {
  Report(10);
  frame_->OnEngineReady();
  frame_->SetLinkAutomated(0);
  frame_->tbLink->SetDown(true);
  frame_->tbLinkClick(nullptr);
  Settle();
  frame_->ApplyLinkedImageStep(nullptr, 4);
  frame_->ApplyLinkedImageStep(nullptr, 20);
  frame_->ApplyLinkedImageStep(nullptr, -40);
  engine_.Settle();
  const auto sent = engine_.Of(msg::kGoToImage);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].lParam, 4);
  EXPECT_EQ(sent[1].lParam, 9);
  EXPECT_EQ(sent[2].lParam, 0);
  EXPECT_EQ(sent[0].wParam, 1u);
}

TEST_F(StackWindowTest, WheelPastTheEndsAsksTheTileForTheNeighbourStack) {
  Report(10);
  int before = 0, after = 0;
  frame_->OnStackBefore = [&] { ++before; };
  frame_->OnStackAfter = [&] { ++after; };
  frame_->WorkAreaImageChanged(0, 0);
  frame_->WorkAreaWheel(true);
  frame_->WorkAreaWheel(false);
  frame_->WorkAreaImageChanged(9, 9);
  frame_->WorkAreaWheel(false);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  // In reconstruction mode neither.
  frame_->tbMPR->SetVisible(true);
  frame_->tbMPR->SetDown(true);
  frame_->WorkAreaWheel(false);
  EXPECT_EQ(after, 1);
}

TEST_F(StackWindowTest, DoubleClickEndsAPendingPolygonFirst) {
  int maximized = 0;
  frame_->OnCellMaximize = [&](TFrameStackWindow*) { ++maximized; };
  frame_->WorkArea()->SetCursor(cursor_id::kPolygon);
  frame_->WorkAreaLeftDown(5, 5);
  Settle();
  frame_->WorkAreaDoubleClick(0, 0);
  engine_.Settle();
  EXPECT_EQ(maximized, 0);
  ASSERT_EQ(engine_.Of(msg::kResetTool).size(), 1u);
  EXPECT_EQ(engine_.Of(msg::kResetTool)[0].wParam, 1u);
  EXPECT_EQ(engine_.Of(msg::kResetTool)[0].lParam, 1);
  frame_->WorkAreaDoubleClick(0, 0);
  EXPECT_EQ(maximized, 1);
}

}  // namespace
