#include "app/mainwindow/TFormLoadingBar.h"

#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"

namespace app {

TFormLoadingBar::TFormLoadingBar(TComponent* owner, const TGuiResources& gui, const System::AnsiString& picturePath,
                                 const std::wstring& caption)
    : TForm(owner) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  Position = poScreenCenter;
  SetBounds(0, 0, 360, 264);

  pnlMain = new TPanel(this);
  pnlMain->SetParent(this);
  pnlMain->BevelOuter = bvNone;
  pnlMain->SetBounds(0, 200, 360, 64);
  pnlMain->SetAlign(alBottom);

  Image = new TImage(this);
  Image->SetParent(this);
  Image->Stretch = true;
  Image->SetAlign(alClient);

  pnlTitle = new TPanel(this);
  pnlTitle->SetParent(pnlMain);
  pnlTitle->BevelOuter = bvNone;
  pnlTitle->SetBounds(0, 0, 360, 20);
  pnlTitle->SetAlign(alTop);

  pnlDesk = new TPanel(this);
  pnlDesk->SetParent(pnlMain);
  pnlDesk->BevelOuter = bvNone;
  pnlDesk->SetAlign(alClient);

  lblCaption = new TTntLabel(this);
  lblCaption->SetParent(pnlTitle);
  lblCaption->SetBounds(6, 3, 340, 14);
  lblCaption->Font.Color = clWhite;
  lblCaption->FontChanged();

  lblInformation = new TLabel(this);
  lblInformation->SetParent(pnlDesk);
  lblInformation->SetBounds(6, 2, 340, 14);
  lblInformation->Font.Color = clWhite;
  lblInformation->FontChanged();

  CGaugeProgres = new TCGauge(this);
  CGaugeProgres->SetParent(pnlDesk);
  CGaugeProgres->SetBounds(6, 20, 348, 18);

  // 1. The caption.
  lblCaption->SetCaption(caption);

  // 2. Colours, an empty information line and an empty gauge.
  if (gui.Colors) {
    pnlMain->SetColor(gui.Colors->GetColor(L"cActive", pnlMain->Color()));
    pnlTitle->SetColor(gui.Colors->GetColor(L"cTitle", pnlTitle->Color()));
    pnlDesk->SetColor(gui.Colors->GetColor(L"cDefault", pnlDesk->Color()));
  }
  lblInformation->SetCaption(L"");
  CGaugeProgres->MinValue = 0;
  CGaugeProgres->MaxValue = 0;
  CGaugeProgres->SetProgress(0);
  if (gui.Colors) {
    CGaugeProgres->BackColor = gui.Colors->GetColor(L"cInfo", CGaugeProgres->BackColor);
    CGaugeProgres->ForeColor = gui.Colors->GetColor(L"cSelected", CGaugeProgres->ForeColor);
  }

  // 3. The main window's control scaling.
  ScaleControl(this, gui.Scale);
  ScaleControl(pnlMain, gui.Scale);
  ScaleControl(pnlTitle, gui.Scale);

  // 4 and 5. Fonts scaled; the gauge also grows.
  const TvsFonts builtIn(nullptr);
  const TvsFonts& fonts = gui.Fonts ? *gui.Fonts : builtIn;
  ApplyScaledFont(CGaugeProgres, fonts.Info, gui.Scale);
  CGaugeProgres->SetBounds(CGaugeProgres->Left(), CGaugeProgres->Top(),
                           static_cast<int>(CGaugeProgres->Width() * gui.Scale),
                           static_cast<int>(CGaugeProgres->Height() * gui.Scale));
  ApplyScaledFont(lblCaption, fonts.Title, gui.Scale);
  ApplyScaledFont(lblInformation, fonts.Default, gui.Scale);

  // 6. The picture, or a bar of only its lines and gauge.
  if (picturePath.empty() || !LoadPicture(picturePath)) SetHeight(Height() - Image->Height());
}

bool TFormLoadingBar::LoadPicture(const System::AnsiString& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  if (attributes == platform::kInvalidFileAttributes || (attributes & platform::attr::Directory)) return false;
  // The kind follows the file's contents: a BMP file or a JPEG picture.
  if (Image->Picture()->LoadFromFile(path)) return true;
  TJPEGImage jpeg;
  if (!jpeg.LoadFromFile(path)) return false;
  jpeg.AssignTo(*Image->Picture());
  Image->Invalidate();
  return true;
}

void TFormLoadingBar::SetCaption(const std::wstring& text) {
  lblCaption->SetCaption(text);
  Repaint();
}

void TFormLoadingBar::SetInfoText(int32_t, int32_t, const char* text) {
  lblInformation->SetCaption(text ? platform::Utf8ToWide(text) : std::wstring());
  Repaint();
}

void TFormLoadingBar::SetProgress(int32_t minimum, int32_t position, int32_t maximum) {
  CGaugeProgres->MinValue = minimum;
  CGaugeProgres->MaxValue = maximum;
  CGaugeProgres->SetProgress(position);
  Repaint();
}

}  // namespace app
