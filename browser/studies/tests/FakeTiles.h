// A stand-in tile set for the study-box tests: real frames (one per tile, with an icon and
// the description lines) that record what the box asks of them, without engines or stack
// windows. The program uses the tile set of browser/tiles.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "browser/studies/StudyTiles.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace ORN_browser::test {

class FakeTile : public iSTACK_TILE {
 public:
  static constexpr int kHeight = 142;

  FakeTile() : frame_(std::make_unique<TFrame>(nullptr)) {
    frame_->SetBounds(0, 0, 300, kHeight);
    frame_->SetColor(clSilver);
    frame_->Hide();
    icon_ = new TImage(frame_.get());
    icon_->SetBounds(7, 7, 128, 128);
    icon_->Stretch = true;
    icon_->SetParent(frame_.get());
    text_ = new TLabel(frame_.get());
    text_->SetBounds(153, 8, 140, 100);
    text_->SetWordWrap(true);
    text_->SetParent(frame_.get());
  }

  TControl* Control() override { return frame_.get(); }
  void Fill(const STACK_INFO_INIT_STRUCT& info) override {
    ++fills;
    study = info.StudyIndex;
    series = info.SeriesIndex;
    stack = info.StackIndex;
    images = info.ImageCount;
    modality = info.Modality;
    protocol = info.Protocol;
    description = info.Description;
    keyImage = info.Protocol == L"Key Image Series";
    if (info.Icon) {
      TBitmap& picture = *icon_->Picture();
      picture.SetPixelFormat(pf24bit);
      picture.SetSize(info.Icon->Width, info.Icon->Height);
      for (int y = 0; y < info.Icon->Height; ++y)
        std::copy_n(info.Icon->ScanLine(y), info.Icon->Width * 3, picture.ScanLine(y));
      platform::DeleteBitmap(info.Icon);
    }
    std::wstring lines = L"SE #" + std::to_wstring(info.SeriesNumber) + L"\nIM: " + std::to_wstring(info.ImageCount) +
                         L"\n" + info.Protocol + L"\n" + std::wstring(info.Modality.begin(), info.Modality.end()) +
                         L"\n" + info.Description;
    text_->SetCaption(lines);
    usable = true;
  }
  void SetShown(bool value) override {
    shownCalls.push_back(value);
    if (!usable) return;
    shown = value;
    if (!value) selected = false;
  }
  bool IsShown() const override { return shown; }
  bool IsSelected() const override { return selected; }
  void NotifyActivation(bool activate) override {
    if (shown) selected = activate;
  }
  bool GoToImage(int index) override {
    wentTo.push_back(index);
    current = index;
    return true;
  }
  int GetCurrentImage() override { return shown ? current : -1; }
  void SetLossy(int mode) override {
    lossyCalls.push_back(mode);
    lossy = mode > 0;
  }
  bool IsLossyWanted() const override { return lossy; }
  bool IsKeyImageTile() const override { return keyImage; }
  int GetTransientKeyImageCount() const override { return transientKeyImages; }
  void SaveTransientKeyImages() override { ++saves; }
  int GetStudyIndex() const override { return study; }
  int GetSeriesIndex() const override { return series; }
  void SetSeriesIndex(int index) override { series = index; }
  int GetStackIndex() const override { return stack; }
  int GetImageCount() const override { return images; }
  int GetKeyImageStackIndex() const override { return keyImageStackIndex; }
  void SetKeyImageStackIndex(int index) override { keyImageStackIndex = index; }
  int GetInfoPanelLeft() const override { return 153; }
  int GetRightMargin() const override { return 19; }
  int GetWidestLabelWidth() const override { return widestLabel; }
  platform::WindowHandle GetStackWindowHandle() override { return window; }
  bool ForwardMouseWheel(int, int, int16_t delta, int16_t) override {
    wheelOffered.push_back(delta);
    return takesWheel;
  }
  bool IsEngineRunning() const override { return engineRunning; }
  std::string LastActivity() const override { return stamp; }
  void CloseStack() override {
    ++closes;
    engineRunning = false;
    shown = false;
  }

  std::unique_ptr<TFrame> frame_;
  TImage* icon_;
  TLabel* text_;
  int fills = 0, study = -1, series = -1, stack = -1, images = 0, keyImageStackIndex = -1, current = 0;
  int transientKeyImages = 0, saves = 0, closes = 0, widestLabel = 60;
  bool usable = false, shown = false, selected = false, lossy = false, keyImage = false, takesWheel = false;
  bool engineRunning = false;
  std::string stamp;
  System::AnsiString modality;
  std::wstring protocol, description;
  platform::WindowHandle window = 0;
  std::vector<bool> shownCalls;
  std::vector<int> lossyCalls, wentTo, wheelOffered;
};

class FakeTileSet : public iSTACK_TILE_SET {
 public:
  explicit FakeTileSet(int count) : frame_(std::make_unique<TFrame>(nullptr)) {
    frame_->SetColor(clGray);
    for (int i = 0; i < count; ++i) tiles_.push_back(Make());
    Fit();
  }
  ~FakeTileSet() override {
    if (OnDestroyed) OnDestroyed();
    tiles_.clear();
  }
  // Runs while the set is destroyed (its box's destructor), as a pending message would.
  std::function<void()> OnDestroyed;

  TControl* Control() override { return frame_.get(); }
  int Count() const override { return static_cast<int>(tiles_.size()); }
  iSTACK_TILE* Tile(int index) override { return At(index); }
  FakeTile* At(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("deque");
    return tiles_[static_cast<size_t>(index)].get();
  }
  int GetTileHeight() const override { return FakeTile::kHeight; }
  int GetFullHeight() const override { return Count() * FakeTile::kHeight; }
  int GetBaseWidth() const override { return 142; }
  void ReverseOrder() override {
    ++reversals;
    std::reverse(tiles_.begin(), tiles_.end());
    Restack();
  }
  iSTACK_TILE* InsertStack(int position, const STACK_INFO_INIT_STRUCT& info) override {
    if (position < 0 || position > Count()) throw std::out_of_range("deque");
    auto tile = Make();
    tile->Fill(info);
    tile->Control()->Show();
    tiles_.insert(tiles_.begin() + position, std::move(tile));
    Restack();
    Fit();
    return At(position);
  }
  void RemoveFirstStack() override { RemoveStack(0); }
  void RemoveLastStack() override { RemoveStack(Count() - 1); }
  void RemoveStack(int index) override {
    At(index);
    removed.push_back(index);
    tiles_.erase(tiles_.begin() + index);
    Fit();
  }
  void SetAllShown(bool shown) override {
    for (auto& t : tiles_) t->SetShown(shown);
  }
  void ApplyGuiResources(app::iRESOURCE_INITIALIZATION*) override { ++resourcesApplied; }
  iSTACK_TILE* FindStackInfo(int study, int series, int stack) override {
    for (auto& t : tiles_)
      if (t->study == study && t->series == series && t->stack == stack) return t.get();
    throw std::out_of_range("deque");
  }
  iSTACK_TILE* GetKeyImageStack() override {
    for (auto& t : tiles_)
      if (t->keyImage) return t.get();
    throw std::out_of_range("deque");
  }
  int GetKeyImageStackIndex() override {
    for (auto& t : tiles_)
      if (t->keyImage) return t->keyImageStackIndex;
    return -1;
  }
  bool AreAllStacksLossy() override {
    if (tiles_.empty()) return false;
    for (auto& t : tiles_)
      if (!t->lossy) return false;
    return true;
  }
  bool HasLossyStack() override {
    for (auto& t : tiles_)
      if (t->lossy) return true;
    return false;
  }

  int reversals = 0, resourcesApplied = 0;
  std::vector<int> removed;

 private:
  std::unique_ptr<FakeTile> Make() {
    auto tile = std::make_unique<FakeTile>();
    tile->Control()->SetParent(frame_.get());
    tile->Control()->SetAlign(alTop);
    return tile;
  }
  void Restack() {
    for (int i = 0; i < Count(); ++i) frame_->SetChildIndex(tiles_[static_cast<size_t>(i)]->Control(), i);
  }
  void Fit() { frame_->SetHeight(std::max(GetFullHeight(), 142)); }

  std::unique_ptr<TFrame> frame_;
  std::vector<std::unique_ptr<FakeTile>> tiles_;
};

// A host whose tile sets are fakes, remembered for the test to look at.
struct FakeHost {
  FakeHost() {
    host.MakeTileSet = [this](int count) {
      auto set = std::make_unique<FakeTileSet>(count);
      sets.push_back(set.get());
      return set;
    };
    host.FitStudiesPanelWidth = [this](int width) { fittedWidths.push_back(width); };
    host.ProgramPath = "/nonexistent/studies_test";
  }
  TStudyBrowserHost host;
  std::vector<FakeTileSet*> sets;
  std::vector<int> fittedWidths;
};

// An owner's description of stack `stack` of a study: `images` images of `modality`.
inline STACK_INFO_INIT_STRUCT Describe(int study, int stack, int images, const char* modality = "CT") {
  STACK_INFO_INIT_STRUCT info;
  info.StudyIndex = study;
  info.SeriesIndex = stack;
  info.StackIndex = 0;
  info.SeriesNumber = stack + 1;
  info.ImageCount = images;
  info.Protocol = L"Series " + std::to_wstring(stack + 1);
  info.Modality = modality;
  info.Description = L"description";
  return info;
}

}  // namespace ORN_browser::test
