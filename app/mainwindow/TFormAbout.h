// The About window: a borderless window with a picture, a title strip, a read-only text and a
// button strip. It serves as the start-up question (Yes and Cancel) and, once switched, as the
// About form with one OK button; the title strip drags it.
#pragma once

#include <string>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/TResourceInitialization.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace app {

class TFormAbout : public TForm {
 public:
  explicit TFormAbout(TComponent* owner);

  TPanel* pnlMain;
  TPanel* pnlDesk;
  TImage* iAbout;
  TPanel* pnlCaption;
  TTntLabel* lblAbout;
  TPanel* pnlOkCancel;
  TTntLabel* lblContinue;
  TTntButton* lblOk;
  TTntButton* lblCancell;
  TTntMemo* TntMemo1;

  // Texts of GUI_STRINGS, the body text ABOUTFORM_TEXT, the picture of GUI_IMAGES, the colours
  // and, when the GUI ratio is not 1, the fonts and sizes scaled by it. Null arguments leave
  // what they would have set.
  void ApplyGuiResources(iRESOURCE_INITIALIZATION* resources, const TvsColors* colors, const TvsFonts* fonts);
  // True: the About form (OK only); false: the start-up question (Yes and Cancel).
  void SetAboutMode(bool about);
  bool AboutMode() const { return FAboutMode; }
  const std::wstring& OkText() const { return FOkText; }
  const std::wstring& YesText() const { return FYesText; }

  void lblOkDblClick(TObject* sender);
  void lblCancellDblClick(TObject* sender);
  void pnlCaptionMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void pnlCaptionMouseMove(TObject* sender, TShiftState shift, int x, int y);

 private:
  void ApplyTexts(iRESOURCE_INITIALIZATION* resources);
  void ApplyPicture(iRESOURCE_INITIALIZATION* resources);
  void ApplyColors(const TvsColors& colors);
  void Scale(const TvsFonts& fonts);

  TPoint FDragPoint;
  bool FAboutMode = false;
  std::wstring FOkText = L"Ok";
  std::wstring FYesText = L"Yes";
};

}  // namespace app
