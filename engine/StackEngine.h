// The engine of one stack: its titled window, the reading of the stack's headers with
// progress, pause and resume, the ready sequence, the requests of the stack window and the
// panel (view changes, navigation, cine, mouse tools), the drawing into the panel's shared
// surface and the read-ahead of the images next to the one shown. Its tools (measurements,
// magnifier, marks and locks, presentation states, reference lines, key images, edge
// enhancement) are in StackEngineTools.cpp.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Canvas.h"
#include "engine/InputLists.h"
#include "engine/Measurements.h"
#include "engine/PresentationState.h"
#include "engine/Renderer.h"
#include "engine/StackImage.h"
#include "viewer/engine/EngineMessages.h"
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

  // Views and images. Positions count the images shown (all, or the marked ones only);
  // `Stack` gives the image's index in the stack.
  int Count() const { return int(shown_.size()); }
  int Stack(int position) const { return shown_[size_t(position)]; }
  const ImageHeader& CurrentHeader() const { return headers_[size_t(Stack(current_))]; }
  int CellCount() const { return view_.MatrixColumns * view_.MatrixRows; }
  int FirstShown() const { return current_ - current_ % CellCount(); }
  std::shared_ptr<DecodedImage> Image(int index);
  void SetDefaultWindow();
  void GoTo(int index, bool report);
  void Draw();
  void DrawCellTools(uint32_t* pixels, int stride, int left, int top, int width, int height, int stackIndex,
                     const CellMapping& m);
  void DrawMeasurement(Canvas& canvas, const Measurement& m, const CellMapping& mapping, uint32_t colour,
                       bool handles);
  void RemoveMeasurement(int index);
  CellMapping MappingFor(int stackIndex) const;
  // The cell under a panel point: the position of its image and the cell-relative point.
  bool CellAt(int x, int y, int& position, double& sx, double& sy) const;
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

  // Measurements (StackEngineTools.cpp).
  bool MeasureDown(int x, int y);
  void MeasureMove(int x, int y, bool button);
  void MeasureUp(int x, int y);
  void FinishDrawing();
  void CancelDrawing();
  int HitTest(int x, int y, int& handle) const;
  void ReportMeasurementState(bool openEditor);
  Scale ScaleFor(int stackIndex) const;
  std::vector<std::string> LabelOf(const Measurement& m);
  void EraseSelected();
  void EraseAll();
  void Calibrate(const ORN_image::engine_msg::CalibrationRecord& record);
  void SendAnnotationText(platform::WindowHandle to);
  void ReceiveAnnotationText(const platform::CopyDataStruct& record);
  void LockAt(int x, int y);

  // Magnifier and edge enhancement.
  void ShowLens(int x, int y);
  void HideLens();

  // Marks.
  void ToggleMarkAt(int x, int y);
  void ShowMarkedOnly(bool only);
  void ReleaseMarks();
  void KeyImageNotification(int kind, int x, int y);

  // Presentation states, reference lines and key images.
  void ReadPresentationStates();
  void SendPresentationStateList();
  void ApplyPresentationState(uint32_t index);
  void DrawPresentationAnnotations(Canvas& canvas, const ImageHeader& h, const CellMapping& m);
  void SendKeyImage(platform::WindowHandle panel, uint32_t request);

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

  // Shown images and marks (stack indexes, ascending).
  std::vector<int> shown_;
  std::vector<int> marks_;
  bool marksOnly_ = false;

  // Measurements of the stack's images.
  std::vector<Measurement> measurements_;
  int kind_ = kDistance;
  bool measuring_ = false;  // the measurement tool is on
  bool measurementsVisible_ = true;
  int selected_ = -1, drawing_ = -1, editing_ = -1;
  int stage_ = 0;           // points fixed of the measurement being drawn
  bool pressed_ = false;    // the left button went down in measurement mode
  int grabbed_ = -1, grabbedHandle_ = -1;  // an edited measurement; handle -1 moves it whole
  double grabX_ = 0, grabY_ = 0;
  std::vector<ImagePoint> grabPoints_;
  bool hovering_ = false;
  bool calibrated_ = false;
  std::string calibrationUnit_;
  double calibrationFactor_ = 1;
  StatisticsOptions statistics_;

  // Magnifier and edge enhancement.
  bool lensShown_ = false;
  int lensPosition_ = 0, lensX_ = 0, lensY_ = 0;  // cell-relative
  double magnifierZoom_ = 200;
  int lensSize_ = 256, lensShape_ = 1;
  bool lensOptimized_ = true;
  double dragEdge_ = 0;

  // Presentation states: index 0 of the list is the original display.
  std::vector<PresentationState> states_;
  uint32_t activeState_ = 0, lastState_ = 0;
  ViewState originalView_;

  // Image planes received from the active frame's engine.
  std::vector<ORN_image::engine_msg::ImagePlaneRecord> referencePlanes_;
};

}  // namespace ORN_engine
