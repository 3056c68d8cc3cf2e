// The main window's structure: its components, members and their first values, the GUI
// resources, the show handler and the window procedure.
#include "app/mainwindow/TFormApplication.h"

#include "app/mainwindow/TFormAbout.h"
#include "app/startup/ColorsAndFonts.h"
#include "app/startup/HintWindow.h"
#include "app/startup/ProgramEntry.h"
#include "app/startup/TResourceInitialization.h"
#include "app/startup/ToolsIni.h"
#include "app/support/BaseIni.h"
#include "platform/com/Library.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Process.h"
#include "platform/windows/Messages.h"

namespace vistrel_main {

namespace {

// Posted to the main window itself: frees the reference-line containers retired before it.

TPanel* NewPanel(TComponent* owner, TWinControl* parent, const char* name, TAlign align) {
  TPanel* panel = new TPanel(owner);
  panel->SetName(name);
  panel->SetParent(parent);
  panel->SetAlign(align);
  panel->BevelOuter = bvNone;
  panel->SetCaption(L"");
  return panel;
}

TMenuItem* NewItem(TMenu* menu, const char* name, const wchar_t* caption) {
  TMenuItem* item = new TMenuItem(menu);
  item->SetName(name);
  item->SetCaption(caption);
  menu->Items()->Add(item);
  return item;
}

}  // namespace

TFormApplication::TFormApplication(TComponent* owner, const TMainWindowParts& parts)
    : TForm(owner), FParts(parts) {
  ExecutableFolderPath = platform::ProgramFolder();
  BuildComponents();

  FPanelHideTimerId = reinterpret_cast<uintptr_t>(pnlLeft);
  FStudyBoxTimerId = reinterpret_cast<uintptr_t>(pnlStudies);

  FPatientInfo = std::make_unique<TfrmPatientInfo>(nullptr);
  FMessagePanel = std::make_unique<TfrmMessagePanel>(nullptr);

  FHelpPath = ExecutableFolder() + "help_index.htm";

  // The statistics flags: read twice as the settings reader is, 1 (minimum only) without them.
  if (orn_ini::TanMeasurementStatisticsIni().IsValid())
    FStatisticsFlags = static_cast<uint16_t>(orn_ini::TanMeasurementStatisticsIni().GetFlags());
  else
    FStatisticsFlags = 1;

  FStudiesPanelWidth = pnlLeft->Width();

  auto lines = std::make_shared<TgbReferenceLineContainer>();
  lines->Planes.resize(1);
  FReferenceLines = lines;

  pnlStudiesResize->SetVisible(true);
  Splitter->SetVisible(false);
  FPatientInfo->SetParent(pnlPatientDetailes);
  FPatientInfo->SetAlign(alLeft);
  FPatientInfo->SetVisible(true);
  FMessagePanel->SetParent(pnlBottom);
  FMessagePanel->SetAlign(alClient);

  FDynamicHints = std::make_unique<TORNDynamicHints>();
  app::DynamicHints() = FDynamicHints.get();

  CGaugeProgressBarBottom->MinValue = 1;
  CGaugeProgressBarBottom->MaxValue = 1;
  CGaugeProgressBarBottom->SetProgress(1);

  TerminateProcess = [] { platform::ExitProcessNow(0); };
  ShellOpenFile = [this](const std::string& path) {
    // The desktop's program for the document ("open").
    if (!platform::Process::Start("xdg-open " + platform::QuoteArgument(path), {}))
      ShowMessageBox(platform::Utf8ToWide(path), Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
  };

  WindowProc = [this](uint32_t message, platform::WParam wParam, platform::LParam lParam) {
    return WndProc(message, wParam, lParam);
  };
  OnShow = [this](TObject* sender) { FormShow(sender); };
  OnCloseQuery = [this](TObject*, bool& canClose) {
    // The frame's close runs the same checks as the close button, which ends the process.
    canClose = false;
    tbCloseClick(nullptr);
  };
}

TFormApplication::~TFormApplication() {
  platform::KillTimer(Handle(), FStudyBoxTimerId);
  platform::KillTimer(Handle(), FPanelHideTimerId);
  platform::KillTimer(Handle(), FClockTimerId);
  platform::KillTimer(Handle(), StartTimerId());
  if (app::DynamicHints() == FDynamicHints.get()) app::DynamicHints() = nullptr;
  // Stack windows go with the client area before the panel whose tiles made them.
  FClientArea.reset();
  FStudyBoxFrameSet.reset();
}

TToolButton* TFormApplication::AddButton(const wchar_t* name, const wchar_t* caption, const wchar_t* hint) {
  TToolButton* button = new TToolButton(this);
  button->SetName(platform::WideToUtf8(name));
  button->SetParent(tbPatients);
  button->SetCaption(caption);
  button->SetHint(hint);
  button->ShowHint = true;
  return button;
}

void TFormApplication::BuildComponents() {
  SetName("FormApplication");
  SetCaption(L"Vistrel");
  SetBounds(0, 0, 1280, 900);
  SetColor(clBlack);

  pnlTop = NewPanel(this, this, "pnlTop", alTop);
  pnlTop->SetHeight(44);
  pnlToolButtons = NewPanel(this, pnlTop, "pnlToolButtons", alClient);
  tbPatients = new TToolBar(this);
  tbPatients->SetName("tbPatients");
  tbPatients->SetParent(pnlToolButtons);
  tbPatients->SetAlign(alClient);
  tbPatients->ShowCaptions = true;
  tbPatients->ButtonHeight = 40;

  tbFile = AddButton(L"tbFile", L"File", L"open");
  tbFile->SetStyle(tbsDropDown);
  tbFirstPatient = AddButton(L"tbFirstPatient", L"|<", L"first patient");
  tbPrevPatient = AddButton(L"tbPrevPatient", L"<", L"previous patient");
  tbPatientsList = AddButton(L"tbPatientsList", L"Patients", L"patient list");
  tbNextPatient = AddButton(L"tbNextPatient", L">", L"next patient");
  tbLastPatient = AddButton(L"tbLastPatient", L">|", L"last patient");
  ToolButton9 = AddButton(L"ToolButton9", L"", L"");
  ToolButton9->SetStyle(tbsSeparator);
  tbStudyStatus = AddButton(L"tbStudyStatus", L"Status", L"study status");
  tbStackMatrix = AddButton(L"tbStackMatrix", L"Matrix", L"matrix");
  tbZoom = AddButton(L"tbZoom", L"Zoom", L"zoom");
  tbVOI = AddButton(L"tbVOI", L"W/L", L"window level");
  tbPan = AddButton(L"tbPan", L"Pan", L"pan");
  tbNavigator = AddButton(L"tbNavigator", L"Browse", L"navigator");
  tbMagnifier = AddButton(L"tbMagnifier", L"Magnify", L"magnifier");
  tbMeasurement = AddButton(L"tbMeasurement", L"Measure", L"measurement");
  tbEdgeEnhancement = AddButton(L"tbEdgeEnhancement", L"Edge", L"edge enhancement");
  for (TToolButton* b : {tbZoom, tbVOI, tbPan, tbNavigator, tbMagnifier, tbMeasurement, tbEdgeEnhancement}) {
    b->SetStyle(tbsCheck);
    b->Grouped = true;
  }
  tbLink = AddButton(L"tbLink", L"Link", L"link");
  tbInverse = AddButton(L"tbInverse", L"Inverse", L"inverse");
  tbPaletteColor = AddButton(L"tbPaletteColor", L"Palette", L"palette color");
  for (TToolButton* b : {tbLink, tbInverse, tbPaletteColor}) b->SetStyle(tbsCheck);
  tbHP = AddButton(L"tbHP", L"HP", L"hanging protocol");
  tbAdvancedTools = AddButton(L"tbAdvancedTools", L"Tools", L"advanced tools");
  ToolButton5 = AddButton(L"ToolButton5", L"", L"");
  ToolButton5->SetStyle(tbsSeparator);
  tbDicomPrint = AddButton(L"tbDicomPrint", L"Print", L"DICOM print");
  ToolButton8 = AddButton(L"ToolButton8", L"", L"");
  ToolButton8->SetStyle(tbsSeparator);
  tbSaveKeyImages = AddButton(L"tbSaveKeyImages", L"Keys", L"save key images");
  ToolButton1 = AddButton(L"ToolButton1", L"", L"");
  ToolButton1->SetStyle(tbsSeparator);
  tbLossyMode = AddButton(L"tbLossyMode", L"Lossy", L"lossy mode");
  tbLossyMode->SetStyle(tbsCheck);
  tbAbout = AddButton(L"tbAbout", L"?", L"about");
  tbAbout->SetStyle(tbsDropDown);
  tbMinMax = AddButton(L"tbMinMax", L"_", L"minimize");
  tbClose = AddButton(L"tbClose", L"X", L"close");

  // As the form resource leaves them: hidden until a mode shows them, disabled until a file
  // set enables them.
  for (TToolButton* b : {tbStudyStatus, ToolButton9, tbDicomPrint, ToolButton5, tbSaveKeyImages, tbLossyMode,
                         ToolButton8, ToolButton1, tbAdvancedTools})
    b->SetVisible(false);
  for (TToolButton* b : {tbFirstPatient, tbPrevPatient, tbPatientsList, tbNextPatient, tbLastPatient, tbHP,
                         tbDicomPrint, tbSaveKeyImages, tbLossyMode, tbStackMatrix})
    b->SetEnabled(false);
  for (TToolButton* b : {tbFirstPatient, tbPrevPatient, tbPatientsList, tbNextPatient, tbLastPatient})
    b->SetVisible(false);

  pnlTools = NewPanel(this, this, "pnlTools", alTop);
  pnlTools->SetHeight(28);
  pnlPatientDetailes = NewPanel(this, pnlTools, "pnlPatientDetailes", alClient);

  pnlBottom = NewPanel(this, this, "pnlBottom", alBottom);
  pnlBottom->SetHeight(22);
  stextDateTime = new TLabel(this);
  stextDateTime->SetName("stextDateTime");
  stextDateTime->SetParent(pnlBottom);
  stextDateTime->SetAlign(alRight);
  lblVersion = new TLabel(this);
  lblVersion->SetName("lblVersion");
  lblVersion->SetParent(pnlBottom);
  lblVersion->SetAlign(alRight);
  CGaugeProgressBarBottom = new TCGauge(this);
  CGaugeProgressBarBottom->SetName("CGaugeProgressBarBottom");
  CGaugeProgressBarBottom->SetParent(pnlBottom);
  CGaugeProgressBarBottom->SetAlign(alRight);
  CGaugeProgressBarBottom->SetWidth(150);
  CGaugeProgressBarBottom->SetVisible(false);
  ldlProgresBarBottom = new TLabel(this);
  ldlProgresBarBottom->SetName("ldlProgresBarBottom");
  ldlProgresBarBottom->SetParent(pnlBottom);
  ldlProgresBarBottom->SetAlign(alRight);

  pnlLeft = NewPanel(this, this, "pnlLeft", alLeft);
  pnlLeft->SetWidth(510);
  pnlLeft->SetVisible(false);
  pnlLeft->SetColor(clBtnFace);
  pnlStudiesResize = NewPanel(this, pnlLeft, "pnlStudiesResize", alRight);
  pnlStudiesResize->SetWidth(7);
  pnlStudiesResize->SetCursor(crSizeWE);
  pnlStudiesTitle = NewPanel(this, pnlLeft, "pnlStudiesTitle", alTop);
  pnlStudiesTitle->SetHeight(30);
  lblStudiesListTitle = new TLabel(this);
  lblStudiesListTitle->SetName("lblStudiesListTitle");
  lblStudiesListTitle->SetParent(pnlStudiesTitle);
  lblStudiesListTitle->Font.SetHeight(-15);
  lblStudiesListTitle->Font.Style = fsBold;
  lblStudiesListTitle->FontChanged();
  lblStudiesListTitle->SetBounds(6, 6, 150, 20);
  lblStudiesListTitle->SetCaption(Texts.FStudiesTitle);
  TToolBar* panelBar = new TToolBar(this);
  panelBar->SetName("tbStudiesPanel");
  panelBar->SetParent(pnlStudiesTitle);
  panelBar->SetAlign(alRight);
  panelBar->SetWidth(150);
  panelBar->ShowCaptions = true;
  auto panelButton = [&](const char* name, const wchar_t* caption, const wchar_t* hint) {
    TToolButton* b = new TToolButton(this);
    b->SetName(name);
    b->SetParent(panelBar);
    b->SetStyle(tbsCheck);
    b->AllowAllUp = true;
    b->SetCaption(caption);
    b->SetHint(hint);
    b->ShowHint = true;
    return b;
  };
  tbStudiesPanelPin = panelButton("tbStudiesPanelPin", L"Pin", L"fix panel");
  tbSortingForward = panelButton("tbSortingForward", L"Sort", L"sort backward");
  tbMinimizeToIcons = panelButton("tbMinimizeToIcons", L"Icons", L"only icons");
  // Pinned in the form resource: the panel shows beside the client area until a setting or
  // the user lets it float.
  tbStudiesPanelPin->SetDown(true);
  pnlStudies = NewPanel(this, pnlLeft, "pnlStudies", alClient);

  Splitter = new TSplitter(this);
  Splitter->SetName("Splitter");
  Splitter->SetParent(this);
  Splitter->SetAlign(alLeft);
  Splitter->SetWidth(3);

  pnlBase = NewPanel(this, this, "pnlBase", alClient);
  pnlBase->SetColor(clBlack);
  pnlClientArea = NewPanel(this, pnlBase, "pnlClientArea", alClient);
  pnlClientArea->SetColor(clBlack);
  pnlClientArea->Tag = -1;

  OpenDicomDirFileDialog = new TOpenDialog(this);
  OpenDicomDirFileDialog->SetName("OpenDicomDirFileDialog");
  OpenDicomDirFileDialog->Title = L"Open DICOM Data";
  OpenDicomDirFileDialog->Filter = L"DICOM files|DICOMDIR";
  dlgOpenAttachments = new TOpenDialog(this);
  dlgOpenAttachments->SetName("dlgOpenAttachments");
  dlgOpenAttachments->Title = L"Open attachment...";
  dlgOpenAttachments->Filter = L"*.*";

  PopupMenuHidden = new TPopupMenu(this);
  PopupMenuHidden->SetName("PopupMenuHidden");
  opendicomdirfile1 = NewItem(PopupMenuHidden, "opendicomdirfile1", L"open dicomdir file");
  openfolder1 = NewItem(PopupMenuHidden, "openfolder1", L"open folder");
  N1 = NewItem(PopupMenuHidden, "N1", L"-");
  exit1 = NewItem(PopupMenuHidden, "exit1", L"exit");
  tbFile->DropdownMenu = PopupMenuHidden;
  pmQuestion = new TPopupMenu(this);
  pmQuestion->SetName("pmQuestion");
  pmiHelp = NewItem(pmQuestion, "pmiHelp", L"help...");
  pmiAbout = NewItem(pmQuestion, "pmiAbout", L"about...");
  tbAbout->DropdownMenu = pmQuestion;

  // Events of the form resource.
  opendicomdirfile1->OnClick = [this](TObject* s) { OpenDicomDirFileExecute(s); };
  openfolder1->OnClick = [this](TObject* s) { OpenFolderExecute(s); };
  exit1->OnClick = [this](TObject* s) { exit1Click(s); };
  pmiAbout->OnClick = [this](TObject*) {
    if (!StartupQuestion) return;
    StartupQuestion->SetAboutMode(true);
    StartupQuestion->ShowModal();
  };
  tbClose->OnClick = [this](TObject* s) { tbCloseClick(s); };
  tbMinMax->OnClick = [this](TObject* s) { tbMinMaxClick(s); };
  tbStudiesPanelPin->OnClick = [this](TObject* s) { tbStudiesPanelPinClick(s); };
  tbSortingForward->OnClick = [this](TObject* s) { tbSortingForwardClick(s); };
  tbMinimizeToIcons->OnClick = [this](TObject* s) { tbMinimizeToIconsClick(s); };
  tbStackMatrix->OnClick = [this](TObject* s) { tbStackMatrixClick(s); };
  pnlStudiesResize->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    pnlStudiesResizeMouseDown(s, b, sh, x, y);
  };
  pnlStudiesResize->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) {
    pnlStudiesResizeMouseMove(s, sh, x, y);
  };
  Splitter->OnMoved = [this](TObject*) { SplitterCanResize(pnlLeft->Width()); };
  // The tool buttons post their tool to every stack window, as a window's own choice does.
  const std::pair<TToolButton*, int> tools[] = {{tbZoom, 1},      {tbVOI, 2},         {tbPan, 3},
                                                {tbNavigator, 4}, {tbMagnifier, 5},   {tbMeasurement, 6},
                                                {tbEdgeEnhancement, 7}};
  for (const auto& [button, code] : tools)
    button->OnClick = [this, code = code](TObject*) { BroadcastTool(0, code, code); };
}

void TFormApplication::ApplyGuiResources(TResourceInitialization* resources, const TvsColors* colors,
                                         const TvsFonts* fonts) {
  FResources = resources;
  FColors = colors;
  FFonts = fonts;
  if (fonts) FGuiScale = static_cast<double>(fonts->Ratio);
  if (!resources) return;
  if (orn_ini::TsgBaseIni<System::AnsiString>* base = resources->GetBaseIniCache()) {
    FStudiesPanelHideRightBound =
        base->ReadInteger("GUI CONFIG", "StudiesPanelHideRightBound", FStudiesPanelHideRightBound);
    FStudiesPanelHideLeftBound =
        base->ReadInteger("GUI CONFIG", "StudiesPanelHideLeftBound", FStudiesPanelHideLeftBound);
    FStudiesPanelHideDelay = base->ReadInteger("GUI CONFIG", "StudiesPanelHideDelay", FStudiesPanelHideDelay);
    FEnableInfoPanelPin =
        base->ReadInteger("GUI CONFIG", "EnableInfoPanelPinInMultiMonitorMode", FEnableInfoPanelPin);
  }
  Texts.Load(resources);
  lblStudiesListTitle->SetCaption(Texts.FStudiesTitle);
  lblVersion->SetCaption(Texts.FVersionText + L"  ");
  FShowDicomInfo = resources->GetGuiDefaultBool(L"ShowDicomInfo", FShowDicomInfo);
  FAutoRun = resources->GetGuiDefaultBool(L"AutoRun", FAutoRun);
  tbLink->SetDown(resources->GetGuiDefaultBool(L"Link", tbLink->Down()));
  if (resources->GetGuiDefaultBool(L"LinkAutomated", false)) FLinkAutomated = 1;
  FStackToolsPanelFix = resources->GetGuiDefaultBool(L"StackToolsPanelFix", FStackToolsPanelFix);
  FNavigatorPanelFix = resources->GetGuiDefaultBool(L"NavigatorPanelFix", FNavigatorPanelFix);
  FShowStackInfo = resources->GetGuiDefaultBool(L"ShowStackInfo", FShowStackInfo);
  tbInverse->SetDown(resources->GetGuiDefaultBool(L"Inverse", tbInverse->Down()));
  tbPaletteColor->SetDown(resources->GetGuiDefaultBool(L"PaletteColor", tbPaletteColor->Down()));
  FPromptAnotherStudy = resources->GetGuiDefaultBool(L"PromptAnotherStudy", FPromptAnotherStudy);
  FMeasurementType = resources->GetGuiDefaultInt(L"DefaultMeasurement", FMeasurementType);
  const System::AnsiString help = resources->GetGuiDefault(L"HelpPath", "");
  if (!help.empty()) FHelpPath = help;
  TRect desktop;
  if (resources->GetDesktopRect(&desktop))
    SetBounds(desktop.Left, desktop.Top, desktop.Right - desktop.Left, desktop.Bottom - desktop.Top);
}

void TFormApplication::FormShow(TObject*) {
  FClockTimerId = reinterpret_cast<uintptr_t>(stextDateTime);
  platform::SetTimer(Handle(), FClockTimerId, 1000);
  if (SessionNumber() == -1 && StartupQuestion) {
    StartupQuestion->SetAboutMode(false);
    if (StartupQuestion->ShowModal() == mrCancel) {
      TerminateProcess();
      return;
    }
  }
  platform::SetTimer(Handle(), StartTimerId(), 100);
  if (FResources) {
    const System::AnsiString tool = FResources->GetGuiDefault(L"DefaultTool", "");
    TToolButton* button = tool == "NAVIGATOR"     ? tbNavigator
                          : tool == "ZOOM"        ? tbZoom
                          : tool == "WINDOWLEVEL" ? tbVOI
                          : tool == "PAN"         ? tbPan
                                                  : nullptr;
    if (button) {
      button->SetDown(true);
      button->Click();
    }
  }
}

platform::LResult TFormApplication::WndProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  switch (message) {
    case platform::kWmTimer:
      OnTimer(static_cast<uintptr_t>(wParam));
      return 0;
    case kWmStackActivated:
      OnStackWindowActivated(wParam, lParam);
      return 0;
    case kWmStackDetach:
      OnStackWindowDetach(wParam, lParam);
      return 0;
    case kWmMeasurementType:
      OnMeasurementType(wParam, lParam);
      return 0;
    case kWmStackTool:
      OnStackWindowTool(wParam, lParam);
      return 0;
    case kWmFreeRetiredReferenceLines:
      // Every message posted before this one has been served: nothing names these any more.
      while (!FRetiredReferenceLines.empty() &&
             FRetiredReferenceLines.front().first <= static_cast<uint64_t>(wParam))
        FRetiredReferenceLines.erase(FRetiredReferenceLines.begin());
      return 0;
    default:
      return 0;
  }
}

int TFormApplication::ShowMessageBox(const std::wstring& text, const std::wstring& caption, uint32_t flags) {
  if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
  return Application->MessageBox(text, caption, flags);
}

void TFormApplication::CloseProgram() {
  ProgramClosed = true;
  Hide();
  Application->Terminate();
}

int64_t TFormApplication::SessionNumber() const { return app::SessionNumber(); }

bool TFormApplication::FileSetOpen() const { return FFileSet.FValid && FFileSet.GetDicomDir() != nullptr; }

std::string TFormApplication::ExecutableFolder() const { return ExecutableFolderPath; }

}  // namespace vistrel_main
