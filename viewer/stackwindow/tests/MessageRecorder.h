// A window of the test process that keeps every message it receives: it stands where the
// engine, the tile or the main window would be, so a test reads what the frame told them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

struct RecordedMessage {
  uint32_t message;
  platform::WParam wParam;
  platform::LParam lParam;
  uint32_t dwData = 0;      // WM_COPYDATA: the record's code
  uint32_t cbData = 0;      // and its size
  bool operator==(const RecordedMessage&) const = default;
};

class MessageRecorder {
 public:
  MessageRecorder()
      : window_(std::make_unique<platform::Window>(
            [this](uint32_t m, platform::WParam w, platform::LParam l) -> platform::LResult {
              RecordedMessage r{m, w, l};
              if (m == platform::kWmCopyData && l) {
                const auto* record = reinterpret_cast<const platform::CopyDataStruct*>(l);
                r.dwData = uint32_t(record->dwData);
                r.cbData = record->cbData;
                r.lParam = 0;
              }
              messages.push_back(r);
              // Standing for the main window, it owns the reference lines a frame posts.
              if (FreeReferenceLines && m == stack_msg::kToolSwitch && l == tool_code::kReferenceLines)
                delete reinterpret_cast<TReferenceLines*>(w);
              return 0;
            })) {}

  platform::WindowHandle Handle() const { return window_->Handle(); }
  // Serves what was posted so far (posts from this process arrive through the event loop).
  void Settle() { platform::testing::PumpUntil([] { return false; }, 60); }
  std::vector<uint32_t> Codes() const {
    std::vector<uint32_t> codes;
    for (const auto& m : messages) codes.push_back(m.message == platform::kWmCopyData ? m.dwData : m.message);
    return codes;
  }
  // The messages of one code, in order.
  std::vector<RecordedMessage> Of(uint32_t code) const {
    std::vector<RecordedMessage> out;
    for (const auto& m : messages)
      if ((m.message == platform::kWmCopyData ? m.dwData : m.message) == code) out.push_back(m);
    return out;
  }
  void Clear() { messages.clear(); }

  std::vector<RecordedMessage> messages;
  bool FreeReferenceLines = false;

 private:
  std::unique_ptr<platform::Window> window_;
};
