#include "browser/studies/TFrameStudyBox.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "platform/windows/Messages.h"

namespace ORN_browser {

namespace {

constexpr uint32_t kWmParentNotify = 0x0210;
constexpr int kWmCreate = 1, kWmDestroy = 2;

// Picture indexes of imlIcons.
enum : int {
  kIconCollapsed = 0,
  kIconExpanded = 1,
  kIconClose = 2,
  kIconReversed = 4,
  kIconForward = 5,
  kIconKeyImages = 6,
  kIconLossy = 7,
  kIconAttachments = 10,
};

TToolButton* MakeButton(TComponent* owner, TToolBar* bar, const char* name, TToolButtonStyle style,
                        const wchar_t* hint, int image) {
  auto* b = new TToolButton(owner);
  b->SetName(name);
  b->SetStyle(style);
  b->SetParent(bar);
  b->SetHint(hint);
  b->ShowHint = hint[0] != 0;
  if (image >= 0) b->SetImageIndex(image);
  return b;
}

}  // namespace

TFrameStudyBox::TFrameStudyBox(TComponent* owner, int lossyState, int stackCount, int studyKey,
                               const std::wstring& title, const TStudyBrowserHost* host)
    : TFrame(owner), host_(host), studyKey_(studyKey) {
  BuildComponents();
  WindowProc = [this](uint32_t message, platform::WParam w, platform::LParam l) { return WndProc(message, w, l); };
  if (host_ && host_->MakeTileSet) tileSet_ = host_->MakeTileSet(std::max(stackCount, 0));
  repeatTimerId_ = static_cast<uintptr_t>(pnlHeaderMain->Handle());

  const double scale = host_ ? host_->Gui.Scale : 1.0;
  app::ScaleControl(this, scale);

  if (host_ && host_->Gui.Colors) {
    const app::TvsColors* colors = host_->Gui.Colors;
    pnlHeaderInfo->SetColor(colors->GetColor(L"cInfo", pnlHeaderInfo->Color()));
    pscrolTitle->SetColor(colors->GetColor(L"cInfo", pscrolTitle->Color()));
    statictextTitle->Font.Color = colors->GetColor(L"cStudyBoxHeaderText", statictextTitle->Font.Color);
    statictextTitle->FontChanged();
  }

  statictextTitle->SetCaption(title);
  statictextTitle->SetHint(title);
  LayoutTitle();
  if (host_ && host_->SetDynamicHint) {
    std::string key;
    for (wchar_t c : title) key += c < 0x80 ? static_cast<char>(c) : '?';
    host_->SetDynamicHint(key, title);
  }

  pnlBoxDesk->Hide();
  if (tileSet_) {
    tileSet_->Control()->SetParent(scrollboxStaudyBox);
    tileSet_->Control()->SetAlign(alTop);
  }
  SetHeight(pnlHeaderMain->Height());
  if (host_ && host_->Gui.Fonts) app::ApplyScaledFont(statictextTitle, host_->Gui.Fonts->Info, scale);
  statictextTitle->SetLayout(tlCenter);
  LayoutTitle();
  maxHeight_ = (tileSet_ ? tileSet_->GetFullHeight() : 0) + pnlHeaderMain->Height();
  tbLossy->SetEnabled(host_ && host_->SessionMode);
  InstallTileSetHandlers();
  tbLossy->SetVisible(lossyState != -1);
  if (tbLossy->Visible()) tbLossy->SetDown(lossyState == 1);
  UpdateKeyImageSeparator();
  OnResize = [this](TObject* s) { FrameResize(s); };
}

TFrameStudyBox::~TFrameStudyBox() {
  destroying_ = true;
  navigatorBusy_ = true;
  changeDepth_ = 0;
  if (repeatDirection_ != 0) {
    KillRepeatTimer();
    repeatDirection_ = 0;
  }
  if (buildTimerArmed_) platform::KillTimer(Handle(), BuildTimerId());
  buildTimerArmed_ = false;
  Application->ProcessMessages();
  // The tiles stop their engines and destroy their stack windows before the frame goes.
  tileSet_.reset();
}

void TFrameStudyBox::BuildComponents() {
  SetName("StudyBox");
  SetBounds(0, 0, 320, 200);
  SetColor(clSilver);

  imlIcons = new TImageList(this);
  imlIcons->SetName("imlIcons");
  ilNormal16x16 = new TImageList(this);
  ilNormal16x16->SetName("ilNormal16x16");
  ilStore16x16 = new TImageList(this);
  ilStore16x16->SetName("ilStore16x16");
  ilHot16x16 = new TImageList(this);
  ilHot16x16->SetName("ilHot16x16");
  ilDisabled16x16 = new TImageList(this);
  ilDisabled16x16->SetName("ilDisabled16x16");
  DrawDesignedIcons();

  pnlHeaderMain = new TPanel(this);
  pnlHeaderMain->SetName("pnlHeaderMain");
  pnlHeaderMain->BevelOuter = bvNone;
  pnlHeaderMain->SetParent(this);
  pnlHeaderMain->SetHeight(kHeaderHeight);
  pnlHeaderMain->SetAlign(alTop);

  pnlHederTools = new TPanel(this);
  pnlHederTools->SetName("pnlHederTools");
  pnlHederTools->BevelOuter = bvNone;
  pnlHederTools->SetColor(clSilver);
  pnlHederTools->SetParent(pnlHeaderMain);
  pnlHederTools->SetAlign(alRight);

  tbSystem = new TToolBar(this);
  tbSystem->SetName("tbSystem");
  tbSystem->Images = imlIcons;
  tbSystem->ButtonWidth = 24;
  tbSystem->ButtonHeight = 24;
  tbSystem->SetParent(pnlHederTools);
  tbOpenAttachments = MakeButton(this, tbSystem, "tbOpenAttachments", tbsButton, L"open attachments", kIconAttachments);
  ToolButton1 = MakeButton(this, tbSystem, "ToolButton1", tbsSeparator, L"", -1);
  tbKeyImagesStack = MakeButton(this, tbSystem, "tbKeyImagesStack", tbsButton, L"pop key images", kIconKeyImages);
  tbLossy = MakeButton(this, tbSystem, "tbLossy", tbsCheck, L"set lossy compression mode to study", kIconLossy);
  ToolButton5 = MakeButton(this, tbSystem, "ToolButton5", tbsSeparator, L"", -1);
  ToolButton2 = MakeButton(this, tbSystem, "ToolButton2", tbsSeparator, L"", -1);
  tbSortingForward = MakeButton(this, tbSystem, "tbSortingForward", tbsCheck, L"sort forward", kIconForward);
  ToolButton3 = MakeButton(this, tbSystem, "ToolButton3", tbsSeparator, L"", -1);
  tbDisable = MakeButton(this, tbSystem, "tbDisable", tbsCheck, L"close", kIconClose);
  tbOpenCollaps = MakeButton(this, tbSystem, "tbOpenCollaps", tbsCheck, L"collapse/expand", kIconCollapsed);
  tbOpenAttachments->Hide();
  ToolButton1->Hide();
  tbKeyImagesStack->Hide();
  tbLossy->Hide();
  tbLossy->SetEnabled(false);
  ToolButton2->Hide();
  tbOpenAttachments->OnClick = [this](TObject* s) { tbOpenAttachmentsClick(s); };
  tbKeyImagesStack->OnClick = [this](TObject* s) { tbKeyImagesStackClick(s); };
  tbLossy->OnClick = [this](TObject* s) { tbLossyClick(s); };
  tbSortingForward->OnClick = [this](TObject* s) { tbSortingForwardClick(s); };
  tbDisable->OnClick = [this](TObject* s) { tbDisableClick(s); };
  tbOpenCollaps->OnClick = [this](TObject* s) { tbOpenCollapsClick(s); };

  imgStudyStatus = new TImage(this);
  imgStudyStatus->SetName("imgStudyStatus");
  imgStudyStatus->SetBounds(0, 0, 22, 22);
  imgStudyStatus->Stretch = true;
  imgStudyStatus->Center = true;
  imgStudyStatus->Hide();
  imgStudyStatus->SetParent(pnlHeaderMain);
  bvStudyStatus = new TPanel(this);
  bvStudyStatus->SetName("bvStudyStatus");
  bvStudyStatus->BevelOuter = bvNone;
  bvStudyStatus->SetWidth(5);
  bvStudyStatus->Hide();
  bvStudyStatus->SetParent(pnlHeaderMain);

  pnlHeaderInfo = new TPanel(this);
  pnlHeaderInfo->SetName("pnlHeaderInfo");
  pnlHeaderInfo->BevelOuter = bvLowered;
  pnlHeaderInfo->SetColor(kOpenHeaderColor);
  pnlHeaderInfo->SetParent(pnlHeaderMain);
  pnlHeaderInfo->SetAlign(alClient);

  pscrolTitle = new TPageScroller(this);
  pscrolTitle->SetName("pscrolTitle");
  pscrolTitle->SetColor(kOpenHeaderColor);
  pscrolTitle->SetParent(pnlHeaderInfo);
  pscrolTitle->SetAlign(alClient);
  pnlTitle = new TPanel(this);
  pnlTitle->SetName("pnlTitle");
  pnlTitle->BevelOuter = bvNone;
  pnlTitle->SetColor(kOpenHeaderColor);
  pnlTitle->SetParent(pscrolTitle);
  bvLayout = new TPanel(this);
  bvLayout->SetName("bvLayout");
  bvLayout->BevelOuter = bvNone;
  bvLayout->SetColor(kOpenHeaderColor);
  bvLayout->SetWidth(5);
  bvLayout->SetParent(pnlTitle);
  bvLayout->SetAlign(alLeft);
  statictextTitle = new TLabel(this);
  statictextTitle->SetName("statictextTitle");
  statictextTitle->Font.Style = fsBold;
  statictextTitle->FontChanged();
  statictextTitle->SetTransparent(true);
  statictextTitle->SetParent(pnlTitle);
  statictextTitle->SetAlign(alLeft);

  // A click on the title, its panel or the scroller reaches pnlHeaderInfo as well (a mouse
  // release travels up to the parents here), so only the outermost takes it: one click, one
  // toggle.
  const auto toggle = [this](TObject* s) { pnlHeaderInfoClick(s); };
  pnlHeaderInfo->OnClick = toggle;
  imgStudyStatus->OnClick = toggle;

  pnlBoxDesk = new TPanel(this);
  pnlBoxDesk->SetName("pnlBoxDesk");
  pnlBoxDesk->BevelOuter = bvNone;
  pnlBoxDesk->SetColor(clGray);
  pnlBoxDesk->SetParent(this);
  pnlBoxDesk->SetAlign(alClient);

  pnlStudyNavigator = new TPanel(this);
  pnlStudyNavigator->SetName("pnlStudyNavigator");
  pnlStudyNavigator->BevelOuter = bvLowered;
  pnlStudyNavigator->SetColor(clSilver);
  pnlStudyNavigator->SetWidth(kNavigatorWidth);
  pnlStudyNavigator->Hide();
  pnlStudyNavigator->SetParent(pnlBoxDesk);
  pnlStudyNavigator->SetAlign(alLeft);
  sbForward = new TSpeedButton(this);
  sbForward->SetName("sbForward");
  sbForward->GroupIndex = 1;
  sbForward->AllowAllUp = true;
  sbForward->Flat = true;
  sbForward->SetCaption(L"\u25BC");
  sbForward->SetBounds(0, 0, 27, 22);
  sbForward->SetParent(pnlStudyNavigator);
  sbForward->SetAlign(alTop);
  sbBack = new TSpeedButton(this);
  sbBack->SetName("sbBack");
  sbBack->GroupIndex = 1;
  sbBack->AllowAllUp = true;
  sbBack->Flat = true;
  sbBack->SetCaption(L"\u25B2");
  sbBack->SetBounds(0, 0, 27, 22);
  sbBack->SetParent(pnlStudyNavigator);
  sbBack->SetAlign(alBottom);
  sbForward->OnClick = [this](TObject* s) { sbForwardClick(s); };
  sbBack->OnClick = [this](TObject* s) { sbBackClick(s); };
  TrackBarStadyNavigator = new TTrackBar(this);
  TrackBarStadyNavigator->SetName("TrackBarStadyNavigator");
  TrackBarStadyNavigator->SetOrientation(trVertical);
  TrackBarStadyNavigator->SetMin(1);
  TrackBarStadyNavigator->SetMax(1);
  TrackBarStadyNavigator->SetPosition(1);
  TrackBarStadyNavigator->SetParent(pnlStudyNavigator);
  TrackBarStadyNavigator->SetAlign(alClient);
  trackBarChange_ = [this](TObject* s) { TrackBarStadyNavigatorChange(s); };
  TrackBarStadyNavigator->OnChange = trackBarChange_;
  TrackBarStadyNavigator->OnEnter = [this](TObject* s) { TrackBarStadyNavigatorEnter(s); };

  scrollboxStaudyBox = new TScrollBox(this);
  scrollboxStaudyBox->SetName("scrollboxStaudyBox");
  scrollboxStaudyBox->SetColor(clSilver);
  scrollboxStaudyBox->SetVertScrollBarSize(20);
  scrollboxStaudyBox->SetParent(pnlBoxDesk);
  scrollboxStaudyBox->SetAlign(alClient);
}

void TFrameStudyBox::DrawDesignedIcons() {
  // The designed pictures of the header buttons, drawn once: 16 x 16 on a magenta ground that
  // the image list makes transparent.
  constexpr TColor ground = 0xFF00FF;
  for (int i = 0; i <= kIconAttachments; ++i) {
    TBitmap b;
    b.SetSize(16, 16);
    TCanvas* c = b.Canvas();
    c->Brush.Color = ground;
    c->FillRect(Rect(0, 0, 16, 16));
    c->Pen.Color = 0x404040;
    c->Brush.Color = 0x404040;
    switch (i) {
      case kIconCollapsed:
        c->Polygon({Point(4, 3), Point(12, 8), Point(4, 13)});
        break;
      case kIconExpanded:
        c->Polygon({Point(3, 5), Point(13, 5), Point(8, 12)});
        break;
      case kIconClose:
        c->Pen.Width = 2;
        c->MoveTo(4, 4);
        c->LineTo(12, 12);
        c->MoveTo(12, 4);
        c->LineTo(4, 12);
        break;
      case kIconReversed:
      case kIconForward: {
        const bool down = i == kIconReversed;
        c->Pen.Width = 2;
        c->MoveTo(8, 2);
        c->LineTo(8, 13);
        if (down) c->Polygon({Point(4, 3), Point(12, 3), Point(8, 0)});
        else c->Polygon({Point(4, 11), Point(12, 11), Point(8, 15)});
        break;
      }
      case kIconKeyImages:
        c->Brush.Color = 0x00A0E0;
        c->Ellipse(2, 3, 9, 10);
        c->Rectangle(8, 6, 15, 8);
        c->Rectangle(12, 8, 14, 11);
        break;
      case kIconLossy:
        c->Brush.Color = 0x0000C0;
        c->Pen.Color = 0x0000C0;
        c->Rectangle(2, 4, 14, 12);
        break;
      case kIconAttachments:
        c->Brush.Color = 0xFFFFFF;
        c->Rectangle(4, 2, 12, 14);
        c->MoveTo(6, 5);
        c->LineTo(10, 5);
        c->MoveTo(6, 8);
        c->LineTo(10, 8);
        break;
      default:
        break;
    }
    imlIcons->AddMasked(&b, ground);
  }
}

void TFrameStudyBox::InstallTileSetHandlers() {
  if (!tileSet_) return;
  iSTACK_TILE_SET& s = *tileSet_;
  s.OnTileSelected = [this](iSTACK_TILE* tile, bool sync) { HandleTileSelected(tile, sync); };
  s.OnMprSeriesRequest = [this](const void* r, iSTACK_TILE* tile) { return HandleMprSeriesRequest(r, tile); };
  s.OnSecondaryCaptureRequest = [this](const void* r, iSTACK_TILE* tile) {
    return OnSecondaryCaptureRequest ? OnSecondaryCaptureRequest(r, tile) : false;
  };
  s.OnKeyImageAdded = [this](const void* data, uint32_t size, iTILE_STACK_WINDOW* window, iSTACK_TILE* tile) {
    HandleKeyImageAdded(data, size, window, tile);
  };
  s.OnKeyImageRemoved = [this](const std::wstring& keyImage) { return HandleKeyImageRemoved(keyImage); };
  s.OnImageFileRequest = [this](int st, int se, int sk, int image, std::string& text, std::string& file) {
    return OnImageFileRequest ? OnImageFileRequest(st, se, sk, image, text, file) : false;
  };
  s.OnSaveKeyImages = [this](int st, int se, int sk) { return OnSaveKeyImages ? OnSaveKeyImages(st, se, sk) : false; };
  s.OnWorkAreaLeftDown = [this](iSTACK_TILE* t) { PauseNavigatorRepeat(t); };
  s.OnWorkAreaMiddleDown = [this](iSTACK_TILE* t) { PauseNavigatorRepeat(t); };
  s.OnWorkAreaLeftUp = [this](iSTACK_TILE* t) { ResumeNavigatorAt(t); };
  s.OnWorkAreaMiddleUp = [this](iSTACK_TILE* t) { ResumeNavigatorAt(t); };
  s.OnWorkAreaRightDown = [this](iSTACK_TILE* t) { HandleWorkAreaRightDown(t); };
  s.OnWorkAreaRightUp = [this](iSTACK_TILE* t) { SyncNavigatorToStack(t); };
  s.OnPreviousStack = [this] {
    if (wheelNavigationAllowed_ && OnPreviousStack) OnPreviousStack();
  };
  s.OnNextStack = [this] {
    if (wheelNavigationAllowed_ && OnNextStack) OnNextStack();
  };
  s.OnPlaceStack = [this](int st, int se, int sk) { return OnPlaceStack ? OnPlaceStack(st, se, sk) != 0 : false; };
}

void TFrameStudyBox::InstallTileHandlers(iSTACK_TILE* tile) {
  tile->OnEngineFilesRequest = [this](int st, int se, int sk, bool lossy, std::ostream& a, std::ostream& b,
                                      std::ostream& c, std::string& args) {
    return OnEngineFilesRequest ? OnEngineFilesRequest(st, se, sk, lossy, a, b, c, args) : false;
  };
  tile->OnWindowCreated = [this](iTILE_STACK_WINDOW* w) { return OnWindowCreated ? OnWindowCreated(w) : false; };
  tile->OnWindowCreatedInCell = [this](iTILE_STACK_WINDOW* w, int cell) {
    return OnWindowCreatedInCell ? OnWindowCreatedInCell(w, cell) : false;
  };
  tile->OnStudyLossyRequest = [this](bool value) { return HandleStudyLossyRequest(value); };
  tile->OnWheelOutside = [this](int x, int y, uint16_t delta, uint16_t keys) {
    HandleWheelOutside(x, y, static_cast<int16_t>(delta), static_cast<int16_t>(keys));
  };
}

// ---- Measures and queries ----

int TFrameStudyBox::GetStackCount() const { return IsEnabled() ? TileCount() : 0; }

int TFrameStudyBox::FindStackByWindow(platform::WindowHandle window) const {
  for (int i = 0; i < TileCount(); ++i) {
    const platform::WindowHandle h = tileSet_->Tile(i)->GetStackWindowHandle();
    if (h != 0 && h == window) return i;
  }
  return -1;
}

bool TFrameStudyBox::HasShownStack() const {
  for (int i = 0; i < TileCount(); ++i)
    if (tileSet_->Tile(i)->IsShown()) return true;
  return false;
}

int TFrameStudyBox::GetCompactHeight() const {
  return pnlHeaderMain->Height() + (pnlBoxDesk->Visible() && tileSet_ ? tileSet_->GetTileHeight() : 0);
}

int TFrameStudyBox::GetFullHeight() const {
  return pnlHeaderMain->Height() + (pnlBoxDesk->Visible() && tileSet_ ? tileSet_->GetFullHeight() : 0);
}

int TFrameStudyBox::GetPreferredWidth() const {
  // The strip's width counts whether it shows or not.
  return pnlStudyNavigator->Width() + (tileSet_ ? tileSet_->GetBaseWidth() : 0) +
         (scrollboxStaudyBox->VertScrollBarVisible() ? scrollboxStaudyBox->VertScrollBarSize() : 0);
}

void TFrameStudyBox::SetBounds(int left, int top, int width, int height) {
  // The maximum height constraint: never taller than the header and every tile.
  if (maxHeight_ > 0) height = std::min(height, maxHeight_);
  TFrame::SetBounds(left, top, width, height);
}

// ---- Building the tiles ----

bool TFrameStudyBox::FillTile(int index) {
  if (!tileSet_ || index < 0 || index >= tileSet_->Count() || !OnGetStackInfo) return false;
  STACK_INFO_INIT_STRUCT info;
  if (!OnGetStackInfo(studyKey_, index, info)) return false;
  wheelNavigationAllowed_ = wheelNavigationAllowed_ && AllowsWheelNavigation(info.Modality);
  navigatorTotal_ += info.ImageCount;
  iSTACK_TILE* tile = tileSet_->Tile(index);
  InstallTileHandlers(tile);
  tile->Fill(info);
  tile->Control()->SetAlign(alTop);
  tile->Control()->Show();
  preferredWidth_ =
      std::max(preferredWidth_, tile->GetInfoPanelLeft() + tile->GetRightMargin() + tile->GetWidestLabelWidth());
  tile->SetLossy(tbLossy->Visible() ? (tbLossy->Down() ? 1 : 0) : -1);
  tile->SetKeyImageStackIndex(index);
  tile->Control()->Repaint();
  return true;
}

void TFrameStudyBox::BuildTiles() {
  if (nextTile_ >= 0) return;
  tbSortingForward->SetEnabled(false);
  Repaint();
  const int count = TileCount();
  for (nextTile_ = 0; nextTile_ < count; ++nextTile_) FillTile(nextTile_);
  FinishBuilding();
  Repaint();
}

void TFrameStudyBox::StartTileBuilding() {
  if (nextTile_ >= 0 || buildTimerArmed_) return;
  buildTimerArmed_ = platform::SetTimer(Handle(), BuildTimerId(), kBuildTickMs) != 0;
}

void TFrameStudyBox::FinishBuilding() {
  tilesBuilt_ = true;
  tbSortingForward->SetEnabled(true);
  // The order button may have been pressed before any tile existed: the tiles then follow it.
  if (reversed_ && tileSet_ && tileSet_->Count() > 1) tileSet_->ReverseOrder();
  tbKeyImagesStack->SetVisible(tileSet_ && tileSet_->GetKeyImageStackIndex() >= 0);
  UpdateKeyImageSeparator();
  if (navigatorTotal_ > 1) {
    TrackBarStadyNavigator->OnChange = nullptr;
    TrackBarStadyNavigator->SetMin(1);
    TrackBarStadyNavigator->SetMax(navigatorTotal_);
    TrackBarStadyNavigator->SetPosition(1);
    TrackBarStadyNavigator->OnChange = trackBarChange_;
    pnlStudyNavigator->Show();
    preferredWidth_ += pnlStudyNavigator->Width();
  }
  if (scrollboxStaudyBox->VertScrollBarVisible()) preferredWidth_ += scrollboxStaudyBox->VertScrollBarSize();
  if (host_ && host_->FitStudiesPanelWidth) host_->FitStudiesPanelWidth(preferredWidth_);
}

// ---- Collapse, expansion, closing, order ----

void TFrameStudyBox::tbOpenCollapsClick(TObject*) {
  const bool minimized = host_ && host_->IsMinimizeToIconsDown && host_->IsMinimizeToIconsDown();
  if (!tilesBuilt_ && tbOpenCollaps->Down()) StartTileBuilding();
  ShowDesk(tbOpenCollaps->Down());
  Repaint();
  if (host_ && host_->SetStudiesPanelWidth) host_->SetStudiesPanelWidth(minimized);
}

void TFrameStudyBox::ShowDesk(bool expanded) {
  if (pnlBoxDesk->Visible() == expanded) return;
  const bool locked = LockWindowUpdate(this);
  pnlBoxDesk->SetVisible(!pnlBoxDesk->Visible());
  // An owner without these handlers simply is not told.
  if (pnlBoxDesk->Visible()) {
    if (OnExpanded) OnExpanded();
  } else if (OnCollapsed) {
    OnCollapsed();
  }
  RelayoutParent();
  UpdateButtonPicture(tbOpenCollaps, expanded, kIconCollapsed, kIconExpanded);
  if (locked) LockWindowUpdate(nullptr);
}

void TFrameStudyBox::RelayoutParent() {
  // The VCL widens the parent by a pixel to make the panel lay its boxes out again; here the
  // parent re-aligns its children directly.
  if (Parent()) Parent()->AlignControls();
}

void TFrameStudyBox::pnlHeaderInfoClick(TObject*) {
  if (!pnlHeaderInfo->Enabled()) return;
  tbOpenCollaps->SetDown(!tbOpenCollaps->Down());
  tbOpenCollapsClick(tbOpenCollaps);
}

bool TFrameStudyBox::Expand() {
  if (!IsEnabled()) return false;
  if (IsExpanded()) return true;
  if (!tilesBuilt_) BuildTiles();
  tbOpenCollaps->SetDown(true);
  tbOpenCollapsClick(tbOpenCollaps);
  return true;
}

bool TFrameStudyBox::Collapse() {
  if (IsEnabled() && IsExpanded()) {
    tbOpenCollaps->SetDown(false);
    tbOpenCollapsClick(tbOpenCollaps);
  }
  return IsEnabled();
}

void TFrameStudyBox::tbDisableClick(TObject*) {
  const bool closed = tbDisable->Down();
  if (closed && IsExpanded()) {
    tbOpenCollaps->SetDown(false);
    tbOpenCollapsClick(tbOpenCollaps);
  }
  tbOpenCollaps->SetEnabled(!closed);
  tbSortingForward->SetEnabled(!closed);
  pnlHeaderInfo->SetEnabled(!closed);
  statictextTitle->SetEnabled(!closed);
  const TColor colour = closed ? kClosedHeaderColor : kOpenHeaderColor;
  pnlHeaderInfo->SetColor(colour);
  pscrolTitle->SetColor(colour);
  pnlTitle->SetColor(colour);
  bvLayout->SetColor(colour);
  if (closed && tileSet_) tileSet_->SetAllShown(false);
  RelayoutParent();
  Repaint();
  Application->ProcessMessages();
  if (destroying_) return;
  if (OnStudyEnabledChanged) OnStudyEnabledChanged(!closed);
}

void TFrameStudyBox::tbSortingForwardClick(TObject*) {
  if (tilesBuilt_ && tileSet_) {
    tileSet_->ReverseOrder();
    if (OnStudyOrderChanged) OnStudyOrderChanged();
  }
  reversed_ = tbSortingForward->Down();
  tbSortingForward->SetHint(reversed_ ? L"sort back" : L"sort forward");
  UpdateButtonPicture(tbSortingForward, reversed_, kIconForward, kIconReversed);
}

void TFrameStudyBox::UpdateButtonPicture(TToolButton* button, bool down, int upIndex, int downIndex) {
  auto skinned = skinned_.find(button);
  if (skinned == skinned_.end()) {
    button->SetImageIndex(down ? downIndex : upIndex);
    return;
  }
  // A skinned button swaps its normal picture for its pressed one from the store list.
  const TButtonImages& images = skinned->second;
  if (images.pressedIndex < 0 || images.normalIndex < 0) return;
  TBitmap picture;
  if (!ilStore16x16->GetBitmap(down ? images.pressedIndex : images.normalIndex, &picture)) return;
  const int index = button->ImageIndex();
  std::vector<std::shared_ptr<TBitmap>> pictures;
  for (int i = 0; i < ilNormal16x16->Count(); ++i) {
    auto copy = std::make_shared<TBitmap>();
    if (i == index) copy->Assign(picture);
    else ilNormal16x16->GetBitmap(i, copy.get());
    pictures.push_back(copy);
  }
  ilNormal16x16->Clear();
  for (auto& p : pictures) ilNormal16x16->Add(p.get(), nullptr);
  button->UpdateLook();
}

void TFrameStudyBox::LayoutTitle() {
  // pnlTitle sizes itself to the spacer and the title; the scroller scrolls it when the
  // header is narrower.
  const int height = std::max(pnlHeaderInfo->Height() - 2, 1);
  pnlTitle->SetBounds(0, 0, bvLayout->Width() + statictextTitle->Width(), height);
  pscrolTitle->SetControl(pnlTitle);
}

void TFrameStudyBox::FrameResize(TObject*) {
  LayoutTitle();
  statictextTitle->ShowHint = pscrolTitle->ClientWidth() < statictextTitle->Width() + bvLayout->Width();
}

// ---- Selection and insertions ----

void TFrameStudyBox::ScrollTileIntoView(iSTACK_TILE* tile) {
  if (!tile || !tileSet_) return;
  const int position = scrollboxStaudyBox->VertPosition();
  const int top = tile->Control()->Top() + tileSet_->Control()->Top() - position;
  const int height = tile->Control()->Height();
  if (top < 0) scrollboxStaudyBox->SetVertPosition(position + top);
  else if (scrollboxStaudyBox->Height() < top + height)
    scrollboxStaudyBox->SetVertPosition(position + top + height - scrollboxStaudyBox->Height());
}

void TFrameStudyBox::HandleTileSelected(iSTACK_TILE* tile, bool synchronise) {
  ScrollTileIntoView(tile);
  if (OnStackSelected) OnStackSelected(this, tile);
  if (repeatDirection_ == 0 && OnNavigatorActivity) OnNavigatorActivity(nullptr);
  if (synchronise) {
    const int position = GetNavigatorPosition(tile, repeatDirection_);
    if (position >= 0) SetNavigatorPositionDetached(position);
  }
}

int TFrameStudyBox::InsertionPosition(int stackIndex) const {
  return reversed_ ? TileCount() - stackIndex : stackIndex;
}

iSTACK_TILE* TFrameStudyBox::InsertTile(int position, STACK_INFO_INIT_STRUCT& info) {
  const int stackIndex = info.StackIndex;
  (void)stackIndex;
  info.Description.clear();
  iSTACK_TILE* tile = tileSet_->InsertStack(position, info);
  tile->Control()->Show();
  InstallTileHandlers(tile);
  tile->SetLossy(tbLossy->Visible() ? (tbLossy->Down() ? 1 : 0) : -1);
  return tile;
}

void TFrameStudyBox::ReExpand() {
  Collapse();
  maxHeight_ = (tileSet_ ? tileSet_->GetFullHeight() : 0) + pnlHeaderMain->Height();
}

bool TFrameStudyBox::HandleMprSeriesRequest(const void* request, iSTACK_TILE* tile) {
  int stackIndex = -1;
  if (!OnMprSeriesRequest || !OnMprSeriesRequest(request, tile, stackIndex)) return false;
  if (stackIndex < 0) return true;
  if (!tileSet_) return false;
  tbSortingForward->SetEnabled(false);
  STACK_INFO_INIT_STRUCT info;
  const int position = InsertionPosition(stackIndex);
  if (!OnGetStackInfo || position < 0 || position > tileSet_->Count() || !OnGetStackInfo(studyKey_, stackIndex, info)) {
    tbSortingForward->SetEnabled(true);
    return false;
  }
  const bool locked = LockWindowUpdate(this);
  iSTACK_TILE* added = InsertTile(position, info);
  added->SetKeyImageStackIndex(stackIndex);
  TrackBarStadyNavigator->SetMax(TrackBarStadyNavigator->Max() + info.ImageCount);
  ++nextTile_;
  // The new series takes its place before the tiles below it (above it when reversed).
  if (!reversed_) {
    for (int i = position + 1; i < tileSet_->Count(); ++i)
      tileSet_->Tile(i)->SetSeriesIndex(tileSet_->Tile(i)->GetSeriesIndex() + 1);
  } else {
    for (int i = position - 1; i >= 0; --i)
      tileSet_->Tile(i)->SetSeriesIndex(tileSet_->Tile(i)->GetSeriesIndex() + 1);
  }
  ReExpand();
  const bool open = Expand();
  if (open) HandleTileSelected(tileSet_->Tile(position), false);
  if (locked) LockWindowUpdate(nullptr);
  Repaint();
  tbSortingForward->SetEnabled(true);
  return open;
}

void TFrameStudyBox::HandleKeyImageAdded(const void* data, uint32_t size, iTILE_STACK_WINDOW* window,
                                         iSTACK_TILE* tile) {
  bool created = false;
  int stackIndex = -1;
  if (!OnKeyImageAdded || !OnKeyImageAdded(data, size, window, tile, created, stackIndex)) return;
  if (!tileSet_) return;
  STACK_INFO_INIT_STRUCT info;
  if (created) {
    tbSortingForward->SetEnabled(false);
    const int position = InsertionPosition(stackIndex);
    if (OnGetStackInfo && position >= 0 && position <= tileSet_->Count() && OnGetStackInfo(studyKey_, stackIndex, info)) {
      iSTACK_TILE* added = InsertTile(position, info);
      added->SetKeyImageStackIndex(stackIndex);
      TrackBarStadyNavigator->SetMax(TrackBarStadyNavigator->Max() + 1);
      ReExpand();
      Expand();
      tbKeyImagesStack->Show();
      UpdateKeyImageSeparator();
    }
    tbSortingForward->SetEnabled(true);
  } else if (OnGetStackInfo && OnGetStackInfo(studyKey_, stackIndex, info)) {
    TrackBarStadyNavigator->SetMax(TrackBarStadyNavigator->Max() + 1);
    if (tileSet_->GetKeyImageStackIndex() >= 0) {
      info.Description.clear();
      tileSet_->GetKeyImageStack()->Fill(info);
    }
  }
  // The owner may have reported a key-image stack without giving its description: then
  // there is no key-image tile to select.
  if (tileSet_->GetKeyImageStackIndex() >= 0) HandleTileSelected(tileSet_->GetKeyImageStack(), false);
}

bool TFrameStudyBox::HandleKeyImageRemoved(const std::wstring& keyImage) {
  if (!OnKeyImageRemoved || !OnKeyImageRemoved(keyImage)) return false;
  if (!tileSet_) return true;
  try {
    const int stackIndex = tileSet_->GetKeyImageStackIndex();
    STACK_INFO_INIT_STRUCT info;
    if (OnGetStackInfo && OnGetStackInfo(studyKey_, stackIndex, info)) {
      info.Description.clear();
      iSTACK_TILE* keyTile = tileSet_->GetKeyImageStack();
      keyTile->Fill(info);
      TrackBarStadyNavigator->OnChange = nullptr;
      if (TrackBarStadyNavigator->Max() > 0) TrackBarStadyNavigator->SetMax(TrackBarStadyNavigator->Max() - 1);
      TrackBarStadyNavigator->SetPosition(TrackBarStadyNavigator->Position() - 1);
      TrackBarStadyNavigator->OnChange = trackBarChange_;
      HandleTileSelected(keyTile, false);
    }
  } catch (...) {
    // The key-image stack is gone: its tile goes, wherever it stands.
    int keyIndex = -1;
    for (int i = 0; i < tileSet_->Count(); ++i)
      if (tileSet_->Tile(i)->IsKeyImageTile()) {
        keyIndex = i;
        break;
      }
    tbKeyImagesStack->Hide();
    UpdateKeyImageSeparator();
    if (keyIndex >= 0) {
      tbSortingForward->SetEnabled(false);
      tileSet_->Tile(keyIndex)->SetShown(false);
      if (keyIndex == 0) tileSet_->RemoveFirstStack();
      else if (keyIndex == tileSet_->Count() - 1) tileSet_->RemoveLastStack();
      else tileSet_->RemoveStack(keyIndex);
      TrackBarStadyNavigator->OnChange = nullptr;
      if (TrackBarStadyNavigator->Max() >= 1) TrackBarStadyNavigator->SetMax(TrackBarStadyNavigator->Max() - 1);
      TrackBarStadyNavigator->OnChange = trackBarChange_;
      ReExpand();
      Expand();
      tbSortingForward->SetEnabled(true);
    }
  }
  return true;
}

// ---- Window procedure ----

platform::LResult TFrameStudyBox::WndProc(uint32_t message, platform::WParam wParam, platform::LParam) {
  if (message == platform::kWmTimer) {
    try {
      OnTimer(static_cast<uintptr_t>(wParam));
    } catch (const std::system_error&) {
      // A failing system call during a tick ends that tick; the timer is not armed again.
    }
    return 0;
  }
  if (message == kWmParentNotify) {
    const int event = static_cast<int>(wParam & 0xFFFF);
    if (event != kWmCreate && event != kWmDestroy && IsExpanded() && pnlBoxDesk->Visible())
      scrollboxStaudyBox->SetFocus();
    return 0;
  }
  return 0;
}

void TFrameStudyBox::OnTimer(uintptr_t timerId) {
  if (timerId == BuildTimerId()) {
    platform::KillTimer(Handle(), BuildTimerId());
    buildTimerArmed_ = false;
    ++nextTile_;
    if (nextTile_ < TileCount()) {
      tbSortingForward->SetEnabled(false);
      FillTile(nextTile_);
      buildTimerArmed_ = platform::SetTimer(Handle(), BuildTimerId(), kBuildTickMs) != 0;
    } else {
      FinishBuilding();
    }
  } else if (timerId == repeatTimerId_) {
    KillRepeatTimer();
    const int min = TrackBarStadyNavigator->Min(), max = TrackBarStadyNavigator->Max();
    const int position = TrackBarStadyNavigator->Position();
    if (repeatDirection_ == 1) {
      if (!navigatorBusy_ && changeDepth_ == 0) TrackBarStadyNavigator->SetPosition(position >= max ? min : position + 1);
      if (repeatDirection_ != 0) ArmRepeatTimer();
    } else if (repeatDirection_ == -1) {
      // Like the forward walk, a tick that finds a change being handled skips its step and
      // keeps the repetition going.
      if (!navigatorBusy_ && changeDepth_ == 0) TrackBarStadyNavigator->SetPosition(position <= min ? max : position - 1);
      if (repeatDirection_ != 0) ArmRepeatTimer();
    } else {
      navigatorBusy_ = false;
    }
  }
}

}  // namespace ORN_browser
