// The studies panel: a scroll box holding one study box per study of the current patient, top
// to bottom. It numbers the stacks of the open boxes with one global stack index, shares its
// height among the boxes, forwards their notifications to the main window, takes the mouse
// wheel over the boxes and owns the memory supervisor, which it stops (waiting for its
// thread) before any box is destroyed.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "browser/studies/StudyBrowserHost.h"
#include "browser/studies/TFrameStudyBox.h"
#include "browser/supervisor/TanMemoryResourceSupervisor.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace ORN_browser {

class TFrameStudyBoxFrameSet : public TFrame {
 public:
  static constexpr int kScrollBarSize = 24;

  // The host stays the main window's and must outlive the panel; null: no main window.
  TFrameStudyBoxFrameSet(TComponent* owner, const TStudyBrowserHost* host = nullptr);
  ~TFrameStudyBoxFrameSet() override;

  // Boxes.
  TFrameStudyBox* AddStudyFirst(const std::wstring& title, int studyKey, int stackCount);
  TFrameStudyBox* AddStudyLast(const std::wstring& title, int studyKey, int stackCount);
  void ReverseStudyOrder();
  int BoxCount() const { return static_cast<int>(boxes_.size()); }
  // Raises std::out_of_range("deque") outside 0..BoxCount()-1.
  TFrameStudyBox* Box(int index) const;
  int SelectedStudyKey() const { return selectedStudyKey_; }

  // The global stack index: the tiles of the open boxes in panel and tile order.
  int GetStackCount() const;
  int GetLastStackIndex() const { return GetStackCount() - 1; }
  int CheckEnabledStudy() const;
  int FindStudyByStackIndex(int index) const;
  iSTACK_TILE* GetStackInfo(int index, bool expand);
  int GetFirstExpandedStackIndex() const;
  int FindFirstExpandedStudy() const;
  int FindStudyByWindow(platform::WindowHandle window) const;
  int GetStackIndexByWindow(platform::WindowHandle window, int first) const;

  // By identity and state.
  iSTACK_TILE* FindStackInfo(int study, int series, int stack) const;
  bool ExpandStudy(int studyKey);
  bool AreAllStacksLossy() const;
  bool HasLossyStack() const;
  int GetTransientKeyImageCount() const;
  int GetPreferredWidth() const;

  // Commands to all boxes.
  void ExpandStudiesWithOpenStacks();
  void StopStudyNavigators();
  void FitStudyBoxes(int available);

  // The mouse wheel at a screen point; true (also in `handled`) when a tile area took it.
  bool HandleMouseWheel(int delta, int x, int y, bool& handled);
  bool HandleWheelOverBoxes(int delta, int x, int y);
  void ScrollBoxMouseWheel(int delta);

  // The memory supervisor (none when the settings give no limit below 100).
  void StartMemorySupervisor();
  void StopMemorySupervisor();
  TanMemoryResourceSupervisor* Supervisor() const { return supervisor_.get(); }
  // The supervisor's handler: closes the engine of the stack hidden longest; true when it did.
  bool ReleaseOldestHiddenStack(int limit, int load);

  platform::LResult WndProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);

  // Closures the main window installs; an empty one answers false, 0 or nothing.
  std::function<void(TFrameStudyBox* box, iSTACK_TILE* tile)> OnStackSelected;
  std::function<void(bool enabled)> OnStudyEnabledChanged;
  std::function<void()> OnStudyOrderChanged;
  std::function<bool(const void* request, iSTACK_TILE* tile, int& stackIndex)> OnMprSeriesRequest;
  std::function<bool(const void* request, iSTACK_TILE* tile)> OnSecondaryCaptureRequest;
  std::function<bool(const void* data, uint32_t size, iTILE_STACK_WINDOW* window, iSTACK_TILE* tile, bool& created,
                     int& stackIndex)>
      OnKeyImageAdded;
  std::function<bool(const std::wstring& keyImage)> OnKeyImageRemoved;
  std::function<bool(int study, int series, int stack, int image, std::string& text, std::string& fileName)>
      OnImageFileRequest;
  std::function<bool(int study, int series, int stack)> OnSaveKeyImages;
  std::function<void()> OnPreviousStack, OnNextStack;
  std::function<int(int study, int series, int stack)> OnPlaceStack;

  TScrollBox* ScrollBox;

 private:
  TFrameStudyBox* MakeBox(const std::wstring& title, int studyKey, int stackCount);
  void InstallBoxHandlers(TFrameStudyBox* box);
  void BringIntoView(TFrameStudyBox* box);
  void OnStudyBoxResized();

  const TStudyBrowserHost* host_;
  std::deque<std::unique_ptr<TFrameStudyBox>> boxes_;
  int selectedStudyKey_ = -1;
  std::unique_ptr<TanMemoryResourceSupervisor> supervisor_;
  bool destroying_ = false;
};

}  // namespace ORN_browser
