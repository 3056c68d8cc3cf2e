// Shows the owner-drawn popup with the item painter's colours, the study-status drop-down and
// the free-matrix chooser on the screen, points at an entry of each with the real pointer
// (xdotool, when there is one) and saves a screenshot of each into the folder given.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "app/support/PropertiesBag.h"
#include "app/support/PropertiesPage.h"
#include "app/widgets/FreeMatrixControl.h"
#include "app/widgets/StudyStatusControl.h"
#include "app/widgets/tests/IconFile.h"
#include "platform/vcl/SysUtils.h"
#include "platform/windows/Application.h"

namespace {

using namespace app;

// The start-up record as far as these windows read it, from the English module.
class ModuleResources : public iWIDGET_RESOURCES {
 public:
  explicit ModuleResources(platform::ResourceModuleHandle module) : module_(module) {
    colors_.Init(GetText(L"GUI_COLORS"), -1);
  }
  TColor GetColor(const std::string& name, TColor fallback) override {
    if (!colors_.SeekChild(std::wstring(name.begin(), name.end()))) return fallback;
    const std::wstring value = colors_.GetChildAttribute<std::wstring>(L"value", L"", -1);
    if (!value.empty()) {
      try {
        return StringToColor(std::string(value.begin(), value.end()));
      } catch (const EConvertError&) {
        return fallback;
      }
    }
    const int r = colors_.GetChildAttribute<int32_t>(L"red", 0, -1), g = colors_.GetChildAttribute<int32_t>(L"green", 0, -1),
              b = colors_.GetChildAttribute<int32_t>(L"blue", 0, -1);
    return r | g << 8 | b << 16;
  }
  std::wstring GetText(const std::wstring& page) override {
    platform::ResourceHandle resource = platform::FindResource(module_, page, L"XML");
    if (!resource) return L"";
    return DecodeResourceText(platform::LoadResource(module_, resource), platform::SizeofResource(module_, resource));
  }
  platform::ResourceModuleHandle GetImagesModule() override { return module_; }
  std::wstring GetStudyStatusSetting(const std::wstring&, const std::wstring& fallback) override { return fallback; }

 private:
  platform::ResourceModuleHandle module_;
  TsgPropertiesPage colors_;
};

void Pump(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < until) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Moves the real pointer where a display server runs, else the platform's own.
void PointAt(int x, int y) {
  const std::string command = "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " 2>/dev/null";
  if (std::getenv("DISPLAY") == nullptr || std::system(command.c_str()) != 0) SetCursorPos(x, y);
  Pump(400);
}

bool Save(const std::string& folder, const char* name, const TRect& area) {
  const std::string path = folder + "/" + name;
  const bool ok = SaveScreenImage(path, area);
  std::printf("%s %s\n", ok ? "saved" : "cannot write", path.c_str());
  return ok;
}

// The height of each entry as the menu measures it.
int EntryTop(TMenuItem* root, int index) {
  TBitmap scratch;
  int top = 0;
  for (int i = 0; i < index; ++i) {
    int width = 120, height = root->Items(i)->IsLine() ? 8 : 20;
    if (root->Items(i)->OnMeasureItem) root->Items(i)->OnMeasureItem(root->Items(i), scratch.Canvas(), width, height);
    top += height;
  }
  return top;
}

struct NoOwner {
  void OnCheckItem(const std::string&, int, bool) {}
  void OnRadioItem(const std::string&, int, bool) {}
  void OnMenuItem(const std::string&, int) {}
};

bool PopupScene(ModuleResources& resources, const std::string& folder, const std::string& icons) {
  TForm form(nullptr);
  form.SetCaption(L"Item painter");
  form.SetBounds(40, 40, 420, 300);
  TTntPopupMenu menu(nullptr);
  menu.OwnerDraw = true;
  NoOwner owner;
  TVCLDynamicPopup<NoOwner> popup(&owner);
  popup.SetResources(&resources);
  TVCLBitmapSet pictures;
  TBitmap icon;
  LoadIconFile(icons + "/report.ico", icon);
  TBitmap picture;
  picture.SetSize(icon.Width(), icon.Height());
  picture.Canvas()->Draw(0, 0, icon);
  pictures.AddBitmap("normal", &picture);
  popup.AddCheckItem("", L"Show overlay", L"", 1, nullptr, 0, true, true);
  popup.AddCheckItem("", L"Show ruler", L"", 2, nullptr, 0, true, false);
  popup.AddDivider("");
  const int group = popup.NextGroupIndex();
  popup.AddRadioItem("", L"One by one", L"", 3, nullptr, 0, true, true, static_cast<uint8_t>(group));
  popup.AddRadioItem("", L"Two by two", L"", 4, nullptr, 0, true, false, static_cast<uint8_t>(group));
  popup.AddMenuItem("", L"Report", L"", 5, &pictures, ShortCut('R', ssCtrl), true);
  popup.AddMenuItem("", L"Print (not available)", L"", 6, nullptr, 0, false);
  popup.AttachTo(menu.Items());
  form.Show();
  Pump(300);
  const TPoint at = form.ClientToScreen(Point(30, 30));
  menu.Popup(at.x, at.y);
  Pump(300);
  // Point at "Two by two" so the picture shows the hot colours.
  PointAt(at.x + 60, at.y + 4 + EntryTop(menu.Items(), 4) + 10);
  const bool ok = Save(folder, "popup_item_painter.png", Rect(30, 20, 480, 360));
  popup.Clear();
  return ok;
}

bool StudyStatusScene(ModuleResources& resources, const std::string& folder, const std::string& icons) {
  TForm form(nullptr);
  form.SetCaption(L"Study status");
  form.SetBounds(40, 40, 420, 300);
  TToolBar bar(nullptr);
  bar.ButtonWidth = 90;
  bar.ShowCaptions = true;
  bar.SetParent(&form);
  bar.SetHeight(30);
  bar.SetAlign(alTop);
  TToolButton button(nullptr);
  button.SetParent(&bar);
  button.SetStyle(tbsDropDown);
  button.SetCaption(L"Status");
  TTntPopupMenu menu(nullptr);
  menu.OwnerDraw = true;
  button.DropdownMenu = &menu;
  TStudyStatusControl control;
  control.ReadOpenCloseStatus(&resources);
  const std::wstring folderWide(icons.begin(), icons.end());
  control.LoadStatuses(
      L"<Statuses>"
      L"<Status StatusID=\"2\" StatusName=\"New\" DisplayName=\"New\" IconFileName=\"new.ico\"/>"
      L"<Status StatusID=\"4\" StatusName=\"Read\" DisplayName=\"Read\" IconFileName=\"read.ico\"/>"
      L"<Status StatusID=\"6\" StatusName=\"In review\" DisplayName=\"In review\" IconFileName=\"review.ico\"/>"
      L"<Status StatusID=\"8\" StatusName=\"Reported\" DisplayName=\"Reported\" IconFileName=\"report.ico\"/>"
      L"<Status StatusID=\"9\" StatusName=\"Archived\" DisplayName=\"Archived\" Manual=\"false\"/>"
      L"</Statuses>",
      folderWide);
  control.LoadStudyStates(L"<Studies><Study StudyUID=\"1.2.3\" StatusID=\"4\"/></Studies>");
  control.AttachButton(&button);
  control.SelectStudy("1.2.3");  // the default opening rule: 4 becomes 6
  control.SetStudyStatus("1.2.3", 6);
  button.SetHint(control.GetHint());
  form.Show();
  Pump(300);
  const TPoint at = button.ClientToScreen(Point(0, button.Height()));
  menu.Popup(at.x, at.y);
  Pump(300);
  PointAt(at.x + 60, at.y + 4 + EntryTop(menu.Items(), 3) + 12);  // "Reported"
  const bool ok = Save(folder, "study_status_dropdown.png", Rect(30, 20, 480, 360));
  control.Popup().Clear();
  return ok;
}

bool FreeMatrixScene(ModuleResources& resources, const std::string& folder) {
  TFreeMatrixControl chooser(nullptr, true, 3, 4);
  chooser.ApplyGuiResources(&resources);
  for (int cell : {0, 1, 5}) chooser.SetCellState(cell, true);
  chooser.SetBounds(80, 80, chooser.Width(), chooser.Height());
  chooser.Show();
  Pump(300);
  // Point at row 2, column 3.
  const TPoint cell = chooser.pbCells->ClientToScreen(Point(4 + 2 * 44 + 20, 4 + 44 + 20));
  PointAt(cell.x, cell.y);
  return Save(folder, "free_matrix_chooser.png",
              Rect(60, 60, 100 + chooser.Width(), 100 + chooser.Height()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: widget_screens <screenshot folder>\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  const std::string folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::string icons = (std::filesystem::temp_directory_path() / ("status_icons_" + std::to_string(std::rand()))).string();
  std::filesystem::create_directories(icons);
  test::WriteIcon(icons + "/new.ico", 16, 0xE0A040);
  test::WriteIcon(icons + "/read.ico", 16, 0x40C040);
  test::WriteIcon(icons + "/review.ico", 16, 0x40A0F0);
  test::WriteIcon(icons + "/report.ico", 16, 0x4040E0);
  platform::ResourceModuleHandle module = platform::LoadResourceModule("Lingopack_English.dll");
  if (!module) {
    std::fprintf(stderr, "Lingopack_English.dll not found\n");
    return 1;
  }
  int failures = 0;
  {
    ModuleResources resources(module);
    failures += !PopupScene(resources, folder, icons);
    failures += !StudyStatusScene(resources, folder, icons);
    failures += !FreeMatrixScene(resources, folder);
  }
  platform::FreeResourceModule(module);
  std::filesystem::remove_all(icons);
  return failures == 0 ? 0 : 1;
}
