#include "app/widgets/InfoToolbar.h"

#include <cmath>

#include "app/support/PropertiesPage.h"

namespace app {

TfrmInfoToolbar::TfrmInfoToolbar(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  SetCaption(L"Tools");
  SetColor(clWhite);
  SetBounds(0, 0, 281, 30);
  SetAlphaBlendValue(160);
  SetAlphaBlend(true);
  pnlTools = new TPanel(this);
  pnlTools->SetParent(this);
  pnlTools->SetColor(clWhite);
  pnlTools->SetAlign(alClient);
  sbFreeMatrix = new TSpeedButton(this);
  sbFreeMatrix->SetParent(pnlTools);
  sbFreeMatrix->Flat = true;
  sbFreeMatrix->SetBounds(0, 0, 28, 28);
  sbFreeMatrix->SetHint(L"place to cell");
  sbFreeMatrix->ShowHint = true;
  cbLossyMode = new TSpeedButton(this);
  cbLossyMode->SetParent(pnlTools);
  cbLossyMode->Flat = true;
  cbLossyMode->SetBounds(30, 0, 28, 28);
  cbLossyMode->SetHint(L"switch lossy mode");
  cbLossyMode->GroupIndex = 1;
  cbLossyMode->AllowAllUp = true;
  cbLossyMode->SetEnabled(false);
  sbAddClone = new TSpeedButton(this);
  sbAddClone->SetParent(pnlTools);
  sbAddClone->SetBounds(255, 3, 23, 22);
  sbAddClone->Anchors = akTop | akRight;
  sbAddClone->Hide();
  sbAddClone->OnClick = [this](TObject* s) { sbAddCloneClick(s); };
  tbStackClones = new TPanel(this);
  tbStackClones->SetParent(pnlTools);
  tbStackClones->SetBounds(60, 0, 191, 28);
  tbStackClones->Anchors = akLeft | akTop | akRight;
  tbStackClones->SetCaption(L"1");
  tbStackClones->Hide();
  for (TControl* c : std::initializer_list<TControl*>{this, pnlTools, sbFreeMatrix})
    c->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { FormMouseMove(s, sh, x, y); };
  tmrClose = new TTimer(this);
  tmrClose->SetInterval(100);
  tmrClose->OnTimer = [this](TObject* s) { tmrCloseTimer(s); };
  tmrClose->SetEnabled(true);
}

void TfrmInfoToolbar::ShowAt(int x, int y, double alpha, int width) {
  if (width >= 1) SetWidth(width);
  tmrClose->SetEnabled(false);
  if (alpha > 1.0) alpha = 1.0;
  if (!(alpha >= 0.0)) alpha = 0.0;  // also a value that is not a number
  SetAlphaBlendValue(static_cast<int>(255 * alpha));
  if (!Visible()) {
    SetBounds(x, y, Width(), Height());
    Show();
  }
  tmrClose->SetEnabled(true);
}

void TfrmInfoToolbar::Scale(double factor) {
  auto scaled = [factor](int v) { return static_cast<int>(v * factor); };
  SetBounds(Left(), Top(), scaled(Width()), scaled(Height()));
  sbFreeMatrix->SetBounds(scaled(sbFreeMatrix->Left()), scaled(sbFreeMatrix->Top()), scaled(sbFreeMatrix->Width()),
                          scaled(sbFreeMatrix->Height()));
  cbLossyMode->SetBounds(scaled(cbLossyMode->Left()), cbLossyMode->Top(), scaled(cbLossyMode->Width()),
                         scaled(cbLossyMode->Height()));
}

void TfrmInfoToolbar::UpdateLossyHint() { cbLossyMode->SetHint(cbLossyMode->Down() ? losslessHint_ : lossyHint_); }

void TfrmInfoToolbar::LoadGlyph(TSpeedButton* button, platform::ResourceModuleHandle module,
                                const std::wstring& name) {
  TBitmap glyph;
  // A glyph the images module lacks leaves the button's picture as it was.
  if (!glyph.LoadFromResourceName(module, name)) return;
  button->Glyph()->Assign(glyph);
  button->NumGlyphs = glyph.Height() > 0 && glyph.Width() / glyph.Height() == 4 ? 4 : 1;
  button->GlyphChanged();
}

void TfrmInfoToolbar::ApplyGuiResources(iWIDGET_RESOURCES* resources) {
  if (resources) pnlTools->SetColor(resources->GetColor("cInfo", pnlTools->Color()));
  UpdateLossyHint();
  // Without a record there is no images module to read glyphs from.
  if (!resources) return;
  const std::wstring text = resources->GetText(L"GUI_IMAGES");
  TsgPropertiesPage page;
  if (text.empty() || !page.Init(text, -1) || page.PopErrorFlag()) return;
  const struct {
    const wchar_t* child;
    TSpeedButton* button;
  } glyphs[] = {{L"freematrix", sbFreeMatrix}, {L"lossymode", cbLossyMode}};
  for (const auto& g : glyphs) {
    if (!page.SeekChild(g.child)) continue;
    const std::wstring name = page.GetChildAttribute<std::wstring>(L"image", L"", -1);
    if (!name.empty()) LoadGlyph(g.button, resources->GetImagesModule(), name);
  }
}

void TfrmInfoToolbar::FormMouseMove(TObject*, TShiftState, int, int) {
  tmrClose->SetEnabled(false);
  if (AlphaBlendValue() != 255) SetAlphaBlendValue(255);
  tmrClose->SetEnabled(true);
}

void TfrmInfoToolbar::tmrCloseTimer(TObject*) {
  const TPoint p = GetCursorPos();
  if (PtInRect(BoundsRect(), p)) return;
  if (keepOpen && keepOpen(keepOpenData, p)) return;
  tmrClose->SetEnabled(false);
  Hide();
}

}  // namespace app
