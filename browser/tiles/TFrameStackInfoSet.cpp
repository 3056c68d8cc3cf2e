#include "browser/tiles/TFrameStackInfoSet.h"

#include <algorithm>
#include <stdexcept>

#include "platform/com/Library.h"

namespace ORN_browser {

namespace {

[[noreturn]] void ThrowDeque() { throw std::out_of_range("deque"); }

double Scale() {
  iTILE_HOST* host = TileHost();
  return host ? host->GuiResources().Scale : 1.0;
}

}  // namespace

TFrameStackInfoSet::TFrameStackInfoSet(TComponent* owner, int count) : TFrame(owner) {
  SetName("FrameStackInfoSet");
  for (int i = 0; i < count; ++i) {
    TFrameStackInfo* tile = CreateTile();
    tile->SetVisible(false);
    tile->SetParent(this);
    tiles_.emplace_back(tile);
  }
  SetSetHeight(GetFullHeight());
  LayOutTiles();
}

TFrameStackInfoSet::~TFrameStackInfoSet() {
  // Nothing a tile reports while it goes reaches the set.
  for (auto& tile : tiles_) tile->ClearClosures();
  tiles_.clear();
}

void TFrameStackInfoSet::SetSetHeight(int height) { SetHeight(std::max(height, kMinHeight)); }

int TFrameStackInfoSet::GetTileHeight() const {
  return static_cast<int>(TFrameStackInfo::kDesignHeight * Scale());
}

int TFrameStackInfoSet::GetFullHeight() const {
  return static_cast<int>(static_cast<double>(tiles_.size()) * TFrameStackInfo::kDesignHeight * Scale());
}

TFrameStackInfo* TFrameStackInfoSet::CreateTile() {
  auto* tile = new TFrameStackInfo(nullptr);
  InstallForwarders(tile);
  baseWidth_ = std::max(baseWidth_, tile->GetBaseWidth());
  return tile;
}

void TFrameStackInfoSet::InstallForwarders(TFrameStackInfo* t) {
  t->OnEngineFilesRequest = [this](int a, int b, int c, bool lossy, std::ostream& i, std::ostream& p, std::ostream& f,
                                   std::string& args) {
    return OnEngineFilesRequest && OnEngineFilesRequest(a, b, c, lossy, i, p, f, args);
  };
  t->OnWindowCreated = [this](iTILE_STACK_WINDOW* w) { return OnWindowCreated && OnWindowCreated(w); };
  t->OnWindowCreatedInCell = [this](iTILE_STACK_WINDOW* w, int cell) {
    return OnWindowCreatedInCell && OnWindowCreatedInCell(w, cell);
  };
  t->OnTileSelected = [this](TFrameStackInfo* tile, bool notify) {
    if (OnTileSelected) OnTileSelected(tile, notify);
  };
  t->OnMprSeriesRequest = [this](const void* r, TFrameStackInfo* tile) {
    return OnMprSeriesRequest && OnMprSeriesRequest(r, tile);
  };
  t->OnSecondaryCaptureRequest = [this](const void* r, TFrameStackInfo* tile) {
    return OnSecondaryCaptureRequest && OnSecondaryCaptureRequest(r, tile);
  };
  t->OnKeyImageAdded = [this](const void* d, uint32_t n, iTILE_STACK_WINDOW* w, TFrameStackInfo* tile) {
    if (OnKeyImageAdded) OnKeyImageAdded(d, n, w, tile);
  };
  t->OnKeyImageRemoved = [this](const std::wstring& k) { return OnKeyImageRemoved && OnKeyImageRemoved(k); };
  t->OnImageFileRequest = [this](int a, int b, int c, int i, std::string& text, std::string& file) {
    return OnImageFileRequest && OnImageFileRequest(a, b, c, i, text, file);
  };
  t->OnSaveKeyImages = [this](int a, int b, int c) { return OnSaveKeyImages && OnSaveKeyImages(a, b, c); };
  using TileEvent = std::function<void(TFrameStackInfo*)> TFrameStackInfoSet::*;
  auto forward = [this](TileEvent closure) {
    return [this, closure](TFrameStackInfo* tile) {
      if (this->*closure) (this->*closure)(tile);
    };
  };
  t->OnWorkAreaLeftDown = forward(&TFrameStackInfoSet::OnWorkAreaLeftDown);
  t->OnWorkAreaLeftUp = forward(&TFrameStackInfoSet::OnWorkAreaLeftUp);
  t->OnWorkAreaRightDown = forward(&TFrameStackInfoSet::OnWorkAreaRightDown);
  t->OnWorkAreaRightUp = forward(&TFrameStackInfoSet::OnWorkAreaRightUp);
  t->OnWorkAreaMiddleDown = forward(&TFrameStackInfoSet::OnWorkAreaMiddleDown);
  t->OnWorkAreaMiddleUp = forward(&TFrameStackInfoSet::OnWorkAreaMiddleUp);
  t->OnPreviousStack = [this] {
    if (OnPreviousStack) OnPreviousStack();
  };
  t->OnNextStack = [this] {
    if (OnNextStack) OnNextStack();
  };
  t->OnPlaceStack = [this](int a, int b, int c) { return OnPlaceStack && OnPlaceStack(a, b, c); };
}

TFrameStackInfo* TFrameStackInfoSet::InsertStack(int position, int study, int series, int stack,
                                                 platform::HBITMAP icon, int seriesNumber, int imageCount,
                                                 const std::string& protocol, const std::string& date,
                                                 const std::string& time, const std::string& modality,
                                                 const std::string& bodyPart, const std::wstring& description) {
  TStackDescription d;
  d.Study = study;
  d.Series = series;
  d.Stack = stack;
  d.Icon = icon;
  d.SeriesNumber = seriesNumber;
  d.ImageCount = imageCount;
  d.Protocol = platform::Utf8ToWide(protocol);
  d.Date = date;
  d.Time = time;
  d.Modality = modality;
  d.BodyPart = bodyPart;
  d.Description = description;
  return InsertStack(position, d);
}

TFrameStackInfo* TFrameStackInfoSet::InsertStack(int position, const TStackDescription& description) {
  const int count = Count();
  if (position < 0 || position > count) {
    platform::DeleteBitmap(description.Icon);  // the set was handed it
    return nullptr;
  }
  TFrameStackInfo* tile = CreateTile();
  tile->ApplyGuiResources(resources_);
  tile->Fill(description);
  tile->SetVisible(true);
  tile->SetParent(this);
  tiles_.emplace(tiles_.begin() + position, tile);
  SetSetHeight(GetFullHeight());
  LayOutTiles();
  return Tile(position);
}

void TFrameStackInfoSet::LayOutTiles() {
  // Screen order is sequence order: tile i lies i tile heights from the top, as wide as the set.
  const int height = GetTileHeight();
  for (size_t i = 0; i < tiles_.size(); ++i) {
    TFrameStackInfo* tile = tiles_[i].get();
    tile->Anchors = akLeft | akTop | akRight;
    tile->SetBounds(0, static_cast<int>(i) * height, ClientWidth(), height);
  }
}

void TFrameStackInfoSet::RemoveAt(size_t index) {
  tiles_[index]->ClearClosures();
  tiles_.erase(tiles_.begin() + static_cast<std::ptrdiff_t>(index));
  SetSetHeight(GetFullHeight());
  LayOutTiles();
}

void TFrameStackInfoSet::RemoveFirstStack() {
  if (!tiles_.empty()) RemoveAt(0);
}

void TFrameStackInfoSet::RemoveLastStack() {
  if (!tiles_.empty()) RemoveAt(tiles_.size() - 1);
}

void TFrameStackInfoSet::ReverseOrder() {
  std::reverse(tiles_.begin(), tiles_.end());
  LayOutTiles();
}

void TFrameStackInfoSet::SetAllShown(bool shown) {
  for (size_t i = 0; i < tiles_.size(); ++i) tiles_[i]->SetShown(shown);
}

void TFrameStackInfoSet::ApplyGuiResources(TResourceInitialization* record) {
  resources_ = record;
  for (auto& tile : tiles_) tile->ApplyGuiResources(record);
}

TFrameStackInfo* TFrameStackInfoSet::Tile(int index) const {
  if (index < 0 || index >= Count()) ThrowDeque();
  return tiles_[static_cast<size_t>(index)].get();
}

TFrameStackInfo* TFrameStackInfoSet::FindStackInfo(int study, int series, int stack) const {
  for (const auto& tile : tiles_)
    if (tile->StudyIndex() == study && tile->SeriesIndex() == series && tile->StackIndex() == stack) return tile.get();
  ThrowDeque();
}

int TFrameStackInfoSet::GetKeyImageStackIndex() const {
  for (const auto& tile : tiles_)
    if (tile->IsKeyImageTile()) return tile->KeyImageStackIndex;
  return -1;
}

TFrameStackInfo* TFrameStackInfoSet::GetKeyImageStack() const {
  for (const auto& tile : tiles_)
    if (tile->IsKeyImageTile()) return tile.get();
  ThrowDeque();
}

bool TFrameStackInfoSet::AreAllStacksLossy() const {
  return !tiles_.empty() &&
         std::all_of(tiles_.begin(), tiles_.end(), [](const auto& t) { return t->IsLossyWanted(); });
}

bool TFrameStackInfoSet::HasLossyStack() const {
  return std::any_of(tiles_.begin(), tiles_.end(), [](const auto& t) { return t->IsLossyWanted(); });
}

}  // namespace ORN_browser
