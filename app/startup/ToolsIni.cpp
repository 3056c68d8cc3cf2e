#include "app/startup/ToolsIni.h"

#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"

namespace orn_ini {

namespace {

bool FileExists(const System::AnsiString& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes && !(attributes & platform::attr::Directory);
}

}  // namespace

void TanIniShortCut::Parse(const System::AnsiString& text) {
  const System::AnsiString trimmed = Trim(text);
  if (trimmed.empty()) return;
  const TShortCut shortCut = TextToShortCut(trimmed);
  uint16_t k = 0;
  TShiftState shiftState = 0;
  ShortCutToKey(shortCut, k, shiftState);
  key = k;
  if (k == 0) return;
  ctrl = shiftState & ssCtrl;
  alt = shiftState & ssAlt;
  shift = shiftState & ssShift;
  value = shortCut;
}

System::AnsiString ProgramBaseIniPath() {
  const System::AnsiString exe = platform::ModuleFileName();
  return (exe.size() >= 4 ? exe.substr(0, exe.size() - 4) : System::AnsiString()) + "Base.ini";
}

TanToolsrIni::TanToolsrIni(const System::AnsiString& baseIniPath) {
  if (!FileExists(baseIniPath)) return;
  const std::pair<const char*, TanIniShortCut*> tools[] = {
      {"ZoomShortCut", &zoom_}, {"VoiShortCut", &voi_}, {"PanShortCut", &pan_}, {"NavigationShortCut", &navigation_}};
  for (const auto& [key, record] : tools) {
    TIniFile ini(baseIniPath);
    record->Parse(Trim(ini.ReadString("MAIN TOOLS", key, "")));
    // A text that names no key leaves only this tool without a shortcut.
    if (record->IsEmpty()) record->Clear();
  }
}

bool TanToolsrIni::IsLoaded() const {
  return !zoom_.IsEmpty() && !voi_.IsEmpty() && !pan_.IsEmpty() && !navigation_.IsEmpty();
}

TanMeasurementStatisticsIni::TanMeasurementStatisticsIni(const System::AnsiString& baseIniPath) {
  if (!FileExists(baseIniPath)) return;
  TIniFile ini(baseIniPath);
  min_ = ini.ReadInteger("MEASUREMENT STATISTICS", "Min", 0);
  max_ = ini.ReadInteger("MEASUREMENT STATISTICS", "Max", 0);
  mean_ = ini.ReadInteger("MEASUREMENT STATISTICS", "Mean", 0);
  stdDev_ = ini.ReadInteger("MEASUREMENT STATISTICS", "StdDev", 0);
}

int TanMeasurementStatisticsIni::GetFlags() const {
  if (!IsValid()) return 0;
  return (ShowMin() ? 1 : 0) | (ShowMax() ? 2 : 0) | (ShowMean() ? 4 : 0) | (ShowStdDev() ? 8 : 0);
}

}  // namespace orn_ini
