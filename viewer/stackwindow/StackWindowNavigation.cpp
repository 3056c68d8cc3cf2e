// The navigator bar: stepping, the track-bar protocol with the engine, the image matrix and
// the cine.
#include <algorithm>

#include "platform/windows/Messages.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace msg = ORN_image::engine_msg;

void TFrameStackWindow::tbFirstClick(TObject*) { trbarNavigator->SetPosition(trbarNavigator->Min()); }
void TFrameStackWindow::tbLastClick(TObject*) { trbarNavigator->SetPosition(trbarNavigator->Max()); }
void TFrameStackWindow::tbPrevClick(TObject*) { trbarNavigator->SetPosition(trbarNavigator->Position() - 1); }
void TFrameStackWindow::tbNextClick(TObject*) { trbarNavigator->SetPosition(trbarNavigator->Position() + 1); }
void TFrameStackWindow::tbPrevPageClick(TObject*) {
  trbarNavigator->SetPosition(trbarNavigator->Position() - PageSize());
}
void TFrameStackWindow::tbNextPageClick(TObject*) {
  trbarNavigator->SetPosition(trbarNavigator->Position() + PageSize());
}

void TFrameStackWindow::UpdateSteppingButtons() {
  const int pos = trbarNavigator->Position(), min = trbarNavigator->Min(), max = trbarNavigator->Max();
  tbFirst->SetEnabled(pos > min);
  tbPrev->SetEnabled(pos > min);
  tbPrevPage->SetEnabled(pos - min >= PageSize());
  tbLast->SetEnabled(pos < max);
  tbNext->SetEnabled(pos < max);
  tbNextPage->SetEnabled(max - pos >= PageSize());
}

void TFrameStackWindow::trbarNavigatorChange(TObject*) {
  UpdateSteppingButtons();
  // A position the frame set on the engine's own report is not echoed back.
  if (trbarNavigator->Tag == 0) Post(msg::kGoToImage, 0, trbarNavigator->Position() - 1);
  trbarNavigator->Tag = 0;
}

void TFrameStackWindow::pscrolNavigatorResize(TObject*) {
  pnlTrackbar->SetWidth(std::max(72, pscrolNavigator->Width() - tbNavigatorServices->Width() - pnlFRS->Width()));
  FitScrolledBars();
}

void TFrameStackWindow::ShowPlayPictures(TToolButton* running) {
  TImageList& store = GetSharedImageList("ilStore16x16");
  for (TToolButton* b : {tbForward, tbBack}) {
    const bool stop = b == running;
    if (::PicturesOf(b) && tbNavigatorServices->Images)
      ShowButtonPicture(b, *tbNavigatorServices->Images, store, stop);
    else
      b->SetImageIndex(stop ? 9 : (b == tbForward ? 6 : 8));
  }
}

void TFrameStackWindow::StartCine() {
  pnlTrackbar->SetVisible(false);
  for (TToolButton* b : {tbNext, tbNextPage, tbLast, tbFirst, tbPrevPage, tbPrev}) b->SetEnabled(false);
  ShowPlayPictures(FCineDirection == 1 ? tbBack : tbForward);
  const int32_t last = std::max(FImageCount - 1, 0);
  const platform::LParam rate = platform::LParam(UpDownFPS->Position() & 0xFFFF) |
                                (platform::LParam(FCineDirection & 0xFF) << 16) |
                                (platform::LParam(tbLoot->Down() ? 1 : 0) << 24);
  Post(msg::kCineStarted, platform::WParam(uint32_t(last) << 16), rate);
}

void TFrameStackWindow::StopCine() {
  pnlTrackbar->SetVisible(true);
  Post(msg::kCineStopped, 0, 0);
  UpdateSteppingButtons();
  if (tbMPR->Visible()) tbMPR->SetEnabled(true);
  ShowPlayPictures(nullptr);
}

void TFrameStackWindow::tbForwardClick(TObject*) {
  if (tbForward->Down()) {
    tbBack->SetDown(false);
    FCineStopped = false;
    FCinePaused = false;
    FCineDirection = 0;
    if (Visible()) StartCine();
  } else {
    StopCine();
    FCineStopped = true;
  }
}

void TFrameStackWindow::tbBackClick(TObject*) {
  if (tbBack->Down()) {
    tbForward->SetDown(false);
    FCineStopped = false;
    FCinePaused = false;
    FCineDirection = 1;
    if (Visible()) StartCine();
  } else {
    StopCine();
    FCineStopped = true;
  }
}

void TFrameStackWindow::tbLootClick(TObject*) { Post(msg::kCineLoop, 0, tbLoot->Down() ? 1 : 0); }

void TFrameStackWindow::eFPSChange(TObject*) {
  FFrameRate = UpDownFPS->Position();
  if (!FCineStopped) Post(msg::kFrameRate, 0, UpDownFPS->Position());
}

void TFrameStackWindow::tbMatrixClick(TObject*) {
  if (tbMatrix->Down() && FColumns * FRows == 1) {
    // The image-matrix chooser opens here once the context-menu commands are built; until
    // then a 1 x 1 matrix leaves the button as it was before the click.
    tbMatrix->SetDown(false);
    return;
  }
  platform::LParam value = 0x00010001;
  if (tbMatrix->Down()) {
    value = platform::LParam(FColumns & 0xFFFF) | (platform::LParam(FRows & 0xFFFF) << 16);
    FMatrixSet = true;
  }
  if (FColumns * FRows > 1) {
    Post(msg::kMatrix, 0, value);
    FMatrixSet = false;
  }
}
