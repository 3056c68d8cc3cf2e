#include "viewer/contextmenu/MenuSettingsIni.h"

#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"
#include "platform/files/FileOperations.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"

namespace orn_ini {

namespace {

bool Exists(const System::AnsiString& path, bool folder) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  if (attributes == platform::kInvalidFileAttributes) return false;
  return ((attributes & platform::attr::Directory) != 0) == folder;
}

TShortCut ReadShortCut(TIniFile& ini, const char* section, const char* key) {
  const System::AnsiString text = Trim(ini.ReadString(section, key, ""));
  return text.empty() ? 0 : TextToShortCut(text);
}

}  // namespace

System::AnsiString ProgramIniPath() {
  const System::AnsiString exe = platform::ModuleFileName();
  return (exe.size() >= 4 ? exe.substr(0, exe.size() - 4) : System::AnsiString()) + ".ini";
}

bool TempFolderUsable(const System::AnsiString& folder) {
  if (folder.empty()) return false;
  const System::AnsiString path = folder.substr(0, folder.size() - 1);  // without its separator
  if (path.empty()) return false;
  return Exists(path, true) || platform::CreateDirectory(path);
}

TanDicomPrintIni::TanDicomPrintIni(const System::AnsiString& iniPath) {
  if (!Exists(iniPath, false)) return;
  TIniFile ini(iniPath);
  const System::AnsiString temp = Trim(ini.ReadString("DICOM PRINT", "TempDIR", ""));
  const System::AnsiString manager = Trim(ini.ReadString("DICOM PRINT", "PrintManager", ""));
  printScreen_ = ReadShortCut(ini, "DICOM PRINT", "PrintScreenShortCut");
  valid_ = TempFolderUsable(temp) && !manager.empty() && Exists(manager, false);
}

TanComposerIni::TanComposerIni(const System::AnsiString& iniPath) {
  if (!Exists(iniPath, false)) return;
  TIniFile ini(iniPath);
  const System::AnsiString temp = Trim(ini.ReadString("COMPOSER", "TempDIR", ""));
  const System::AnsiString executive = Trim(ini.ReadString("COMPOSER", "Executive", ""));
  showComposer_ = ReadShortCut(ini, "COMPOSER", "ShowComposerShortCut");
  addImage_ = ReadShortCut(ini, "COMPOSER", "AddImageShortCut");
  addPage_ = ReadShortCut(ini, "COMPOSER", "AddPageShortCut");
  addStack_ = ReadShortCut(ini, "COMPOSER", "AddStackShortCut");
  addRange_ = ReadShortCut(ini, "COMPOSER", "AddRangeShortCut");
  markFirst_ = ReadShortCut(ini, "COMPOSER", "MarkFirstImageOfRangeShortCut");
  valid_ = TempFolderUsable(temp) && !executive.empty() && Exists(executive, false);
}

TanSecondaryMPRSeriesIni::TanSecondaryMPRSeriesIni(const System::AnsiString& iniPath) {
  if (!Exists(iniPath, false)) return;
  TIniFile ini(iniPath);
  if (ini.ReadInteger("SECONDARY MPR SERIES", "Allow", 0) == 0) return;
  const System::AnsiString temp = Trim(ini.ReadString("SECONDARY MPR SERIES", "TempDIR", ""));
  shortCut_ = ReadShortCut(ini, "SECONDARY MPR SERIES", "ShortCut");
  valid_ = TempFolderUsable(temp);
}

}  // namespace orn_ini
