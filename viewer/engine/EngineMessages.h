// The codes and records of the window protocol between the system and a stack's rendering
// engine. Both sides include this header: the stack window, its tile and panel, and the
// engine itself. Every message is posted unless noted; every record travels as WM_COPYDATA
// with dwData = the code. Points are y << 16 | x, fractional values travel as value x 10000.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace ORN_image::engine_msg {

// ---- Engine to the panel window ----
constexpr uint32_t kInitProgress = 0x8400;        // lParam: done | all << 16
constexpr uint32_t kEngineWindow = 0x8401;        // wParam: engine window; lParam: 1 ok, 0 failure
constexpr uint32_t kEngineReady = 0x805D;
constexpr uint32_t kMatrix = 0x8016;              // lParam: columns | rows << 16 (both directions)
constexpr uint32_t kZoom = 0x8020;                // lParam: zoom x 10000 (both directions)
constexpr uint32_t kWindowLevel = 0x8021;         // to panel: wParam width x 10000, lParam centre x 10000
constexpr uint32_t kPan = 0x8022;                 // to panel: wParam second, lParam first
constexpr uint32_t kImageChanged = 0x8031;        // wParam first shown, lParam current
constexpr uint32_t kImageCount = 0x8032;
constexpr uint32_t kCineStarted = 0x8402;         // also: start cine (to engine)
constexpr uint32_t kCineStopped = 0x8403;         // also: stop cine (to engine)
constexpr uint32_t kCineLoop = 0x8404;            // to engine
constexpr uint32_t kFrameRate = 0x8405;           // both directions
constexpr uint32_t kPositionFactor = 0x8406;
constexpr uint32_t kReconstructionAvailable = 0x8013;  // to engine: leave reconstruction mode
constexpr uint32_t kPresentationStatesAvailable = 0x8014;
constexpr uint32_t kPresentationStateApplied = 0x805F;  // to engine: apply a presentation state
constexpr uint32_t kBlendingAvailable = 0x8015;
constexpr uint32_t kReconstructionCursor = 0x8051;
constexpr uint32_t kMeasurementHover = 0x8053;
constexpr uint32_t kMeasurementDone = 0x8059;
constexpr uint32_t kMeasurementSelection = 0x805A;
constexpr uint32_t kMenuItemState = 0x807E;
constexpr uint32_t kTextAnnotation = 0x807F;
constexpr uint32_t kPositionReport = 0x801C;
constexpr uint32_t kKeyImageNotification = 0x801F;  // to engine: remove / show the key image at a point
constexpr uint32_t kInverse = 0x8027;             // both directions
constexpr uint32_t kLinkState = 0x8004;           // to engine: reset
constexpr uint32_t kReconstructionStep = 0x80B1;

// ---- Records from the engine (WM_COPYDATA dwData) ----
constexpr uint32_t kPresentationStateList = 0x805E;  // also the request (posted to the engine)
constexpr uint32_t kIgnoredRecord = 0x8060;           // also: request presets (posted to the engine)
constexpr uint32_t kModalityText = 0x8063;
constexpr uint32_t kImagePlane = 0x801B;              // also: focus (posted), reference lines (record)
constexpr uint32_t kKeyImageData = 0x801E;            // also: add a key image (posted)
constexpr uint32_t kMprProjection = 0x80D3;           // also: secondary reconstruction request

// ---- Engine to other windows ----
constexpr uint32_t kPresetInEffect = 0x8061;  // to the frame: wParam user preset, lParam index; also apply a user preset
constexpr uint32_t kAnnotationText = 0x807A;  // record to the text editor; also the edited text back
constexpr uint32_t kPicture = 0x8009;         // record to the export form; also the request

// ---- Panel and stack window to the engine ----
constexpr uint32_t kPaint = 0x8002;
constexpr uint32_t kSize = 0x8003;            // wParam: (width-1) | (height-1) << 16
constexpr uint32_t kReinitialise = 0x805C;
constexpr uint32_t kEndTool = 0x800B;
constexpr uint32_t kResetTool = 0x8011;
constexpr uint32_t kMouseTool = 0x8005;
constexpr uint32_t kMprPan = 0x804C, kMprPosition = 0x804D, kMprThickness = 0x804E, kMprZoom = 0x804F,
                   kMprVoi = 0x8050, kMprTriangulation = 0x8084;
constexpr uint32_t kMagnifierZoom = 0x803E;
constexpr uint32_t kMagnifierSize = 0x8040, kMagnifierShape = 0x8041, kMagnifierOptimized = 0x8042;
constexpr uint32_t kMeasurementKind = 0x8052;
constexpr uint32_t kEraseAllMeasurements = 0x8055, kEraseSelectedMeasurement = 0x8056,
                   kMeasurementsVisible = 0x8058, kCancelMeasurement = 0x807D;
constexpr uint32_t kGoToImage = 0x8030;       // wParam 0 navigator, 1 linked (clamped)
constexpr uint32_t kZoomToFit = 0x803A;
constexpr uint32_t kMprZoomToFit = 0x8086;
constexpr uint32_t kMprWindowLevel = 0x8047;
constexpr uint32_t kFullRangeWindow = 0x8028;
constexpr uint32_t kMprFullRangeWindow = 0x8065;
constexpr uint32_t kFlipHorizontal = 0x8023, kFlipVertical = 0x8024, kRotateRight = 0x8025, kRotateLeft = 0x8026;
constexpr uint32_t kMprInverse = 0x8083;
constexpr uint32_t kPaletteOnOff = 0x8006;
constexpr uint32_t kRedraw = 0x8008;
constexpr uint32_t kProjectionAverage = 0x8048, kProjectionWeightedAverage = 0x8049, kProjectionMaximum = 0x804A,
                   kProjectionWeightedMaximum = 0x804B;
constexpr uint32_t kStartReconstruction1 = 0x80AD, kStartReconstruction3 = 0x80AE, kStartReconstruction2 = 0x80AF,
                   kStartReconstructionOther = 0x80B0;
constexpr uint32_t kInformationOverlay = 0x8064;
constexpr uint32_t kShowMarkedOnly = 0x8036, kShowAll = 0x8037, kReleaseMarks = 0x803C, kToggleMark = 0x8038,
                   kLockAtPoint = 0x8039, kReleaseLocks = 0x803D;
constexpr uint32_t kCancelAviExport = 0x801D;
constexpr uint32_t kRequestAnnotationText = 0x8080;
constexpr uint32_t kPrintTransfer = 0x80CD;
constexpr uint32_t kReconstructionSeriesCreated = 0x80D5;

// ---- Records sent to the engine ----
constexpr uint32_t kStatisticsSettings = 0x80AC;
constexpr uint32_t kPalette = 0x8007;
constexpr uint32_t kCalibration = 0x807B;
constexpr uint32_t kPrintPicture = 0x8001;
constexpr uint32_t kPrintRange = 0x80CA, kPrintMarks = 0x80CB, kPrintJob3 = 0x80CC;
constexpr uint32_t kAviExport = 0x800A;
constexpr uint32_t kReconstructionSeries = 0x80D4;

// ---- Stack tile to the engine's titled window ----
constexpr uint32_t kPauseInitialisation = 0x812D;
constexpr uint32_t kResumeInitialisation = 0x812E;

// ---- Mouse tools of kMouseTool ----
constexpr int32_t kToolZoom = 0, kToolVoi = 1, kToolPan = 2, kToolNavigator = 3, kToolBlending = 4,
                  kToolMagnifier = 7, kToolEdgeEnhancement = 17;

// ---- Win32 mouse and size messages the panel forwards ----
constexpr uint32_t kWmSize = 0x0005;
constexpr uint32_t kWmMouseMove = 0x0200, kWmLButtonDown = 0x0201, kWmLButtonUp = 0x0202,
                   kWmLButtonDblClk = 0x0203, kWmRButtonDown = 0x0204, kWmRButtonUp = 0x0205,
                   kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208, kWmMouseWheel = 0x020A;
constexpr uint32_t kMkLButton = 0x0001, kMkRButton = 0x0002, kMkShift = 0x0004, kMkControl = 0x0008,
                   kMkMButton = 0x0010;

constexpr int32_t kFixedPoint = 10000;

// ---- Packing helpers ----
inline int64_t PackPoint(int x, int y) { return int64_t((uint32_t(uint16_t(y)) << 16) | uint16_t(x)); }
inline int16_t PointX(int64_t p) { return int16_t(uint16_t(p & 0xFFFF)); }
inline int16_t PointY(int64_t p) { return int16_t(uint16_t((p >> 16) & 0xFFFF)); }

// Window values sent to the engine: centre (signed) << 16 | width (unsigned), each 16 bits.
// Values outside 16 bits are clamped, never wrapped: a centre of 40000 stays the brightest
// possible centre rather than turning into a negative one.
inline int64_t PackWindowValues(double centre, double width) {
  const double c = std::clamp(centre, -32768.0, 32767.0);
  const double w = std::clamp(width, 1.0, 65535.0);
  const auto ci = int32_t(c < 0 ? c - 0.5 : c + 0.5);
  const auto wi = uint32_t(w + 0.5);
  return int64_t((uint32_t(uint16_t(int16_t(ci))) << 16) | (wi & 0xFFFF));
}
inline int32_t WindowCentreOf(int64_t packed) { return int16_t(uint16_t((packed >> 16) & 0xFFFF)); }
inline int32_t WindowWidthOf(int64_t packed) { return int32_t(packed & 0xFFFF); }

// The text of a record: up to its first NUL, never past its length.
inline std::string TextWithin(const void* data, size_t length) {
  if (data == nullptr) return {};
  const char* p = static_cast<const char*>(data);
  const void* nul = std::memchr(p, 0, length);
  return std::string(p, nul ? static_cast<const char*>(nul) - p : length);
}
// A UTF-16 text of a record (wchar units), up to its first zero unit, never past its length.
inline std::u16string WideTextWithin(const void* data, size_t length) {
  std::u16string out;
  if (data == nullptr) return out;
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i + 1 < length; i += 2) {
    const char16_t c = char16_t(p[i] | (p[i + 1] << 8));
    if (c == 0) break;
    out.push_back(c);
  }
  return out;
}

// ---- Record layouts (little-endian, no padding) ----
#pragma pack(push, 1)

// 0x80AC, statistics settings.
struct StatisticsSettings {
  double Factor;
  uint8_t ShowMinimum, ShowMaximum, ShowMean, ShowDeviation;
  char16_t MinimumHeader[20], MaximumHeader[20], MeanHeader[20], DeviationHeader[20];
  uint32_t Zero;
};
static_assert(sizeof(StatisticsSettings) == 176);
static_assert(offsetof(StatisticsSettings, MinimumHeader) == 12);
static_assert(offsetof(StatisticsSettings, DeviationHeader) == 132);
static_assert(offsetof(StatisticsSettings, Zero) == 172);

// 0x8007, palette: red, green, blue tables in palette index order.
struct PaletteRecord {
  uint8_t Red[256], Green[256], Blue[256];
};
static_assert(sizeof(PaletteRecord) == 768);

// 0x807B, calibration.
struct CalibrationRecord {
  double Value;
  char16_t Unit[260];
};
static_assert(sizeof(CalibrationRecord) == 528);

// 0x801B from the engine: one image plane of the current image (reference lines). The engine
// fixes this layout; other engines receive it unchanged. Texts zero-filled, doubles in mm.
struct ImagePlaneRecord {
  double Position[3];          // Image Position (Patient) of the first pixel
  double Orientation[6];       // row direction cosines, then column direction cosines
  double Spacing[2];           // row spacing, column spacing
  int32_t Rows, Columns;
  int32_t ImageIndex;          // 0-based index in the stack
  int32_t FrameNumber;         // 0-based frame inside its file
  char FrameOfReferenceUid[65];
  char SopInstanceUid[65];
  char Modality[16];
  uint8_t Reserved[384 - 104 - 65 - 65 - 16];
};
static_assert(sizeof(ImagePlaneRecord) == 384);
static_assert(offsetof(ImagePlaneRecord, Rows) == 88);
static_assert(offsetof(ImagePlaneRecord, FrameOfReferenceUid) == 104);

#pragma pack(pop)

}  // namespace ORN_image::engine_msg
