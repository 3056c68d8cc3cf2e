// The About window with real widgets: texts of GUI_STRINGS, the body text and its scroll bar,
// the picture of the English module, colours, scaling by the GUI ratio, the two modes, the
// buttons' modal results and dragging by the title strip.
#include <gtest/gtest.h>

#include "app/mainwindow/TFormAbout.h"
#include "app/mainwindow/tests/FakeStartup.h"
#include "platform/resources/ResourceModule.h"

namespace app {
namespace {

using test::FakeColors;
using test::FakeStartup;

std::wstring Page(const std::wstring& children) { return L"<GUI_STRINGS>" + children + L"</GUI_STRINGS>"; }

TEST(FormAboutTest, TextsComeFromTheStringsPage) {
  const struct {
    const char* what;
    std::wstring page;
    std::wstring about, question, okQuestion, okAbout, cancel;
  } cases[] = {
      {"no page", L"", L"About", L"Application will start. Do you want to continue?", L"Yes", L"Ok", L"Cancel"},
      {"unparsable page", L"<GUI_STRINGS><about value=\"X\">", L"About",
       L"Application will start. Do you want to continue?", L"Yes", L"Ok", L"Cancel"},
      {"every text", Page(L"<about value=\"Info\"/><continue value=\"Go on?\"/><ok value=\"Fine\"/>"
                          L"<yes value=\"Sure\"/><no value=\"Stop\"/>"),
       L"Info", L"Go on?", L"Sure", L"Fine", L"Stop"},
      // Without "yes" the question's button shows the page's "ok" text.
      {"ok without yes", Page(L"<ok value=\"Fine\"/>"), L"About", L"Application will start. Do you want to continue?",
       L"Fine", L"Fine", L"Cancel"},
      {"yes without ok", Page(L"<yes value=\"Sure\"/>"), L"About", L"Application will start. Do you want to continue?",
       L"Sure", L"Ok", L"Cancel"},
      {"element without value keeps the text", Page(L"<about/><no/>"), L"About",
       L"Application will start. Do you want to continue?", L"Yes", L"Ok", L"Cancel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeStartup startup;
    if (!c.page.empty()) startup.pages[L"GUI_STRINGS"] = c.page;
    TFormAbout form(nullptr);
    form.ApplyGuiResources(&startup, nullptr, nullptr);
    EXPECT_EQ(form.lblAbout->Caption(), c.about);
    EXPECT_EQ(form.lblContinue->Caption(), c.question);
    EXPECT_EQ(form.lblOk->Caption(), c.okQuestion);
    EXPECT_EQ(form.lblCancell->Caption(), c.cancel);
    form.SetAboutMode(true);
    EXPECT_EQ(form.lblOk->Caption(), c.okAbout);
    // Back in the question the button shows the Yes text, whatever the page held.
    form.SetAboutMode(false);
    EXPECT_EQ(form.lblOk->Caption(), form.YesText());
  }
}

TEST(FormAboutTest, BodyTextGetsAScrollBarFromFiveLines) {
  const struct {
    std::wstring text;
    TScrollStyle bars;
    std::wstring shown;
  } cases[] = {
      {L"", ssNone, L""},
      {L"one", ssNone, L"one"},
      {L"1\r\n2\r\n3\r\n4", ssNone, L"1\n2\n3\n4"},
      {L"1\r\n2\r\n3\r\n4\r\n", ssNone, L"1\n2\n3\n4\n"},  // a closing line break opens no line
      {L"1\r\n2\r\n3\r\n4\r\n5", ssVertical, L"1\n2\n3\n4\n5"},
      {L"1\n\n\n\n5", ssVertical, L"1\n\n\n\n5"},  // empty lines count
      {L"1\r2\r3\r4\r5\r6", ssVertical, L"1\n2\n3\n4\n5\n6"},
  };
  for (const auto& c : cases) {
    FakeStartup startup;
    startup.pages[L"GUI_STRINGS"] = Page(L"");
    startup.texts[L"ABOUTFORM_TEXT"] = c.text;
    TFormAbout form(nullptr);
    form.TntMemo1->SetText(L"left from before");
    form.ApplyGuiResources(&startup, nullptr, nullptr);
    EXPECT_EQ(form.TntMemo1->ScrollBars(), c.bars) << form.TntMemo1->Text().size();
    EXPECT_EQ(form.TntMemo1->Text(), c.shown);
  }
}

TEST(FormAboutTest, EnglishModuleGivesTextPictureAndBody) {
  HMODULE module = platform::LoadResourceModule("Lingopack_English.dll");
  ASSERT_NE(module, nullptr) << "the English module is built beside the tests";
  {
    FakeStartup startup;
    startup.module = module;
    TFormAbout form(nullptr);
    form.ApplyGuiResources(&startup, nullptr, nullptr);
    EXPECT_EQ(form.lblAbout->Caption(), L"About");
    EXPECT_EQ(form.lblOk->Caption(), L"Yes");
    EXPECT_EQ(form.OkText(), L"Ok");
    EXPECT_EQ(form.iAbout->Picture()->Width(), 400);
    EXPECT_EQ(form.iAbout->Picture()->Height(), 120);
    EXPECT_NE(form.TntMemo1->Text().find(L"Vistrel"), std::wstring::npos);
  }
  platform::FreeResourceModule(module);
}

TEST(FormAboutTest, PictureNeedsPageEntryAndModule) {
  HMODULE module = platform::LoadResourceModule("Lingopack_English.dll");
  ASSERT_NE(module, nullptr);
  const struct {
    const char* what;
    std::wstring page;
    bool withModule;
    int width;
  } cases[] = {
      {"named picture", L"<GUI_IMAGES><about image=\"ABOUT\"/></GUI_IMAGES>", true, 400},
      {"no about entry", L"<GUI_IMAGES><other image=\"ABOUT\"/></GUI_IMAGES>", true, 0},
      {"missing bitmap", L"<GUI_IMAGES><about image=\"NOT_THERE\"/></GUI_IMAGES>", true, 0},
      {"no module", L"<GUI_IMAGES><about image=\"ABOUT\"/></GUI_IMAGES>", false, 0},
      {"broken page", L"<GUI_IMAGES><about image=", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeStartup startup;
    startup.pages[L"GUI_IMAGES"] = c.page;
    startup.pages[L"GUI_STRINGS"] = L"";
    startup.texts[L"ABOUTFORM_TEXT"] = L"";
    if (c.withModule) startup.module = module;
    TFormAbout form(nullptr);
    form.ApplyGuiResources(&startup, nullptr, nullptr);
    EXPECT_EQ(form.iAbout->Picture()->Width(), c.width);
  }
  platform::FreeResourceModule(module);
}

TEST(FormAboutTest, ColoursByNameWithTheControlsColourAsDefault) {
  FakeColors colors;
  colors.colors = {{L"cTitle", 0x010101}, {L"cFooter", 0x020202}, {L"cInfo", 0x030303},
                   {L"cActive", 0x040404}, {L"cAboutText", 0x050505}, {L"cAboutHeaderText", 0x060606}};
  TFormAbout form(nullptr);
  form.ApplyGuiResources(nullptr, &colors, nullptr);
  EXPECT_EQ(form.pnlCaption->Color(), 0x010101);
  EXPECT_EQ(form.pnlOkCancel->Color(), 0x020202);
  EXPECT_EQ(form.TntMemo1->Color(), 0x030303);
  EXPECT_EQ(form.pnlMain->Color(), 0x040404);
  EXPECT_EQ(form.lblContinue->Font.Color, 0x050505);
  EXPECT_EQ(form.lblAbout->Font.Color, 0x060606);

  FakeColors none;
  TFormAbout plain(nullptr);
  const TColor caption = plain.pnlCaption->Color(), text = plain.lblContinue->Font.Color;
  plain.ApplyGuiResources(nullptr, &none, nullptr);
  EXPECT_EQ(plain.pnlCaption->Color(), caption);
  EXPECT_EQ(plain.lblContinue->Font.Color, text);
}

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
Box BoxOf(TControl* c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }
std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.left << "," << b.top << " " << b.width << "x" << b.height << ")";
}

TEST(FormAboutTest, RatioOneChangesNothing) {
  TvsFonts fonts(nullptr);
  fonts.Ratio = 1;
  fonts.Default = {"Courier", 30};
  fonts.Title = {"Courier", 30};
  fonts.Footer = {"Courier", 30};
  TFormAbout form(nullptr);
  TControl* controls[] = {&form, form.lblAbout, form.lblOk, form.lblCancell, form.lblContinue,
                          form.pnlCaption, form.iAbout, form.pnlOkCancel, form.TntMemo1};
  std::vector<Box> before;
  std::vector<TFont> fontsBefore;
  for (TControl* c : controls) {
    before.push_back(BoxOf(c));
    fontsBefore.push_back(c->Font);
  }
  form.ApplyGuiResources(nullptr, nullptr, &fonts);
  for (size_t i = 0; i < std::size(controls); ++i) {
    EXPECT_EQ(BoxOf(controls[i]), before[i]) << i;
    EXPECT_EQ(controls[i]->Font.Name, fontsBefore[i].Name) << i;
    EXPECT_EQ(controls[i]->Font.Size, fontsBefore[i].Size) << i;
  }
}

TEST(FormAboutTest, RatioScalesEachKindOfControl) {
  for (int ratio : {2, 3}) {
    SCOPED_TRACE(ratio);
    TvsFonts fonts(nullptr);
    fonts.Ratio = ratio;
    fonts.Title = {"TitleFace", 9};
    fonts.Footer = {"FooterFace", 7};
    fonts.Default = {"BodyFace", 8};
    TFormAbout form(nullptr);
    const Box form0 = BoxOf(&form), about0 = BoxOf(form.lblAbout), ok0 = BoxOf(form.lblOk),
              cancel0 = BoxOf(form.lblCancell), cont0 = BoxOf(form.lblContinue), image0 = BoxOf(form.iAbout);
    form.ApplyGuiResources(nullptr, nullptr, &fonts);
    // The form: width and height only.
    EXPECT_EQ(form.Width(), form0.width * ratio);
    EXPECT_EQ(form.Height(), form0.height * ratio);
    // Labels: font, top and left.
    // (An auto-sized label fits its text in the new font.)
    EXPECT_EQ(form.lblAbout->Left(), about0.left * ratio);
    EXPECT_EQ(form.lblAbout->Top(), about0.top * ratio);
    EXPECT_EQ(form.lblAbout->Font.Name, "TitleFace");
    EXPECT_EQ(form.lblAbout->Font.Size, 9 * ratio);
    EXPECT_EQ(BoxOf(form.lblContinue), (Box{cont0.left * ratio, cont0.top * ratio, cont0.width, cont0.height}));
    EXPECT_EQ(form.lblContinue->Font.Name, "FooterFace");
    // Buttons: font and all four.
    EXPECT_EQ(BoxOf(form.lblOk), (Box{ok0.left * ratio, ok0.top * ratio, ok0.width * ratio, ok0.height * ratio}));
    EXPECT_EQ(BoxOf(form.lblCancell),
              (Box{cancel0.left * ratio, cancel0.top * ratio, cancel0.width * ratio, cancel0.height * ratio}));
    EXPECT_EQ(form.lblOk->Font.Size, 7 * ratio);
    EXPECT_EQ(form.lblCancell->Font.Name, "FooterFace");
    // Panels and the picture: height (width follows alignment for the strips).
    EXPECT_EQ(form.pnlCaption->Height(), 24 * ratio);
    EXPECT_EQ(form.pnlOkCancel->Height(), 40 * ratio);
    EXPECT_EQ(form.iAbout->Height(), image0.height * ratio);
    EXPECT_EQ(form.iAbout->Width(), image0.width * ratio);
    // The memo fills the gap between the picture and the button strip.
    EXPECT_EQ(form.TntMemo1->Top(), form.iAbout->Top() + form.iAbout->Height());
    EXPECT_EQ(form.TntMemo1->Top() + form.TntMemo1->Height(), form.pnlOkCancel->Top());
    EXPECT_EQ(form.TntMemo1->Font.Name, "BodyFace");
    EXPECT_EQ(form.TntMemo1->Font.Size, 8 * ratio);
  }
}

TEST(FormAboutTest, ModesShowAndHideTheQuestion) {
  TFormAbout form(nullptr);
  EXPECT_FALSE(form.AboutMode());
  EXPECT_TRUE(form.lblContinue->Visible());
  EXPECT_TRUE(form.lblCancell->Visible());
  EXPECT_EQ(form.lblOk->Caption(), L"Yes");
  const struct {
    bool about;
    bool questionShown;
    const wchar_t* ok;
  } steps[] = {{true, false, L"Ok"}, {true, false, L"Ok"}, {false, true, L"Yes"}, {false, true, L"Yes"}, {true, false, L"Ok"}};
  for (const auto& s : steps) {
    form.SetAboutMode(s.about);
    EXPECT_EQ(form.AboutMode(), s.about);
    EXPECT_EQ(form.lblContinue->Visible(), s.questionShown);
    EXPECT_EQ(form.lblCancell->Visible(), s.questionShown);
    EXPECT_TRUE(form.lblOk->Visible());
    EXPECT_EQ(form.lblOk->Caption(), s.ok);
  }
}

TEST(FormAboutTest, ButtonsEndTheModalShowing) {
  const struct {
    bool ok;
    int result;
  } cases[] = {{true, mrOk}, {false, mrCancel}};
  for (const auto& c : cases) {
    TFormAbout form(nullptr);
    TTimer timer(nullptr);
    timer.SetInterval(50);
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      (c.ok ? static_cast<TControl*>(form.lblOk) : form.lblCancell)->Click();
    };
    timer.SetEnabled(true);
    EXPECT_EQ(form.ShowModal(), c.result);
    EXPECT_FALSE(form.Visible());
  }
}

TEST(FormAboutTest, OnlyALeftDragOnTheTitleStripMovesTheWindow) {
  const struct {
    const char* what;
    TMouseButton press;
    TShiftState held;
    int dx, dy;
  } cases[] = {
      {"left drag", mbLeft, ssLeft, 15, -12},
      {"right drag", mbRight, ssRight, 0, 0},
      {"middle drag", mbMiddle, ssMiddle, 0, 0},
      {"move with no button", mbLeft, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFormAbout form(nullptr);
    form.SetBounds(100, 100, form.Width(), form.Height());
    form.pnlCaption->OnMouseDown(form.pnlCaption, c.press, c.held, 20, 10);
    // Two steps: the second move is measured from where the first left the window.
    form.pnlCaption->OnMouseMove(form.pnlCaption, c.held, 30, 5);
    form.pnlCaption->OnMouseMove(form.pnlCaption, c.held, 25, 3);
    EXPECT_EQ(form.Left(), 100 + c.dx);
    EXPECT_EQ(form.Top(), 100 + c.dy);
  }
}

}  // namespace
}  // namespace app
