// Hint keys looked up in the hint page and in the dynamic hints, and the hint's painting.
#include <gtest/gtest.h>

#include "app/startup/HintWindow.h"
#include "app/startup/TResourceInitialization.h"
#include "app/startup/tests/PagesRecord.h"
#include "platform/com/Library.h"
#include "platform/vcl/Forms.h"

namespace app {
namespace {

const std::wstring kHints = test::Page(
    L"GUI_HINTS",
    L"<first_patient value=\"First patient\"/><collapse_expand value=\"Collapse or expand\"/>"
    L"<stack_management value=\"Stacks\"/><hanging_protocols value=\"Hanging protocols (HP)\"/>"
    L"<a_b value=\"AB\"/><only_key value=\"\"/>");

class HintWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { HintPageText() = kHints; }
  void TearDown() override {
    HintPageText().clear();
    DynamicHints() = nullptr;
  }
};

TEST_F(HintWindowTest, KeysAndSuffixes) {
  TORNDynamicHints dynamic;
  dynamic.SetHint("Study \xC3\xA9t\xC3\xA9", L"Study \u00E9t\u00E9 \u4E00");
  dynamic.SetHint("stack management:nothing", L"dynamic whole text");
  DynamicHints() = &dynamic;
  struct Case {
    const char* hint;
    const wchar_t* expected;
  } cases[] = {
      {"first patient", L"First patient"},
      {"collapse/expand", L"Collapse or expand"},
      {"stack management:hanging protocols", L"Stacks:Hanging protocols (HP)"},
      {"stack management:no_entry here", L"Stacks:no entry here"},
      {"stack management:", L"Stacks:"},
      {"stack management:hanging protocols\\first patient", L"Stacks:Hanging protocols (HP)\\First patient"},
      {"stack management:a b\\\\first patient", L"Stacks:AB\\First patient"},
      {"First patient", L""},                 // letter case counts
      {"Study \xC3\xA9t\xC3\xA9", L"Study \u00E9t\u00E9 \u4E00"},  // a dynamic hint
      {"no entry:hanging protocols", L""},
      {"only key", L""},                      // an empty value is no text
  };
  for (const auto& c : cases) {
    TORNHint hint(nullptr);
    hint.SetHintText(c.hint);
    EXPECT_EQ(hint.CurrentText(), c.expected) << c.hint;
    EXPECT_EQ(hint.Caption(), platform::Utf8ToWide(c.hint)) << c.hint;
  }
}

TEST_F(HintWindowTest, WithoutPageOnlyTheDynamicHints) {
  HintPageText().clear();
  TORNDynamicHints dynamic;
  dynamic.SetHint("first patient", L"dynamic");
  TORNHint without(nullptr);
  without.SetHintText("first patient");
  EXPECT_EQ(without.CurrentText(), L"");
  DynamicHints() = &dynamic;
  TORNHint with(nullptr);
  EXPECT_FALSE(with.PageLoaded());
  with.SetHintText("first patient");
  EXPECT_EQ(with.CurrentText(), L"dynamic");
}

TEST(DynamicHintsTest, ExactKeys) {
  TORNDynamicHints hints;
  hints.SetHint("Title", L"one");
  hints.SetHint("Title", L"two");
  ASSERT_NE(hints.GetHint("Title"), nullptr);
  EXPECT_STREQ(hints.GetHint("Title"), L"two");
  EXPECT_EQ(hints.GetHint("title"), nullptr);
  EXPECT_EQ(hints.GetHint("Title "), nullptr);
}

TEST_F(HintWindowTest, RightToLeftFromThePage) {
  struct Case {
    const wchar_t* attribute;
    bool rtl;
  } cases[] = {{L" right_to_left=\"1\"", true}, {L" right_to_left=\"true\"", true},
               {L" right_to_left=\"0\"", false}, {L"", false}};
  for (const auto& c : cases) {
    HintPageText() = test::Page(L"GUI_HINTS", L"<first_patient value=\"First\"/>", c.attribute);
    TORNHint hint(nullptr);
    EXPECT_EQ(hint.RightToLeft(), c.rtl) << std::string(c.attribute, c.attribute + wcslen(c.attribute));
    hint.ActivateHint(Rect(10, 10, 40, 20), "first patient");
    Application->ProcessMessages();
    hint.Repaint();
    Application->ProcessMessages();
    EXPECT_EQ(hint.LastDrawFlags() & DT_RTLREADING, c.rtl ? DT_RTLREADING : 0u);
    hint.ReleaseHandle();
  }
}

TEST_F(HintWindowTest, PaintedSizeIsTheTextPlusMargins) {
  for (const char* text : {"first patient", "not in the page"}) {
    TORNHint hint(nullptr);
    hint.ActivateHint(Rect(10, 10, 13, 13), text);
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    TBitmap surface;
    surface.SetSize(4, 4);
    TCanvas& measure = *surface.Canvas();
    measure.Font = hint.Font;
    const std::wstring shown = hint.CurrentText().empty() ? hint.Caption() : hint.CurrentText();
    const TPoint extent = measure.TextExtent(shown);
    EXPECT_EQ(hint.Width(), extent.x + 20) << text;
    EXPECT_EQ(hint.Height(), extent.y + 10) << text;
    hint.ReleaseHandle();
  }
}

TEST_F(HintWindowTest, ProgramEntryInstallsTheHintWindowClass) {
  auto previous = Application->HintWindowClass;
  Application->HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TORNHint(owner); };
  std::unique_ptr<THintWindow> window(Application->HintWindowClass(nullptr));
  window->SetHintText("collapse/expand");
  ASSERT_NE(dynamic_cast<TORNHint*>(window.get()), nullptr);
  EXPECT_EQ(static_cast<TORNHint*>(window.get())->CurrentText(), L"Collapse or expand");
  Application->HintWindowClass = previous;
}

}  // namespace
}  // namespace app
