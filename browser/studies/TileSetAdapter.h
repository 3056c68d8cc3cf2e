// The tile set of browser/tiles seen through iSTACK_TILE_SET: the study box works on these
// interfaces, and the program gives it the real tile set through this adapter
// (MakeStackInfoSets as the host's tile-set factory).
#pragma once

#include <map>
#include <memory>

#include "browser/studies/StudyTiles.h"
#include "browser/tiles/TFrameStackInfoSet.h"

namespace ORN_browser {

// One real tile, with the box's closures passed on to it.
class TStackInfoTile : public iSTACK_TILE {
 public:
  explicit TStackInfoTile(TFrameStackInfo* tile);
  TFrameStackInfo* Real() const { return tile_; }

  TControl* Control() override { return tile_; }
  void Fill(const STACK_INFO_INIT_STRUCT& info) override;
  void SetShown(bool shown) override { tile_->SetShown(shown); }
  bool IsShown() const override { return tile_->IsShown(); }
  bool IsSelected() const override { return tile_->IsSelected(); }
  void NotifyActivation(bool activate) override { tile_->NotifyActivation(activate); }
  bool GoToImage(int index) override { return tile_->GoToImage(index); }
  int GetCurrentImage() override { return tile_->GetCurrentImage(); }
  void SetLossy(int mode) override { tile_->SetLossy(mode); }
  bool IsLossyWanted() const override { return tile_->IsLossyWanted(); }
  bool IsKeyImageTile() const override { return tile_->IsKeyImageTile(); }
  int GetTransientKeyImageCount() const override { return tile_->TransientKeyImageCount(); }
  void SaveTransientKeyImages() override { tile_->SaveTransientKeyImages(); }
  int GetStudyIndex() const override { return tile_->StudyIndex(); }
  int GetSeriesIndex() const override { return tile_->SeriesIndex(); }
  void SetSeriesIndex(int index) override;
  int GetStackIndex() const override { return tile_->StackIndex(); }
  int GetImageCount() const override { return tile_->ImageCount(); }
  int GetKeyImageStackIndex() const override { return tile_->KeyImageStackIndex; }
  void SetKeyImageStackIndex(int index) override { tile_->KeyImageStackIndex = index; }
  int GetInfoPanelLeft() const override { return tile_->infPanel->Left(); }
  int GetRightMargin() const override { return tile_->RightMargin(); }
  int GetWidestLabelWidth() const override { return tile_->WidestLabelWidth(); }
  platform::WindowHandle GetStackWindowHandle() override {
    return tile_->StackWindow() ? tile_->StackWindow()->Handle() : 0;
  }
  bool ForwardMouseWheel(int x, int y, int16_t delta, int16_t keyState) override {
    return tile_->ForwardMouseWheel(x, y, delta, keyState);
  }
  bool IsEngineRunning() const override { return tile_->IsEngineRunning(); }
  std::string LastActivity() const override { return tile_->LastActivity(); }
  void CloseStack() override { tile_->CloseStack(); }

 private:
  TFrameStackInfo* tile_;
};

class TStackInfoSetAdapter : public iSTACK_TILE_SET {
 public:
  explicit TStackInfoSetAdapter(int count);
  ~TStackInfoSetAdapter() override;
  TFrameStackInfoSet* Real() const { return set_.get(); }

  TControl* Control() override { return set_.get(); }
  int Count() const override { return set_->Count(); }
  iSTACK_TILE* Tile(int index) override { return Wrap(set_->Tile(index)); }
  int GetTileHeight() const override { return set_->GetTileHeight(); }
  int GetFullHeight() const override { return set_->GetFullHeight(); }
  int GetBaseWidth() const override { return set_->BaseWidth(); }
  void ReverseOrder() override { set_->ReverseOrder(); }
  iSTACK_TILE* InsertStack(int position, const STACK_INFO_INIT_STRUCT& info) override;
  void RemoveFirstStack() override;
  void RemoveLastStack() override;
  void RemoveStack(int index) override;
  void SetAllShown(bool shown) override { set_->SetAllShown(shown); }
  void ApplyGuiResources(app::iRESOURCE_INITIALIZATION* resources) override;
  iSTACK_TILE* FindStackInfo(int study, int series, int stack) override {
    return Wrap(set_->FindStackInfo(study, series, stack));
  }
  iSTACK_TILE* GetKeyImageStack() override { return Wrap(set_->GetKeyImageStack()); }
  int GetKeyImageStackIndex() override { return set_->GetKeyImageStackIndex(); }
  bool AreAllStacksLossy() override { return set_->AreAllStacksLossy(); }
  bool HasLossyStack() override { return set_->HasLossyStack(); }

 private:
  TStackInfoTile* Wrap(TFrameStackInfo* tile);
  void Forget(TFrameStackInfo* tile);

  std::unique_ptr<TFrameStackInfoSet> set_;
  std::map<TFrameStackInfo*, std::unique_ptr<TStackInfoTile>> tiles_;
};

// Whether the tiles let the box renumber a tile's series and remove a tile from the middle.
bool TileSetTakesSeriesIndexAndMiddleRemoval();

// The factory of real tile sets for TStudyBrowserHost::MakeTileSet.
TTileSetFactory MakeStackInfoSets();

}  // namespace ORN_browser
