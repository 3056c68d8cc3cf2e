// Stack windows in the client area's matrix: the cell closures reach the real frames, a
// linked zoom of the active frame reaches the other frame's engine once, a double click
// maximizes the cell and a hidden frame's cine is paused.
#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "viewer/matrix/TFrameCleintArea.h"
#include "viewer/matrix/TanMatrixCell.h"
#include "viewer/stackwindow/TFrameStackWindow.h"
#include "viewer/stackwindow/tests/MessageRecorder.h"

namespace msg = ORN_image::engine_msg;

namespace {

class StackWindowInMatrixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(0, 0, 600, 400);
    area_ = new TFrameCleintArea<TFrameStackWindow>(form_.get());
    area_->SetParent(form_.get());
    area_->SetAlign(alClient);
    form_->Show();
    area_->SetMatrix(2, 1);
    for (int i = 0; i < 2; ++i) {
      frames_[i] = std::make_unique<TFrameStackWindow>(nullptr, -1, 0, main_.Handle(), tiles_[i].Handle());
      ASSERT_TRUE(area_->Cells(i)->AttachWindow(frames_[i].get()));
      frames_[i]->WorkAreaEngineWindow(engines_[i].Handle());
      frames_[i]->WorkAreaImageCount(20);
      frames_[i]->OnEngineReady();
    }
    main_.FreeReferenceLines = true;
    Settle();
  }
  void TearDown() override {
    area_->ReleaseAllWindows();
    for (auto& f : frames_) f.reset();
    form_.reset();
  }
  void Settle() {
    for (auto& e : engines_) {
      e.Settle();
      e.Clear();
    }
  }

  MessageRecorder main_, tiles_[2], engines_[2];
  std::unique_ptr<TForm> form_;
  TFrameCleintArea<TFrameStackWindow>* area_ = nullptr;
  std::unique_ptr<TFrameStackWindow> frames_[2];
};

TEST_F(StackWindowInMatrixTest, CellsGiveTheFramesTheirIndexesAndShowThem) {
  EXPECT_EQ(frames_[0]->CellIndex(), 0);
  EXPECT_EQ(frames_[1]->CellIndex(), 1);
  EXPECT_TRUE(frames_[0]->Visible());
  EXPECT_TRUE(frames_[1]->Visible());
  EXPECT_LT(frames_[0]->Left(), frames_[1]->Left());
}

TEST_F(StackWindowInMatrixTest, LinkedZoomOfTheActiveFrameReachesTheOtherEngineOnce) {
  for (auto& f : frames_) {
    f->OnEngineZoom(1.0);
    f->tbLink->SetDown(true);
    f->tbLinkClick(nullptr);
  }
  frames_[0]->tbZoom->SetDown(true);
  frames_[0]->Activate(0);
  Settle();
  frames_[0]->OnEngineZoom(2.0);  // the user zoomed in the first frame
  for (auto& e : engines_) e.Settle();
  EXPECT_TRUE(engines_[0].Of(msg::kZoom).empty()) << "the sender does not zoom twice";
  ASSERT_EQ(engines_[1].Of(msg::kZoom).size(), 1u);
  EXPECT_EQ(engines_[1].Of(msg::kZoom)[0].lParam, 20000);
}

TEST_F(StackWindowInMatrixTest, DoubleClickMaximizesTheCellAndPausesTheHiddenCine) {
  frames_[1]->tbForward->Click();  // the second frame plays a cine
  Settle();
  frames_[0]->WorkAreaDoubleClick(0, 0);
  EXPECT_TRUE(frames_[0]->Visible());
  EXPECT_FALSE(frames_[1]->Visible());
  EXPECT_EQ(frames_[0]->tbOnOff->ImageIndex(), 1);
  EXPECT_TRUE(frames_[1]->CinePaused());
  EXPECT_FALSE(frames_[1]->CineStopped());
  frames_[1]->WorkAreaCineStopped(3);  // the engine's answer to the pause
  EXPECT_TRUE(frames_[1]->tbForward->Down());
  // The header button restores: the cine plays again.
  frames_[0]->tbOnOff->Click();
  EXPECT_TRUE(frames_[1]->Visible());
  EXPECT_EQ(frames_[0]->tbOnOff->ImageIndex(), 0);
  EXPECT_FALSE(frames_[1]->CinePaused());
  engines_[1].Settle();
  // The cell lays the window out more than once; what counts is that the engine plays at the end.
  uint32_t last = 0;
  for (uint32_t code : engines_[1].Codes())
    if (code == msg::kCineStarted || code == msg::kCineStopped) last = code;
  EXPECT_EQ(last, msg::kCineStarted);
}

}  // namespace
