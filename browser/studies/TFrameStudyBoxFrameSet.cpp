#include "browser/studies/TFrameStudyBoxFrameSet.h"

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "browser/supervisor/ReleaseOldestHiddenStack.h"
#include "platform/com/Library.h"

namespace ORN_browser {

namespace {

constexpr uint32_t kWmParentNotify = 0x0210;
// ExpandStudy gives up when a box's building makes no progress for this long.
constexpr auto kExpandStallLimit = std::chrono::seconds(30);

// Strictly inside the control's rectangle on the screen.
bool StrictlyInside(TControl* control, int x, int y) {
  const TPoint origin = control->ClientToScreen(Point(0, 0));
  return origin.x < x && x < origin.x + control->Width() && origin.y < y && y < origin.y + control->Height();
}

bool ShownOnScreen(TControl* control) {
  for (TControl* c = control; c; c = c->Parent())
    if (!c->Visible()) return false;
  return true;
}

}  // namespace

TFrameStudyBoxFrameSet::TFrameStudyBoxFrameSet(TComponent* owner, const TStudyBrowserHost* host)
    : TFrame(owner), host_(host) {
  SetName("StudyBoxFrameSet");
  SetColor(clSilver);
  SetAlign(alClient);
  ScrollBox = new TScrollBox(this);
  ScrollBox->SetName("ScrollBox");
  ScrollBox->SetColor(clSilver);
  ScrollBox->SetVertScrollBarSize(kScrollBarSize);
  ScrollBox->SetParent(this);
  ScrollBox->SetAlign(alClient);
  ScrollBox->OnResize = [this](TObject*) { OnStudyBoxResized(); };
  WindowProc = [this](uint32_t message, platform::WParam w, platform::LParam l) { return WndProc(message, w, l); };
  StartMemorySupervisor();
}

TFrameStudyBoxFrameSet::~TFrameStudyBoxFrameSet() {
  destroying_ = true;
  // The supervisor's thread has ended once this returns, so no handler call can reach a box
  // that is being destroyed.
  StopMemorySupervisor();
  // Each box leaves the deque before it is destroyed: its destructor lets pending messages
  // run, and whatever they reach of the panel sees only boxes that are whole.
  while (!boxes_.empty()) {
    std::unique_ptr<TFrameStudyBox> box = std::move(boxes_.front());
    boxes_.pop_front();
    box.reset();
  }
}

TFrameStudyBox* TFrameStudyBoxFrameSet::Box(int index) const {
  if (index < 0 || index >= BoxCount()) throw std::out_of_range("deque");
  return boxes_[static_cast<size_t>(index)].get();
}

// ---- Adding and ordering ----

TFrameStudyBox* TFrameStudyBoxFrameSet::MakeBox(const std::wstring& title, int studyKey, int stackCount) {
  auto* box = new TFrameStudyBox(nullptr, -1, stackCount, studyKey, title, host_);
  InstallBoxHandlers(box);
  box->Show();
  box->SetParent(ScrollBox);
  return box;
}

TFrameStudyBox* TFrameStudyBoxFrameSet::AddStudyFirst(const std::wstring& title, int studyKey, int stackCount) {
  TFrameStudyBox* box = MakeBox(title, studyKey, stackCount);
  boxes_.emplace_front(box);
  box->SetAlign(alTop);
  ScrollBox->SetChildIndex(box, 0);
  return box;
}

TFrameStudyBox* TFrameStudyBoxFrameSet::AddStudyLast(const std::wstring& title, int studyKey, int stackCount) {
  TFrameStudyBox* box = MakeBox(title, studyKey, stackCount);
  boxes_.emplace_back(box);
  box->SetAlign(alTop);
  ScrollBox->SetChildIndex(box, ScrollBox->ControlCount());
  return box;
}

void TFrameStudyBoxFrameSet::ReverseStudyOrder() {
  std::reverse(boxes_.begin(), boxes_.end());
  // The screen order follows the new order of the boxes.
  for (int i = 0; i < BoxCount(); ++i) ScrollBox->SetChildIndex(Box(i), i);
}

void TFrameStudyBoxFrameSet::InstallBoxHandlers(TFrameStudyBox* box) {
  box->OnExpanded = [this] { FitStudyBoxes(ScrollBox->ClientHeight()); };
  box->OnCollapsed = [this] { FitStudyBoxes(ScrollBox->ClientHeight()); };
  box->OnStackSelected = [this](TFrameStudyBox* b, iSTACK_TILE* tile) {
    BringIntoView(b);
    selectedStudyKey_ = b->StudyKey();
    if (OnStackSelected) OnStackSelected(b, tile);
  };
  box->OnNavigatorActivity = [this](TFrameStudyBox* spare) {
    for (auto& b : boxes_)
      if (b.get() != spare) b->StopNavigator();
  };
  box->OnStudyEnabledChanged = [this](bool enabled) {
    if (OnStudyEnabledChanged) OnStudyEnabledChanged(enabled);
  };
  box->OnStudyOrderChanged = [this] {
    if (OnStudyOrderChanged) OnStudyOrderChanged();
  };
  box->OnMprSeriesRequest = [this](const void* r, iSTACK_TILE* t, int& stack) {
    return OnMprSeriesRequest ? OnMprSeriesRequest(r, t, stack) : false;
  };
  box->OnSecondaryCaptureRequest = [this](const void* r, iSTACK_TILE* t) {
    return OnSecondaryCaptureRequest ? OnSecondaryCaptureRequest(r, t) : false;
  };
  box->OnKeyImageAdded = [this](const void* data, uint32_t size, iTILE_STACK_WINDOW* window, iSTACK_TILE* t,
                                bool& created, int& stack) {
    return OnKeyImageAdded ? OnKeyImageAdded(data, size, window, t, created, stack) : false;
  };
  box->OnKeyImageRemoved = [this](const std::wstring& keyImage) {
    return OnKeyImageRemoved ? OnKeyImageRemoved(keyImage) : false;
  };
  box->OnImageFileRequest = [this](int st, int se, int sk, int image, std::string& text, std::string& file) {
    return OnImageFileRequest ? OnImageFileRequest(st, se, sk, image, text, file) : false;
  };
  box->OnSaveKeyImages = [this](int st, int se, int sk) { return OnSaveKeyImages ? OnSaveKeyImages(st, se, sk) : false; };
  box->OnPreviousStack = [this] {
    if (OnPreviousStack) OnPreviousStack();
  };
  box->OnNextStack = [this] {
    if (OnNextStack) OnNextStack();
  };
  box->OnPlaceStack = [this](int st, int se, int sk) { return OnPlaceStack ? OnPlaceStack(st, se, sk) : 0; };
}

// ---- Global stack index ----

int TFrameStudyBoxFrameSet::GetStackCount() const {
  int sum = 0;
  for (const auto& box : boxes_) sum += box->GetStackCount();
  return sum;
}

int TFrameStudyBoxFrameSet::CheckEnabledStudy() const {
  for (const auto& box : boxes_)
    if (box->IsEnabled()) return 0;
  return -1;
}

int TFrameStudyBoxFrameSet::FindStudyByStackIndex(int index) const {
  int sum = 0;
  for (int i = 0; i < BoxCount(); ++i) {
    if (!Box(i)->IsEnabled()) continue;
    sum += Box(i)->TileCount();
    if (index < sum) return i;
  }
  return -1;
}

iSTACK_TILE* TFrameStudyBoxFrameSet::GetStackInfo(int index, bool expand) {
  int sum = 0;
  for (int i = 0; i < BoxCount(); ++i) {
    TFrameStudyBox* box = Box(i);
    if (!box->IsEnabled()) continue;
    const int count = box->TileCount();
    if (sum + count - 1 >= index) {
      if (expand) box->Expand();
      if (!box->TileSet()) throw std::out_of_range("deque");
      return box->TileSet()->Tile(index - sum);
    }
    sum += count;
  }
  return nullptr;
}

int TFrameStudyBoxFrameSet::GetFirstExpandedStackIndex() const {
  int sum = 0;
  for (const auto& box : boxes_) {
    if (!box->IsEnabled()) continue;
    if (box->IsExpanded()) return sum;
    sum += box->TileCount();
  }
  return -1;
}

int TFrameStudyBoxFrameSet::FindFirstExpandedStudy() const {
  for (int i = 0; i < BoxCount(); ++i)
    if (Box(i)->IsExpanded() && Box(i)->IsEnabled()) return i;
  return -1;
}

int TFrameStudyBoxFrameSet::FindStudyByWindow(platform::WindowHandle window) const {
  for (int i = 0; i < BoxCount(); ++i)
    if (Box(i)->FindStackByWindow(window) >= 0) return i;
  return -1;
}

int TFrameStudyBoxFrameSet::GetStackIndexByWindow(platform::WindowHandle window, int first) const {
  // Only the stacks the user can see are numbered: a window still held by a closed box has
  // no global index.
  int sum = 0;
  for (int i = 0; i < BoxCount(); ++i) {
    TFrameStudyBox* box = Box(i);
    if (!box->IsEnabled()) continue;
    if (i >= first) {
      const int tile = box->FindStackByWindow(window);
      if (tile >= 0) return sum + tile;
    }
    sum += box->TileCount();
  }
  return -1;
}

// ---- Identity and state ----

iSTACK_TILE* TFrameStudyBoxFrameSet::FindStackInfo(int study, int series, int stack) const {
  for (const auto& box : boxes_) {
    if (box->StudyKey() != study || !box->AreTilesBuilt() || !box->TileSet()) continue;
    try {
      return box->TileSet()->FindStackInfo(study, series, stack);
    } catch (const std::out_of_range&) {
      // Not in this box.
    }
  }
  return nullptr;
}

bool TFrameStudyBoxFrameSet::ExpandStudy(int studyKey) {
  TFrameStudyBox* box = nullptr;
  for (const auto& b : boxes_)
    if (b->StudyKey() == studyKey) {
      box = b.get();
      break;
    }
  if (!box) return false;
  const bool result = box->IsExpanded() ? true : box->Expand();
  // A box that refused to expand and never started building would wait for ever.
  if (!result && box->NextTile() < 0) return false;
  auto lastProgress = std::chrono::steady_clock::now();
  int lastTile = box->NextTile();
  while (!box->AreTilesBuilt()) {
    if (destroying_ || box->IsDestroying()) return false;
    Application->ProcessMessages();
    if (box->NextTile() != lastTile) {
      lastTile = box->NextTile();
      lastProgress = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - lastProgress > kExpandStallLimit) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return result;
}

bool TFrameStudyBoxFrameSet::AreAllStacksLossy() const {
  if (boxes_.empty()) return false;
  for (const auto& box : boxes_)
    if (!box->TileSet() || !box->TileSet()->AreAllStacksLossy()) return false;
  return true;
}

bool TFrameStudyBoxFrameSet::HasLossyStack() const {
  for (const auto& box : boxes_)
    if (box->TileSet() && box->TileSet()->HasLossyStack()) return true;
  return false;
}

int TFrameStudyBoxFrameSet::GetTransientKeyImageCount() const {
  int sum = 0;
  for (const auto& box : boxes_) sum += box->GetTransientKeyImageCount();
  return sum;
}

int TFrameStudyBoxFrameSet::GetPreferredWidth() const {
  int width = 0;
  for (const auto& box : boxes_)
    if (box->IsExpanded()) width = std::max(width, box->GetPreferredWidth());
  if (width == 0)
    for (const auto& box : boxes_) width = std::max(width, box->GetPreferredWidth());
  return width + (ScrollBox->VertScrollBarVisible() ? kScrollBarSize : 0);
}

// ---- Commands ----

void TFrameStudyBoxFrameSet::ExpandStudiesWithOpenStacks() {
  for (int i = 0; i < BoxCount(); ++i) {
    TFrameStudyBox* box = Box(i);
    if (!box->IsEnabled()) continue;
    const bool shown = box->HasShownStack();
    if (shown && !box->IsExpanded()) box->Expand();
    else if (!shown && box->IsExpanded()) box->Collapse();
  }
}

void TFrameStudyBoxFrameSet::StopStudyNavigators() {
  for (int i = 0; i < BoxCount(); ++i) Box(i)->StopNavigator();
}

void TFrameStudyBoxFrameSet::FitStudyBoxes(int available) {
  int n = 0;
  for (const auto& box : boxes_) {
    if (box->IsExpanded()) {
      ++n;
      continue;
    }
    const int compact = box->GetCompactHeight();
    box->SetHeight(compact);
    available -= compact;
  }
  if (available <= 0 || n == 0) return;
  int share = available / n;
  for (;;) {
    int k = n, rest = available;
    bool changed = false;
    for (const auto& box : boxes_) {
      if (!box->IsExpanded()) continue;
      const int need = box->GetFullHeight();
      if (need < share && k > 0) {
        rest -= need;
        --k;
        changed = true;
      }
    }
    if (!changed || k == 0 || rest <= 0) break;
    const int next = rest / k;
    if (next == share) break;
    share = next;
  }
  for (const auto& box : boxes_)
    if (box->IsExpanded()) box->SetHeight(std::min(share, box->GetFullHeight()));
}

void TFrameStudyBoxFrameSet::OnStudyBoxResized() {
  // Nothing: the boxes are fitted when one of them opens or closes.
}

void TFrameStudyBoxFrameSet::BringIntoView(TFrameStudyBox* box) {
  const int position = ScrollBox->VertPosition();
  const int top = box->Top() - position;
  const int bottom = top + box->Height();
  if (top < 0) ScrollBox->SetVertPosition(position + top);
  else if (bottom > ScrollBox->Height()) ScrollBox->SetVertPosition(position + bottom - ScrollBox->Height());
}

// ---- Wheel ----

bool TFrameStudyBoxFrameSet::HandleMouseWheel(int delta, int x, int y, bool& handled) {
  handled = HandleWheelOverBoxes(delta, x, y);
  return handled;
}

bool TFrameStudyBoxFrameSet::HandleWheelOverBoxes(int delta, int x, int y) {
  for (const auto& box : boxes_) {
    TScrollBox* tiles = box->scrollboxStaudyBox;
    if (ShownOnScreen(tiles) && StrictlyInside(tiles, x, y)) {
      tiles->SetVertPosition(tiles->VertPosition() - delta);
      return true;
    }
    TTrackBar* navigator = box->TrackBarStadyNavigator;
    if (ShownOnScreen(navigator) && StrictlyInside(navigator, x, y)) navigator->SetFocus();
  }
  return false;
}

void TFrameStudyBoxFrameSet::ScrollBoxMouseWheel(int delta) { ScrollBox->SetVertPosition(ScrollBox->VertPosition() - delta); }

// ---- Memory supervisor ----

void TFrameStudyBoxFrameSet::StartMemorySupervisor() {
  const std::string path = host_ && !host_->ProgramPath.empty() ? host_->ProgramPath : platform::ModuleFileName();
  supervisor_ = ORN_browser::StartMemorySupervisor(path, [this](int limit, int load) {
    return ReleaseOldestHiddenStack(limit, load);
  });
}

void TFrameStudyBoxFrameSet::StopMemorySupervisor() {
  if (!supervisor_) return;
  supervisor_->Stop();
  supervisor_.reset();
}

bool TFrameStudyBoxFrameSet::ReleaseOldestHiddenStack(int, int) {
  if (destroying_) return false;
  std::vector<std::vector<iSUPERVISED_STACK*>> tiles;
  for (const auto& box : boxes_) {
    std::vector<iSUPERVISED_STACK*> row;
    for (int i = 0; i < box->TileCount(); ++i) row.push_back(box->TileSet()->Tile(i));
    tiles.push_back(std::move(row));
  }
  return ORN_browser::ReleaseOldestHiddenStack(tiles, LocalTimeStamp());
}

platform::LResult TFrameStudyBoxFrameSet::WndProc(uint32_t message, platform::WParam, platform::LParam) {
  // A child window created or destroyed (WM_PARENTNOTIFY) needs nothing of the panel.
  if (message == kWmParentNotify) return 0;
  return 0;
}

}  // namespace ORN_browser
