// contextmenu_demo <png> [--self]: a stand-in frame whose work area carries the stack context
// menu, dressed from the English language module, in zoom and palette-colour mode with five
// palette presets. It tells a driver where to act through <png>.target ("step x y" lines):
// step 1 right-click the work area, step 2 hover "Palette presets", step 3 click the second
// preset. With the palette submenu open it saves a picture to <png>. Exits 0 when the click
// raised the palette event for preset 1. With --self (no display server) it acts itself.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/startup/TResourceInitialization.h"
#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"
#include "viewer/contextmenu/PaletteColorPresets.h"
#include "viewer/contextmenu/TsgStackPopupWrapper.h"

namespace {

std::string Hex(int (*f)(int)) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (int i = 0; i < 256; ++i) {
    const int v = std::max(0, std::min(255, f(i)));
    text += digits[v >> 4];
    text += digits[v & 15];
  }
  return text;
}

void WritePresets(const std::string& path) {
  std::ofstream ini(path);
  auto section = [&](const char* name, int (*r)(int), int (*g)(int), int (*b)(int)) {
    ini << "[" << name << "]\nR-Channel-Data=" << Hex(r) << "\nG-Channel-Data=" << Hex(g) << "\nB-Channel-Data=" << Hex(b)
        << "\n";
  };
  section("Grey", [](int i) { return i; }, [](int i) { return i; }, [](int i) { return i; });
  section("Hot", [](int i) { return i * 3; }, [](int i) { return i * 3 - 255; }, [](int i) { return i * 3 - 510; });
  section("Cool", [](int i) { return i; }, [](int i) { return 255 - i; }, [](int) { return 255; });
  section("Rainbow", [](int i) { return static_cast<int>(255 * std::max(0.0, std::sin(i / 81.0 - 1.2))); },
          [](int i) { return static_cast<int>(255 * std::max(0.0, std::sin(i / 81.0 + 0.3))); },
          [](int i) { return static_cast<int>(255 * std::max(0.0, std::cos(i / 81.0))); });
  section("Bone", [](int i) { return i * 7 / 8 + (i > 190 ? (i - 190) / 2 : 0); },
          [](int i) { return i * 7 / 8 + (i > 95 ? (i - 95) / 4 : 0); }, [](int i) { return i * 7 / 8 + i / 8; });
}

void Target(const std::string& png, int step, TPoint p) {
  std::ofstream(png + ".target") << step << " " << p.x << " " << p.y << "\n";
  std::printf("step %d at %d, %d\n", step, p.x, p.y);
  std::fflush(stdout);
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: contextmenu_demo <png> [--self]\n");
    return 2;
  }
  const std::string png = argv[1];
  const bool self = argc > 2 && std::string(argv[2]) == "--self";
  platform::Application app(argc, argv, true);

  // The start-up record over the English module, as the program loads it.
  const std::string prefix = "contextmenu_demo_" + std::to_string(platform::CurrentProcessId());
  const std::string iniPath = platform::ProgramFolder() + prefix + ".ini";
  std::ofstream(iniPath) << "[GUI]\nTextDLL=Lingopack_English.dll\nImagesDLL=Lingopack_English.dll\n"
                            "LanguageSelection=0\n[GUI_DEFAULTS]\nLinkZoom=1\n";
  app::TResourceInitialization record;
  record.Load(-1, prefix);
  std::remove(iniPath.c_str());

  const std::string presetsPath = platform::ProgramFolder() + prefix + "_palette.ini";
  WritePresets(presetsPath);
  ORN_gui_impl::TanPaletteColorPresetSet<256> presets;
  presets.LoadFromFile(presetsPath);
  std::remove(presetsPath.c_str());

  TForm form(nullptr);
  form.SetCaption(L"Stack context menu demo");
  form.SetBounds(40, 40, 420, 360);
  auto* workArea = new TPanel(&form);
  workArea->SetParent(&form);
  workArea->SetAlign(alClient);
  workArea->SetColor(clBlack);
  workArea->Font.Color = clSilver;
  workArea->FontChanged();
  workArea->SetCaption(L"CT 1 / 120  (right-click for the menu)");
  auto* popup = new TTntPopupMenu(&form);
  TsgStackPopup menu(popup);
  menu.Configure(record);
  menu.SetPaletteColorPresets(presets);

  // The stack window's drawing of a palette item: its preset as a colour bar.
  menu.OnMenuMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
    width = 150;
    height = 18;
  };
  menu.OnMenuDrawItem = [&presets](TObject* sender, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
    auto* item = static_cast<TTntMenuItem*>(sender);
    canvas->Brush.Color = (state & odSelected) ? clHighlight : clMenu;
    canvas->FillRect(rect);
    std::vector<uint32_t> bar;
    const int width = rect.Width() - 2, height = rect.Height() - 2;
    if (!presets.GetAt(static_cast<uint32_t>(item->Tag)).Resample(width, height, bar)) return;
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
      uint8_t* row = bitmap.ScanLine(y);
      for (int x = 0; x < width; ++x) {
        const uint32_t pixel = bar[static_cast<size_t>(y * width + x)];
        row[4 * x] = pixel & 0xFF;
        row[4 * x + 1] = (pixel >> 8) & 0xFF;
        row[4 * x + 2] = (pixel >> 16) & 0xFF;
        row[4 * x + 3] = 255;
      }
    }
    canvas->Draw(rect.Left + 1, rect.Top + 1, bitmap);
  };
  // The window's menu synchronisation when the menu is about to open.
  popup->OnPopup = [&menu](TObject*) {
    menu.GetLinkOptions().SetLinkVisible(true);
    menu.SetMatrixEnabled(true);
    menu.SetFrameState(true, true, false, false, true, true, false, false, false);
    menu.SetMPRModeEnabled(true);
    menu.SetZoomModeChecked(true);
    menu.SetPaletteModeChecked(true);
    menu.RefreshModeDependentItems();
    menu.SetZoomItems(1.5);
  };
  workArea->PopupMenu = popup;
  int chosen = -1;
  menu.OnMenuPalettePreset = [&chosen](TObject* sender) { chosen = static_cast<int>(static_cast<TTntMenuItem*>(sender)->Tag); };

  form.Show();
  WaitUntilExposed(&form, 5000);
  TTntMenuItem* palettes = menu.ItemByName(L"imPalettePresets");
  int step = 0, ticks = 0, openTicks = 0;
  bool saved = false;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject*) {
    ++ticks;
    TRect rect;
    if (step == 0) {
      const TPoint at = workArea->ClientToScreen(Point(workArea->Width() / 3, workArea->Height() / 3));
      Target(png, step = 1, at);
      if (self) popup->Popup(at.x, at.y);
    } else if (step == 1 && popup->Shown() && popup->ShownItemRect(palettes, rect)) {
      Target(png, step = 2, Centre(rect));
      if (self) popup->OpenShownSubmenu(palettes);
    } else if (step == 2 && popup->ShownItemRect(menu.PalettePresetItems()[1], rect) && ++openTicks >= 5) {
      saved = SaveMenuScreenshot(popup, &form, png);
      std::printf("screenshot (%s) %s: %s\n", ScreenPlatformName().c_str(), png.c_str(), saved ? "saved" : "failed");
      Target(png, step = 3, Centre(rect));
      if (self) popup->ClickShownItem(menu.PalettePresetItems()[1]);
    } else if (chosen >= 0 || ticks > 250) {
      Application->Terminate();
    }
  };
  timer.SetEnabled(true);
  Application->Run();
  timer.SetEnabled(false);
  std::printf("palette preset chosen: %d\n", chosen);
  return chosen == 1 && saved ? 0 : 1;
}
