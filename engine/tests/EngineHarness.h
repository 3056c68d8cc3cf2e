// A stand-in for the work-area panel in the engine tests: a window that records every
// message and record the engine sends it and keeps the last frame of the shared surface,
// and the launcher that starts Pixtrane.exe on a list of files.
#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/process/tests/TestNames.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SharedSurface.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/engine/EngineMessages.h"
#include "viewer/engine/TgbStackEngineProcess.h"

namespace ORN_engine::testing {

namespace msg = ORN_image::engine_msg;

struct Posted {
  uint32_t Message;
  platform::WParam W;
  platform::LParam L;
};
struct Record {
  uint32_t Code;
  std::vector<uint8_t> Bytes;
};

class EngineHarness {
 public:
  EngineHarness() = default;
  ~EngineHarness() { Stop(); }

  static std::string List(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    s.push_back('\0');
    return s;
  }

  bool Start(const std::vector<std::string>& files, const std::vector<std::string>& frames = {},
             const std::vector<std::string>& states = {}) {
    std::istringstream i(List(files)), p(List(states)), f(List(frames));
    if (!launcher_.Start(i, p, f, "test", platform::testing::OutProgram("Pixtrane.exe"), panel_.Handle(), 60000))
      return false;
    return platform::testing::PumpUntil([&] { return engine_ != 0; });
  }
  bool WaitReady() { return platform::testing::PumpUntil([&] { return Count(msg::kEngineReady) > 0; }); }
  // Starts, waits for readiness and sets the panel's size.
  bool Open(const std::vector<std::string>& files, int width, int height,
            const std::vector<std::string>& frames = {}, const std::vector<std::string>& states = {}) {
    return Start(files, frames, states) && WaitReady() && Request(msg::kSize, platform::WParam((width - 1) | ((height - 1) << 16)), 0);
  }
  void Stop() {
    if (engine_ != 0) platform::PostMessage(engine_, platform::kWmClose, 0, 0);
    launcher_.Stop();
    engine_ = 0;
  }

  // Posts a request, then a repaint and the presets request, and serves messages until the
  // presets answer (0x8061) is back: everything the request caused has arrived by then.
  bool Request(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
    platform::PostMessage(engine_, message, wParam, lParam);
    return Settle();
  }
  bool Settle() {
    const size_t before = Count(msg::kPresetInEffect);
    platform::PostMessage(engine_, msg::kPaint, 0, 0);
    platform::PostMessage(engine_, msg::kIgnoredRecord, platform::WParam(panel_.Handle()), 0);
    return platform::testing::PumpUntil([&] { return Count(msg::kPresetInEffect) > before; });
  }
  bool SendRecord(uint32_t code, const void* data, uint32_t size) {
    platform::CopyDataStruct cds{code, size, data};
    platform::SendMessage(engine_, platform::kWmCopyData, platform::WParam(panel_.Handle()), platform::LParam(&cds));
    return Settle();
  }

  size_t Count(uint32_t message) const {
    size_t n = 0;
    for (const auto& p : posted_) n += p.Message == message;
    return n;
  }
  const Posted* Last(uint32_t message) const {
    for (auto it = posted_.rbegin(); it != posted_.rend(); ++it)
      if (it->Message == message) return &*it;
    return nullptr;
  }
  std::vector<Posted> Of(uint32_t message) const {
    std::vector<Posted> out;
    for (const auto& p : posted_)
      if (p.Message == message) out.push_back(p);
    return out;
  }
  const std::vector<Posted>& Posts() const { return posted_; }
  const std::vector<Record>& Records() const { return records_; }
  const Record* LastRecord(uint32_t code) const {
    for (auto it = records_.rbegin(); it != records_.rend(); ++it)
      if (it->Code == code) return &*it;
    return nullptr;
  }
  void Clear() { posted_.clear(), records_.clear(); }

  platform::WindowHandle Engine() const { return engine_; }
  platform::WindowHandle Panel() const { return panel_.Handle(); }
  ORN_image::TgbStackEngineProcess& Launcher() { return launcher_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  uint64_t Frames() const { return frames_; }

 private:
  platform::LResult Procedure(uint32_t m, platform::WParam w, platform::LParam l) {
    if (m == platform::kWmSurfaceChanged) {
      if (!surface_ || surface_->Generation() != uint64_t(w)) surface_ = platform::SharedSurface::Open(panel_.Handle(), w);
      if (surface_) {
        pixels_.resize(size_t(surface_->Width()) * surface_->Height());
        if (surface_->CopyFrame(pixels_.data())) {
          width_ = surface_->Width();
          height_ = surface_->Height();
          ++frames_;
        }
      }
      return 1;
    }
    if (m == platform::kWmCopyData) {
      const auto* cds = reinterpret_cast<const platform::CopyDataStruct*>(l);
      const auto* b = static_cast<const uint8_t*>(cds->lpData);
      records_.push_back({uint32_t(cds->dwData), std::vector<uint8_t>(b, b + (b ? cds->cbData : 0))});
      return 1;
    }
    if (m == msg::kEngineWindow && l != 0) engine_ = platform::WindowHandle(w);
    posted_.push_back({m, w, l});
    return 0;
  }

  platform::Window panel_{[this](uint32_t m, platform::WParam w, platform::LParam l) { return Procedure(m, w, l); }};
  ORN_image::TgbStackEngineProcess launcher_;
  platform::WindowHandle engine_ = 0;
  std::vector<Posted> posted_;
  std::vector<Record> records_;
  std::unique_ptr<platform::SharedSurface> surface_;
  std::vector<uint32_t> pixels_;
  int width_ = 0, height_ = 0;
  uint64_t frames_ = 0;
};

}  // namespace ORN_engine::testing
