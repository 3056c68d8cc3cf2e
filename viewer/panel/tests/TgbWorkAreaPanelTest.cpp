// The work-area panel with its real widget: engine messages become events, mouse, size and
// paint go to the engine window, records are dispatched, and the wheel rules hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/engine/EngineMessages.h"
#include "viewer/panel/TgbWorkAreaPanel.h"

namespace {

namespace msg = ORN_image::engine_msg;
using platform::LParam;
using platform::WParam;

struct Posted {
  uint32_t Message;
  WParam W;
  LParam L;
  bool operator==(const Posted&) const = default;
};

// A window standing in for the engine: it records what the panel posts.
class FakeEngine {
 public:
  platform::WindowHandle Handle() const { return window_.Handle(); }
  // Serves messages until what the panel posted so far has arrived.
  const std::vector<Posted>& Got() {
    platform::PostMessage(Handle(), 0x7FFE, 0, 0);
    platform::testing::PumpUntil([&] { return marker_; });
    marker_ = false;
    return got_;
  }
  void Clear() { Got(), got_.clear(); }

 private:
  std::vector<Posted> got_;
  bool marker_ = false;
  platform::Window window_{[this](uint32_t m, WParam w, LParam l) -> platform::LResult {
    if (m == 0x7FFE)
      marker_ = true;
    else
      got_.push_back({m, w, l});
    return 0;
  }};
};

class WorkAreaPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.SetBounds(0, 0, 300, 200);
    panel_ = new TgbWorkAreaPanel(&form_);
    panel_->SetParent(&form_);
  }
  // The panel with a known engine window, and nothing posted yet.
  void Connect() {
    panel_->PanelProc(msg::kEngineWindow, WParam(engine_.Handle()), 1);
    engine_.Clear();
  }
  std::vector<std::string> log_;
  TForm form_{nullptr};
  TgbWorkAreaPanel* panel_ = nullptr;
  FakeEngine engine_;
};

TEST_F(WorkAreaPanel, StartsInitializing) {
  EXPECT_EQ(panel_->Caption(), L"initializing");
  EXPECT_EQ(panel_->Color(), clBlack);
  EXPECT_EQ(panel_->Font.Color, clWhite);
  EXPECT_EQ(panel_->Cursor(), crHourGlass);
  EXPECT_EQ(panel_->Align(), alClient);
  EXPECT_EQ(panel_->EngineWindow, 0);
  EXPECT_NE(panel_->Handle(), 0);
}

TEST_F(WorkAreaPanel, EngineWindowAndReadiness) {
  platform::WindowHandle reported = 0;
  panel_->OnEngineWindow = [&](TObject*, platform::WindowHandle w) { reported = w; };
  bool ready = false;
  panel_->OnEngineReady = [&](TObject*) {
    ready = true;
    EXPECT_EQ(panel_->Cursor(), crDefault) << "the cursor is set before the event";
  };
  panel_->PanelProc(msg::kEngineWindow, WParam(engine_.Handle()), 1);
  EXPECT_EQ(panel_->EngineWindow, engine_.Handle());
  EXPECT_EQ(reported, engine_.Handle());
  EXPECT_EQ(panel_->Caption(), L"");
  // The engine is told the panel's size at once.
  const auto got = engine_.Got();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Message, msg::kSize);
  EXPECT_EQ(got[0].W, WParam(panel_->Width() - 1) | (WParam(panel_->Height() - 1) << 16));
  panel_->PanelProc(msg::kEngineReady, 0, 0);
  EXPECT_TRUE(ready);
}

TEST_F(WorkAreaPanel, FailedStartShowsTheErrorAndReachesNoEngine) {
  bool raised = false;
  panel_->OnEngineWindow = [&](TObject*, platform::WindowHandle) { raised = true; };
  panel_->PanelProc(msg::kEngineWindow, WParam(engine_.Handle()), 0);
  EXPECT_FALSE(raised);
  EXPECT_EQ(panel_->EngineWindow, 0);
  EXPECT_EQ(panel_->Color(), clWhite);
  EXPECT_EQ(panel_->Caption(), L"Pixtrane Initialization Error");
  panel_->PanelProc(msg::kWmLButtonDown, msg::kMkLButton, msg::PackPoint(3, 4));
  EXPECT_TRUE(engine_.Got().empty());
}

TEST_F(WorkAreaPanel, EngineMessagesBecomeEvents) {
  std::string seen;
  auto note = [&](const std::string& s) { seen = s; };
  panel_->OnZoomChanged = [&](TObject*, double z) { note("zoom " + std::to_string(z)); };
  panel_->OnWindowLevelChanged = [&](TObject*, double c, double w) { note("wl " + std::to_string(c) + " " + std::to_string(w)); };
  panel_->OnPanChanged = [&](TObject*, double a, double b) { note("pan " + std::to_string(a) + " " + std::to_string(b)); };
  panel_->OnImageChanged = [&](TObject*, int a, int b) { note("image " + std::to_string(a) + " " + std::to_string(b)); };
  panel_->OnImageCount = [&](TObject*, int n) { note("count " + std::to_string(n)); };
  panel_->OnEngineMatrix = [&](TObject*, int c, int r) { note("matrix " + std::to_string(c) + "x" + std::to_string(r)); };
  panel_->OnCineStarted = [&](TObject*, int v) { note("cine started " + std::to_string(v)); };
  panel_->OnCineStopped = [&](TObject*, int v) { note("cine stopped " + std::to_string(v)); };
  panel_->OnFrameRate = [&](TObject*, int v) { note("fps " + std::to_string(v)); };
  panel_->OnPositionFactor = [&](TObject*, uint8_t f, double s) { note("position " + std::to_string(f) + " " + std::to_string(s)); };
  panel_->OnLinkStateChanged = [&](TObject*, int hi, int lo) { note("link " + std::to_string(hi) + " " + std::to_string(lo)); };
  panel_->OnReconstructionStep = [&](TObject*, bool b) { note(std::string("step ") + (b ? "previous" : "next")); };
  panel_->OnTextAnnotation = [&](TObject*, bool sel, bool open) { note(std::string("text ") + (sel ? "1" : "0") + (open ? "1" : "0")); };
  panel_->OnInverseChanged = [&](TObject*, bool b) { note(std::string("inverse ") + (b ? "1" : "0")); };
  panel_->OnKeyImageNotification = [&](TObject*, int k, int i) { note("key " + std::to_string(k) + " " + std::to_string(i)); };
  panel_->OnPositionReport = [&](TObject*, int a, int b) { note("report " + std::to_string(a) + " " + std::to_string(b)); };
  panel_->OnInitProgress = [&](TObject*, WParam, LParam l) { note("progress " + std::to_string(l & 0xFFFF) + "/" + std::to_string(l >> 16)); };
  panel_->OnWorkAreaDoubleClick = [&](TObject*, WParam w, LParam l) { note("dbl " + std::to_string(w) + " " + std::to_string(l)); };
  panel_->OnMeasurementHover = [&](TObject*, bool b) { note(std::string("hover ") + (b ? "1" : "0")); };
  const struct {
    uint32_t Message;
    WParam W;
    LParam L;
    const char* Event;
  } cases[] = {
      {msg::kZoom, 0, 25000, "zoom 2.500000"},
      {msg::kWindowLevel, WParam(4000000), -6000000, "wl -600.000000 400.000000"},
      {msg::kPan, WParam(LParam(-4)), 7, "pan 7.000000 -4.000000"},
      {msg::kImageChanged, 4, 6, "image 4 6"},
      {msg::kImageCount, 0, 300, "count 300"},
      {msg::kMatrix, 0, 3 | (2 << 16), "matrix 3x2"},
      {msg::kCineStarted, 0, 0, "cine started 0"},
      {msg::kCineStopped, 0, 17, "cine stopped 17"},
      {msg::kFrameRate, 0, 25, "fps 25"},
      {msg::kPositionFactor, 0x301, 25000, "position 1 2.500000"},  // only the low byte is the flag
      {msg::kLinkState, 0, (9 << 16) | 1, "link 9 1"},
      {msg::kReconstructionStep, 0, 1, "step previous"},
      {msg::kReconstructionStep, 0, -1, "step next"},
      {msg::kReconstructionStep, 0, 0, "step next"},
      {msg::kTextAnnotation, 1, 0, "text 01"},
      {msg::kInverse, 0, 7, "inverse 1"},
      {msg::kKeyImageNotification, 2, 11, "key 2 11"},
      {msg::kPositionReport, 5, 3, "report 3 5"},
      {msg::kInitProgress, 0, 2 | (10 << 16), "progress 2/10"},
      {msg::kWmLButtonDblClk, 1, msg::PackPoint(3, 4), "dbl 1 262147"},
      {msg::kMeasurementHover, 0, 2, "hover 1"},
  };
  for (const auto& c : cases) {
    seen.clear();
    panel_->PanelProc(c.Message, c.W, c.L);
    EXPECT_EQ(seen, c.Event) << std::hex << c.Message;
  }
  // An event without a handler is skipped.
  panel_->OnZoomChanged = nullptr;
  seen.clear();
  panel_->PanelProc(msg::kZoom, 0, 10000);
  EXPECT_EQ(seen, "");
}

TEST_F(WorkAreaPanel, PresentationStatesAvailableAsksForTheList) {
  Connect();
  std::vector<bool> raised;
  panel_->OnPresentationStatesAvailable = [&](TObject*, bool b) { raised.push_back(b); };
  panel_->PanelProc(msg::kPresentationStatesAvailable, 77, 0);
  EXPECT_TRUE(engine_.Got().empty());
  panel_->PanelProc(msg::kPresentationStatesAvailable, 77, 1);
  EXPECT_EQ(raised, (std::vector<bool>{false, true}));
  EXPECT_EQ(engine_.Got(), (std::vector<Posted>{{msg::kPresentationStateList, 0, 77}}));
}

TEST_F(WorkAreaPanel, RecordsGoToTheirEvents) {
  std::vector<std::string> seen;
  auto rec = [&](const char* name) {
    return [&seen, name](TObject*, const void* d, uint32_t n) {
      seen.push_back(std::string(name) + " " + std::to_string(n) + " " + (d ? static_cast<const char*>(d) : ""));
    };
  };
  panel_->OnPresentationStateList = rec("list");
  panel_->OnImagePlane = rec("plane");
  panel_->OnKeyImageData = rec("key");
  panel_->OnMprProjection = rec("mpr");
  panel_->OnVoiPresets = [&](TObject*, const char* text) { seen.push_back(std::string("presets ") + text); };
  const char data[] = "abc";
  const char modality[4] = {'C', 'T', 'Z', 'Z'};
  const struct {
    uint32_t Code;
    const void* Data;
    uint32_t Size;
    const char* Event;
  } cases[] = {
      {msg::kPresentationStateList, data, 4, "list 4 abc"},
      {msg::kImagePlane, data, 4, "plane 4 abc"},
      {msg::kKeyImageData, data, 4, "key 4 abc"},
      {msg::kMprProjection, data, 4, "mpr 4 abc"},
      {msg::kModalityText, "MR", 3, "presets MR"},
      // Without its NUL the text ends with the record.
      {msg::kModalityText, modality, 2, "presets CT"},
      {msg::kIgnoredRecord, data, 4, nullptr},
      {0x1234, data, 4, nullptr},
  };
  for (const auto& c : cases) {
    seen.clear();
    platform::CopyDataStruct cds{c.Code, c.Size, c.Data};
    panel_->PanelProc(platform::kWmCopyData, 0, LParam(&cds));
    if (c.Event == nullptr)
      EXPECT_TRUE(seen.empty()) << std::hex << c.Code;
    else
      EXPECT_EQ(seen, std::vector<std::string>{c.Event}) << std::hex << c.Code;
  }
}

TEST_F(WorkAreaPanel, MouseGoesToTheEngine) {
  Connect();
  std::vector<std::string> events;
  panel_->OnWorkAreaPopupAllowed = [&](TObject*, bool b) { events.push_back(std::string("popup ") + (b ? "1" : "0")); };
  panel_->OnWorkAreaLeftDown = [&](TObject*, int x, int y) { events.push_back("left " + std::to_string(x) + "," + std::to_string(y)); };
  panel_->OnWorkAreaLeftUp = [&](TObject*) { events.push_back("left up"); };
  panel_->OnWorkAreaRightDown = [&](TObject*, int x, int y) { events.push_back("right " + std::to_string(x) + "," + std::to_string(y)); };
  panel_->OnWorkAreaMiddleDown = [&](TObject*, int, int) { events.push_back("middle"); };
  panel_->OnWorkAreaMiddleUp = [&](TObject*) { events.push_back("middle up"); };
  const LParam at = msg::PackPoint(12, 34);
  panel_->PanelProc(msg::kWmLButtonDown, msg::kMkLButton, at);
  panel_->PanelProc(msg::kWmMouseMove, msg::kMkLButton, at);
  panel_->PanelProc(msg::kWmLButtonUp, 0, at);
  panel_->PanelProc(msg::kWmRButtonDown, msg::kMkRButton | msg::kMkMButton, at);
  panel_->PanelProc(msg::kWmMButtonDown, msg::kMkMButton, at);
  EXPECT_TRUE(panel_->MouseCaptured());
  // Releasing the left button while the middle one is held ends the middle drag first.
  panel_->PanelProc(msg::kWmLButtonUp, msg::kMkMButton, at);
  EXPECT_FALSE(panel_->MouseCaptured());
  EXPECT_EQ(engine_.Got(), (std::vector<Posted>{{msg::kWmLButtonDown, msg::kMkLButton, at},
                                                {msg::kWmMouseMove, msg::kMkLButton, at},
                                                {msg::kWmLButtonUp, 0, at},
                                                {msg::kWmRButtonDown, msg::kMkRButton | msg::kMkMButton, at},
                                                {msg::kWmMButtonDown, msg::kMkMButton, at},
                                                {msg::kWmMButtonUp, msg::kMkMButton, at},
                                                {msg::kWmLButtonUp, msg::kMkMButton, at}}));
  EXPECT_EQ(events, (std::vector<std::string>{"popup 0", "left 12,34", "left up", "popup 1", "right 12,34", "popup 0",
                                              "middle", "left up"}));
}

TEST_F(WorkAreaPanel, SizeAndPaintAreForwarded) {
  Connect();
  form_.Show();
  panel_->SetAlign(alNone);
  const struct {
    int W, H;
    WParam Expected;
  } sizes[] = {{1, 1, 0}, {200, 100, 199 | (99 << 16)}, {64, 300, 63 | (299 << 16)}};
  for (const auto& s : sizes) {
    panel_->SetBounds(0, 0, s.W, s.H);
    platform::ProcessMessages();
    bool found = false;
    for (const auto& p : engine_.Got()) found |= p.Message == msg::kSize && p.W == s.Expected && p.L == 0;
    EXPECT_TRUE(found) << s.W << "x" << s.H;
    engine_.Clear();
  }
  panel_->PanelProc(platform::kWmPaint, 0, 0);
  EXPECT_EQ(engine_.Got(), (std::vector<Posted>{{msg::kPaint, 0, 0}}));
}

TEST_F(WorkAreaPanel, WheelInsideGoesToTheEngineOutsideToTheOwner) {
  form_.Show();
  Connect();
  std::vector<std::string> events;
  panel_->OnWorkAreaWheel = [&](TObject*, bool up) { events.push_back(up ? "wheel up" : "wheel down"); };
  panel_->OnWheelOutside = [&](TObject*, const TPoint& p, uint16_t delta, uint16_t keys) {
    events.push_back("outside " + std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(delta) + " " +
                     std::to_string(keys));
  };
  const TPoint origin = panel_->ClientToScreen(TPoint{0, 0});
  const LParam inside = msg::PackPoint(origin.x + 5, origin.y + 5);
  const LParam outside = msg::PackPoint(origin.x - 5, origin.y + 5);
  const WParam down = WParam(uint16_t(int16_t(-120))) << 16;
  const WParam upWithControl = (WParam(120) << 16) | msg::kMkControl;
  panel_->PanelProc(msg::kWmMouseWheel, down, inside);
  panel_->PanelProc(msg::kWmMouseWheel, upWithControl, outside);
  EXPECT_EQ(engine_.Got(), (std::vector<Posted>{{msg::kWmMouseWheel, down, inside}}));
  EXPECT_EQ(events, (std::vector<std::string>{"wheel down", "outside " + std::to_string(origin.x - 5) + "," +
                                                               std::to_string(origin.y + 5) + " 120 8"}));
  // While one wheel turn is handled, another (in any panel) is dropped.
  TgbWorkAreaPanel::WheelGuard().store(1);
  events.clear();
  panel_->PanelProc(msg::kWmMouseWheel, down, inside);
  EXPECT_TRUE(events.empty());
  TgbWorkAreaPanel::WheelGuard().store(0);
  EXPECT_TRUE(engine_.Got().size() == 1);
}

TEST_F(WorkAreaPanel, MessagesSentToTheHandleTakeTheSamePath) {
  form_.Show();
  Connect();
  // Widget events arrive as the Win32 messages of the panel's window.
  std::vector<uint32_t> got;
  panel_->OnWorkAreaLeftDown = [&](TObject*, int x, int y) {
    got.push_back(msg::kWmLButtonDown);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
  };
  platform::testing::PumpUntil([&] { return panel_->Width() > 1; });
  // The panel's procedure is the window procedure: messages sent to its handle take the same path.
  platform::SendMessage(panel_->Handle(), msg::kWmLButtonDown, msg::kMkLButton, msg::PackPoint(10, 20));
  EXPECT_EQ(got, std::vector<uint32_t>{msg::kWmLButtonDown});
  EXPECT_EQ(engine_.Got(), (std::vector<Posted>{{msg::kWmLButtonDown, msg::kMkLButton, msg::PackPoint(10, 20)}}));
}

}  // namespace
