// The tile set of one study: its stack tiles stacked top to bottom, each one tile high. The
// set owns its tiles, keeps its height equal to their full height, can reverse their order,
// answers the study's queries (which tile has these indexes, is any or every stack lossy,
// which is the key-image tile) and passes every tile notification on to its own closure of
// the same name, which the study box installs.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "browser/tiles/TFrameStackInfo.h"
#include "platform/vcl/Forms.h"

namespace app {
class TResourceInitialization;
}

namespace ORN_browser {

using app::TResourceInitialization;

class TFrameStackInfoSet : public TFrame {
 public:
  static constexpr int kMinHeight = 142;

  TFrameStackInfoSet(TComponent* owner, int count);
  ~TFrameStackInfoSet() override;

  int GetTileHeight() const;
  int GetFullHeight() const;
  void ReverseOrder();
  // A filled, visible tile at `position` (0 to count); null for a position outside.
  TFrameStackInfo* InsertStack(int position, const TStackDescription& description);
  // Narrow first text, as the study box has it.
  TFrameStackInfo* InsertStack(int position, int study, int series, int stack, platform::HBITMAP icon,
                               int seriesNumber, int imageCount, const std::string& protocol,
                               const std::string& date, const std::string& time, const std::string& modality,
                               const std::string& bodyPart, const std::wstring& description);
  // Nothing on an empty set.
  void RemoveFirstStack();
  void RemoveLastStack();
  void SetAllShown(bool shown);
  void ApplyGuiResources(TResourceInitialization* record);

  // The first tile with these indexes; throws std::out_of_range("deque") when none has them.
  TFrameStackInfo* FindStackInfo(int study, int series, int stack) const;
  int GetKeyImageStackIndex() const;
  // The first key-image tile; throws std::out_of_range("deque") when there is none.
  TFrameStackInfo* GetKeyImageStack() const;
  bool AreAllStacksLossy() const;
  bool HasLossyStack() const;

  int Count() const { return static_cast<int>(tiles_.size()); }
  // Throws std::out_of_range("deque") for an index outside the tiles.
  TFrameStackInfo* Tile(int index) const;
  int BaseWidth() const { return baseWidth_; }
  TResourceInitialization* Resources() const { return resources_; }

  // Sets the height, raised to the minimum.
  void SetSetHeight(int height);

  // ---- the set's closures, installed by the study box; an empty one answers false, 0 or nothing ----
  decltype(TFrameStackInfo::OnEngineFilesRequest) OnEngineFilesRequest;
  decltype(TFrameStackInfo::OnWindowCreated) OnWindowCreated;
  decltype(TFrameStackInfo::OnWindowCreatedInCell) OnWindowCreatedInCell;
  decltype(TFrameStackInfo::OnTileSelected) OnTileSelected;
  decltype(TFrameStackInfo::OnMprSeriesRequest) OnMprSeriesRequest;
  decltype(TFrameStackInfo::OnSecondaryCaptureRequest) OnSecondaryCaptureRequest;
  decltype(TFrameStackInfo::OnKeyImageAdded) OnKeyImageAdded;
  decltype(TFrameStackInfo::OnKeyImageRemoved) OnKeyImageRemoved;
  decltype(TFrameStackInfo::OnImageFileRequest) OnImageFileRequest;
  decltype(TFrameStackInfo::OnSaveKeyImages) OnSaveKeyImages;
  decltype(TFrameStackInfo::OnWorkAreaLeftDown) OnWorkAreaLeftDown, OnWorkAreaLeftUp, OnWorkAreaRightDown,
      OnWorkAreaRightUp, OnWorkAreaMiddleDown, OnWorkAreaMiddleUp;
  decltype(TFrameStackInfo::OnPreviousStack) OnPreviousStack, OnNextStack;
  decltype(TFrameStackInfo::OnPlaceStack) OnPlaceStack;

 private:
  TFrameStackInfo* CreateTile();
  void InstallForwarders(TFrameStackInfo* tile);
  void LayOutTiles();
  void RemoveAt(size_t index);

  std::deque<std::unique_ptr<TFrameStackInfo>> tiles_;
  int baseWidth_ = 0;
  TResourceInitialization* resources_ = nullptr;
};

}  // namespace ORN_browser
