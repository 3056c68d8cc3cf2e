// The image frame of one stack: a header bar, a tool bar and a navigator bar with cine
// controls around the work-area panel in which the stack's rendering engine draws. A stack
// tile owns it; a matrix cell hosts it and installs the closures through which linked frames
// are driven; the main window talks to it through window messages 0x8801 to 0x8864.
//
// Files: TFrameStackWindow.cpp (components, construction, destruction, message map and
// window procedure), StackWindowTools.cpp (readiness, activation, auto-hidden bars, tool
// modes, tool switch, reconstruction mode), StackWindowNavigation.cpp (track bar, stepping,
// image matrix, cine), StackWindowNotifications.cpp (the engine's notifications and the
// work-area mouse), StackWindowLinking.cpp (applying linked changes), StackWindowSettings.cpp
// (GUI settings), ToolBarPictures.* (tool-bar pictures).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "viewer/engine/EngineMessages.h"
#include "viewer/frame/SLinkOptions.h"
#include "viewer/frame/SMagnifierOptions.h"
#include "viewer/frame/VoiPresets.h"
#include "viewer/panel/TgbWorkAreaPanel.h"
#include "viewer/stackwindow/ToolBarPictures.h"

namespace app {
class iRESOURCE_INITIALIZATION;
class TResourceInitialization;
}  // namespace app

// Messages between the frames, their tiles and the main window.
namespace stack_msg {
constexpr uint32_t kActivate = 0x8801;         // wParam: the frame that became active
constexpr uint32_t kDeactivate = 0x8802;       // wParam: the frame that became active
constexpr uint32_t kHide = 0x8804;             // wParam: the frame (or its tile)
constexpr uint32_t kMeasurementKind = 0x8806;  // wParam: sender, lParam: kind
constexpr uint32_t kToolSwitch = 0x8864;       // wParam: sender or value, lParam: code | argument << 16
constexpr uint32_t kWmDestroy = 0x0002;
constexpr uint32_t kWmParentNotify = 0x0210;
constexpr uint32_t kWmCreate = 0x0001;
constexpr uintptr_t kWindowLevelHintTimer = 112;
}  // namespace stack_msg

// Tool codes of message 0x8864.
namespace tool_code {
constexpr int32_t kNone = 0, kZoom = 1, kVoi = 2, kPan = 3, kNavigator = 4, kMagnifier = 5, kMeasurement = 6,
                  kEdgeEnhancement = 7, kInverse = 8, kReset = 9, kPosition = 10, kThickness = 11,
                  kToolbarPin = 12, kNavigatorPin = 13, kReferenceLines = 14, kPositionRelay = 15,
                  kLinkAutomated = 16, kLink = 17, kInfo = 18, kPalette = 19, kStatistics = 20,
                  kTriangulation = 21, kPositionRelayLinked = 33;
}  // namespace tool_code

// Work-area cursor numbers registered by the start-up record.
namespace cursor_id {
constexpr int kMeasurementUp = 6, kMagnifierUp = 8, kNavigatorUp = 10, kPanUp = 12, kVoiUp = 14, kZoomUp = 16,
              kMprPositionUp = 18, kMprThicknessUp = 20, kMprAnixUp = 22, kMeasurementMoveUp = 24,
              kBlendingUp = 26, kPolygon = 32, kTriangulationUp = 33, kEdgeEnhancementUp = 36;
}  // namespace cursor_id

// The image-plane records of the active frame's current image, handed through the main window
// to every frame, which draws them as reference lines on its own image.
struct TReferenceLines {
  platform::WindowHandle SourceEngine = 0;
  std::vector<ORN_image::engine_msg::ImagePlaneRecord> Planes;
  // Sends the records as one WM_COPYDATA to another engine; nothing for its own engine.
  void SendTo(platform::WindowHandle engine) const;
};

class TFrameStackWindow : public TFrame {
 public:
  // The tile passes owner null, cell index -1, 0, the main form's handle and its own handle.
  TFrameStackWindow(TComponent* AOwner, int32_t cellIndex, int32_t reserved, platform::WindowHandle mainWindow,
                    platform::WindowHandle tileWindow);
  ~TFrameStackWindow() override;

  // ---- Components, in their nesting ----
  TPanel* pnlMain;
  TPanel* pnlTop;
  TPaintBox* pbChronologicalOrder;
  TToolBar* tbrHeaderTools;
  TToolButton *tbOnOff, *tbHide;
  TPanel *pnlBottom, *pnlLeft, *pnlRight;
  TPanel* pnlDesk;
  TPanel* pnlTools;
  TPanel* pnlToolsSystem;
  TToolBar* tbSystem;
  TToolButton* tbPin;
  TPageScroller* psTools;
  TLabel* lblVOIHint;
  TToolBar* tbTools;
  TToolButton *tbMenu, *tbSeparator1, *tbMatrix, *tbLink, *tbSeparator2, *tbZoom, *tbVOI, *tbPan, *tbNavigator,
      *tbMagnifier, *tbMeasurement, *tbEdgeEnhancement, *tbPosition, *tbThickness, *tbSlabPointing, *tbBlending,
      *tbSeparator3, *tbInverse, *tbPaletteColor, *tbReset, *tbRotateLeft, *tbRotateRight, *tbFlipHorizontal,
      *tbFlipVertical, *tbMPR, *tbPS, *tbInfo, *tbSeparator4, *tbPrint, *tbDicomPrint, *ToolButton1,
      *tbAddKeyImage, *tbExportAVI, *tbExportBMP, *tbDICOMInfoGrid;
  TPanel* pnlNavigator;
  TPanel* pnlNavigatorSystem;
  TToolBar* tbNavigatorSistem;
  TToolButton* tbNavigatorPin;
  TPageScroller* pscrolNavigator;
  TPanel* pnlServicesNavigatorServices;
  TToolBar* tbNavigatorServices;
  TToolButton *tbNext, *tbNextPage, *tbLast, *tbFirst, *tbPrevPage, *tbPrev, *ToolButton7, *tbForward, *tbLoot,
      *tbBack;
  TPanel* pnlFRS;
  TLabel* lblFPS;
  TEdit* eFPS;
  TUpDown* UpDownFPS;
  TPanel* pnlTrackbar;
  TTrackBar* trbarNavigator;
  TPanel* pnlBase;
  TSplitter* sptDICOMInfoGrid;
  TPanel* pnlWorkArea;
  TImageList *imlTools, *imlSystem, *imlNavigator, *ilNormal16x16, *ilStore16x16, *ilHot16x16, *ilDisabled16x16,
      *ilHeaderToolsHot, *ilHeaderToolsDisabled, *ilHeaderToolsNormal, *ilNormal28x10, *ilStore28x10, *ilHot28x10,
      *ilDisabled28x10;
  TPopupMenu* pmWorkareaPopup;

  // ---- Closures the matrix cell installs ----
  std::function<void(TFrameStackWindow* sender)> OnCellMaximize;
  std::function<bool(TFrameStackWindow* sender, double ratio)> OnLinkedZoom;
  std::function<bool(TFrameStackWindow* sender, double centreDelta, double widthDelta)> OnLinkedVoi;
  std::function<bool(TFrameStackWindow* sender, double dx, double dy)> OnLinkedPan;
  std::function<bool(TFrameStackWindow* sender)> OnLinkedRotateLeft, OnLinkedRotateRight, OnLinkedFlipHorizontal,
      OnLinkedFlipVertical;
  std::function<bool(TFrameStackWindow* sender, int step)> OnLinkedImageStep;
  std::function<bool(TFrameStackWindow* sender, uint8_t positionKind, double step)> OnLinkedPositionStep;
  std::function<bool(TFrameStackWindow* sender, double step)> OnLinkedTimeStep;
  std::function<void(TFrameStackWindow* sender)> OnCellDetach;
  // False when the cell cannot answer (hidden behind a maximized cell).
  std::function<bool(int& count, int& row, int& column)> GetCellPosition;

  // ---- Closures the stack tile installs ----
  std::function<void(const TPoint& point, uint16_t delta, uint16_t keys)> OnWheelOutsideRequest;
  std::function<void(const System::AnsiString& file)> OnDerivedFileReceived;
  std::function<System::WideString(const System::AnsiString& key)> OnPrintTextRequest;
  std::function<void(const void* data, uint32_t size, TFrameStackWindow* frame)> OnKeyImageDataReceived;
  std::function<bool(int32_t imageIndex, bool keep)> OnKeepKeyImage;
  // (image index) -> two texts, the second the image's file name; false when unknown.
  std::function<bool(int32_t imageIndex, System::AnsiString& first, System::AnsiString& file)> GetImageFile;
  std::function<void()> OnLossyStack, OnLossyStudy;
  std::function<void(int32_t& first, int32_t& second, int32_t& third)> GetStackNumbers;
  std::function<void(int x, int y)> OnPanelLeftDown, OnPanelRightDown, OnPanelMiddleDown;
  std::function<void()> OnPanelLeftUp, OnPanelRightUp, OnPanelMiddleUp;
  std::function<void()> OnStackBefore, OnStackAfter;
  bool KeyImageTile = false;

  void SetCellIndex(int32_t index) { FCellIndex = index; }
  int32_t CellIndex() const { return FCellIndex; }

  // ---- Virtual operations of the frame ----
  // The stack description the main window fills when it places the frame.
  struct TStackDescription {
    System::WideString PatientName, PatientId, AccessionNumber, StudyId;
    System::AnsiString ModalitiesInStudy, SeriesInstanceUid, SeriesNumber;
  };
  virtual TStackDescription* GetEmbeddedObject() { return &FStackDescription; }
  // The file of the image shown now; empty while not ready, after a failure or without an index.
  virtual System::AnsiString GetCurrentImageFile();

  // ---- Readiness, activation and tool modes ----
  // Each wait pumps the application's messages until the engine answers; it also ends, with
  // failure, when the engine's window is gone, the frame is destroyed or the bound passes.
  bool WaitForEngine();
  bool GoToImage(int32_t index);
  bool IsCinePlaying();
  void ReinitializeEngine();
  void SetShown(bool visible);
  void DetachFromCell();
  void Activate(platform::WindowHandle initiator);
  void Deactivate(platform::WindowHandle initiator = 0);
  bool IsActive() const { return FActive; }
  void PauseCine();
  void ResumeCine();
  void StopPlayback();
  void SwitchTool(platform::WParam wParam, platform::LParam lParam);
  void OnMeasurementTypeChosen(platform::WParam wParam, platform::LParam lParam);
  void RestoreCurrentTool();
  void EnterReconstructionMode();
  void LeaveReconstructionMode();
  void SyncContextMenu(int32_t imageIndex);
  void OnEngineProgress(platform::WParam wParam, platform::LParam lParam);
  void OnEngineZoom(double zoom);
  void SetToolbarPinned(bool pinned);
  void SetNavigatorPinned(bool pinned);
  void SetLinkAutomated(int32_t value);
  void SetMaximizedButton(bool restored);

  // Tool-button handlers; Sender null is a programmatic call (nothing is broadcast).
  void tbZoomClick(TObject* Sender);
  void tbVOIClick(TObject* Sender);
  void tbPanClick(TObject* Sender);
  void tbNavigatorClick(TObject* Sender);
  void tbMagnifierClick(TObject* Sender);
  void tbMeasurementClick(TObject* Sender);
  void tbEdgeEnhancementClick(TObject* Sender);
  void tbInverseClick(TObject* Sender);
  void tbResetClick(TObject* Sender);
  void tbLinkClick(TObject* Sender);
  void tbMPRClick(TObject* Sender);
  void tbCloseClick(TObject* Sender);
  void tbScreenOnOffClick(TObject* Sender);
  void tbPinClick(TObject* Sender);
  void tbNavigatorPinClick(TObject* Sender);
  void tbPositionClick(TObject* Sender);
  void tbThicknessClick(TObject* Sender);
  void tbSlabPointingClick(TObject* Sender);

  // Inverse: keeps the state, sets the button and tells the engine.
  void ApplyInverse(bool state);
  void SetInverseButton(bool state);
  bool IsInverse() const { return tbInverse->Down(); }

  // ---- Navigation, image matrix and cine ----
  void tbFirstClick(TObject* Sender);
  void tbPrevClick(TObject* Sender);
  void tbPrevPageClick(TObject* Sender);
  void tbNextClick(TObject* Sender);
  void tbNextPageClick(TObject* Sender);
  void tbLastClick(TObject* Sender);
  void trbarNavigatorChange(TObject* Sender);
  void tbForwardClick(TObject* Sender);
  void tbBackClick(TObject* Sender);
  void tbLootClick(TObject* Sender);
  void eFPSChange(TObject* Sender);
  void pscrolNavigatorResize(TObject* Sender);
  void tbMatrixClick(TObject* Sender);
  void StartCine();
  void StopCine();

  // ---- Engine notifications (the work-area panel's events) ----
  void WorkAreaWindowLevelChanged(double centre, double width);
  void WorkAreaPanChanged(double x, double y);
  void WorkAreaImageChanged(int32_t first, int32_t current);
  void WorkAreaReconstructionCursor(bool on);
  void WorkAreaEngineWindow(platform::WindowHandle engine);
  void WorkAreaEngineMatrix(int32_t columns, int32_t rows);
  void WorkAreaImageCount(int32_t count);
  void WorkAreaMeasurementHover(bool on);
  void WorkAreaReconstructionAvailable(bool available);
  void OnEngineReady();
  void WorkAreaPresentationStatesAvailable(bool available);
  void WorkAreaPresentationStateList(const void* data, uint32_t size);
  void WorkAreaPresentationStateApplied(int32_t index);
  void WorkAreaCineStopped(int32_t index);
  void WorkAreaCineStarted();
  void WorkAreaFrameRate(int32_t fps);
  void WorkAreaMeasurementDone(bool state);
  void WorkAreaMenuItemState(bool state);
  void WorkAreaTextAnnotation(bool state, bool edit);
  void WorkAreaMeasurementSelection(bool state);
  void WorkAreaBlendingAvailable(bool available);
  void WorkAreaImagePlane(const void* data, uint32_t size);
  void WorkAreaPositionFactor(uint8_t kind, double spacing);
  void WorkAreaPositionReport(int32_t a, int32_t b);
  void WorkAreaKeyImageNotification(int32_t kind, int32_t index);
  void WorkAreaReconstructionStep(bool towardsPrevious);
  void WorkAreaInverseChanged(bool state);
  void WorkAreaLinkStateChanged(int32_t value, int32_t state);
  void WorkAreaVoiPresets(const char* modality);
  void WorkAreaWheelOutside(const TPoint& point, uint16_t delta, uint16_t keys);
  void WorkAreaDoubleClick(platform::WParam wParam, platform::LParam lParam);
  void WorkAreaLeftDown(int32_t x, int32_t y);
  void WorkAreaLeftUp();
  void WorkAreaWheel(bool forward);
  void WorkAreaPopupAllowed(bool suppress);
  void WorkAreaClick();

  // ---- Linked changes from the client area (every frame of the matrix, the sender included) ----
  void ApplyLinkedZoom(TFrameStackWindow* sender, double ratio);
  void ApplyLinkedVoi(TFrameStackWindow* sender, double centreDelta, double widthDelta);
  void ApplyLinkedPan(TFrameStackWindow* sender, double dx, double dy);
  void ApplyLinkedRotateLeft(TFrameStackWindow* sender);
  void ApplyLinkedRotateRight(TFrameStackWindow* sender);
  void ApplyLinkedFlipHorizontal(TFrameStackWindow* sender);
  void ApplyLinkedFlipVertical(TFrameStackWindow* sender);
  void ApplyLinkedImageStep(TFrameStackWindow* sender, int32_t step);
  void ApplyLinkedPositionStep(TFrameStackWindow* sender, uint8_t kind, double step);
  void ApplyLinkedTimeStep(TFrameStackWindow* sender, double step);

  // ---- GUI settings ----
  void ApplyGuiSettings(app::iRESOURCE_INITIALIZATION* record);
  bool GuiSettingsApplied() const { return FSettingsApplied; }
  void RefreshChronologicalOrder();
  void SetOrderValue(uint8_t value) { FOrderValue = value; }

  // ---- State the tests and owners read ----
  TgbWorkAreaPanel* WorkArea() const { return FWorkArea; }
  platform::WindowHandle EngineWindow() const { return FEngineWindow; }
  platform::WindowHandle TileWindow() const { return FTileWindow; }
  platform::WindowHandle MainWindow() const { return FMainWindow; }
  bool EngineReady() const { return FEngineReady; }
  bool EngineFailed() const { return FEngineFailed; }
  int32_t ImageCount() const { return FImageCount; }
  int32_t FirstImageCount() const { return FFirstImageCount; }
  int32_t CurrentImageIndex() const { return FCurrentImageIndex; }
  int32_t MatrixColumns() const { return FColumns; }
  int32_t MatrixRows() const { return FRows; }
  bool MatrixSet() const { return FMatrixSet; }
  bool CineStopped() const { return FCineStopped; }
  bool CinePaused() const { return FCinePaused; }
  bool AutoCine() const { return FAutoCine; }
  int32_t FrameRate() const { return FFrameRate; }
  double CurrentZoom() const { return FCurrentZoom; }
  double LastLinkedZoom() const { return FLinkedZoom; }
  double WindowCentre() const { return FCentre; }
  double WindowWidth() const { return FWidth; }
  bool ReferenceLineSource() const { return FReferenceLineSource; }
  bool InitialisationComplete() const { return FInitComplete.load() != 0; }
  const VoiPresetList& WindowLevelPresets() const { return FPresets; }
  const ORN_image::engine_msg::StatisticsSettings& StatisticsRecord() const { return FStatistics; }
  SLinkOptions& LinkOptions() { return FLinkOptions; }
  SMagnifierOptions& MagnifierOptions() { return FMagnifierOptions; }
  TColor ActiveColor() const { return FActiveColor; }
  TColor InactiveColor() const { return FInactiveColor; }
  int32_t ZoomPercent() const { return FZoomPercent; }
  bool AutoCinemator() const { return FAutoCinemator; }
  int32_t WindowLevelHintDelay() const { return FHintDelay; }
  const std::wstring& MessageText(int index) const { return FMessages[index]; }
  TColor ChronologicalColor(uint8_t order) const;
  const ToolButtonPictures* PicturesOf(TToolButton* button) const;
  bool VoiReplyReceived() const { return FVoiReplyReceived; }

  // How long a wait for the engine lasts at most (milliseconds).
  static uint32_t& EngineWaitBound();
  // The tool code the reconstruction display starts with, shared by all frames.
  static uint8_t& MprToolCode();

  // The frame's own window procedure (WM_COPYDATA presets, 0x8061, timer 112, message map).
  platform::LResult FrameProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);

 private:
  friend class TStackWindowPictures;
  void BuildComponents();
  // Sizes the scrolled contents of the two page scrollers to their buttons.
  void FitScrolledBars();
  TToolButton* AddButton(TToolBar* bar, const char* name, const wchar_t* hint, TToolButtonStyle style = tbsButton);
  void ConnectWorkArea();
  void OnFrameTimer(uintptr_t id);
  void AutoHide(TPanel* bar, bool allowShow);
  // The wait shared by WaitForEngine, GoToImage and IsCinePlaying: true when ready.
  bool WaitUntil(const std::function<bool()>& done);
  bool Post(uint32_t message, platform::WParam wParam = 0, platform::LParam lParam = 0);
  bool PostToMain(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void Broadcast(int32_t code) { PostToMain(stack_msg::kToolSwitch, platform::WParam(Handle()), code); }
  void PressButton(TToolButton* button, void (TFrameStackWindow::*handler)(TObject*));
  void PostToolMessages(TObject* Sender, int32_t code, bool endTool, bool resetTool);
  bool ReconstructionMode() const { return tbMPR->Visible() && tbMPR->Down(); }
  bool On(TToolButton* b) const { return b->Visible() && b->Enabled() && b->Down(); }
  bool LinkDown() const { return tbLink->Enabled() && tbLink->Down(); }
  bool ShowsImageMatrix() const { return tbMatrix->Visible() && tbMatrix->Down() && FColumns * FRows > 1; }
  int32_t PageSize() const { return FColumns * FRows; }
  void UpdateSteppingButtons();
  void ShowPlayPictures(TToolButton* running);
  void SetBorderColor(TColor color);
  void SetWorkAreaCursor(int cursor);
  void SendStatistics();
  bool ApplyLinkGuard(TFrameStackWindow* sender, bool kindLinked) const;

  TgbWorkAreaPanel* FWorkArea = nullptr;  // owned through the component tree
  System::AnsiString FInfoFileName;
  platform::WindowHandle FEngineWindow = 0;
  TPoint FPopupPoint;
  VoiPresetList FPresets;
  platform::WindowHandle FTileWindow;
  platform::WindowHandle FMainWindow;
  int32_t FReserved;
  uintptr_t FToolsTimerId = 0, FNavigatorTimerId = 0, FDialogTimerId = 0;
  bool FEngineFailed = false;
  bool FEngineReady = false;
  bool FActive = false;
  bool FNavigatorShown = true;
  bool FReferenceLineSource = false;
  std::atomic<int32_t> FInitComplete{0};
  bool FAutoCineAllowed = true;
  std::wstring FMessages[7];
  bool FPromptAddKeyImage = true;
  bool FAutoExport = false;
  System::AnsiString FExportBmpFolder, FExportAviFolder;
  int32_t FHintDelay = 4000;
  bool FAutoCinemator = true;
  bool FPaletteAnnounced = true;
  double FCurrentZoom = 0, FLinkedZoom = 0;
  double FCentre = 0, FWidth = 0, FLinkedCentre = 0, FLinkedWidth = 0;
  bool FWindowKnown = true;
  double FPanX = 0, FPanY = 0, FLinkedPanX = 0, FLinkedPanY = 0;
  bool FPanKnown = true;
  bool FZoomKnown = true;
  int32_t FPreviousImageIndex = 0, FCurrentImageIndex = 0, FFirstShown = 0;
  int32_t FLinkedImageIndex = 0;
  double FPosition = 0, FLinkedPosition = 0, FTime = 0, FLinkedTime = 0;
  double FSpacing = 0;
  uint8_t FPositionKind = 0;
  double FCineFrameRate = 0;
  int32_t FColumns = 1, FRows = 1;
  int32_t FImageCount = 1;
  bool FMatrixSet = true;
  bool FMatrixOff = false;
  int32_t FChooserRows = 5, FChooserColumns = 5;
  bool FEnlargedImage = false;
  bool FAutoCine = false, FCinePaused = true, FCineStopped = true, FCineRequested = false;
  int32_t FCineDirection = -1;
  int32_t FFrameRate = 20;
  bool FPaletteMode = false;
  int32_t FPaletteIndex = -1;
  System::AnsiString FPaletteName;
  int32_t FPaletteDefaultIndex = 0;
  ORN_image::engine_msg::StatisticsSettings FStatistics{};
  int32_t FStackImageCount = 0, FFirstImageCount = 0;
  uint8_t FMeasurementCursor = cursor_id::kMeasurementUp;
  bool FInverseAtStart = false;
  int32_t FZoomPercent = 100;
  SLinkOptions FLinkOptions;
  SMagnifierOptions FMagnifierOptions;
  int32_t FCellIndex;
  TStackDescription FStackDescription;
  std::map<uint8_t, TColor> FChronoColors;
  std::map<uint8_t, std::wstring> FChronoTexts;
  uint8_t FOrderValue = 3;
  bool FPresentationStatesPending = false;
  bool FVoiReplyReceived = false;
  uint8_t FPendingTwoClickTool = 0;
  TColor FActiveColor = 0xFFFFFF, FInactiveColor = 0;
  bool FSettingsApplied = false;
  app::iRESOURCE_INITIALIZATION* FGuiRecord = nullptr;
  TStackWindowPictures FPictures;
  // Cleared by the destructor, so that a wait running inside a handler of this frame ends.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
