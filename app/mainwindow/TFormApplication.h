// The main window: it owns the application's file set, the studies panel, the client area, the
// patient caption and the message line. It opens the file set at start and on request, shows
// one patient at a time (one study box per timer tick), serves the study boxes with stack-tile
// descriptions, engine file lists and window placement, keeps the stack windows and its own
// tool buttons in step, and ends the process when closed.
//
// The code is split by concern: construction and the window procedure here (TFormApplication.cpp),
// then StartupOpening, FileSetOpening, Closing, PatientDisplay, StackWindowRequests,
// StudiesPanelLayout, StackTiles and Attachments.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/mainwindow/DicomTexts.h"
#include "app/mainwindow/MainWindowTexts.h"
#include "app/mainwindow/PatientCaption.h"
#include "app/mainwindow/ReferenceLines.h"
#include "app/mainwindow/iSTACK_WINDOWS.h"
#include "app/mainwindow/iSTUDIES_PANEL.h"
#include "fileset/set/TanDicomFileSet.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gauges.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace app {
class TResourceInitialization;
class TvsColors;
class TvsFonts;
class TORNDynamicHints;
class TFormLoadingBar;
class TFormAbout;
}  // namespace app

namespace vistrel_main {

using app::TORNDynamicHints;
using app::TResourceInitialization;
using app::TvsColors;
using app::TvsFonts;

// The window messages of the stack windows (WM_APP range).
constexpr uint32_t kWmStackActivated = 0x8801;
constexpr uint32_t kWmStackDeactivate = 0x8802;
constexpr uint32_t kWmStackDetach = 0x8804;
constexpr uint32_t kWmMeasurementType = 0x8806;
constexpr uint32_t kWmStackTool = 0x8864;
// Posted to the main window itself: frees the reference-line containers retired up to the
// serial in WParam.
constexpr uint32_t kWmFreeRetiredReferenceLines = 0x8865;

class TFormApplication : public TForm {
 public:
  TFormApplication(TComponent* owner, const TMainWindowParts& parts = TMainWindowParts());
  ~TFormApplication() override;

  // --- Components (the form resource) ---
  TPanel *pnlTop, *pnlTools, *pnlToolButtons;
  TToolBar* tbPatients;
  TToolButton *tbFile, *tbFirstPatient, *tbPrevPatient, *tbPatientsList, *tbNextPatient, *tbLastPatient;
  TToolButton *tbStudyStatus, *ToolButton9, *tbHP, *tbAdvancedTools, *tbAbout, *tbMinMax, *tbClose;
  TToolButton *tbSaveKeyImages, *tbLossyMode, *ToolButton8, *ToolButton1, *tbSortingForward;
  TToolButton *tbStudiesPanelPin, *tbMinimizeToIcons, *tbStackMatrix, *tbDicomPrint, *ToolButton5;
  TToolButton *tbLink, *tbPaletteColor, *tbInverse;
  // The tool group: one down at a time.
  TToolButton *tbZoom, *tbVOI, *tbPan, *tbNavigator, *tbMagnifier, *tbMeasurement, *tbEdgeEnhancement;
  TPanel* pnlPatientDetailes;
  TPanel *pnlLeft, *pnlStudiesResize, *pnlStudiesTitle, *pnlStudies;
  TLabel* lblStudiesListTitle;
  TSplitter* Splitter;
  TPanel *pnlBase, *pnlClientArea;
  TPanel* pnlBottom;
  TLabel *stextDateTime, *ldlProgresBarBottom, *lblVersion;
  TCGauge* CGaugeProgressBarBottom;
  TOpenDialog* OpenDicomDirFileDialog;
  TOpenDialog* dlgOpenAttachments;
  TPopupMenu* PopupMenuHidden;
  TMenuItem *opendicomdirfile1, *openfolder1, *N1, *exit1;
  TPopupMenu* pmQuestion;
  TMenuItem *pmiHelp, *pmiAbout;

  // --- Members ---
  int FMatrixColumns = 1;
  int FMatrixRows = 1;
  int FChooserRows = 5;
  int FChooserColumns = 5;
  ORN_dicom::TanDicomFileSet FFileSet;
  std::unique_ptr<iSTUDIES_PANEL> FStudyBoxFrameSet;
  std::unique_ptr<iCLIENT_AREA> FClientArea;
  uintptr_t FClockTimerId = 0;
  uintptr_t FPanelHideTimerId = 0;
  int FStudiesPanelHideLeftBound = -10;
  int FStudiesPanelHideRightBound = 10;
  int FStudiesPanelHideDelay = 400;
  int FEnableInfoPanelPin = 0;
  uintptr_t FStudyBoxTimerId = 0;
  TPoint FResizeDragPoint{0, 0};
  bool FStudyBoxesComplete = false;
  int FStudiesPanelWidth = 0;
  bool FAppendStudyBoxes = true;
  bool FFitStudiesPanel = false;
  bool FPromptLossySwitch = true;
  int FListedPatient = -1;
  int FNextStudyBox = -1;
  int FPatientIndex = -1;
  int FStudyIndex = -1;
  int FStackIndex = -1;
  bool FStackToolsPanelFix = true;
  bool FNavigatorPanelFix = true;
  bool FShowStackInfo = true;
  std::shared_ptr<TgbReferenceLineContainer> FReferenceLines;
  int32_t FLinkAutomated = 0;
  int FArchiveProgress = 1;
  std::unique_ptr<TfrmPatientInfo> FPatientInfo;
  std::unique_ptr<TfrmMessagePanel> FMessagePanel;
  System::AnsiString FHelpPath;
  bool FAutoRun = false;
  bool FShowDicomInfo = false;
  TResourceInitialization* FResources = nullptr;
  const TvsColors* FColors = nullptr;
  const TvsFonts* FFonts = nullptr;
  int FMeasurementType = 0;
  uint16_t FStatisticsFlags = 1;
  bool FOppositePan = false;
  TMainWindowTexts Texts;
  bool FPromptAnotherStudy = true;
  int FRangeFirstImage = 0;
  bool FComposerAvailable = false;
  double FGuiScale = 1.0;
  std::array<platform::FileTime, 3> FStudyAgeLimits{};
  std::unique_ptr<TORNDynamicHints> FDynamicHints;

  // --- Set-up and show ---
  // Keeps the start-up record, colours and fonts, reads the GUI_STRINGS texts and the
  // [GUI CONFIG] values of Base.ini, and the GUI defaults of the members and buttons.
  void ApplyGuiResources(TResourceInitialization* resources, const TvsColors* colors, const TvsFonts* fonts);
  // The About window asked at start in stand-alone mode (not owned); none: no question.
  app::TFormAbout* StartupQuestion = nullptr;
  void FormShow(TObject* sender);

  // --- Window procedure and timers ---
  platform::LResult WndProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void OnTimer(uintptr_t id);
  uintptr_t StartTimerId() const { return reinterpret_cast<uintptr_t>(this); }

  // --- Start-up opening ---
  void OpenStandaloneFileSet();
  void OpenSessionFileSet();
  bool FindStartSelection(int& patient, int& study, int& stack);
  static std::wstring DecodeHostText(int codePage, const char* bytes, int32_t count);
  void UpdatePatientButtons(int count, int index);
  void NextPatientClick(TObject* sender);
  void PreviousPatientClick(TObject* sender);
  void FirstPatientClick(TObject* sender);
  void LastPatientClick(TObject* sender);
  void PatientListClick(TObject* sender);
  // The patient navigator; tests replace it (the answer: the chosen indexes, or false).
  std::function<bool(int32_t& patient, int32_t& study, int32_t& stack)> RunPatientNavigator;

  // --- Opening on request ---
  void OpenDicomDirFileExecute(TObject* sender);
  void OpenFolderExecute(TObject* sender);
  // The folder dialog; tests replace it.
  std::function<bool(std::wstring& folder)> SelectFolder;
  std::string FLastFolder;

  // --- Closing ---
  void tbCloseClick(TObject* sender);
  void exit1Click(TObject* sender);
  void tbMinMaxClick(TObject* sender);
  void CheckTemporaryKeyImages();
  // Ends the process (exit code 0); tests replace it.
  std::function<void()> TerminateProcess;
  std::string GetRunKeyImageFolder();
  // This run's key-image folder; empty until the key-image settings make one.
  std::string RunKeyImageFolder;

  // --- Patient display ---
  void ShowPatient(int patientIndex);
  void AddNextStudyBox();
  void ShowStudy(int patient, int study, int stack);
  // Each box added, for tests and the screenshot: the study index in the order of adding.
  std::vector<int> AddedStudyBoxes;
  // Called once every box of the listed patient has been added.
  std::function<void()> OnStudyBoxesComplete;

  // --- Requests of the stack windows ---
  void OnStackWindowActivated(platform::WParam wParam, platform::LParam lParam);
  void OnStackWindowDetach(platform::WParam wParam, platform::LParam lParam);
  void OnMeasurementType(platform::WParam wParam, platform::LParam lParam);
  void OnStackWindowTool(platform::WParam wParam, platform::LParam lParam);
  void SyncPaletteColorButton();
  // Containers replaced by code 14 while forwarded messages may still name them; freed when a
  // message posted after them comes back (posted messages are served in order).
  std::vector<std::pair<uint64_t, std::shared_ptr<TgbReferenceLineContainer>>> FRetiredReferenceLines;
  uint64_t FRetiredSerial = 0;

  // --- Studies panel and layout ---
  void tbStudiesPanelPinClick(TObject* sender);
  void tbSortingForwardClick(TObject* sender);
  void tbMinimizeToIconsClick(TObject* sender);
  void tbStackMatrixClick(TObject* sender);
  void pnlLeftCanResize(int& newWidth);
  void pnlStudiesResizeMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void pnlStudiesResizeMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void SplitterCanResize(int newSize);
  void FitStudiesPanelWidth(int contentWidth);
  int CellIndexAtScreenPoint(int x, int y, bool dropping);
  bool MoveCell(int from, int to);
  void OnClientMaximizeChanged(bool maximized, int index);
  void ApplyStudiesPanelWidth(bool icons);
  void SetMatrix(int columns, int rows);
  int IconWidth();
  int ResizeBarWidth();

  // --- Stack tiles and placement ---
  bool GetStackTileInfo(int32_t study, int32_t stack, TStackTileDescription& record);
  bool FillEngineFileLists(int32_t study, int32_t series, int32_t stack, bool lossy, std::ostream& images,
                           std::ostream& presentationStates, std::ostream& frames, std::string& key);
  bool PlaceNewStackWindow(iSTACK_WINDOW& window);
  bool PlaceStackWindowInCell(iSTACK_WINDOW& window, int32_t cell);
  // The chronological class of a study date: 0 newest to 3.
  int ChronologicalClass(const platform::FileTime& studyDate) const;

  // --- Attachments and host navigation ---
  void OpenStudyAttachments(const std::string& uid);
  void OpenHostStudyAttachments(const char* uid);
  int HostNextPatient(TObject* sender);
  int HostPreviousPatient(TObject* sender);
  int HostFirstPatient(TObject* sender);
  int HostLastPatient(TObject* sender);
  int HostShowPatientList(TObject* sender);
  // Opens a document with its program; tests replace it.
  std::function<void(const std::string& path)> ShellOpenFile;

  // Ends the program after a failed start: the window hides and the message loop ends.
  void CloseProgram();
  bool ProgramClosed = false;

  // The message boxes of the window (errors, questions, notices); tests answer them through
  // the hook.
  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, uint32_t flags);
  std::function<int(const std::wstring& text, const std::wstring& caption, uint32_t flags)> MessageBoxHook;
  // The folder of the executable, ending in "/" (tests put the program elsewhere).
  std::string ExecutableFolderPath;
  int64_t SessionNumber() const;
  bool FileSetOpen() const;
  std::string ExecutableFolder() const;

 private:
  void BuildComponents();
  TToolButton* AddButton(const wchar_t* name, const wchar_t* caption, const wchar_t* hint);
  void ConnectStandaloneNavigation();
  void ClearPatientNavigation();
  void ClearShownFileSet();
  void ShowFirstOf(int patientCount);
  std::unique_ptr<app::TFormLoadingBar> MakeLoadingBar(const System::AnsiString& picture,
                                                       const std::wstring& caption);
  int PatientCount() const;
  ORN_dicom::TanPatientIE* ListedPatient() const;
  void BroadcastTool(platform::WParam wParam, platform::LParam lParam, int code);
  void MirrorButton(TToolButton* button, bool (iSTACK_WINDOW::*state)(), bool emptyCellsCountOff);
  bool PlaceWindow(iSTACK_WINDOW& window, int cell, bool releaseFirst, bool show);

  TMainWindowParts FParts;
};

}  // namespace vistrel_main
