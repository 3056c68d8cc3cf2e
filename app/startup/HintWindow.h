// The program's hint window and its run-time hints. The platform hands a hint window 8-bit
// texts; TORNHint takes such a text as a key into the hint page GUI_HINTS (or into the
// dynamic hints) and paints the wide text it finds in the program's hint colours.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/support/PropertiesPage.h"
#include "platform/vcl/Controls.h"

namespace app {

// Hints made at run time (a study box title with characters the 8-bit text cannot hold), by
// the exact 8-bit text the hint window will be handed.
class TORNDynamicHints {
 public:
  void SetHint(const System::AnsiString& key, const std::wstring& text) { hints_[key] = text; }
  // The stored text (valid until that entry changes); null when the key is missing.
  const wchar_t* GetHint(const System::AnsiString& key) const {
    auto found = hints_.find(key);
    return found != hints_.end() ? found->second.c_str() : nullptr;
  }

 private:
  std::map<System::AnsiString, std::wstring> hints_;
};

// Process-wide values the hint window reads: the dynamic hints (set by the main window) and
// the three hint colours (set once by the program entry).
TORNDynamicHints*& DynamicHints();
struct THintColors {
  TColor Border = 0;
  TColor Text = 0;
  TColor Background = 0xFFFFFF;
};
THintColors& HintColors();

class TORNHint : public THintWindow {
 public:
  explicit TORNHint(TComponent* owner);
  ~TORNHint() override;

  // The caption arrives here (WM_SETTEXT): looks the key up and keeps the text to paint.
  void SetHintText(const System::AnsiString& text) override;

  const std::wstring& CurrentText() const { return current_; }
  bool RightToLeft() const { return rightToLeft_; }
  bool PageLoaded() { return page_ && !page_->IsEmpty(); }
  // The DrawText flags of the last paint of a page or dynamic text (0 before one).
  uint32_t LastDrawFlags() const { return lastFlags_; }

  // The key of a hint text: blanks and "/" before the first ":" become "_"; the rest from
  // that ":" on is returned in suffix (empty without ":").
  static std::wstring KeyOf(const std::wstring& hint, std::wstring& suffix);

 protected:
  void Paint() override;
  // The frame, one pixel wide, in the hint border colour.
  void NCPaint() override;

 private:
  std::wstring SuffixText(std::wstring suffix);
  void FitTo(int width, int height);
  bool rightToLeft_ = false;
  std::unique_ptr<TsgPropertiesPage> page_;
  std::wstring current_;
  uint32_t lastFlags_ = 0;
};

}  // namespace app
