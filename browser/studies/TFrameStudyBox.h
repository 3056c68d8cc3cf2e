// The collapsible box of one study in the studies panel: a header with the title, the study's
// status picture and the study tools (attachments, key images, lossy switch, tile order,
// close, collapse/expand), and a body with the study navigator and the study's tile set. The
// box fills its tiles lazily (all at once when the owner expands it, one per 100 ms when the
// user does), relays the tiles' notifications to its owner and acts itself on selection, new
// stacks, key-image changes and the navigator.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "browser/studies/StudyBrowserHost.h"
#include "browser/studies/StudyTiles.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace app {
class TResourceInitialization;
}

namespace ORN_browser {

class TFrameStudyBox : public TFrame {
 public:
  static constexpr int kHeaderHeight = 26;
  static constexpr int kNavigatorWidth = 29;
  static constexpr int kInitialPreferredWidth = 144;
  static constexpr uint32_t kBuildTickMs = 100;
  static constexpr uint32_t kRepeatTickMs = 100;
  static constexpr TColor kOpenHeaderColor = 0xFFFFFF;
  static constexpr TColor kClosedHeaderColor = 0xC0C0C0;

  // lossyState: -1 hides the lossy switch, 0 up, 1 down. The host may be null (no main
  // window: design colours, scale 1, no tiles).
  TFrameStudyBox(TComponent* owner, int lossyState, int stackCount, int studyKey, const std::wstring& title,
                 const TStudyBrowserHost* host);
  ~TFrameStudyBox() override;

  // State.
  bool IsEnabled() const { return !tbDisable->Down(); }
  bool IsExpanded() const { return tbOpenCollaps->Down(); }
  bool AreTilesBuilt() const { return tilesBuilt_; }
  bool IsReversed() const { return reversed_; }
  bool IsDestroying() const { return destroying_; }
  int StudyKey() const { return studyKey_; }
  int NextTile() const { return nextTile_; }
  int GetNavigatorTotal() const { return navigatorTotal_; }
  bool IsWheelNavigationAllowed() const { return wheelNavigationAllowed_; }
  int RepeatDirection() const { return repeatDirection_; }
  bool IsNavigatorBusy() const { return navigatorBusy_; }
  int ChangeDepth() const { return changeDepth_; }
  int LastNavigatorStack() const { return lastNavigatorStack_; }
  int LastNavigatorImage() const { return lastNavigatorImage_; }
  const System::AnsiString& Attachments() const { return attachments_; }
  // The tile set (null when the host gave none); the owner walks its tiles.
  iSTACK_TILE_SET* TileSet() const { return tileSet_.get(); }
  int TileCount() const { return tileSet_ ? tileSet_->Count() : 0; }
  // The hanging protocol last chosen for this study; read and written by the main window.
  int RememberedProtocol = 0;

  // Opening, closing and measuring.
  bool Expand();
  bool Collapse();
  int GetStackCount() const;
  int FindStackByWindow(platform::WindowHandle window) const;
  bool HasShownStack() const;
  int GetHeaderHeight() const { return pnlHeaderMain->Height(); }
  int GetCompactHeight() const;
  int GetFullHeight() const;
  int GetPreferredWidth() const;
  int GetMaxHeight() const { return maxHeight_; }
  void BuildTiles();
  void StartTileBuilding();
  void SetBounds(int left, int top, int width, int height) override;

  // Header tools.
  void SetLossyState(int state);
  int HandleStudyLossyRequest(bool value);
  void SaveTransientKeyImages();
  int GetTransientKeyImageCount() const;
  void SetAttachments(const System::AnsiString& text);
  void SetStatusImage(bool visible, TBitmap* bitmap);
  void SetStatusHint(const std::wstring& text);
  void ApplyGuiSettings(app::TResourceInitialization* resources);
  bool AllowsWheelNavigation(const System::AnsiString& modality) const;
  bool HandleWheelOutside(int x, int y, int delta, int keyState);
  const std::wstring& CaptionText() const { return captionText_; }
  const std::wstring& ReinitializeText() const { return reinitializeText_; }
  const std::wstring& ConfirmText() const { return confirmText_; }
  bool PromptsLossySwitch() const { return promptLossySwitch_; }
  const System::AnsiString& BlockedModalities() const { return blockedModalities_; }

  // The study navigator.
  void StartNavigatorForward();
  void StopNavigator();
  bool LocateNavigatorPosition(int index, int& tile, int& image) const;
  int GetNavigatorPosition(iSTACK_TILE* tile, int mode) const;
  iSTACK_TILE* GetSelectedStack() const;
  void SyncNavigatorToSelection(int mode);
  bool EnsureNavigatorShowsPosition();
  void DrainTimerMessages();
  void PauseNavigatorRepeat(iSTACK_TILE* tile);
  void ResumeNavigatorAt(iSTACK_TILE* tile);
  void HandleWorkAreaRightDown(iSTACK_TILE* tile);
  void SyncNavigatorToStack(iSTACK_TILE* tile);

  // Handlers on the tile set.
  void HandleTileSelected(iSTACK_TILE* tile, bool synchronise);
  bool HandleMprSeriesRequest(const void* request, iSTACK_TILE* tile);
  void HandleKeyImageAdded(const void* data, uint32_t size, iTILE_STACK_WINDOW* window, iSTACK_TILE* tile);
  bool HandleKeyImageRemoved(const std::wstring& keyImage);

  // Published handlers.
  void tbOpenCollapsClick(TObject* sender);
  void tbDisableClick(TObject* sender);
  void tbSortingForwardClick(TObject* sender);
  void pnlHeaderInfoClick(TObject* sender);
  void FrameResize(TObject* sender);
  void tbLossyClick(TObject* sender);
  void tbKeyImagesStackClick(TObject* sender);
  void tbOpenAttachmentsClick(TObject* sender);
  void TrackBarStadyNavigatorChange(TObject* sender);
  void TrackBarStadyNavigatorEnter(TObject* sender);
  void sbForwardClick(TObject* sender);
  void sbBackClick(TObject* sender);

  // The window procedure: timer ticks of building and of the navigator's repeat, and a mouse
  // press in a child window (WM_PARENTNOTIFY), which gives the tile area the keyboard focus.
  platform::LResult WndProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void OnTimer(uintptr_t timerId);
  uintptr_t BuildTimerId() const { return reinterpret_cast<uintptr_t>(this); }
  uintptr_t RepeatTimerId() const { return repeatTimerId_; }

  // Closures the owner installs (a missing one is skipped and answers false, 0 or nothing).
  std::function<bool(int studyKey, int stackIndex, STACK_INFO_INIT_STRUCT& info)> OnGetStackInfo;
  std::function<bool(int study, int series, int stack, bool lossy, std::ostream& imageFiles,
                     std::ostream& stateFiles, std::ostream& frameIndexes, std::string& arguments)>
      OnEngineFilesRequest;
  std::function<bool(iTILE_STACK_WINDOW* window)> OnWindowCreated;
  std::function<bool(iTILE_STACK_WINDOW* window, int cell)> OnWindowCreatedInCell;
  std::function<void(TFrameStudyBox* spare)> OnNavigatorActivity;
  std::function<void()> OnPreviousStack, OnNextStack;
  std::function<void(const System::AnsiString& attachments)> OnOpenAttachments;
  std::function<void()> OnExpanded, OnCollapsed;
  std::function<void(TFrameStudyBox* box, iSTACK_TILE* tile)> OnStackSelected;
  std::function<void(bool enabled)> OnStudyEnabledChanged;
  std::function<void()> OnStudyOrderChanged;
  // A stack window receives a derived series: the owner answers in `stackIndex` the index of
  // a stack to add to the study, -1 when the request adds none.
  std::function<bool(const void* request, iSTACK_TILE* tile, int& stackIndex)> OnMprSeriesRequest;
  std::function<bool(const void* request, iSTACK_TILE* tile)> OnSecondaryCaptureRequest;
  std::function<bool(const void* data, uint32_t size, iTILE_STACK_WINDOW* window, iSTACK_TILE* tile, bool& created,
                     int& stackIndex)>
      OnKeyImageAdded;
  std::function<bool(const std::wstring& keyImage)> OnKeyImageRemoved;
  std::function<bool(int study, int series, int stack, int image, std::string& text, std::string& fileName)>
      OnImageFileRequest;
  std::function<bool(int study, int series, int stack)> OnSaveKeyImages;
  std::function<int(int study, int series, int stack)> OnPlaceStack;

  // Components.
  TPanel* pnlHeaderMain;
  TPanel* pnlHederTools;
  TPanel* pnlHeaderInfo;
  TToolBar* tbSystem;
  TToolButton* tbOpenAttachments;
  TToolButton* ToolButton1;
  TToolButton* tbKeyImagesStack;
  TToolButton* tbLossy;
  TToolButton* ToolButton5;
  TToolButton* ToolButton2;
  TToolButton* tbSortingForward;
  TToolButton* ToolButton3;
  TToolButton* tbDisable;
  TToolButton* tbOpenCollaps;
  TImageList* imlIcons;
  TImageList* ilNormal16x16;
  TImageList* ilStore16x16;
  TImageList* ilHot16x16;
  TImageList* ilDisabled16x16;
  TPanel* pnlBoxDesk;
  TPageScroller* pscrolTitle;
  TPanel* pnlTitle;
  TPanel* bvLayout;
  TLabel* statictextTitle;
  TImage* imgStudyStatus;
  TPanel* bvStudyStatus;
  TPanel* pnlStudyNavigator;
  TTrackBar* TrackBarStadyNavigator;
  TSpeedButton* sbForward;
  TSpeedButton* sbBack;
  TScrollBox* scrollboxStaudyBox;

 private:
  void BuildComponents();
  void LayoutTitle();
  void DrawDesignedIcons();
  void InstallTileSetHandlers();
  void InstallTileHandlers(iSTACK_TILE* tile);
  bool FillTile(int index);
  void FinishBuilding();
  void ShowDesk(bool expanded);
  void RelayoutParent();
  int InsertionPosition(int stackIndex) const;
  iSTACK_TILE* InsertTile(int position, STACK_INFO_INIT_STRUCT& info);
  void ReExpand();
  void UpdateKeyImageSeparator();
  void UpdateButtonPicture(TToolButton* button, bool down, int upIndex, int downIndex);
  bool ConfirmLossySwitch();
  void SetNavigatorPositionDetached(int position);
  void StartRepeat(int direction);
  void StopRepeat(bool processMessages);
  void ArmRepeatTimer();
  void KillRepeatTimer();
  void ScrollTileIntoView(iSTACK_TILE* tile);

  const TStudyBrowserHost* host_;
  std::unique_ptr<iSTACK_TILE_SET> tileSet_;
  int studyKey_;
  bool tilesBuilt_ = false;
  bool reversed_ = false;
  int nextTile_ = -1;
  bool promptLossySwitch_ = true;
  std::wstring reinitializeText_ = L"The action may require to reinitialize some opened stacks.";
  std::wstring captionText_ = L"Warning";
  std::wstring confirmText_ = L"Press OK to confirm.";
  int preferredWidth_ = kInitialPreferredWidth;
  int navigatorTotal_ = 0;
  int lastNavigatorStack_ = 0;
  int lastNavigatorImage_ = 0;
  uintptr_t repeatTimerId_ = 0;
  int repeatDirection_ = 0;
  bool navigatorBusy_ = false;
  int changeDepth_ = 0;
  bool destroying_ = false;
  System::AnsiString blockedModalities_;
  bool wheelNavigationAllowed_ = true;
  System::AnsiString attachments_;
  int maxHeight_ = 0;
  bool buildTimerArmed_ = false;
  bool repeatTimerArmed_ = false;
  // Skinned buttons keep their pictures here: normal-list index, store indexes up and down.
  struct TButtonImages {
    int normalIndex = -1;
    int pressedIndex = -1;
  };
  std::map<TToolButton*, TButtonImages> skinned_;
  TNotifyEvent trackBarChange_;
};

}  // namespace ORN_browser
