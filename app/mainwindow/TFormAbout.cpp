#include "app/mainwindow/TFormAbout.h"

#include "app/mainwindow/GuiScaling.h"
#include "app/support/PropertiesPage.h"

namespace app {

namespace {

// Lines as a memo counts them: a line break that ends the text opens no further line.
int LineCount(const std::wstring& text) {
  if (text.empty()) return 0;
  int lines = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    if ((text[i] == L'\n' || text[i] == L'\r') && i + 1 < text.size()) ++lines;
  }
  return lines;
}

std::wstring WithoutCarriageReturns(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') continue;
      result += L'\n';
    } else {
      result += text[i];
    }
  }
  return result;
}

enum class Kind { Label, Button, Other };

Kind KindOf(TControl* control) {
  if (dynamic_cast<TLabel*>(control)) return Kind::Label;
  if (dynamic_cast<TButton*>(control)) return Kind::Button;
  return Kind::Other;
}

int Times(int value, double scale) { return static_cast<int>(value * scale); }

// Labels get font, top and left; buttons also width and height; the form and panels only
// width and height.
void ScaleByKind(TControl* control, const TvsFontEntry* font, double scale) {
  const Kind kind = KindOf(control);
  if (kind != Kind::Other && font) {
    control->Font.Name = font->Name;
    control->Font.Size = Times(font->Size, scale);
    control->FontChanged();
  }
  int left = control->Left(), top = control->Top(), width = control->Width(), height = control->Height();
  if (kind != Kind::Other) {
    left = Times(left, scale);
    top = Times(top, scale);
  }
  if (kind != Kind::Label) {
    width = Times(width, scale);
    height = Times(height, scale);
  }
  control->SetBounds(left, top, width, height);
}

}  // namespace

TFormAbout::TFormAbout(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsNone);
  Position = poScreenCenter;
  SetBounds(0, 0, 400, 310);

  pnlMain = new TPanel(this);
  pnlMain->SetParent(this);
  pnlMain->BevelOuter = bvNone;
  pnlMain->SetAlign(alClient);

  pnlDesk = new TPanel(this);
  pnlDesk->SetParent(pnlMain);
  pnlDesk->BevelOuter = bvNone;
  pnlDesk->SetAlign(alClient);

  pnlCaption = new TPanel(this);
  pnlCaption->SetParent(pnlMain);
  pnlCaption->BevelOuter = bvNone;
  pnlCaption->SetBounds(0, 0, 400, 24);
  pnlCaption->SetAlign(alTop);
  pnlCaption->SetCursor(crSizeAll);
  pnlCaption->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    pnlCaptionMouseDown(s, b, sh, x, y);
  };
  pnlCaption->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlCaptionMouseMove(s, sh, x, y); };

  lblAbout = new TTntLabel(this);
  lblAbout->SetParent(pnlCaption);
  lblAbout->SetBounds(8, 4, 120, 16);
  lblAbout->Font.Style = fsBold;
  lblAbout->SetCaption(L"About");

  pnlOkCancel = new TPanel(this);
  pnlOkCancel->SetParent(pnlMain);
  pnlOkCancel->BevelOuter = bvNone;
  pnlOkCancel->SetBounds(0, 270, 400, 40);
  pnlOkCancel->SetAlign(alBottom);

  lblContinue = new TTntLabel(this);
  lblContinue->SetParent(pnlOkCancel);
  lblContinue->SetBounds(8, 4, 220, 32);
  lblContinue->SetWordWrap(true);
  lblContinue->SetCaption(L"Application will start. Do you want to continue?");

  lblOk = new TTntButton(this);
  lblOk->SetParent(pnlOkCancel);
  lblOk->SetBounds(236, 8, 75, 25);
  lblOk->SetCaption(L"Yes");
  lblOk->OnClick = [this](TObject* s) { lblOkDblClick(s); };

  lblCancell = new TTntButton(this);
  lblCancell->SetParent(pnlOkCancel);
  lblCancell->SetBounds(318, 8, 75, 25);
  lblCancell->SetCaption(L"Cancel");
  lblCancell->OnClick = [this](TObject* s) { lblCancellDblClick(s); };

  iAbout = new TImage(this);
  iAbout->SetParent(pnlMain);
  iAbout->SetBounds(0, 24, 400, 120);
  iAbout->Stretch = true;

  TntMemo1 = new TTntMemo(this);
  TntMemo1->SetParent(pnlMain);
  TntMemo1->SetBounds(0, 144, 400, 126);
  TntMemo1->SetReadOnly(true);
  TntMemo1->SetWordWrap(true);
}

void TFormAbout::ApplyGuiResources(iRESOURCE_INITIALIZATION* resources, const TvsColors* colors, const TvsFonts* fonts) {
  if (resources) {
    ApplyTexts(resources);
    ApplyPicture(resources);
  }
  if (colors) ApplyColors(*colors);
  if (fonts && static_cast<double>(fonts->Ratio) != 1.0) Scale(*fonts);
}

void TFormAbout::ApplyTexts(iRESOURCE_INITIALIZATION* resources) {
  const std::wstring page = resources->GetText(L"GUI_STRINGS");
  TsgPropertiesPage strings;
  if (page.empty() || !strings.Init(page, -1)) return;
  auto read = [&](const wchar_t* child, std::wstring* text) {
    if (!strings.SeekChild(child)) return false;
    *text = strings.GetChildAttribute<std::wstring>(L"value", *text, -1);
    return true;
  };
  std::wstring text = lblAbout->Caption();
  if (read(L"about", &text)) lblAbout->SetCaption(text);
  text = lblContinue->Caption();
  if (read(L"continue", &text)) lblContinue->SetCaption(text);
  if (read(L"ok", &FOkText)) lblOk->SetCaption(FOkText);
  // After "ok", so the question shows the Yes text.
  if (read(L"yes", &FYesText)) lblOk->SetCaption(FYesText);
  text = lblCancell->Caption();
  if (read(L"no", &text)) lblCancell->SetCaption(text);

  const std::wstring body = resources->GetText2(L"ABOUTFORM_TEXT");
  TntMemo1->Clear();
  TntMemo1->SetText(WithoutCarriageReturns(body));
  TntMemo1->SetScrollBars(LineCount(body) < 5 ? ssNone : ssVertical);
}

void TFormAbout::ApplyPicture(iRESOURCE_INITIALIZATION* resources) {
  HMODULE images = resources->GetImagesModule();
  const std::wstring page = resources->GetText(L"GUI_IMAGES");
  TsgPropertiesPage pictures;
  if (page.empty() || !pictures.Init(page, -1) || !pictures.SeekChild(L"about")) return;
  const std::wstring name = pictures.GetChildAttribute<std::wstring>(L"image", L"", -1);
  if (!name.empty() && images) {
    iAbout->Picture()->LoadFromResourceName(images, name);
    iAbout->Invalidate();
  }
}

void TFormAbout::ApplyColors(const TvsColors& colors) {
  pnlCaption->SetColor(colors.GetColor(L"cTitle", pnlCaption->Color()));
  pnlOkCancel->SetColor(colors.GetColor(L"cFooter", pnlOkCancel->Color()));
  TntMemo1->SetColor(colors.GetColor(L"cInfo", TntMemo1->Color()));
  pnlMain->SetColor(colors.GetColor(L"cActive", pnlMain->Color()));
  lblContinue->Font.Color = colors.GetColor(L"cAboutText", lblContinue->Font.Color);
  lblContinue->FontChanged();
  lblAbout->Font.Color = colors.GetColor(L"cAboutHeaderText", lblAbout->Font.Color);
  lblAbout->FontChanged();
}

void TFormAbout::Scale(const TvsFonts& fonts) {
  const double r = static_cast<double>(fonts.Ratio);
  ScaleByKind(this, nullptr, r);
  ScaleByKind(lblAbout, &fonts.Title, r);
  ScaleByKind(lblCancell, &fonts.Footer, r);
  ScaleByKind(lblOk, &fonts.Footer, r);
  ScaleByKind(lblContinue, &fonts.Footer, r);
  ScaleByKind(pnlCaption, nullptr, r);
  ScaleByKind(iAbout, nullptr, r);
  ScaleByKind(pnlOkCancel, nullptr, r);
  const int top = iAbout->Top() + iAbout->Height();
  TntMemo1->SetBounds(TntMemo1->Left(), top, TntMemo1->Width(), pnlOkCancel->Top() - top);
  TntMemo1->Font.Name = fonts.Default.Name;
  TntMemo1->Font.Size = Times(fonts.Default.Size, r);
  TntMemo1->FontChanged();
}

void TFormAbout::SetAboutMode(bool about) {
  FAboutMode = about;
  if (about) {
    if (lblContinue->Visible()) lblContinue->Hide();
    if (lblCancell->Visible()) lblCancell->Hide();
    lblOk->SetCaption(FOkText);
  } else {
    if (!lblContinue->Visible()) lblContinue->Show();
    if (!lblCancell->Visible()) lblCancell->Show();
    lblOk->SetCaption(FYesText);
  }
}

void TFormAbout::lblOkDblClick(TObject*) { SetModalResult(mrOk); }

void TFormAbout::lblCancellDblClick(TObject*) { SetModalResult(mrCancel); }

void TFormAbout::pnlCaptionMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
  if (button != mbLeft) return;
  FDragPoint = pnlCaption->ClientToScreen(Point(x, y));
}

void TFormAbout::pnlCaptionMouseMove(TObject*, TShiftState shift, int x, int y) {
  if (!(shift & ssLeft)) return;
  const TPoint now = pnlCaption->ClientToScreen(Point(x, y));
  SetBounds(Left() + now.x - FDragPoint.x, Top() + now.y - FDragPoint.y, Width(), Height());
  FDragPoint = now;
  Repaint();
}

}  // namespace app
