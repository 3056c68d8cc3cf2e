// The loading bar: a small borderless window, always on top, that shows an optional splash
// picture, a caption line, the file being read and a progress gauge while a file set is read
// or built. The file set drives it through its progress closure (SetProgress) and its per-file
// closure (SetInfoText); every setter repaints the bar before it returns.
#pragma once

#include <cstdint>
#include <string>

#include "app/mainwindow/GuiScaling.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gauges.h"
#include "platform/vcl/StdCtrls.h"

namespace app {

class TFormLoadingBar : public TForm {
 public:
  // gui: the main window's colours, fonts and scale. picturePath: empty for no picture; a
  // missing or unreadable file also leaves the bar without one.
  TFormLoadingBar(TComponent* owner, const TGuiResources& gui, const System::AnsiString& picturePath,
                  const std::wstring& caption);

  TImage* Image;
  TPanel* pnlMain;
  TPanel* pnlDesk;
  TPanel* pnlTitle;
  TTntLabel* lblCaption;
  TLabel* lblInformation;
  TCGauge* CGaugeProgres;

  void SetCaption(const std::wstring& text);
  // count and index are those the file set passes; only the text is shown.
  void SetInfoText(int32_t count, int32_t index, const char* text);
  void SetProgress(int32_t minimum, int32_t position, int32_t maximum);

 private:
  bool LoadPicture(const System::AnsiString& path);
};

}  // namespace app
