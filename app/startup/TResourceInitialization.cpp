#include "app/startup/TResourceInitialization.h"

#include <algorithm>
#include <cwctype>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/LanguageSettings.h"
#include "platform/core/LastError.h"
#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"

namespace app {

namespace {

std::wstring Wide(const System::AnsiString& text) { return platform::Utf8ToWide(text); }

bool FileExists(const System::AnsiString& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes && !(attributes & platform::attr::Directory);
}

bool IsEmptyRect(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// The folder of a path, without its separator; empty when it has none.
System::AnsiString FolderOf(const System::AnsiString& path) {
  const size_t slash = path.rfind('/');
  return slash == System::AnsiString::npos ? System::AnsiString() : path.substr(0, slash);
}

struct CursorRow {
  const wchar_t* name;
  const wchar_t* fallback;
};

// The screen cursor numbers 1 to 36 of the tools, with the executable's fallback names.
constexpr CursorRow kCursors[36] = {
    {L"CURSOR_MEASUREMENT_RECTANGLE", L"CURSOR_MEASUREMENT_RECTANGLE_DEF"},
    {L"CURSOR_MEASUREMENT_ELLIPSE", L"CURSOR_MEASUREMENT_ELLIPSE_DEF"},
    {L"CURSOR_MEASUREMENT_ANGLE_BETWEEN_LINES", L"CURSOR_MEASUREMENT_ANGLE_BETWEEN_LINES_DEF"},
    {L"CURSOR_MEASUREMENT_ANGLE", L"CURSOR_MEASUREMENT_ANGLE_DEF"},
    {L"CURSOR_MEASUREMENT_DISTANCE", L"CURSOR_MEASUREMENT_DISTANCE_DEF"},
    {L"CURSOR_MEASUREMENT_UP", L"CURSOR_MEASUREMENT_UP_DEF"},
    {L"CURSOR_MAGNIFIER_DOWN", L"CURSOR_MAGNIFIER_DOWN_DEF"},
    {L"CURSOR_MAGNIFIER_UP", L"CURSOR_MAGNIFIER_UP_DEF"},
    {L"CURSOR_NAVIGATOR_DOWN", L"CURSOR_NAVIGATOR_DOWN_DEF"},
    {L"CURSOR_NAVIGATOR_UP", L"CURSOR_NAVIGATOR_UP_DEF"},
    {L"CURSOR_PAN_DOWN", L"CURSOR_PAN_DOWN_DEF"},
    {L"CURSOR_PAN_UP", L"CURSOR_PAN_UP_DEF"},
    {L"CURSOR_VOI_DOWN", L"CURSOR_VOI_DOWN_DEF"},
    {L"CURSOR_VOI_UP", L"CURSOR_VOI_UP_DEF"},
    {L"CURSOR_ZOOM_DOWN", L"CURSOR_ZOOM_DOWN_DEF"},
    {L"CURSOR_ZOOM_UP", L"CURSOR_ZOOM_UP_DEF"},
    {L"CURSOR_MPR_UP", L"CURSOR_MPR_UP_DEF"},
    {L"CURSOR_MPR_POSITION_UP", L"CURSOR_MPR_POSITION_UP_DEF"},
    {L"CURSOR_MPR_POSITION_DOWN", L"CURSOR_MPR_POSITION_DOWN_DEF"},
    {L"CURSOR_MPR_THICKNESS_UP", L"CURSOR_MPR_THICKNESS_UP_DEF"},
    {L"CURSOR_MPR_THICKNESS_DOWN", L"CURSOR_MPR_THICKNESS_DOWN_DEF"},
    {L"CURSOR_MPR_ANIX_UP", L"CURSOR_MPR_ANIX_UP_DEF"},
    {L"CURSOR_MPR_ANIX_DOWN", L"CURSOR_MPR_ANIX_DOWN_DEF"},
    {L"CURSOR_MEASUREMENT_MOVE_UP", L"CURSOR_MEASUREMENT_MOVE_UP_DEF"},
    {L"CURSOR_MEASUREMENT_MOVE_DOWN", L"CURSOR_MEASUREMENT_MOVE_DOWN_DEF"},
    {L"CURSOR_BLENDING_UP", L"CURSOR_BLENDING_UP_DEF"},
    {L"CURSOR_BLENDING_DOWN", L"CURSOR_BLENDING_DOWN_DEF"},
    {L"CURSOR_MEASUREMENT_ARROW", L"CURSOR_MEASUREMENT_ARROW_DEF"},
    {L"CURSOR_MEASUREMENT_TEXT", L"CURSOR_MEASUREMENT_TEXT_DEF"},
    {L"CURSOR_MEASUREMENT_CALLOUT", L"CURSOR_MEASUREMENT_CALLOUT_DEF"},
    {L"CURSOR_MEASUREMENT_DENSITY", L"CURSOR_MEASUREMENT_DENSITY_DEF"},
    {L"CURSOR_MEASUREMENT_POLYGON", L"CURSOR_MEASUREMENT_POLYGON_DEF"},
    {L"CURSOR_TRIANGULATION_UP", L"CURSOR_TRIANGULATION_UP_DEF"},
    {L"CURSOR_TRIANGULATION_DOWN", L"CURSOR_TRIANGULATION_DOWN_DEF"},
    {L"CURSOR_EDGE_ENHANCEMENT_DOWN", L"CURSOR_PAN_DOWN_DEF"},
    {L"CURSOR_EDGE_ENHANCEMENT_UP", L"CURSOR_PAN_UP_DEF"},
};

}  // namespace

std::wstring& HintPageText() {
  static std::wstring text;
  return text;
}

TResourceInitialization::TResourceInitialization()
    : baseIni_(std::make_unique<orn_ini::TsgBaseIni<System::AnsiString>>()) {}

TResourceInitialization::~TResourceInitialization() {
  const HMODULE self = platform::ExecutableModule();
  for (auto& [key, module] : modules_)
    if (module && module != self) platform::FreeResourceModule(module);
  fonts_.reset();
  colors_.reset();
}

void TResourceInitialization::Load(int32_t codePage, const System::AnsiString& prefix) {
  const System::AnsiString exe = platform::ModuleFileName();
  const System::AnsiString base = exe.size() >= 4 ? exe.substr(0, exe.size() - 4) : System::AnsiString();
  System::AnsiString iniName, baseIniName;
  if (prefix.empty()) {
    iniName = base + ".ini";
    baseIniName = base + "Base.ini";
  } else {
    const System::AnsiString folder = FolderOf(base) + "/";
    iniName = folder + prefix + ".ini";
    baseIniName = folder + prefix + "Base.ini";
  }
  baseIni_->Load(baseIniName);

  const HMODULE self = platform::ExecutableModule();
  if (codePage == -1) codePage = 0;  // the ANSI code page, resolved by the text stores

  desktopRect_ = TRect();
  desktop_.Refresh();
  iMONITORS& monitors = desktop_.GetMonitors();
  {
    TRect primary;
    if (monitors.GetPrimary().GetMonitorRect(&primary)) desktopRect_ = primary;
  }
  dialogRect_ = desktopRect_;

  modules_.clear();
  guiDefaults_.clear();
  studyStatus_.clear();
  calibration_.clear();
  defaultCalibrationUnit_.clear();
  pages_.Clear();
  texts_.Clear();
  versions_.Clear();
  versions_.AddModule(Wide(exe), self);

  if (FileExists(iniName)) {
    TIniFile ini(iniName);
    // Placement on the monitors.
    TRect& r = desktopRect_;
    const int top = ini.ReadInteger("MULTIMONITOR", "Top", 0);
    const int left = ini.ReadInteger("MULTIMONITOR", "Left", 0);
    int k = monitors.IndexFromPoint(TPoint{left, top});
    monitorCount_ = 1;
    const int m = ini.ReadInteger("MULTIMONITOR", "Monitor", 0) - 1;
    if (m >= 0) {
      if (monitors.GetMonitor(m).GetMonitorRect(&r)) k = m;
      r.Top += top;
      r.Left += left;
    } else if (k >= 0) {
      monitors.GetMonitor(k).GetMonitorRect(&r);
      r.Top = top;
      r.Left = left;
    }
    const int width = ini.ReadInteger("MULTIMONITOR", "Width", 0);
    const int height = ini.ReadInteger("MULTIMONITOR", "Height", 0);
    if (width > 0) r.Right = r.Left + width;
    if (height > 0) r.Bottom = r.Top + height;
    if (width <= 0) {
      const int n = monitors.GetCount();
      int count = ini.ReadInteger("MULTIMONITOR", "MonitorCount", n);
      if (n - k < count) count = n - k;
      if (count > 0) {
        monitorCount_ = count;
        const int last = k + count - 1;
        TRect edge;
        if (monitors.GetMonitor(last).GetMonitorRect(&edge)) r.Right = edge.Right;
        if (height <= 0)
          for (int i = k; i <= last; ++i)
            if (monitors.GetMonitor(i).GetMonitorRect(&edge) && edge.Bottom > r.Bottom) r.Bottom = edge.Bottom;
      }
    }
    if (IsEmptyRect(r))
      r = TRect{0, 0, GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
    TRect kRect;
    dialogRect_ = (k >= 0 && monitors.GetMonitor(k).GetMonitorRect(&kRect)) ? kRect : r;

    // Resource modules, the language module among them.
    const System::AnsiString exeFolder = FolderOf(exe);
    TStringList keys;
    ini.ReadSection("GUI", keys);
    for (int i = 0; i < keys.Count(); ++i) {
      const System::AnsiString key = keys.Strings[i];
      System::AnsiString value = ini.ReadString("GUI", key, "");
      if (value.find("Lingopack") != System::AnsiString::npos) {
        languageDll_ = value;
        if (ini.ReadInteger("GUI", "LanguageSelection", 0) != 0) {
          System::AnsiString chosen = value;
          bool doNotShow = false;
          if (ShowLanguageSettings(&chosen, &doNotShow, &dialogRect_)) {
            try {
              if (chosen != value) {
                value = chosen;
                languageDll_ = chosen;
                ini.WriteString("GUI", key, chosen);
              }
              if (doNotShow) ini.WriteInteger("GUI", "LanguageSelection", 0);
            } catch (...) {
              // The choice holds for this run even when it cannot be kept.
            }
          }
        }
      }
      if (value.empty() || key == "LanguageSelection") continue;
      // Only a module file lying beside the program is loaded: a bare file name, or a full
      // path into the program's folder. Other values ("1", paths elsewhere) are no modules.
      const System::AnsiString folder = FolderOf(value);
      if (!folder.empty() && folder != exeFolder) {
        ReportMissingModule(Wide(key), Wide(value));
        continue;
      }
      const System::AnsiString path = exeFolder + "/" + (folder.empty() ? value : value.substr(folder.size() + 1));
      if (!FileExists(path)) {
        ReportMissingModule(Wide(key), Wide(path));
        continue;
      }
      HMODULE module = platform::LoadResourceModule(path);
      if (!module) {
        ReportMissingModule(Wide(key), Wide(path));
        continue;
      }
      const std::wstring wideKey = Wide(key);
      auto found = modules_.find(wideKey);
      if (found != modules_.end() && found->second != self) platform::FreeResourceModule(found->second);
      modules_[wideKey] = module;
      pages_.LoadModuleStrings(module, L"XML", codePage);
      texts_.LoadModuleStrings(module, L"ORN_TEXT", codePage);
      versions_.AddModule(wideKey, module);
    }

    keys.Clear();
    ini.ReadSection("GUI_DEFAULTS", keys);
    for (int i = 0; i < keys.Count(); ++i)
      guiDefaults_[Wide(keys.Strings[i])] = ini.ReadString("GUI_DEFAULTS", keys.Strings[i], "");

    keys.Clear();
    ini.ReadSection("CALIBRATION", keys);
    for (int i = 0; i < keys.Count(); ++i) {
      const std::wstring unit = Wide(keys.Strings[i]);
      if (unit == L"default") {
        defaultCalibrationUnit_ = Wide(ini.ReadString("CALIBRATION", keys.Strings[i], ""));
        continue;
      }
      // Factors are written with '.' whatever the user's locale.
      double factor = 1.0;
      if (!ParseDecimal(ini.ReadString("CALIBRATION", keys.Strings[i], "1.0"), factor)) factor = 1.0;
      calibration_[unit] = factor;
    }

    keys.Clear();
    ini.ReadSection("STUDY_STATUS", keys);
    for (int i = 0; i < keys.Count(); ++i)
      studyStatus_[Wide(keys.Strings[i])] = ini.ReadString("STUDY_STATUS", keys.Strings[i], "");
  }

  if (modules_.empty()) {
    modules_[textModuleKey_] = self;
    modules_[imagesModuleKey_] = self;
    pages_.LoadModuleStrings(self, L"XML", codePage);
    texts_.LoadModuleStrings(self, L"ORN_TEXT", codePage);
  }

  colors_ = std::make_unique<TsgColors>(this);
  fonts_ = std::make_unique<TsgFonts<TFont>>(this);
}

bool TResourceInitialization::ParseDecimal(const System::AnsiString& text, double& value) {
  const System::AnsiString t = Trim(text);
  if (t.empty()) return false;
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      digits = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else if ((t[i] == 'e' || t[i] == 'E') && digits) {
      size_t j = i + 1;
      if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
      if (j == t.size()) return false;
      for (; j < t.size(); ++j)
        if (t[j] < '0' || t[j] > '9') return false;
      break;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  // strtod follows the C locale, which this program never changes: '.' is its separator.
  value = std::strtod(t.c_str(), nullptr);
  return true;
}

void TResourceInitialization::ReportMissingModule(const std::wstring& key, const std::wstring& path) {
  guard_.SetError(L"TResourceInitialization::Load: the module " + path + L" named by [GUI] " + key +
                      L" is not a module beside the program.",
                  static_cast<int32_t>(platform::GetLastError()));
}

void TResourceInitialization::LoadHints() { HintPageText() = GetText(L"GUI_HINTS"); }

void TResourceInitialization::LoadCursors() {
  const HMODULE self = platform::ExecutableModule();
  auto images = modules_.find(imagesModuleKey_);
  const HMODULE source = images != modules_.end() ? images->second : self;
  for (int i = 0; i < 36; ++i) {
    std::shared_ptr<QCursor> cursor = LoadCursorResource(source, kCursors[i].name);
    if (!cursor) cursor = LoadCursorResource(self, kCursors[i].fallback);
    if (!cursor && i >= 27 && i <= 30) cursor = LoadCursorResource(self, kCursors[i].name);
    Screen->SetCursorHandle(static_cast<TCursor>(i + 1), cursor);
  }
}

std::wstring TResourceInitialization::GetText(const std::wstring& name) { return pages_.GetString(name); }
std::wstring TResourceInitialization::GetText2(const std::wstring& name) { return texts_.GetString(name); }

HMODULE TResourceInitialization::GetModule(const std::wstring& key) {
  auto found = modules_.find(key);
  return found != modules_.end() ? found->second : platform::ExecutableModule();
}
HMODULE TResourceInitialization::GetTextModule() { return GetModule(textModuleKey_); }
HMODULE TResourceInitialization::GetImagesModule() { return GetModule(imagesModuleKey_); }

TsgFonts<TFont>* TResourceInitialization::GetFonts() { return fonts_.get(); }
TsgColors* TResourceInitialization::GetColors() { return colors_.get(); }
TsgVersionInfoSet<std::wstring>* TResourceInitialization::GetVersionInfoSet() { return &versions_; }

bool TResourceInitialization::GetDesktopRect(TRect* rect) {
  if (!rect) return false;
  *rect = desktopRect_;
  return true;
}

void TResourceInitialization::GetCalibrationFactors(TCalibrationFactors& factors) {
  factors.clear();
  factors.insert(calibration_.begin(), calibration_.end());
}

std::wstring TResourceInitialization::GetDefaultCalibrationUnit() { return defaultCalibrationUnit_; }
System::AnsiString TResourceInitialization::GetLanguageDll() { return languageDll_; }
orn_ini::TsgBaseIni<System::AnsiString>* TResourceInitialization::GetBaseIniCache() { return baseIni_.get(); }
int TResourceInitialization::GetMonitorTotal() { return desktop_.GetMonitors().GetCount(); }
int TResourceInitialization::GetMonitorCount() { return monitorCount_; }

int TResourceInitialization::GetMonitorAt(const TPoint& point, TRect* rect) {
  iMONITORS& monitors = desktop_.GetMonitors();
  const int index = monitors.IndexFromPoint(point);
  if (index < 0) return index;
  TRect copy;
  if (!monitors.GetMonitor(index).GetMonitorRect(&copy)) return -1;
  if (rect) *rect = copy;
  return index;
}

bool TResourceInitialization::GetMonitorRectAt(int index, TRect* rect) {
  if (index < 0 || !rect) return false;
  return desktop_.GetMonitors().GetMonitor(index).GetMonitorRect(rect);
}

System::AnsiString TResourceInitialization::GetGuiDefault(const std::wstring& key, const System::AnsiString& fallback) {
  auto found = guiDefaults_.find(key);
  return found != guiDefaults_.end() ? found->second : fallback;
}

int TResourceInitialization::GetGuiDefaultInt(const std::wstring& key, int fallback) {
  auto found = guiDefaults_.find(key);
  if (found == guiDefaults_.end()) return fallback;
  return StrToIntDef(found->second, fallback);
}

bool TResourceInitialization::GetGuiDefaultBool(const std::wstring& key, bool fallback) {
  auto found = guiDefaults_.find(key);
  if (found == guiDefaults_.end()) return fallback;
  return IsTrueWord(found->second);
}

bool TResourceInitialization::IsTrueWord(const System::AnsiString& value) {
  // Blanks and control characters at both ends do not count.
  size_t begin = 0, end = value.size();
  while (begin < end && static_cast<unsigned char>(value[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(value[end - 1]) <= ' ') --end;
  const System::AnsiString word = value.substr(begin, end - begin);
  static const char* const kTrue[] = {"TRUE", "true", "True", "YES", "yes", "Yes", "1"};
  return std::any_of(std::begin(kTrue), std::end(kTrue), [&](const char* t) { return word == t; });
}

std::wstring TResourceInitialization::GetStudyStatusSetting(const std::wstring& key, const std::wstring& fallback) {
  auto found = studyStatus_.find(key);
  if (found == studyStatus_.end() || found->second.empty()) return fallback;
  return Wide(found->second);
}

bool TResourceInitialization::DrawFileIcon(const System::AnsiString& path, int index, int width, int height,
                                           TBitmap* bitmap) {
  if (path.empty()) return false;
  return ::DrawSmallFileIcon(path, index, width, height, bitmap);
}

}  // namespace app
