// The info tool bar: a strip of small buttons ("place to cell", the lossy-mode toggle) that
// fades in over a stack tile when the pointer comes near and hides itself once the pointer
// has left both the strip and whatever the owner's keep-open test accepts.
#pragma once

#include <string>

#include "app/widgets/WidgetResources.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace app {

class TfrmInfoToolbar : public TForm {
 public:
  using KeepOpenTest = bool (*)(void* userData, TPoint screenPoint);

  explicit TfrmInfoToolbar(TComponent* owner);
  virtual void ShowAt(int x, int y, double alpha, int width);
  virtual void Scale(double factor);
  virtual void ApplyGuiResources(iWIDGET_RESOURCES* resources);
  virtual void UpdateLossyHint();

  void FormMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void tmrCloseTimer(TObject* sender);
  void sbAddCloneClick(TObject*) {}

  TPanel* pnlTools;
  TSpeedButton* sbFreeMatrix;
  TSpeedButton* cbLossyMode;
  TSpeedButton* sbAddClone;
  TPanel* tbStackClones;
  TTimer* tmrClose;

  // Installed by the owner.
  KeepOpenTest keepOpen = nullptr;
  void* keepOpenData = nullptr;

 private:
  void LoadGlyph(TSpeedButton* button, platform::ResourceModuleHandle module, const std::wstring& name);
  std::wstring lossyHint_ = L"set lossy mode";
  std::wstring losslessHint_ = L"set lossless mode";
};

}  // namespace app
