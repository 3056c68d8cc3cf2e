// The engine of one stack: its titled window, the reading of the stack's headers with
// progress, pause and resume, the ready sequence, the requests of the stack window and the
// panel (view changes, navigation, cine, mouse tools), the drawing into the panel's shared
// surface and the read-ahead of the images next to the one shown.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/InputLists.h"
#include "engine/Renderer.h"
#include "engine/StackImage.h"
#include "platform/windows/WindowTypes.h"

namespace platform {
class Window;
class SharedSurface;
}  // namespace platform

namespace ORN_engine {

class StackEngine {
 public:
  StackEngine(uint32_t ownPid, platform::WindowHandle panel, InputLists lists);
  ~StackEngine();
  StackEngine(const StackEngine&) = delete;
  StackEngine& operator=(const StackEngine&) = delete;

  // Makes the window "StackEngineProcess" + pid, reports it to the panel and starts reading.
  bool Start();
  platform::WindowHandle Handle() const;

  // Private messages the engine posts to itself.
  static constexpr uint32_t kReadNextHeader = 0x8F01;
  static constexpr uint32_t kReadAhead = 0x8F02;
  static constexpr uintptr_t kCineTimer = 1, kPanelWatchTimer = 2;
  // Decoded images kept at most (the shown ones and those read ahead).
  static constexpr size_t kCacheImages = 24;

 private:
  platform::LResult Procedure(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void CopyData(platform::WParam wParam, const platform::CopyDataStruct& record);
  void ReadNextHeader();
  void BecomeReady();

  // Views and images.
  int Count() const { return int(headers_.size()); }
  int CellCount() const { return view_.MatrixColumns * view_.MatrixRows; }
  int FirstShown() const { return current_ - current_ % CellCount(); }
  std::shared_ptr<DecodedImage> Image(int index);
  void SetDefaultWindow();
  void GoTo(int index, bool report);
  void Draw();
  void Resize(int width, int height);
  double CurrentZoom() const;

  // Reports to the panel.
  void Post(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void ReportZoom();
  void ReportWindow();
  void ReportPan();
  void ReportImage();
  void SendModality();
  void SendImagePlane();

  // Cine and mouse tools.
  void StartCine(int fps, int direction, bool loop);
  void StopCine();
  void CineTick();
  void MouseDown(int x, int y);
  void MouseMove(int x, int y);

  uint32_t pid_;
  platform::WindowHandle panel_;
  InputLists lists_;
  std::unique_ptr<platform::Window> window_;
  std::vector<ImageHeader> headers_;
  size_t headersRead_ = 0;
  bool paused_ = false, ready_ = false;

  std::map<int, std::shared_ptr<DecodedImage>> cache_;
  std::list<int> recent_;  // most recently used first
  int current_ = 0;
  int step_ = 1;  // direction of the last move, for the read-ahead
  ViewState view_;
  std::unique_ptr<platform::SharedSurface> surface_;
  int width_ = 0, height_ = 0;

  bool cineRunning_ = false, cineLoop_ = false;
  int cineFps_ = 10, cineDirection_ = 0;

  int tool_ = 0;
  bool dragging_ = false;
  int dragX_ = 0, dragY_ = 0, dragImage_ = 0;
  double dragZoom_ = 1, dragCentre_ = 0, dragWidth_ = 1, dragPanX_ = 0, dragPanY_ = 0;
  bool overlay_ = false;
  bool paletteWanted_ = false, havePalette_ = false;
  std::vector<uint8_t> referenceLines_;
};

}  // namespace ORN_engine
