#include "browser/tiles/TFrameStackInfo.h"

#include <sstream>

#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"
#include "app/widgets/StartupResources.h"
#include "browser/tiles/StackIcon.h"
#include "platform/com/Library.h"
#include "platform/core/Clock.h"
#include "platform/files/FileAttributes.h"
#include "platform/windows/Messages.h"

namespace ORN_browser {

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kUnselectedText = 0xC0C0C0;

TPanel* MakeShape(TWinControl* parent, const char* name, int l, int t, int w, int h, TColor color) {
  auto* shape = new TPanel(parent);
  shape->SetName(name);
  shape->BevelOuter = bvNone;
  shape->SetColor(color);
  shape->SetParent(parent);
  shape->SetBounds(l, t, w, h);
  return shape;
}

TLabel* MakeLabel(TWinControl* parent, const char* name, int l, int t) {
  auto* label = new TLabel(parent);
  label->SetName(name);
  label->SetParent(parent);
  label->SetTransparent(true);
  label->SetLeft(l);
  label->SetTop(t);
  return label;
}

std::wstring Widen(const std::string& text) { return platform::Utf8ToWide(text); }

}  // namespace

TFrameStackInfo::TFrameStackInfo(TComponent* owner) : TFrame(owner) {
  BuildForm();
  stackInitialisation_ = TileHost() && TileHost()->StackInitialization();
  placementAsked_ = false;
  ownHandle_ = Handle();
  WindowProc = [this](uint32_t m, platform::WParam w, platform::LParam l) { return Dispatch(m, w, l); };
  initOrder_ = std::make_unique<TsgEngineInitOrder>(*this, asynchronous_, gaugeVisible_);
  ApplyHostLook();
  UpdateLossyMark();

  dragPicture = std::make_unique<app::TfrmDragDrop>(nullptr);
  infoStrip = std::make_unique<app::TfrmInfoToolbar>(nullptr);
  infoStrip->cbLossyMode->SetEnabled(ORN_image::TgbStackEngineProcess::SessionNumber() != ~uint64_t(0));
  if (TileHost()) infoStrip->Scale(TileHost()->GuiResources().Scale);
  infoStrip->sbFreeMatrix->OnClick = [this](TObject* s) { OnStripFreeMatrixClick(s); };
  infoStrip->cbLossyMode->OnClick = [this](TObject* s) { StripLossyClick(s); };
  infoStrip->pnlTools->OnClick = [this](TObject* s) { lblMouseScreenClick(s); };
  infoStrip->UpdateLossyHint();
  infoStrip->SetWidth(imIcon->Width());
  infoStrip->keepOpen = [](void* self, TPoint p) { return static_cast<TFrameStackInfo*>(self)->StripContainsPoint(p); };
  infoStrip->keepOpenData = this;
}

TFrameStackInfo::~TFrameStackInfo() {
  *alive_ = false;
  ClearClosures();
  infoStrip->sbFreeMatrix->OnClick = nullptr;
  infoStrip->cbLossyMode->OnClick = nullptr;
  infoStrip->pnlTools->OnClick = nullptr;
  infoStrip->keepOpen = nullptr;
  // The engine goes first, so its watcher can no longer post to this tile.
  engine_.SetExitCallback(nullptr);
  engine_.Stop();
  initOrder_->Release();
  WindowProc = nullptr;
  infoStrip.reset();
  dragPicture.reset();
  stackWindow_.reset();
}

void TFrameStackInfo::BuildForm() {
  SetName("FrameStackInfo");
  SetBounds(0, 0, kDesignWidth, kDesignHeight);
  SetColor(clSilver);
  Font.Name = "MS Sans Serif";
  Font.SetHeight(-12);
  Font.Style = fsBold;
  FontChanged();

  shapeMain = MakeShape(this, "shapeMain", 0, 0, 411, 142, clGray);
  shapeMain->Anchors = akLeft | akTop | akRight;
  Shape2 = MakeShape(this, "Shape2", 5, 5, 132, 132, clWhite);
  ShapeForLossy = MakeShape(this, "ShapeForLossy", 5, 5, 132, 132, clWhite);
  ShapeForLossy->Hide();  // a clear brush: only its geometry counts
  imIcon = new TImage(this);
  imIcon->SetName("imIcon");
  imIcon->SetParent(this);
  imIcon->SetBounds(7, 7, 128, 128);
  imIcon->Stretch = true;
  imIcon->Picture()->SetSize(128, 128);
  shapeInfo = MakeShape(this, "shapeInfo", 141, 5, 265, 132, clWhite);
  shapeInfo->Anchors = akLeft | akTop | akRight;

  lblLossy = MakeLabel(this, "lblLossy", 7, 7);
  lblLossy->SetCaption(L" LOSSY ");
  lblLossy->SetTransparent(false);
  lblLossy->SetColor(clWhite);
  lblLossy->Font.Color = clRed;
  lblLossy->Font.Style = fsBold;
  lblLossy->FontChanged();
  lblNoIicon = MakeLabel(this, "lblNoIicon", 9, 64);
  lblNoIicon->AutoSize = false;
  lblNoIicon->SetBounds(9, 64, 124, 15);
  lblNoIicon->SetAlignment(taCenter);
  lblNoIicon->SetCaption(L"No Icon");
  lblNoIicon->Font.Name = "Arial";
  lblNoIicon->Font.Style = fsBold;
  lblNoIicon->Font.Color = clGray;
  lblNoIicon->FontChanged();

  CGaugeInit = new TCGauge(this);
  CGaugeInit->SetName("CGaugeInit");
  CGaugeInit->SetParent(this);
  CGaugeInit->SetBounds(7, 119, 128, 16);
  CGaugeInit->Hide();

  infPanel = new TPanel(this);
  infPanel->SetName("infPanel");
  infPanel->BevelOuter = bvNone;
  infPanel->SetParent(this);
  infPanel->SetBounds(153, 6, 239, 130);
  infPanel->Anchors = akLeft | akTop | akRight | akBottom;
  infPanel->SetColor(clWhite);
  const struct {
    TLabel** label;
    const char* name;
    int top;
  } lines[] = {{&lblSeriesNum, "lblSeriesNum", 8},   {&lblNumOfImages, "lblNumOfImages", 25},
               {&lblProtocol, "lblProtocol", 42},     {&lblDateTime, "lblDateTime", 58},
               {&lblModality, "lblModality", 75},     {&lblPartOfBody, "lblPartOfBody", 92},
               {&lblDescription, "lblDescription", 108}};
  for (const auto& line : lines) *line.label = MakeLabel(infPanel, line.name, 0, line.top);
  lblPanelMouseScreen = MakeLabel(infPanel, "lblPanelMouseScreen", 0, 0);
  lblPanelMouseScreen->AutoSize = false;
  lblPanelMouseScreen->SetAlign(alClient);

  // The mouse surface lies over everything but the view check box.
  lblMouseScreen = MakeLabel(this, "lblMouseScreen", 0, 0);
  lblMouseScreen->AutoSize = false;
  lblMouseScreen->SetAlign(alClient);
  pnlTool = new TPanel(this);
  pnlTool->SetName("pnlTool");
  pnlTool->SetParent(this);
  pnlTool->SetBounds(113, 7, 19, 19);
  chbView = new TCheckBox(pnlTool);
  chbView->SetName("chbView");
  chbView->SetParent(pnlTool);
  chbView->SetBounds(2, 1, 15, 17);
  chbView->OnClick = [this](TObject* s) { chbViewClick(s); };

  for (TLabel* surface : {lblMouseScreen, lblPanelMouseScreen}) {
    surface->OnClick = [this](TObject* s) { lblMouseScreenClick(s); };
    surface->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { lblMouseScreenMouseMove(s, sh, x, y); };
    surface->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      lblMouseScreenMouseDown(s, b, sh, x, y);
    };
    surface->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      lblMouseScreenMouseUp(s, b, sh, x, y);
      // The right button opens the context popup, which the chooser takes over.
      if (b == mbRight) {
        bool handled = false;
        lblPanelMouseScreenContextPopup(s, TPoint{x, y}, handled);
      }
    };
  }
}

TColor TFrameStackInfo::HostColor(const wchar_t* name, TColor fallback) const {
  iTILE_HOST* host = TileHost();
  if (!host) return fallback;
  const app::TGuiResources gui = host->GuiResources();
  return gui.Colors ? gui.Colors->GetColor(name, fallback) : fallback;
}

void TFrameStackInfo::ApplyHostLook() {
  iTILE_HOST* host = TileHost();
  if (!host) return;
  const app::TGuiResources gui = host->GuiResources();
  const double scale = gui.Scale;
  app::ScaleControl(this, scale);
  SetHeight(static_cast<int>(kDesignHeight * scale));
  if (gui.Fonts) {
    Font.Name = gui.Fonts->Info.Name;
    Font.Size = static_cast<int>(gui.Fonts->Info.Size * scale);
    FontChanged();
    app::ApplyScaledFont(CGaugeInit, gui.Fonts->Info, scale);
  }
  for (TControl* c : std::initializer_list<TControl*>{shapeInfo, Shape2, ShapeForLossy, shapeMain, imIcon, infPanel})
    app::ScaleControl(c, scale);
  if (scale != 1.0) {
    CGaugeInit->SetHeight(static_cast<int>(CGaugeInit->Height() * scale));
    CGaugeInit->SetWidth(static_cast<int>(CGaugeInit->Width() * scale));
  }
  for (TControl* c : std::initializer_list<TControl*>{lblProtocol, lblDescription, lblDateTime, lblModality,
                                                      lblMouseScreen, lblNoIicon, lblNumOfImages, lblPartOfBody,
                                                      lblSeriesNum})
    app::ScaleControl(c, scale);
  pnlTool->SetBounds(imIcon->Left() + imIcon->Width() - pnlTool->Width(), imIcon->Top(), pnlTool->Width(),
                     pnlTool->Height());

  shapeMain->SetColor(HostColor(L"cBackgraund", shapeMain->Color()));
  shapeInfo->SetColor(HostColor(L"cDefault", shapeInfo->Color()));
  infPanel->SetColor(HostColor(L"cDefault", infPanel->Color()));
  CGaugeInit->BackColor = HostColor(L"cInfo", CGaugeInit->BackColor);
  CGaugeInit->ForeColor = HostColor(L"cSelected", CGaugeInit->ForeColor);
  for (TLabel* l : {lblDateTime, lblModality, lblNumOfImages, lblPartOfBody, lblProtocol, lblSeriesNum, lblDescription}) {
    l->Font.Color = HostColor(L"cInfoText", l->Font.Color);
    l->FontChanged();
  }
  lblLossy->Font.Color = HostColor(L"cInfoLossyText", lblLossy->Font.Color);
  lblLossy->FontChanged();
  lblNoIicon->Font.Color = HostColor(L"cInfoNoIconText", lblNoIicon->Font.Color);
  lblNoIicon->FontChanged();
}

void TFrameStackInfo::ApplyGuiResources(TResourceInitialization* record) {
  record_ = record;
  if (!record) return;
  const std::wstring text = record->GetText(L"GUI_STRINGS");
  app::TsgPropertiesPage page;
  if (!text.empty() && page.Init(text, -1) && !page.PopErrorFlag()) {
    auto take = [&page](const wchar_t* key, const std::wstring& fallback) {
      return page.SeekChild(key) ? page.GetChildAttribute<std::wstring>(L"value", fallback, -1) : fallback;
    };
    lblLossy->SetCaption(take(L"lossy_caption", L"LOSSY"));
    keyImageCaption_ = take(L"noicon_caption", keyImageCaption_);
    saveErrorText_ = take(L"msgSaveError", saveErrorText_);
    engineDiedQuestion_ = take(L"msgEngineError", engineDiedQuestion_);
    errorCaption_ = take(L"msgErrorCaption", errorCaption_);
  }
  app::TStartupResources resources(record);
  infoStrip->ApplyGuiResources(&resources);
  SetInitModes(record->GetGuiDefaultBool(L"PixtraneAsynchronousMode", true),
               record->GetGuiDefaultBool(L"StackInitProgressBarVisible", true));
}

void TFrameStackInfo::SetInitModes(bool asynchronous, bool gaugeVisible) {
  asynchronous_ = asynchronous;
  gaugeVisible_ = gaugeVisible;
  // The order keeps the modes it was made with; a new one takes the settings (and the old
  // one gives back whatever it held).
  auto observer = initOrder_ ? initOrder_->OnEngineMessage : nullptr;
  initOrder_ = std::make_unique<TsgEngineInitOrder>(*this, asynchronous_, gaugeVisible_);
  initOrder_->OnEngineMessage = std::move(observer);
}

void TFrameStackInfo::SetTextColor(TColor color) {
  textColor_ = color;
  Font.Color = color;
  FontChanged();
  for (TLabel* l : {lblDateTime, lblModality, lblNumOfImages, lblPartOfBody, lblProtocol, lblSeriesNum, lblDescription}) {
    l->Font.Color = color;
    l->FontChanged();
  }
}

void TFrameStackInfo::Fill(const TStackDescription& d) {
  TCanvas* canvas = imIcon->Picture()->Canvas();
  canvas->Brush.Color = HostColor(L"cBackgraund", canvas->Brush.Color);
  canvas->Brush.Style = bsSolid;
  canvas->FillRect(Rect(0, 0, imIcon->Picture()->Width(), imIcon->Picture()->Height()));

  auto setLine = [this](TLabel* label, const std::wstring& text) {
    label->SetCaption(text);
    widestLabel_ = std::max(widestLabel_, label->Width());
  };
  setLine(lblSeriesNum, L"SE #" + std::to_wstring(d.SeriesNumber));
  setLine(lblNumOfImages, L"IM: " + std::to_wstring(d.ImageCount));
  setLine(lblProtocol, d.Protocol);
  setLine(lblDateTime, Widen(d.Date) + L" " + Widen(d.Time));
  setLine(lblModality, Widen(d.Modality));
  setLine(lblPartOfBody, Widen(d.BodyPart));
  setLine(lblDescription, d.Description);

  study_ = d.Study;
  series_ = d.Series;
  stack_ = d.Stack;
  imageCount_ = d.ImageCount;

  if (d.Protocol == kKeyImageProtocol) {
    lblNoIicon->SetCaption(keyImageCaption_);
    lblNoIicon->Font.Color = kWhite;
    lblNoIicon->FontChanged();
    keyImageTile_ = true;
    transientKeyImages_ = CountTransientKeyImages();
    // The tile owns the handle it was given, used or not.
    platform::DeleteBitmap(d.Icon);
  } else if (d.Icon) {
    // A bitmap whose rows cannot all be read is refused; the tile keeps its "No Icon".
    if (CopyIconBitmap(d.Icon, *imIcon->Picture())) lblNoIicon->SetCaption(L"");
    platform::DeleteBitmap(d.Icon);
  }
  Repaint();
  usable_ = true;
  if (engine_.IsRunning()) RestartEngine();
}

// ---------------------------------------------------------------- showing and selecting

void TFrameStackInfo::Show() { ShowOrPlace(-1); }
void TFrameStackInfo::ShowInCell(int cell) { ShowOrPlace(cell); }

void TFrameStackInfo::ShowOrPlace(int cell) {
  if (!usable_ || shown_) return;
  lastActivity_ = LocalTimeStamp();
  if (lossyWanted_ != lossyApplied_) {
    UpdateLossyMark();
    if (engine_.IsRunning()) StopEngine();
  }
  const bool created = cell < 0 ? CreateStackWindow() : CreateStackWindowInCell(cell);
  shown_ = created && StartEngine();
  SetViewChecked(shown_);
  if (shown_) {
    shapeInfo->SetColor(HostColor(L"cSelected", shapeInfo->Color()));
    infPanel->SetColor(HostColor(L"cSelected", infPanel->Color()));
    SetTextColor(kWhite);
  }
}

void TFrameStackInfo::Hide(bool detach) {
  if (!usable_ || !shown_) return;
  lastActivity_ = LocalTimeStamp();
  shown_ = false;
  Unselect(detach);
  if (detach && stackWindow_)
    platform::PostMessage(stackWindow_->Handle(), tile_msg::kHide, platform::WParam(ownHandle_), 0);
  CGaugeInit->Hide();
  SetViewChecked(false);
  shapeInfo->SetColor(HostColor(L"cDefault", shapeInfo->Color()));
  infPanel->SetColor(HostColor(L"cDefault", infPanel->Color()));
  SetTextColor(0);
}

void TFrameStackInfo::SetShown(bool shown) {
  if (shown)
    Show();
  else
    Hide(true);
}

void TFrameStackInfo::SetViewChecked(bool checked) {
  auto handler = std::move(chbView->OnClick);
  chbView->OnClick = nullptr;
  chbView->SetChecked(checked);
  chbView->OnClick = std::move(handler);
}

void TFrameStackInfo::Select(bool notify) {
  if (!usable_ || selected_ || !shown_) return;
  shapeMain->SetColor(HostColor(L"cActive", shapeMain->Color()));
  shapeInfo->SetColor(HostColor(L"cSelected", shapeInfo->Color()));
  infPanel->SetColor(HostColor(L"cSelected", infPanel->Color()));
  SetTextColor(kWhite);
  selected_ = true;
  if (OnTileSelected) OnTileSelected(this, notify);
  if (notify && stackWindow_)
    platform::SendMessage(stackWindow_->Handle(), tile_msg::kSelect, platform::WParam(ownHandle_), 0);
}

void TFrameStackInfo::Unselect(bool notify) {
  if (!usable_ || !selected_) return;
  shapeMain->SetColor(HostColor(L"cUnActive", shapeMain->Color()));
  SetTextColor(kUnselectedText);
  selected_ = false;
  if (notify && stackWindow_)
    platform::SendMessage(stackWindow_->Handle(), tile_msg::kUnselect, platform::WParam(ownHandle_), 0);
}

void TFrameStackInfo::NotifyActivation(bool activate) {
  if (!stackWindow_) return;
  platform::SendMessage(ownHandle_, activate ? tile_msg::kSelect : tile_msg::kUnselect,
                        platform::WParam(stackWindow_->Handle()), 1);
}

void TFrameStackInfo::lblMouseScreenClick(TObject*) {
  if (!usable_) return;
  if (!shown_) {
    bool placed = false;
    if (!placementAsked_ && stackInitialisation_) {
      placed = OnPlaceStack && OnPlaceStack(study_, series_, stack_);
      placementAsked_ = true;
    }
    if (!placed) Show();
  }
  Select(true);
}

void TFrameStackInfo::chbViewClick(TObject* sender) {
  if (chbView->Checked())
    lblMouseScreenClick(sender);
  else
    Hide(true);
}

void TFrameStackInfo::CloseStack() {
  StopEngine();
  Hide(true);
  DestroyStackWindow();
  placementAsked_ = false;
}

// ---------------------------------------------------------------- engine and window

bool TFrameStackInfo::CreateStackWindow() { return CreateWindowFor(-1); }
bool TFrameStackInfo::CreateStackWindowInCell(int cell) { return CreateWindowFor(cell); }

bool TFrameStackInfo::CreateWindowFor(int cell) {
  if (cell < 0 ? !OnWindowCreated : !OnWindowCreatedInCell) return false;
  if (!stackWindow_) {
    iTILE_HOST* host = TileHost();
    if (!host) return false;
    stackWindow_ = host->CreateStackWindow(cell, ownHandle_);
    if (!stackWindow_) return false;
    InstallRequests(stackWindow_.get());
    stackWindow_->SetKeyImageSeries(keyImageTile_);
  }
  const bool placed = cell < 0 ? OnWindowCreated(stackWindow_.get()) : OnWindowCreatedInCell(stackWindow_.get(), cell);
  if (placed) {
    stackWindow_->SetDragIcon(imIcon->Picture());
    stackWindow_->SetSeriesCaption(lblProtocol->Caption());
  } else {
    DestroyStackWindow();
  }
  return placed;
}

void TFrameStackInfo::InstallRequests(iTILE_STACK_WINDOW* window) {
  TStackWindowRequests r;
  r.MprSeries = [this](const void* request) { return OnMprSeriesRequest && OnMprSeriesRequest(request, this); };
  r.SecondaryCapture = [this](const void* request) {
    return OnSecondaryCaptureRequest && OnSecondaryCaptureRequest(request, this);
  };
  r.KeyImageAdded = [this](const void* data, uint32_t size, iTILE_STACK_WINDOW* w) {
    if (OnKeyImageAdded) OnKeyImageAdded(data, size, w, this);
  };
  r.KeyImageRemoved = [this](const std::wstring& text) { return OnKeyImageRemoved && OnKeyImageRemoved(text); };
  r.ImageFile = [this](int index, std::string& text, std::string& file) {
    return OnImageFileRequest && OnImageFileRequest(study_, series_, stack_, index, text, file);
  };
  r.StackLossy = [this](bool lossy) {
    infoStrip->cbLossyMode->SetDown(lossy);
    StripLossyClick(infoStrip->cbLossyMode);
    return true;
  };
  r.StudyLossy = [this](bool lossy) { return OnStudyLossyRequest ? OnStudyLossyRequest(lossy) : 0; };
  r.StackIndexes = [this](int& study, int& series, int& stack) {
    study = study_;
    series = series_;
    stack = stack_;
  };
  r.WheelOutside = [this](int x, int y, uint16_t delta, uint16_t keys) {
    if (OnWheelOutside) OnWheelOutside(x, y, delta, keys);
  };
  auto relay = [this](std::function<void(TFrameStackInfo*)> TFrameStackInfo::*closure) {
    return [this, closure] {
      if (this->*closure) (this->*closure)(this);
    };
  };
  r.LeftDown = relay(&TFrameStackInfo::OnWorkAreaLeftDown);
  r.LeftUp = relay(&TFrameStackInfo::OnWorkAreaLeftUp);
  r.RightDown = relay(&TFrameStackInfo::OnWorkAreaRightDown);
  r.RightUp = relay(&TFrameStackInfo::OnWorkAreaRightUp);
  r.MiddleDown = relay(&TFrameStackInfo::OnWorkAreaMiddleDown);
  r.MiddleUp = relay(&TFrameStackInfo::OnWorkAreaMiddleUp);
  r.BeforeFirstImage = [this] {
    if (OnPreviousStack) OnPreviousStack();
  };
  r.PastLastImage = [this] {
    if (OnNextStack) OnNextStack();
  };
  window->SetRequests(r);
}

bool TFrameStackInfo::StartEngine() {
  if (engine_.IsRunning()) return true;
  if (!stackWindow_) return false;
  const std::string path = platform::ProgramFolder() + "Pixtrane.exe";
  std::stringstream images, presentationStates, frames;
  std::string arguments;
  if (!OnEngineFilesRequest ||
      !OnEngineFilesRequest(study_, series_, stack_, lossyWanted_, images, presentationStates, frames, arguments))
    return false;
  // The callback is installed again before every start: a stop clears it, and an engine that
  // ends by itself must always be reported.
  const platform::WindowHandle tile = ownHandle_;
  engine_.SetExitCallback([tile](bool stopped) {
    if (!stopped) platform::PostMessage(tile, tile_msg::kEngineDied, 0, 0);
  });
  const bool started = engine_.Start(images, presentationStates, frames, arguments, path,
                                     stackWindow_->PanelHandle(), kEngineStartTimeoutMs);
  if (started) lossyApplied_ = lossyWanted_;
  return started;
}

void TFrameStackInfo::StopEngine() {
  engine_.Stop();
  // A stopped engine never completes its initialisation: the slots go back to the others.
  initOrder_->Release();
  CGaugeInit->Hide();
}

void TFrameStackInfo::RestartEngine() {
  StopEngine();
  StartEngine();
}

void TFrameStackInfo::DestroyStackWindow() { stackWindow_.reset(); }

platform::WindowHandle TFrameStackInfo::EngineWindow() { return engine_.FindEngineWindow(); }

bool TFrameStackInfo::WaitForEngine(iTILE_STACK_WINDOW* window) {
  const std::shared_ptr<bool> alive = alive_;
  const uint32_t start = platform::TickCount();
  for (;;) {
    if (window->IsEngineReady()) return true;
    if (window->IsEngineFailed() || !engine_.IsRunning()) return false;
    if (platform::TickCount() - start >= kEngineWaitTimeoutMs) return false;
    platform::ProcessMessages();
    // The tile or its window may have gone while messages were served.
    if (!*alive || stackWindow_.get() != window) return false;
    platform::Sleep(5);
  }
}

bool TFrameStackInfo::GoToImage(int index) {
  if (!stackWindow_) return false;
  if (stackWindow_->IsEngineReady() && !stackWindow_->IsEngineFailed() && stackWindow_->CurrentImage() == index)
    return true;
  return stackWindow_->GoToImage(index);
}

int TFrameStackInfo::GetCurrentImage() const {
  if (!stackWindow_ || !stackWindow_->IsEngineReady() || stackWindow_->IsEngineFailed()) return -1;
  return stackWindow_->CurrentImage();
}

// ---------------------------------------------------------------- lossy mode and key images

void TFrameStackInfo::SetLossy(int mode) {
  lossyWanted_ = mode > 0;
  if (lossyWanted_ != lossyApplied_ && shown_ && engine_.IsRunning()) RestartEngine();
  UpdateLossyMark();
}

void TFrameStackInfo::UpdateLossyMark() {
  if (infoStrip) {
    auto handler = std::move(infoStrip->cbLossyMode->OnClick);
    infoStrip->cbLossyMode->OnClick = nullptr;
    infoStrip->cbLossyMode->SetDown(lossyWanted_);
    infoStrip->cbLossyMode->OnClick = std::move(handler);
    infoStrip->UpdateLossyHint();
  }
  lblLossy->SetVisible(lossyWanted_);
}

void TFrameStackInfo::StripLossyClick(TObject*) {
  lossyWanted_ = infoStrip->cbLossyMode->Down();
  if (lossyWanted_ != lossyApplied_ && engine_.IsRunning()) RestartEngine();
  UpdateLossyMark();
  infoStrip->UpdateLossyHint();
}

int TFrameStackInfo::CountTransientKeyImages() {
  int count = 0;
  for (int i = 0; i < imageCount_; ++i) {
    std::string text, file;
    if (!OnImageFileRequest || !OnImageFileRequest(study_, series_, stack_, i, text, file)) continue;
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || file.substr(dot) != ".ornkitmp") continue;
    const uint32_t a = platform::GetFileAttributes(file);
    if (a == platform::kInvalidFileAttributes) continue;
    if ((a & platform::attr::Hidden) &&
        !(a & (platform::attr::ReadOnly | platform::attr::Archive | platform::attr::Offline)))
      ++count;
  }
  return count;
}

void TFrameStackInfo::SaveTransientKeyImages() {
  if (transientKeyImages_ == 0) return;
  if (OnSaveKeyImages && OnSaveKeyImages(study_, series_, stack_)) {
    transientKeyImages_ = 0;
    return;
  }
  Application->MessageBox(saveErrorText_, errorCaption_, MB_OK | MB_ICONERROR);
}

// ---------------------------------------------------------------- messages

platform::LResult TFrameStackInfo::Dispatch(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  switch (message) {
    case platform::kWmTimer:
      try {
        OnTimer(static_cast<uintptr_t>(wParam));
      } catch (const std::system_error&) {
        // An operating-system error of the retry does not reach the message loop.
      }
      return 0;
    case tile_msg::kInitProgress:
      OnInitProgress(lParam);
      return 0;
    case tile_msg::kSelect:
      Select(lParam != 0);
      return 0;
    case tile_msg::kUnselect:
      Unselect(lParam != 0);
      return 0;
    case tile_msg::kShow:
      if (!shown_) Show();
      return 0;
    case tile_msg::kHide:
      Hide(lParam != 0);
      return 0;
    case tile_msg::kEngineDied:
      OnEngineDied();
      return 0;
    default:
      return 0;
  }
}

void TFrameStackInfo::OnInitProgress(platform::LParam lParam) {
  initOrder_->OnInitProgress(lParam);
  CGaugeInit->MinValue = initOrder_->GaugeMin();
  CGaugeInit->MaxValue = initOrder_->GaugeMax();
  CGaugeInit->SetProgress(initOrder_->GaugeProgress());
  CGaugeInit->SetVisible(initOrder_->GaugeShown());
}

void TFrameStackInfo::OnTimer(uintptr_t timerId) { initOrder_->OnTimer(timerId); }

void TFrameStackInfo::OnEngineDied() {
  const bool wasShown = usable_ && shown_;
  StopEngine();
  Hide(true);
  DestroyStackWindow();
  if (!wasShown) return;
  if (Application->MessageBox(engineDiedQuestion_, errorCaption_, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (!shown_) Show();
  Select(true);
}

void TFrameStackInfo::ClearClosures() {
  OnTileSelected = nullptr;
  OnEngineFilesRequest = nullptr;
  OnWindowCreated = nullptr;
  OnWindowCreatedInCell = nullptr;
  OnMprSeriesRequest = nullptr;
  OnSecondaryCaptureRequest = nullptr;
  OnKeyImageAdded = nullptr;
  OnKeyImageRemoved = nullptr;
  OnImageFileRequest = nullptr;
  OnSaveKeyImages = nullptr;
  OnStudyLossyRequest = nullptr;
  OnWheelOutside = nullptr;
  OnWorkAreaLeftDown = OnWorkAreaLeftUp = OnWorkAreaRightDown = nullptr;
  OnWorkAreaRightUp = OnWorkAreaMiddleDown = OnWorkAreaMiddleUp = nullptr;
  OnPreviousStack = OnNextStack = nullptr;
  OnPlaceStack = nullptr;
}

// ---------------------------------------------------------------- host

namespace {
iTILE_HOST* g_host = nullptr;
}

void SetTileHost(iTILE_HOST* host) { g_host = host; }
iTILE_HOST* TileHost() { return g_host; }

}  // namespace ORN_browser
