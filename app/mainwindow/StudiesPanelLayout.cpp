// The studies panel at the window's left edge (pinned beside the client area, or floating over
// it and shown while the mouse is near the edge), its width rules, the order of its boxes, and
// the layout services around the client area: cells under a screen point, moving a window
// between cells, the matrix chooser and, on several monitors, a maximized cell kept on its
// monitor.
#include <algorithm>

#include "app/mainwindow/TFormApplication.h"
#include "app/startup/ColorsAndFonts.h"
#include "app/startup/TResourceInitialization.h"
#include "platform/windows/Messages.h"
#include "viewer/matrix/TMatrixControl.h"

namespace vistrel_main {

namespace {

constexpr int kPinnedPicture = 14, kFloatingPicture = 13;
constexpr int kSortDownPicture = 27, kSortUpPicture = 26;
constexpr int kIconsPicture = 15, kWiderPicture = 25;

bool Intersect(const TRect& a, const TRect& b, TRect& out) {
  out = Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
  return out.Left < out.Right && out.Top < out.Bottom;
}

}  // namespace

int TFormApplication::IconWidth() { return FStudyBoxFrameSet ? FStudyBoxFrameSet->GetPreferredWidth() : 0; }

int TFormApplication::ResizeBarWidth() { return pnlStudiesResize->Visible() ? pnlStudiesResize->Width() : 0; }

void TFormApplication::ApplyStudiesPanelWidth(bool icons) {
  int width = icons ? IconWidth() + ResizeBarWidth() : FStudiesPanelWidth;
  pnlLeftCanResize(width);
  pnlLeft->SetWidth(width);
}

void TFormApplication::tbStudiesPanelPinClick(TObject*) {
  if (tbStudiesPanelPin->Down()) {
    platform::KillTimer(Handle(), FPanelHideTimerId);
    tbStudiesPanelPin->SetImageIndex(kPinnedPicture);
    pnlLeft->SetAlign(alLeft);
    Splitter->SetVisible(true);
    pnlStudiesResize->SetVisible(false);
  } else {
    tbStudiesPanelPin->SetImageIndex(kFloatingPicture);
    Splitter->SetVisible(false);
    pnlStudiesResize->SetVisible(true);
    pnlLeft->SetAlign(alNone);
    pnlLeft->Anchors = akLeft | akTop | akBottom;
    // Floating: the panel lies over the client area from below the tool strips to the status line.
    const int top = pnlTop->Height() + pnlTools->Height();
    pnlLeft->SetBounds(0, top, pnlLeft->Width(), std::max(0, Height() - top - pnlBottom->Height()));
    pnlLeft->BringToFront();
    platform::SetTimer(Handle(), FPanelHideTimerId, static_cast<uint32_t>(std::max(FStudiesPanelHideDelay, 10)));
  }
  ApplyStudiesPanelWidth(tbMinimizeToIcons->Down());
}

void TFormApplication::tbSortingForwardClick(TObject*) {
  if (FStudyBoxFrameSet) {
    FStudyBoxFrameSet->ReverseStudyOrder();
    if (FClientArea) FClientArea->Relayout();
  }
  FAppendStudyBoxes = !tbSortingForward->Down();
  tbSortingForward->SetHint(tbSortingForward->Down() ? L"sort forward" : L"sort back");
  tbSortingForward->SetImageIndex(tbSortingForward->Down() ? kSortDownPicture : kSortUpPicture);
}

void TFormApplication::tbMinimizeToIconsClick(TObject*) {
  const int iconWidth = IconWidth() + ResizeBarWidth();
  int width = tbMinimizeToIcons->Down() ? iconWidth : FStudiesPanelWidth;
  pnlLeftCanResize(width);
  pnlLeft->SetWidth(width);
  tbMinimizeToIcons->SetDown(pnlLeft->Width() == iconWidth);
}

void TFormApplication::pnlLeftCanResize(int& newWidth) {
  const int iconWidth = IconWidth() + ResizeBarWidth();
  if (iconWidth >= newWidth) {
    newWidth = iconWidth;
    tbMinimizeToIcons->SetDown(true);
    tbMinimizeToIcons->SetImageIndex(kIconsPicture);
  } else {
    tbMinimizeToIcons->SetDown(false);
    tbMinimizeToIcons->SetImageIndex(kWiderPicture);
  }
}

void TFormApplication::pnlStudiesResizeMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button == mbLeft) FResizeDragPoint = GetCursorPos();
}

void TFormApplication::pnlStudiesResizeMouseMove(TObject*, TShiftState shift, int, int) {
  if (!(shift & ssLeft)) return;
  const TPoint cursor = GetCursorPos();
  int width = pnlLeft->Width() + cursor.x - FResizeDragPoint.x;
  pnlLeftCanResize(width);
  pnlLeft->SetWidth(width);
  const bool moved = cursor.x != FResizeDragPoint.x;
  FResizeDragPoint = cursor;
  if (moved && IconWidth() + ResizeBarWidth() < pnlLeft->Width()) FStudiesPanelWidth = pnlLeft->Width();
  pnlLeft->Repaint();
}

void TFormApplication::SplitterCanResize(int newSize) {
  if (newSize != Splitter->Left() && IconWidth() + ResizeBarWidth() < newSize) FStudiesPanelWidth = newSize;
}

void TFormApplication::FitStudiesPanelWidth(int contentWidth) {
  if (!FFitStudiesPanel) return;
  int width = contentWidth + ResizeBarWidth() + 2;
  pnlLeftCanResize(width);
  pnlLeft->SetWidth(width);
  FStudiesPanelWidth = pnlLeft->Width();
}

int TFormApplication::CellIndexAtScreenPoint(int x, int y, bool dropping) {
  if (!FClientArea) return -1;
  TWinControl* area = FClientArea->Control();
  const TPoint local = area->ScreenToClient(Point(x, y));
  if (PtInRect(area->ClientRect(), local)) return FClientArea->CellAtScreenPoint(x, y, dropping);
  FClientArea->CellAtScreenPoint(x, y, false);
  return -1;
}

bool TFormApplication::MoveCell(int from, int to) {
  if (from == to || !FClientArea) return false;
  FClientArea->SwapCellWindows(from, to);
  return true;
}

void TFormApplication::OnClientMaximizeChanged(bool maximized, int index) {
  if (!FResources || FResources->GetMonitorCount() <= 1 || !FClientArea) return;
  if (!maximized || index == -1) {
    if (pnlClientArea->Align() != alClient) {
      pnlClientArea->Tag = -1;
      pnlClientArea->SetAlign(alClient);
    }
    return;
  }
  int left = 0, top = 0, width = 0, height = 0;
  FClientArea->GetCellBounds(index, left, top, width, height);
  if (!FClientArea->CellHasWindow(index)) return;
  const TPoint centre = FClientArea->Control()->ClientToScreen(Point(left + width / 2, top + height / 2));
  TRect monitor{};
  const int number = FResources->GetMonitorAt(centre, &monitor);
  pnlClientArea->Tag = number;
  if (number == -1) return;
  const TPoint origin = pnlBase->ClientToScreen(Point(0, 0));
  const TRect base = Rect(origin.x, origin.y, origin.x + pnlBase->ClientWidth(), origin.y + pnlBase->ClientHeight());
  TRect part{};
  if (!Intersect(monitor, base, part)) return;
  pnlClientArea->SetAlign(alNone);
  pnlClientArea->SetBounds(part.Left - origin.x, part.Top - origin.y, part.Right - part.Left, part.Bottom - part.Top);
}

void TFormApplication::SetMatrix(int columns, int rows) {
  FMatrixColumns = columns;
  FMatrixRows = rows;
  if (FClientArea) {
    FClientArea->SetMatrix(columns, rows);
    FMatrixColumns = FClientArea->Columns();
    FMatrixRows = FClientArea->Rows();
  }
  SyncPaletteColorButton();
}

void TFormApplication::tbStackMatrixClick(TObject*) {
  const TPoint position = tbPatients->ClientToScreen(Point(tbStackMatrix->Left(), tbStackMatrix->Top() + tbStackMatrix->Height()));
  const int stacks = FStudyBoxFrameSet ? FStudyBoxFrameSet->GetStackCount() : 0;
  TMatrixControl chooser(nullptr, false, FChooserRows, FChooserColumns, FMatrixRows, FMatrixColumns, stacks);
  chooser.ApplyGuiResources(FResources);
  if (FResources) chooser.SetGranularity(std::max(FResources->GetMonitorCount(), 1), 1);
  chooser.SetBounds(position.x, position.y, chooser.Width(), chooser.Height());
  if (chooser.ShowModal() == mrOk) {
    FChooserRows = chooser.GetGridRows();
    FChooserColumns = chooser.GetGridColumns();
    SetMatrix(chooser.GetColumns(), chooser.GetRows());
  }
}

}  // namespace vistrel_main
