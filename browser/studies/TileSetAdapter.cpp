#include "browser/studies/TileSetAdapter.h"

#include "app/startup/TResourceInitialization.h"

namespace ORN_browser {

namespace {

// The tile set of browser/tiles may lack the two operations the box needs beyond its own
// Part (renumbering a tile's series, removing a tile from the middle); without them the
// series index stays and only the first or last tile can go.
template <class Tile>
bool SetSeriesOf(Tile* tile, int index) {
  if constexpr (requires { tile->SetSeriesIndex(index); }) {
    tile->SetSeriesIndex(index);
    return true;
  } else {
    return false;
  }
}

template <class Set>
bool RemoveTileAt(Set& set, int index) {
  if constexpr (requires { set.RemoveStack(index); }) {
    set.RemoveStack(index);
    return true;
  } else {
    if (index == 0) set.RemoveFirstStack();
    else if (index == set.Count() - 1) set.RemoveLastStack();
    else return false;
    return true;
  }
}

template <class Tile>
constexpr bool SeriesSetterExists(Tile* tile) {
  return requires { tile->SetSeriesIndex(0); };
}

template <class Set>
constexpr bool MiddleRemovalExists(Set* set) {
  return requires { set->RemoveStack(0); };
}

TStackDescription Describe(const STACK_INFO_INIT_STRUCT& info) {
  TStackDescription d;
  d.Study = info.StudyIndex;
  d.Series = info.SeriesIndex;
  d.Stack = info.StackIndex;
  d.Icon = info.Icon;
  d.SeriesNumber = info.SeriesNumber;
  d.ImageCount = info.ImageCount;
  d.Protocol = info.Protocol;
  d.Date = info.Date;
  d.Time = info.Time;
  d.Modality = info.Modality;
  d.BodyPart = info.BodyPart;
  d.Description = info.Description;
  return d;
}

}  // namespace

TStackInfoTile::TStackInfoTile(TFrameStackInfo* tile) : tile_(tile) {
  // The box installs its handlers on this object; the real tile reaches them from here.
  tile_->OnEngineFilesRequest = [this](int a, int b, int c, bool lossy, std::ostream& i, std::ostream& p,
                                       std::ostream& f, std::string& args) {
    return OnEngineFilesRequest && OnEngineFilesRequest(a, b, c, lossy, i, p, f, args);
  };
  tile_->OnWindowCreated = [this](iTILE_STACK_WINDOW* w) { return OnWindowCreated && OnWindowCreated(w); };
  tile_->OnWindowCreatedInCell = [this](iTILE_STACK_WINDOW* w, int cell) {
    return OnWindowCreatedInCell && OnWindowCreatedInCell(w, cell);
  };
  tile_->OnStudyLossyRequest = [this](bool lossy) { return OnStudyLossyRequest ? OnStudyLossyRequest(lossy) : 0; };
  tile_->OnWheelOutside = [this](int x, int y, uint16_t delta, uint16_t keys) {
    if (OnWheelOutside) OnWheelOutside(x, y, delta, keys);
  };
}

void TStackInfoTile::Fill(const STACK_INFO_INIT_STRUCT& info) { tile_->Fill(Describe(info)); }

void TStackInfoTile::SetSeriesIndex(int index) { SetSeriesOf(tile_, index); }

bool TileSetTakesSeriesIndexAndMiddleRemoval() {
  TFrameStackInfoSet* set = nullptr;
  TFrameStackInfo* tile = nullptr;
  return SeriesSetterExists(tile) && MiddleRemovalExists(set);
}

TStackInfoSetAdapter::TStackInfoSetAdapter(int count) : set_(std::make_unique<TFrameStackInfoSet>(nullptr, count)) {
  TFrameStackInfoSet& s = *set_;
  s.OnTileSelected = [this](TFrameStackInfo* t, bool sync) {
    if (OnTileSelected) OnTileSelected(Wrap(t), sync);
  };
  s.OnMprSeriesRequest = [this](const void* r, TFrameStackInfo* t) {
    return OnMprSeriesRequest && OnMprSeriesRequest(r, Wrap(t));
  };
  s.OnSecondaryCaptureRequest = [this](const void* r, TFrameStackInfo* t) {
    return OnSecondaryCaptureRequest && OnSecondaryCaptureRequest(r, Wrap(t));
  };
  s.OnKeyImageAdded = [this](const void* d, uint32_t n, iTILE_STACK_WINDOW* w, TFrameStackInfo* t) {
    if (OnKeyImageAdded) OnKeyImageAdded(d, n, w, Wrap(t));
  };
  s.OnKeyImageRemoved = [this](const std::wstring& k) { return OnKeyImageRemoved && OnKeyImageRemoved(k); };
  s.OnImageFileRequest = [this](int a, int b, int c, int i, std::string& text, std::string& file) {
    return OnImageFileRequest && OnImageFileRequest(a, b, c, i, text, file);
  };
  s.OnSaveKeyImages = [this](int a, int b, int c) { return OnSaveKeyImages && OnSaveKeyImages(a, b, c); };
  const auto relay = [this](std::function<void(iSTACK_TILE*)> TStackInfoSetAdapter::*closure) {
    return [this, closure](TFrameStackInfo* t) {
      if (this->*closure) (this->*closure)(Wrap(t));
    };
  };
  s.OnWorkAreaLeftDown = relay(&TStackInfoSetAdapter::OnWorkAreaLeftDown);
  s.OnWorkAreaLeftUp = relay(&TStackInfoSetAdapter::OnWorkAreaLeftUp);
  s.OnWorkAreaRightDown = relay(&TStackInfoSetAdapter::OnWorkAreaRightDown);
  s.OnWorkAreaRightUp = relay(&TStackInfoSetAdapter::OnWorkAreaRightUp);
  s.OnWorkAreaMiddleDown = relay(&TStackInfoSetAdapter::OnWorkAreaMiddleDown);
  s.OnWorkAreaMiddleUp = relay(&TStackInfoSetAdapter::OnWorkAreaMiddleUp);
  s.OnPreviousStack = [this] {
    if (OnPreviousStack) OnPreviousStack();
  };
  s.OnNextStack = [this] {
    if (OnNextStack) OnNextStack();
  };
  s.OnPlaceStack = [this](int a, int b, int c) { return OnPlaceStack && OnPlaceStack(a, b, c); };
}

TStackInfoSetAdapter::~TStackInfoSetAdapter() {
  // The tiles go with the set; their wrappers after them.
  set_.reset();
  tiles_.clear();
}

TStackInfoTile* TStackInfoSetAdapter::Wrap(TFrameStackInfo* tile) {
  if (!tile) return nullptr;
  auto& wrapper = tiles_[tile];
  if (!wrapper) wrapper = std::make_unique<TStackInfoTile>(tile);
  return wrapper.get();
}

void TStackInfoSetAdapter::Forget(TFrameStackInfo* tile) { tiles_.erase(tile); }

iSTACK_TILE* TStackInfoSetAdapter::InsertStack(int position, const STACK_INFO_INIT_STRUCT& info) {
  TFrameStackInfo* tile = set_->InsertStack(position, Describe(info));
  if (!tile) throw std::out_of_range("deque");
  return Wrap(tile);
}

void TStackInfoSetAdapter::RemoveFirstStack() {
  if (Count() == 0) return;
  TFrameStackInfo* tile = set_->Tile(0);
  set_->RemoveFirstStack();
  Forget(tile);
}

void TStackInfoSetAdapter::RemoveLastStack() {
  if (Count() == 0) return;
  TFrameStackInfo* tile = set_->Tile(Count() - 1);
  set_->RemoveLastStack();
  Forget(tile);
}

void TStackInfoSetAdapter::RemoveStack(int index) {
  TFrameStackInfo* tile = set_->Tile(index);
  if (RemoveTileAt(*set_, index)) Forget(tile);
}

void TStackInfoSetAdapter::ApplyGuiResources(app::iRESOURCE_INITIALIZATION* resources) {
  set_->ApplyGuiResources(dynamic_cast<app::TResourceInitialization*>(resources));
}

TTileSetFactory MakeStackInfoSets() {
  return [](int count) -> std::unique_ptr<iSTACK_TILE_SET> { return std::make_unique<TStackInfoSetAdapter>(count); };
}

}  // namespace ORN_browser
