// Components, construction, destruction, the message map and the frame's window procedure.
#include "viewer/stackwindow/TFrameStackWindow.h"

#include <cstring>

#include "app/startup/ToolsIni.h"
#include "platform/vcl/SysUtils.h"
#include "platform/windows/Messages.h"

namespace msg = ORN_image::engine_msg;

namespace {

void CopyHeader(char16_t (&field)[20], const std::u16string& text) {
  std::memset(field, 0, sizeof(field));
  for (size_t i = 0; i < text.size() && i < 19; ++i) field[i] = text[i];
}

TPanel* NewPanel(TComponent* owner, TWinControl* parent, const char* name, TAlign align) {
  auto* panel = new TPanel(owner);
  panel->SetName(name);
  panel->BevelOuter = bvNone;
  panel->SetParent(parent);
  panel->SetAlign(align);
  return panel;
}

TImageList* NewImageList(TComponent* owner, const char* name, int width, int height) {
  auto* list = new TImageList(owner);
  list->SetName(name);
  list->Width = width;
  list->Height = height;
  return list;
}

}  // namespace

void TReferenceLines::SendTo(platform::WindowHandle engine) const {
  if (engine == 0 || engine == SourceEngine || Planes.empty()) return;
  platform::CopyDataStruct record{msg::kImagePlane, uint32_t(Planes.size() * sizeof(msg::ImagePlaneRecord)),
                                  Planes.data()};
  platform::SendMessage(engine, platform::kWmCopyData, 0, reinterpret_cast<platform::LParam>(&record));
}

uint32_t& TFrameStackWindow::EngineWaitBound() {
  static uint32_t bound = 30000;
  return bound;
}

uint8_t& TFrameStackWindow::MprToolCode() {
  static uint8_t code = 0;
  return code;
}

TToolButton* TFrameStackWindow::AddButton(TToolBar* bar, const char* name, const wchar_t* hint,
                                          TToolButtonStyle style) {
  auto* button = new TToolButton(this);
  button->SetName(name);
  button->SetHint(hint);
  button->ShowHint = true;
  button->SetParent(bar);
  button->SetStyle(style);
  return button;
}

void TFrameStackWindow::BuildComponents() {
  pnlMain = NewPanel(this, this, "pnlMain", alClient);
  pnlTop = NewPanel(this, pnlMain, "pnlTop", alTop);
  pnlTop->SetHeight(20);
  pnlTop->SetColor(0x303030);
  pbChronologicalOrder = new TPaintBox(this);
  pbChronologicalOrder->SetName("pbChronologicalOrder");
  pbChronologicalOrder->SetParent(pnlTop);
  pbChronologicalOrder->SetAlign(alLeft);
  pbChronologicalOrder->SetWidth(12);
  pbChronologicalOrder->SetHint(L"earlier study");
  pbChronologicalOrder->ShowHint = true;
  tbrHeaderTools = new TToolBar(this);
  tbrHeaderTools->SetName("tbrHeaderTools");
  tbrHeaderTools->SetParent(pnlTop);
  tbrHeaderTools->SetAlign(alRight);
  tbrHeaderTools->SetWidth(60);
  tbOnOff = AddButton(tbrHeaderTools, "tbOnOff", L"restore/maximize");
  tbOnOff->SetCaption(L"\u25a1");
  tbHide = AddButton(tbrHeaderTools, "tbHide", L"close");
  tbHide->SetCaption(L"\u00d7");
  pnlBottom = NewPanel(this, pnlMain, "pnlBottom", alBottom);
  pnlLeft = NewPanel(this, pnlMain, "pnlLeft", alLeft);
  pnlRight = NewPanel(this, pnlMain, "pnlRight", alRight);
  pnlBottom->SetHeight(2);
  pnlLeft->SetWidth(2);
  pnlRight->SetWidth(2);
  pnlDesk = NewPanel(this, pnlMain, "pnlDesk", alClient);
  pnlDesk->SetColor(0);

  // The base with the work area first, so the auto-hidden bars lie over it.
  pnlBase = NewPanel(this, pnlDesk, "pnlBase", alClient);
  sptDICOMInfoGrid = new TSplitter(this);
  sptDICOMInfoGrid->SetName("sptDICOMInfoGrid");
  sptDICOMInfoGrid->SetParent(pnlBase);
  sptDICOMInfoGrid->SetAlign(alRight);
  sptDICOMInfoGrid->SetVisible(false);
  pnlWorkArea = NewPanel(this, pnlBase, "pnlWorkArea", alClient);
  pnlWorkArea->SetColor(0);

  pnlTools = NewPanel(this, pnlDesk, "pnlTools", alNone);
  pnlTools->SetHeight(28);
  pnlTools->Anchors = akLeft | akTop | akRight;
  pnlToolsSystem = NewPanel(this, pnlTools, "pnlToolsSystem", alLeft);
  pnlToolsSystem->SetWidth(28);
  tbSystem = new TToolBar(this);
  tbSystem->SetName("tbSystem");
  tbSystem->SetParent(pnlToolsSystem);
  tbSystem->SetAlign(alClient);
  tbPin = AddButton(tbSystem, "tbPin", L"fix toolbar", tbsCheck);
  tbPin->SetCaption(L"\u2020");
  psTools = new TPageScroller(this);
  psTools->SetName("psTools");
  psTools->SetParent(pnlTools);
  psTools->SetAlign(alClient);
  lblVOIHint = new TLabel(this);
  lblVOIHint->SetName("lblVOIHint");
  lblVOIHint->SetParent(pnlTools);
  lblVOIHint->SetAlign(alRight);
  lblVOIHint->Font.Color = 0x00FFFF;
  tbTools = new TToolBar(this);
  tbTools->SetName("tbTools");
  tbTools->SetParent(psTools);
  tbTools->SetAlign(alNone);  // sized to its buttons inside the scroller

  tbMenu = AddButton(tbTools, "tbMenu", L"menu");
  tbSeparator1 = AddButton(tbTools, "tbSeparator1", L"", tbsSeparator);
  tbMatrix = AddButton(tbTools, "tbMatrix", L"matrix", tbsCheck);
  tbLink = AddButton(tbTools, "tbLink", L"link", tbsCheck);
  tbSeparator2 = AddButton(tbTools, "tbSeparator2", L"", tbsSeparator);
  tbZoom = AddButton(tbTools, "tbZoom", L"zoom", tbsCheck);
  tbVOI = AddButton(tbTools, "tbVOI", L"VOI", tbsCheck);
  tbPan = AddButton(tbTools, "tbPan", L"pan", tbsCheck);
  tbNavigator = AddButton(tbTools, "tbNavigator", L"navigator", tbsCheck);
  tbMagnifier = AddButton(tbTools, "tbMagnifier", L"magnifier", tbsCheck);
  tbMeasurement = AddButton(tbTools, "tbMeasurement", L"measurement", tbsCheck);
  tbEdgeEnhancement = AddButton(tbTools, "tbEdgeEnhancement", L"enhancement", tbsCheck);
  tbPosition = AddButton(tbTools, "tbPosition", L"position", tbsCheck);
  tbThickness = AddButton(tbTools, "tbThickness", L"thickness", tbsCheck);
  tbSlabPointing = AddButton(tbTools, "tbSlabPointing", L"triangulation", tbsCheck);
  tbBlending = AddButton(tbTools, "tbBlending", L"blending", tbsCheck);
  tbSeparator3 = AddButton(tbTools, "tbSeparator3", L"", tbsSeparator);
  tbInverse = AddButton(tbTools, "tbInverse", L"inverse", tbsCheck);
  tbPaletteColor = AddButton(tbTools, "tbPaletteColor", L"palette color", tbsCheck);
  tbReset = AddButton(tbTools, "tbReset", L"reset");
  tbRotateLeft = AddButton(tbTools, "tbRotateLeft", L"rotate to left");
  tbRotateRight = AddButton(tbTools, "tbRotateRight", L"rotate to right");
  tbFlipHorizontal = AddButton(tbTools, "tbFlipHorizontal", L"horizontal flip");
  tbFlipVertical = AddButton(tbTools, "tbFlipVertical", L"vertical flip");
  tbMPR = AddButton(tbTools, "tbMPR", L"reconstruction", tbsCheck);
  tbPS = AddButton(tbTools, "tbPS", L"presentation state", tbsCheck);
  tbInfo = AddButton(tbTools, "tbInfo", L"information", tbsCheck);
  tbSeparator4 = AddButton(tbTools, "tbSeparator4", L"", tbsSeparator);
  tbPrint = AddButton(tbTools, "tbPrint", L"print");
  tbDicomPrint = AddButton(tbTools, "tbDicomPrint", L"DICOM print", tbsDropDown);
  ToolButton1 = AddButton(tbTools, "ToolButton1", L"", tbsSeparator);
  tbAddKeyImage = AddButton(tbTools, "tbAddKeyImage", L"add key image");
  tbExportAVI = AddButton(tbTools, "tbExportAVI", L"export to AVI");
  tbExportBMP = AddButton(tbTools, "tbExportBMP", L"export to image");
  tbDICOMInfoGrid = AddButton(tbTools, "tbDICOMInfoGrid", L"show DICOM info", tbsCheck);
  // The mouse tools release each other; one of them is always down.
  for (TToolButton* b : {tbZoom, tbVOI, tbPan, tbNavigator, tbMagnifier, tbMeasurement, tbEdgeEnhancement,
                         tbPosition, tbThickness, tbSlabPointing, tbBlending})
    b->Grouped = true;
  // Built-in pictures: short texts, replaced by the page's bitmaps when it names them.
  const std::pair<TToolButton*, const wchar_t*> captions[] = {
      {tbMenu, L"\u2261"}, {tbMatrix, L"\u25a6"}, {tbLink, L"\u221e"}, {tbZoom, L"Z"},  {tbVOI, L"W"},
      {tbPan, L"\u2725"},  {tbNavigator, L"\u2195"}, {tbMagnifier, L"M"}, {tbMeasurement, L"\u2221"},
      {tbEdgeEnhancement, L"E"}, {tbPosition, L"P"}, {tbThickness, L"T"}, {tbSlabPointing, L"\u25b3"},
      {tbBlending, L"B"}, {tbInverse, L"\u25d1"}, {tbPaletteColor, L"C"}, {tbReset, L"\u21ba"},
      {tbRotateLeft, L"\u27f2"}, {tbRotateRight, L"\u27f3"}, {tbFlipHorizontal, L"\u2194"},
      {tbFlipVertical, L"\u2195"}, {tbMPR, L"3D"}, {tbPS, L"PS"}, {tbInfo, L"i"}, {tbPrint, L"\u2399"},
      {tbDicomPrint, L"DP"}, {tbAddKeyImage, L"K"}, {tbExportAVI, L"AVI"}, {tbExportBMP, L"BMP"},
      {tbDICOMInfoGrid, L"Tag"}};
  for (const auto& [button, text] : captions) button->SetCaption(text);
  for (TToolButton* b : {tbPosition, tbThickness, tbSlabPointing, tbBlending, tbMPR, tbPS}) b->SetVisible(false);

  pnlNavigator = NewPanel(this, pnlDesk, "pnlNavigator", alNone);
  pnlNavigator->SetHeight(28);
  pnlNavigator->Anchors = akLeft | akRight | akBottom;
  pnlNavigatorSystem = NewPanel(this, pnlNavigator, "pnlNavigatorSystem", alLeft);
  pnlNavigatorSystem->SetWidth(28);
  tbNavigatorSistem = new TToolBar(this);
  tbNavigatorSistem->SetName("tbNavigatorSistem");
  tbNavigatorSistem->SetParent(pnlNavigatorSystem);
  tbNavigatorSistem->SetAlign(alClient);
  tbNavigatorPin = AddButton(tbNavigatorSistem, "tbNavigatorPin", L"fix toolbar", tbsCheck);
  tbNavigatorPin->SetCaption(L"\u2020");
  pscrolNavigator = new TPageScroller(this);
  pscrolNavigator->SetName("pscrolNavigator");
  pscrolNavigator->SetParent(pnlNavigator);
  pscrolNavigator->SetAlign(alClient);
  pnlServicesNavigatorServices = NewPanel(this, pscrolNavigator, "pnlServicesNavigatorServices", alNone);
  tbNavigatorServices = new TToolBar(this);
  tbNavigatorServices->SetName("tbNavigatorServices");
  tbNavigatorServices->SetParent(pnlServicesNavigatorServices);
  tbNavigatorServices->SetAlign(alLeft);
  tbNext = AddButton(tbNavigatorServices, "tbNext", L"next");
  tbNextPage = AddButton(tbNavigatorServices, "tbNextPage", L"next page");
  tbLast = AddButton(tbNavigatorServices, "tbLast", L"goto last");
  tbFirst = AddButton(tbNavigatorServices, "tbFirst", L"goto first");
  tbPrevPage = AddButton(tbNavigatorServices, "tbPrevPage", L"previous page");
  tbPrev = AddButton(tbNavigatorServices, "tbPrev", L"previous");
  ToolButton7 = AddButton(tbNavigatorServices, "ToolButton7", L"", tbsSeparator);
  tbForward = AddButton(tbNavigatorServices, "tbForward", L"run forward", tbsCheck);
  tbLoot = AddButton(tbNavigatorServices, "tbLoot", L"loop", tbsCheck);
  tbBack = AddButton(tbNavigatorServices, "tbBack", L"run back", tbsCheck);
  const std::pair<TToolButton*, const wchar_t*> navCaptions[] = {
      {tbNext, L"\u203a"},  {tbNextPage, L"\u00bb"}, {tbLast, L"\u21e5"}, {tbFirst, L"\u21e4"},
      {tbPrevPage, L"\u00ab"}, {tbPrev, L"\u2039"}, {tbForward, L"\u25b6"}, {tbLoot, L"\u27f3"},
      {tbBack, L"\u25c0"}};
  for (const auto& [button, text] : navCaptions) button->SetCaption(text);
  pnlFRS = NewPanel(this, pnlServicesNavigatorServices, "pnlFRS", alLeft);
  pnlFRS->SetWidth(90);
  lblFPS = new TLabel(this);
  lblFPS->SetName("lblFPS");
  lblFPS->SetParent(pnlFRS);
  lblFPS->SetCaption(L"FPS");
  lblFPS->SetBounds(4, 6, 26, 16);
  eFPS = new TEdit(this);
  eFPS->SetName("eFPS");
  eFPS->SetParent(pnlFRS);
  eFPS->SetBounds(30, 3, 36, 22);
  UpDownFPS = new TUpDown(this);
  UpDownFPS->SetName("UpDownFPS");
  UpDownFPS->SetParent(pnlFRS);
  UpDownFPS->SetBounds(66, 3, 16, 22);
  UpDownFPS->Min = 0;
  UpDownFPS->Max = 100;
  UpDownFPS->Increment = 5;
  UpDownFPS->SetPosition(20);
  eFPS->SetText(L"20");
  pnlTrackbar = NewPanel(this, pnlServicesNavigatorServices, "pnlTrackbar", alLeft);
  pnlTrackbar->SetWidth(160);
  trbarNavigator = new TTrackBar(this);
  trbarNavigator->SetName("trbarNavigator");
  trbarNavigator->SetParent(pnlTrackbar);
  trbarNavigator->SetAlign(alClient);
  trbarNavigator->SetOrientation(trHorizontal);
  trbarNavigator->Frequency = 1;

  imlTools = NewImageList(this, "imlTools", 16, 16);
  imlSystem = NewImageList(this, "imlSystem", 16, 16);
  imlNavigator = NewImageList(this, "imlNavigator", 16, 16);
  ilNormal16x16 = NewImageList(this, "ilNormal16x16", 16, 16);
  ilStore16x16 = NewImageList(this, "ilStore16x16", 16, 16);
  ilHot16x16 = NewImageList(this, "ilHot16x16", 16, 16);
  ilDisabled16x16 = NewImageList(this, "ilDisabled16x16", 16, 16);
  ilHeaderToolsHot = NewImageList(this, "ilHeaderToolsHot", 28, 10);
  ilHeaderToolsDisabled = NewImageList(this, "ilHeaderToolsDisabled", 28, 10);
  ilHeaderToolsNormal = NewImageList(this, "ilHeaderToolsNormal", 28, 10);
  ilNormal28x10 = NewImageList(this, "ilNormal28x10", 28, 10);
  ilStore28x10 = NewImageList(this, "ilStore28x10", 28, 10);
  ilHot28x10 = NewImageList(this, "ilHot28x10", 28, 10);
  ilDisabled28x10 = NewImageList(this, "ilDisabled28x10", 28, 10);
  pmWorkareaPopup = new TPopupMenu(this);
  pmWorkareaPopup->SetName("pmWorkareaPopup");
}

namespace {
int ToolBarWidth(TToolBar* bar) {
  int width = 0;
  for (int i = 0; i < bar->ButtonCount(); ++i) {
    TToolButton* b = bar->Buttons(i);
    if (!b->Visible()) continue;
    const bool separator = b->Style() == tbsSeparator || b->Style() == tbsDivider;
    width += separator ? 8 : bar->ButtonWidth + (b->Style() == tbsDropDown ? 12 : 0);
  }
  return width;
}
}  // namespace

void TFrameStackWindow::FitScrolledBars() {
  tbTools->SetBounds(0, 0, ToolBarWidth(tbTools), tbTools->ButtonHeight + 2);
  psTools->SetControl(tbTools);
  tbNavigatorServices->SetWidth(ToolBarWidth(tbNavigatorServices));
  pnlServicesNavigatorServices->SetBounds(
      0, 0, tbNavigatorServices->Width() + pnlFRS->Width() + pnlTrackbar->Width(), pnlNavigator->Height());
  pscrolNavigator->SetControl(pnlServicesNavigatorServices);
}

void TFrameStackWindow::ConnectWorkArea() {
  TgbWorkAreaPanel* w = FWorkArea;
  w->OnInitProgress = [this](TObject*, platform::WParam a, platform::LParam b) { OnEngineProgress(a, b); };
  w->OnZoomChanged = [this](TObject*, double z) { OnEngineZoom(z); };
  w->OnWindowLevelChanged = [this](TObject*, double c, double wd) { WorkAreaWindowLevelChanged(c, wd); };
  w->OnPanChanged = [this](TObject*, double x, double y) { WorkAreaPanChanged(x, y); };
  w->OnImageChanged = [this](TObject*, int32_t first, int32_t current) { WorkAreaImageChanged(first, current); };
  w->OnReconstructionCursor = [this](TObject*, bool on) { WorkAreaReconstructionCursor(on); };
  w->OnEngineWindow = [this](TObject*, platform::WindowHandle h) { WorkAreaEngineWindow(h); };
  w->OnEngineMatrix = [this](TObject*, int32_t c, int32_t r) { WorkAreaEngineMatrix(c, r); };
  w->OnImageCount = [this](TObject*, int32_t n) { WorkAreaImageCount(n); };
  w->OnMeasurementHover = [this](TObject*, bool on) { WorkAreaMeasurementHover(on); };
  w->OnReconstructionAvailable = [this](TObject*, bool on) { WorkAreaReconstructionAvailable(on); };
  w->OnEngineReady = [this](TObject*) { OnEngineReady(); };
  w->OnPresentationStatesAvailable = [this](TObject*, bool on) { WorkAreaPresentationStatesAvailable(on); };
  w->OnPresentationStateList = [this](TObject*, const void* d, uint32_t n) { WorkAreaPresentationStateList(d, n); };
  w->OnPresentationStateApplied = [this](TObject*, int32_t i) { WorkAreaPresentationStateApplied(i); };
  w->OnCineStopped = [this](TObject*, int32_t i) { WorkAreaCineStopped(i); };
  w->OnCineStarted = [this](TObject*, int32_t) { WorkAreaCineStarted(); };
  w->OnFrameRate = [this](TObject*, int32_t fps) { WorkAreaFrameRate(fps); };
  w->OnMeasurementDone = [this](TObject*, int32_t s) { WorkAreaMeasurementDone(s != 0); };
  w->OnMenuItemState = [this](TObject*, bool s) { WorkAreaMenuItemState(s); };
  w->OnTextAnnotation = [this](TObject*, bool s, bool edit) { WorkAreaTextAnnotation(s, edit); };
  w->OnMeasurementSelection = [this](TObject*, int32_t s) { WorkAreaMeasurementSelection(s != 0); };
  w->OnBlendingAvailable = [this](TObject*, bool on) { WorkAreaBlendingAvailable(on); };
  w->OnVoiPresets = [this](TObject*, const char* modality) { WorkAreaVoiPresets(modality); };
  w->OnImagePlane = [this](TObject*, const void* d, uint32_t n) { WorkAreaImagePlane(d, n); };
  w->OnPositionFactor = [this](TObject*, uint8_t kind, double spacing) { WorkAreaPositionFactor(kind, spacing); };
  w->OnPositionReport = [this](TObject*, int32_t a, int32_t b) { WorkAreaPositionReport(a, b); };
  w->OnKeyImageData = [this](TObject*, const void* d, uint32_t n) {
    if (OnKeyImageDataReceived) OnKeyImageDataReceived(d, n, this);
  };
  w->OnWheelOutside = [this](TObject*, const TPoint& p, uint16_t d, uint16_t k) { WorkAreaWheelOutside(p, d, k); };
  w->OnKeyImageNotification = [this](TObject*, int32_t kind, int32_t i) { WorkAreaKeyImageNotification(kind, i); };
  w->OnWorkAreaDoubleClick = [this](TObject*, platform::WParam a, platform::LParam b) { WorkAreaDoubleClick(a, b); };
  w->OnWorkAreaLeftDown = [this](TObject*, int32_t x, int32_t y) { WorkAreaLeftDown(x, y); };
  w->OnWorkAreaLeftUp = [this](TObject*) { WorkAreaLeftUp(); };
  w->OnInverseChanged = [this](TObject*, bool s) { WorkAreaInverseChanged(s); };
  w->OnLinkStateChanged = [this](TObject*, int32_t v, int32_t s) { WorkAreaLinkStateChanged(v, s); };
  w->OnReconstructionStep = [this](TObject*, bool prev) { WorkAreaReconstructionStep(prev); };
  // A click in the work area activates the frame (what WM_PARENTNOTIFY does on Windows).
  w->OnWorkAreaRightDown = [this](TObject*, int32_t x, int32_t y) {
    Activate(0);
    if (OnPanelRightDown) OnPanelRightDown(x, y);
  };
  w->OnWorkAreaRightUp = [this](TObject*) {
    if (OnPanelRightUp) OnPanelRightUp();
  };
  w->OnWorkAreaMiddleDown = [this](TObject*, int32_t x, int32_t y) {
    Activate(0);
    if (OnPanelMiddleDown) OnPanelMiddleDown(x, y);
  };
  w->OnWorkAreaMiddleUp = [this](TObject*) {
    if (OnPanelMiddleUp) OnPanelMiddleUp();
  };
  w->OnWorkAreaWheel = [this](TObject*, bool forward) { WorkAreaWheel(forward); };
  w->OnWorkAreaPopupAllowed = [this](TObject*, bool suppress) { WorkAreaPopupAllowed(suppress); };
}

TFrameStackWindow::TFrameStackWindow(TComponent* AOwner, int32_t cellIndex, int32_t reserved,
                                     platform::WindowHandle mainWindow, platform::WindowHandle tileWindow)
    : TFrame(AOwner), FTileWindow(tileWindow), FMainWindow(mainWindow), FReserved(reserved), FCellIndex(cellIndex) {
  SetName("FrameStackWindow");
  BuildComponents();
  // The work-area panel: the engine draws into it.
  FWorkArea = new TgbWorkAreaPanel(this);
  FWorkArea->SetName("WorkArea");
  FPresets.resize(1);
  FPresets[0].Name = kFullRangePresetName;
  FPresets[0].Reserved = 0;
  FMessages[0] = L"Confirmation";
  FMessages[1] = L"Warning";
  FMessages[2] = L"Error";
  FMessages[3] = L"Shall the image be exported to Key Image Series?";
  FMessages[4] = L"The transient image is to be removed from the Key Image Series!";
  FMessages[5] = L"The image cannot be removed from the Key Image Series.";
  FMessages[6] = L"The persistent image is not supposed to be removed from the Key Image Series.";
  SetColor(0);

  // Timer ids: the addresses of the two bars (pointer-sized), and both together.
  FToolsTimerId = reinterpret_cast<uintptr_t>(pnlTools);
  FNavigatorTimerId = reinterpret_cast<uintptr_t>(pnlNavigator);
  FDialogTimerId = FToolsTimerId | FNavigatorTimerId;

  trbarNavigator->OnChange = [this](TObject* s) { trbarNavigatorChange(s); };
  trbarNavigator->SetMin(1);
  trbarNavigator->SetMax(10);
  trbarNavigator->SetPosition(1);
  trbarNavigator->Tag = 0;
  trbarNavigatorChange(trbarNavigator);

  FInverseAtStart = tbInverse->Down();
  tbMatrix->SetHint(L"matrix:" + std::to_wstring(FColumns) + L"x" + std::to_wstring(FRows));
  FFrameRate = UpDownFPS->Position();

  const orn_ini::TanMeasurementStatisticsIni statistics;
  FStatistics.Factor = 2.0;
  if (statistics.IsValid()) {
    FStatistics.ShowMinimum = statistics.ShowMin();
    FStatistics.ShowMaximum = statistics.ShowMax();
    FStatistics.ShowMean = statistics.ShowMean();
    FStatistics.ShowDeviation = statistics.ShowStdDev();
  } else {
    FStatistics.ShowMinimum = FStatistics.ShowMaximum = FStatistics.ShowMean = 0;
    FStatistics.ShowDeviation = 1;
  }
  CopyHeader(FStatistics.MinimumHeader, u"min");
  CopyHeader(FStatistics.MaximumHeader, u"max");
  CopyHeader(FStatistics.MeanHeader, u"mean");
  CopyHeader(FStatistics.DeviationHeader, u"std.dev.");

  FWorkArea->SetParent(pnlWorkArea);
  FWorkArea->SetAlign(alClient);
  ConnectWorkArea();
  pnlWorkArea->PopupMenu = nullptr;
  FWorkArea->PopupMenu = nullptr;

  pnlNavigator->SetVisible(false);
  pnlServicesNavigatorServices->SetEnabled(false);

  // The key-image and DICOM print buttons belong to a session with a host whose key-image
  // and print settings are valid; those settings and commands are not built yet, so the
  // buttons stay hidden in every mode.
  tbAddKeyImage->SetVisible(false);
  tbDicomPrint->SetVisible(false);
  pnlToolsSystem->BringToFront();

  // Handlers of the buttons and controls.
  tbZoom->OnClick = [this](TObject* s) { tbZoomClick(s); };
  tbVOI->OnClick = [this](TObject* s) { tbVOIClick(s); };
  tbPan->OnClick = [this](TObject* s) { tbPanClick(s); };
  tbNavigator->OnClick = [this](TObject* s) { tbNavigatorClick(s); };
  tbMagnifier->OnClick = [this](TObject* s) { tbMagnifierClick(s); };
  tbMeasurement->OnClick = [this](TObject* s) { tbMeasurementClick(s); };
  tbEdgeEnhancement->OnClick = [this](TObject* s) { tbEdgeEnhancementClick(s); };
  tbPosition->OnClick = [this](TObject* s) { tbPositionClick(s); };
  tbThickness->OnClick = [this](TObject* s) { tbThicknessClick(s); };
  tbSlabPointing->OnClick = [this](TObject* s) { tbSlabPointingClick(s); };
  tbInverse->OnClick = [this](TObject* s) { tbInverseClick(s); };
  tbReset->OnClick = [this](TObject* s) { tbResetClick(s); };
  tbLink->OnClick = [this](TObject* s) { tbLinkClick(s); };
  tbMPR->OnClick = [this](TObject* s) { tbMPRClick(s); };
  tbMatrix->OnClick = [this](TObject* s) { tbMatrixClick(s); };
  tbHide->OnClick = [this](TObject* s) { tbCloseClick(s); };
  tbOnOff->OnClick = [this](TObject* s) { tbScreenOnOffClick(s); };
  pnlTop->OnDblClick = [this](TObject* s) { tbScreenOnOffClick(s); };
  pnlTop->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Activate(0); };
  tbPin->OnClick = [this](TObject* s) { tbPinClick(s); };
  tbNavigatorPin->OnClick = [this](TObject* s) { tbNavigatorPinClick(s); };
  tbFirst->OnClick = [this](TObject* s) { tbFirstClick(s); };
  tbPrev->OnClick = [this](TObject* s) { tbPrevClick(s); };
  tbPrevPage->OnClick = [this](TObject* s) { tbPrevPageClick(s); };
  tbNext->OnClick = [this](TObject* s) { tbNextClick(s); };
  tbNextPage->OnClick = [this](TObject* s) { tbNextPageClick(s); };
  tbLast->OnClick = [this](TObject* s) { tbLastClick(s); };
  tbForward->OnClick = [this](TObject* s) { tbForwardClick(s); };
  tbBack->OnClick = [this](TObject* s) { tbBackClick(s); };
  tbLoot->OnClick = [this](TObject* s) { tbLootClick(s); };
  eFPS->OnChange = [this](TObject* s) {
    const std::wstring text = eFPS->Text();
    UpDownFPS->SetPosition(StrToIntDef(std::string(text.begin(), text.end()), UpDownFPS->Position()));
    eFPSChange(s);
  };
  UpDownFPS->OnClick = [this](TObject*, TUDBtnType) { eFPS->SetText(std::to_wstring(UpDownFPS->Position())); };
  pscrolNavigator->OnResize = [this](TObject* s) { pscrolNavigatorResize(s); };
  pbChronologicalOrder->OnPaint = [this](TObject*) {
    TCanvas* canvas = pbChronologicalOrder->Canvas();
    canvas->Brush.Color = ChronologicalColor(FOrderValue);
    canvas->FillRect(pbChronologicalOrder->ClientRect());
  };

  FitScrolledBars();
  SyncContextMenu(trbarNavigator->Position() - 1);

  FChronoColors = {{0, 0xFFFFFF}, {1, 0xC0C0C0}, {2, 0x808080}, {3, 0}};
  FChronoTexts = {{0, L"latest study"}, {1, L"previous study"}, {2, L"previous to previous study"},
                  {3, L"earlier study"}};
  RefreshChronologicalOrder();
  SetBorderColor(FInactiveColor);

  WindowProc = [this](uint32_t m, platform::WParam w, platform::LParam l) { return FrameProc(m, w, l); };
}

TFrameStackWindow::~TFrameStackWindow() {
  *FAlive = false;
  if (Visible() && Parent()) DetachFromCell();
  if (HandleAllocated()) {
    platform::KillTimer(Handle(), FToolsTimerId);
    platform::KillTimer(Handle(), FNavigatorTimerId);
    platform::KillTimer(Handle(), FDialogTimerId);
    platform::KillTimer(Handle(), stack_msg::kWindowLevelHintTimer);
  }
  // The panel's closures point into this frame; the components go with the frame.
  WindowProc = nullptr;
}

TColor TFrameStackWindow::ChronologicalColor(uint8_t order) const {
  const auto it = FChronoColors.find(order);
  return it == FChronoColors.end() ? 0 : it->second;
}

const ToolButtonPictures* TFrameStackWindow::PicturesOf(TToolButton* button) const { return ::PicturesOf(button); }

void TFrameStackWindow::RefreshChronologicalOrder() {
  const auto text = FChronoTexts.find(FOrderValue);
  pbChronologicalOrder->SetHint(text == FChronoTexts.end() ? std::wstring() : text->second);
  pbChronologicalOrder->Invalidate();
}

System::AnsiString TFrameStackWindow::GetCurrentImageFile() {
  if (!FEngineReady || FEngineFailed || FCurrentImageIndex == -1 || !GetImageFile) return {};
  System::AnsiString first, file;
  if (!GetImageFile(FCurrentImageIndex, first, file)) return {};
  return file;
}

bool TFrameStackWindow::Post(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  return FEngineWindow != 0 && platform::PostMessage(FEngineWindow, message, wParam, lParam);
}

bool TFrameStackWindow::PostToMain(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  return FMainWindow != 0 && platform::PostMessage(FMainWindow, message, wParam, lParam);
}

platform::LResult TFrameStackWindow::FrameProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  switch (message) {
    case platform::kWmCopyData: {
      // The engine's user window/level presets: taken by the context menu, which is not
      // built yet; the record is read only while no cine runs and one image is shown.
      return 0;
    }
    case msg::kPresetInEffect:
      // The menu would mark the applied preset here; the frame only notes the reply.
      FVoiReplyReceived = true;
      return 0;
    case platform::kWmTimer:
      if (wParam == stack_msg::kWindowLevelHintTimer) {
        platform::KillTimer(Handle(), stack_msg::kWindowLevelHintTimer);
        lblVOIHint->SetCaption(L"");
        lblVOIHint->ShowHint = false;
        pnlTools->ShowHint = false;
      } else {
        OnFrameTimer(wParam);
      }
      return 0;
    case stack_msg::kWmDestroy:
      SetShown(false);
      return 0;
    case stack_msg::kWmParentNotify: {
      const uint32_t event = uint32_t(wParam & 0xFFFF);
      if (event != stack_msg::kWmCreate && event != stack_msg::kWmDestroy) Activate(0);
      return 0;
    }
    case stack_msg::kActivate:
      Activate(platform::WindowHandle(wParam));
      return 0;
    case stack_msg::kDeactivate:
      Deactivate(platform::WindowHandle(wParam));
      return 0;
    case stack_msg::kHide:
      SetShown(false);
      if (platform::WindowHandle(wParam) == FTileWindow && FTileWindow != 0)
        PostToMain(stack_msg::kHide, platform::WParam(Handle()), 0);
      return 0;
    case stack_msg::kMeasurementKind:
      OnMeasurementTypeChosen(wParam, lParam);
      return 0;
    case stack_msg::kToolSwitch:
      SwitchTool(wParam, lParam);
      return 0;
    default:
      return 0;
  }
}
