// A stack tile: the small frame that stands for one display stack in a study box. It shows
// the stack's icon and seven lines of description, marks lossy mode and the progress of its
// engine's initialisation, and owns what exists only while the stack is open: the launcher of
// the stack's rendering engine and the stack window. It answers its own window messages
// (progress, select, unselect, show, hide, engine died), takes its turn in the engines'
// initialisation order and lets the memory supervisor close its engine while it is hidden.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/widgets/DragDrop.h"
#include "app/widgets/FreeMatrixControl.h"
#include "app/widgets/InfoToolbar.h"
#include "browser/engines/TsgEngineInitOrder.h"
#include "browser/supervisor/ReleaseOldestHiddenStack.h"
#include "browser/tiles/iTILE_HOST.h"
#include "browser/tiles/iTILE_STACK_WINDOW.h"
#include "platform/vcl/DibSection.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gauges.h"
#include "platform/vcl/StdCtrls.h"
#include "viewer/engine/TgbStackEngineProcess.h"

namespace app {
class TResourceInitialization;
}

namespace ORN_browser {

using app::TResourceInitialization;

class TFrameStackInfo;

// The tile's messages (the tile's own window is the target).
namespace tile_msg {
constexpr uint32_t kInitProgress = 0x8400;  // lParam: progress | maximum << 16
constexpr uint32_t kSelect = 0x8801;        // lParam: non-zero tells the stack window
constexpr uint32_t kUnselect = 0x8802;
constexpr uint32_t kShow = 0x8803;
constexpr uint32_t kHide = 0x8804;          // lParam: non-zero detaches the stack window
constexpr uint32_t kEngineDied = 0x8805;
}  // namespace tile_msg

// A stack's description, as the main window gives it for one tile.
struct TStackDescription {
  int Study = -1, Series = -1, Stack = -1;
  platform::HBITMAP Icon = nullptr;  // handed over to the tile, which deletes it
  int SeriesNumber = 0;
  int ImageCount = 0;
  std::wstring Protocol;
  std::string Date, Time, Modality, BodyPart;
  std::wstring Description;
};

class TFrameStackInfo : public TFrame, public iINIT_ORDER_TILE, public iSUPERVISED_STACK {
 public:
  static constexpr int kDesignWidth = 411;
  static constexpr int kDesignHeight = 142;
  static constexpr uint32_t kEngineStartTimeoutMs = 10000;
  // Longest wait of the GUI for a stack window's engine to become ready.
  static constexpr uint32_t kEngineWaitTimeoutMs = 30000;
  static inline const std::wstring kKeyImageProtocol = L"Key Image Series";

  explicit TFrameStackInfo(TComponent* owner);
  ~TFrameStackInfo() override;

  // ---- set-up ----
  void ApplyGuiResources(TResourceInitialization* record);
  void Fill(const TStackDescription& description);
  // [GUI_DEFAULTS] PixtraneAsynchronousMode and StackInitProgressBarVisible, as
  // ApplyGuiResources reads them.
  void SetInitModes(bool asynchronous, bool gaugeVisible);
  int GetBaseWidth() const { return Shape2->Left() * 2 + Shape2->Width(); }

  // ---- showing and selecting ----
  void Show();
  void ShowInCell(int cell);
  void Hide(bool detach);
  void SetShown(bool shown);
  bool IsShown() const override { return shown_; }
  bool IsSelected() const override { return selected_; }
  bool IsUsable() const { return usable_; }
  void Select(bool notify);
  void Unselect(bool notify);
  void NotifyActivation(bool activate);
  void lblMouseScreenClick(TObject* sender);
  void chbViewClick(TObject* sender);
  void CloseStack() override;

  // ---- engine and window ----
  bool StartEngine();
  bool CreateStackWindow();
  bool CreateStackWindowInCell(int cell);
  bool GoToImage(int index);
  int GetCurrentImage() const;
  iTILE_STACK_WINDOW* StackWindow() const { return stackWindow_.get(); }
  ORN_image::TgbStackEngineProcess& Engine() { return engine_; }
  bool IsEngineRunning() const override { return engine_.IsRunning(); }
  std::string LastActivity() const override { return lastActivity_; }

  // ---- lossy mode and key images ----
  void SetLossy(int mode);
  bool IsLossyWanted() const { return lossyWanted_; }
  bool IsLossyApplied() const { return lossyApplied_; }
  int CountTransientKeyImages();
  void SaveTransientKeyImages();
  int TransientKeyImageCount() const { return transientKeyImages_; }
  bool IsKeyImageTile() const { return keyImageTile_; }
  int KeyImageStackIndex = -1;  // written by the study box, read back by the tile set

  // ---- placement, drag and the info strip ----
  void OpenInCell(int cell, bool select);
  bool PlaceInCell(int cell, bool select, bool reinitialise);
  void PlaceInFreeMatrixCell(int x, int y, bool headerVisible);
  bool ForwardMouseWheel(int x, int y, int delta, int keyState);
  void MoveCell(int from, int to);
  void lblMouseScreenMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void lblMouseScreenMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void lblMouseScreenMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void lblPanelMouseScreenContextPopup(TObject* sender, const TPoint& mouse, bool& handled);
  void OnStripFreeMatrixClick(TObject* sender);
  bool StripContainsPoint(const TPoint& screenPoint);
  // The strip's opacity for a mouse row over the icon: the row over the strip's row, within
  // 0 to 1; fully opaque when the strip's row is not below the top.
  static double StripOpacity(int mouseY, int stripRow);
  // How the chooser is run (modally by default); tests answer it.
  std::function<int(app::TFreeMatrixControl& chooser)> RunChooser;

  // ---- index and state ----
  int StudyIndex() const { return study_; }
  int SeriesIndex() const { return series_; }
  // A series inserted before this tile's moves it one series on.
  void SetSeriesIndex(int index) { series_ = index; }
  int StackIndex() const { return stack_; }
  int ImageCount() const { return imageCount_; }
  int WidestLabelWidth() const { return widestLabel_; }
  int RightMargin() const { return 19; }
  bool IsDragging() const { return dragging_; }
  bool PlacementAsked() const { return placementAsked_; }
  bool AsynchronousMode() const { return asynchronous_; }
  bool GaugeVisibleSetting() const { return gaugeVisible_; }
  TColor TextColor() const { return textColor_; }
  TsgEngineInitOrder& InitOrder() { return *initOrder_; }
  const std::wstring& EngineDiedQuestion() const { return engineDiedQuestion_; }
  const std::wstring& KeyImageCaption() const { return keyImageCaption_; }

  // ---- messages ----
  platform::LResult Dispatch(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void OnInitProgress(platform::LParam lParam);
  void OnTimer(uintptr_t timerId);
  bool ClaimInitSlots(int progress, int maximum) { return initOrder_->ClaimInitSlots(progress, maximum); }

  // iINIT_ORDER_TILE
  platform::WindowHandle EngineWindow() override;
  platform::WindowHandle TileWindow() override { return ownHandle_; }
  platform::WindowHandle OwnHandle() const { return ownHandle_; }

  // ---- closures, installed by the owner; an empty one is skipped ----
  std::function<void(TFrameStackInfo* tile, bool notify)> OnTileSelected;
  std::function<bool(int study, int series, int stack, bool lossy, std::ostream& images,
                     std::ostream& presentationStates, std::ostream& frames, std::string& arguments)>
      OnEngineFilesRequest;
  std::function<bool(iTILE_STACK_WINDOW* window)> OnWindowCreated;
  std::function<bool(iTILE_STACK_WINDOW* window, int cell)> OnWindowCreatedInCell;
  std::function<bool(const void* request, TFrameStackInfo* tile)> OnMprSeriesRequest;
  std::function<bool(const void* request, TFrameStackInfo* tile)> OnSecondaryCaptureRequest;
  std::function<void(const void* data, uint32_t size, iTILE_STACK_WINDOW* window, TFrameStackInfo* tile)>
      OnKeyImageAdded;
  std::function<bool(const std::wstring& keyImage)> OnKeyImageRemoved;
  std::function<bool(int study, int series, int stack, int image, std::string& text, std::string& fileName)>
      OnImageFileRequest;
  std::function<bool(int study, int series, int stack)> OnSaveKeyImages;
  std::function<int(bool lossy)> OnStudyLossyRequest;
  std::function<void(int x, int y, uint16_t delta, uint16_t keys)> OnWheelOutside;
  std::function<void(TFrameStackInfo* tile)> OnWorkAreaLeftDown, OnWorkAreaLeftUp, OnWorkAreaRightDown,
      OnWorkAreaRightUp, OnWorkAreaMiddleDown, OnWorkAreaMiddleUp;
  std::function<void()> OnPreviousStack, OnNextStack;
  std::function<bool(int study, int series, int stack)> OnPlaceStack;
  // Clears every closure that leads to the owner (before the tile is destroyed by it).
  void ClearClosures();

  // ---- the form's components ----
  TPanel* shapeMain;
  TPanel* Shape2;
  TImage* imIcon;
  TPanel* ShapeForLossy;
  TPanel* shapeInfo;
  TLabel* lblLossy;
  TLabel* lblNoIicon;
  TCGauge* CGaugeInit;
  TLabel* lblMouseScreen;
  TPanel* pnlTool;
  TCheckBox* chbView;
  TPanel* infPanel;
  TLabel *lblSeriesNum, *lblNumOfImages, *lblProtocol, *lblDateTime, *lblModality, *lblPartOfBody, *lblDescription;
  TLabel* lblPanelMouseScreen;
  std::unique_ptr<app::TfrmDragDrop> dragPicture;
  std::unique_ptr<app::TfrmInfoToolbar> infoStrip;

 private:
  void BuildForm();
  void ApplyHostLook();
  void UpdateLossyMark();
  void StripLossyClick(TObject* sender);
  void SetViewChecked(bool checked);
  void SetTextColor(TColor color);
  TColor HostColor(const wchar_t* name, TColor fallback) const;
  bool CreateWindowFor(int cell);
  void InstallRequests(iTILE_STACK_WINDOW* window);
  void StopEngine();
  void RestartEngine();
  void DestroyStackWindow();
  void OnEngineDied();
  void ShowOrPlace(int cell);
  // Runs the message loop until the window's engine is ready or failed, the window or the
  // tile goes, the engine ends, or the time-out passes; true when ready.
  bool WaitForEngine(iTILE_STACK_WINDOW* window);
  TPoint ToScreen(TObject* sender, int x, int y) const;

  bool lossyWanted_ = false;
  bool lossyApplied_ = false;
  std::wstring keyImageCaption_ = L"Key Images";
  std::wstring engineDiedQuestion_ =
      L"An image engine process was terminated for unrecoverable error.\nShall it be reinitialized?";
  std::wstring saveErrorText_ = L"The saving process cannot be initialized.";
  std::wstring errorCaption_ = L"Error";
  bool usable_ = false;
  bool shown_ = false;
  bool selected_ = false;
  bool keyImageTile_ = false;
  bool dragging_ = false;
  int study_ = -1, series_ = -1, stack_ = -1;
  int imageCount_ = 0;
  int transientKeyImages_ = 0;
  int widestLabel_ = 0;
  std::unique_ptr<iTILE_STACK_WINDOW> stackWindow_;
  TResourceInitialization* record_ = nullptr;
  ORN_image::TgbStackEngineProcess engine_;
  std::string lastActivity_;
  bool asynchronous_ = true;
  bool gaugeVisible_ = true;
  bool stackInitialisation_ = false;
  bool placementAsked_ = false;
  TColor textColor_ = clBlack;
  platform::WindowHandle ownHandle_ = 0;
  std::unique_ptr<TsgEngineInitOrder> initOrder_;
  // Cleared by the destructor, so a wait running inside the tile's message loop notices.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ORN_browser
