// Shows the program's hint window over a small form, with the English module's hint page and
// colours, for a few seconds: the test run takes a screenshot of it under Xvfb.
#include <fstream>
#include <string>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/HintWindow.h"
#include "app/startup/TResourceInitialization.h"
#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  platform::Application application(argc, argv, true);
  const std::string exe = platform::ModuleFileName();
  const std::string prefix = "hint_demo_" + std::to_string(platform::CurrentProcessId());
  const std::string ini = exe.substr(0, exe.rfind('/') + 1) + prefix + ".ini";
  std::ofstream(ini) << "[GUI]\nTextDLL=Lingopack_English.dll\n";
  app::TResourceInitialization record;
  record.Load(-1, prefix);
  std::remove(ini.c_str());
  record.LoadHints();
  app::TvsColors colors(&record);
  app::HintColors() = {colors.GetColor(L"cTitle", 0), colors.GetColor(L"cTitle", 0),
                       colors.GetColor(L"cInfo", 0xFFFFFF)};

  TForm form(nullptr);
  form.SetCaption(L"Hint demo");
  form.SetBounds(40, 40, 420, 200);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(20, 20, 380, 20);
  label->SetCaption(L"Hints of the English module in the program's colours:");
  form.Show();

  app::TORNHint plain(nullptr), composed(nullptr), missing(nullptr);
  plain.ActivateHint(Rect(80, 110, 81, 111), "Open DICOMDIR");
  composed.ActivateHint(Rect(80, 150, 81, 151), "Stack matrix:Zoom\\pan tool");
  missing.ActivateHint(Rect(80, 190, 81, 191), "a hint without entry");

  TTimer done(nullptr);
  done.SetInterval(argc > 1 ? std::stoi(argv[1]) : 4000);
  done.OnTimer = [](TObject*) { Application->Terminate(); };
  Application->Run();
  return 0;
}
