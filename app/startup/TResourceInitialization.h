// The start-up record: what the program learns before its first window opens (placement on
// the monitors, the resource modules with the language module, the page and text stores, the
// GUI defaults, calibration factors and study-status settings of the ini file, the Base.ini
// cache, the version records, the colours and fonts). Windows read it through
// iRESOURCE_INITIALIZATION and never free it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "app/support/BaseIni.h"
#include "app/support/ErrorGuard.h"
#include "app/support/Monitors.h"
#include "app/support/PropertiesBag.h"
#include "app/support/VersionInfo.h"
#include "platform/vcl/SystemTypes.h"

class TBitmap;
class TFont;

namespace app {

class TsgColors;
template <class F>
class TsgFonts;

// Wide-text keys ordered by their code units as unsigned numbers, shorter prefix first.
using TResourceMap = std::map<std::wstring, System::AnsiString>;
using TCalibrationFactors = std::map<std::wstring, double>;

class iRESOURCE_INITIALIZATION {
 public:
  virtual ~iRESOURCE_INITIALIZATION() = default;
  // Copies the GUI_HINTS page into the process-wide hint page text.
  virtual void LoadHints() = 0;
  // Loads the 36 tool cursors into the screen's cursor table.
  virtual void LoadCursors() = 0;
  // The page store's text of that name ("GUI_STRINGS", ...); empty when there is none.
  virtual std::wstring GetText(const std::wstring& name) = 0;
  // The text store's text of that name ("ABOUTFORM_TEXT", ...); empty when there is none.
  virtual std::wstring GetText2(const std::wstring& name) = 0;
  // Modules by [GUI] key; the executable's own module when the key has none.
  virtual HMODULE GetTextModule() = 0;
  virtual HMODULE GetImagesModule() = 0;
  virtual HMODULE GetModule(const std::wstring& key) = 0;
  // Owned by the record; valid while it lives.
  virtual TsgFonts<TFont>* GetFonts() = 0;
  virtual TsgColors* GetColors() = 0;
  virtual TsgVersionInfoSet<std::wstring>* GetVersionInfoSet() = 0;
  // False for a null pointer; otherwise copies the main window's screen rectangle.
  virtual bool GetDesktopRect(TRect* rect) = 0;
  // Empties the caller's map and fills it with every unit and factor.
  virtual void GetCalibrationFactors(TCalibrationFactors& factors) = 0;
  virtual std::wstring GetDefaultCalibrationUnit() = 0;
  // The language module as loaded (a full path when the dialog chose it); empty when none.
  virtual System::AnsiString GetLanguageDll() = 0;
};

class TResourceInitialization : public iRESOURCE_INITIALIZATION {
 public:
  TResourceInitialization();
  ~TResourceInitialization() override;
  TResourceInitialization(const TResourceInitialization&) = delete;
  TResourceInitialization& operator=(const TResourceInitialization&) = delete;

  // Fills the record from "<prefix>.ini" and "<prefix>Base.ini" beside the executable (the
  // executable's own name when the prefix is empty) and from the modules the ini names;
  // codePage -1 is the system's ANSI code page.
  void Load(int32_t codePage, const System::AnsiString& prefix);

  void LoadHints() override;
  void LoadCursors() override;
  std::wstring GetText(const std::wstring& name) override;
  std::wstring GetText2(const std::wstring& name) override;
  HMODULE GetTextModule() override;
  HMODULE GetImagesModule() override;
  HMODULE GetModule(const std::wstring& key) override;
  TsgFonts<TFont>* GetFonts() override;
  TsgColors* GetColors() override;
  TsgVersionInfoSet<std::wstring>* GetVersionInfoSet() override;
  bool GetDesktopRect(TRect* rect) override;
  void GetCalibrationFactors(TCalibrationFactors& factors) override;
  std::wstring GetDefaultCalibrationUnit() override;
  System::AnsiString GetLanguageDll() override;

  virtual orn_ini::TsgBaseIni<System::AnsiString>* GetBaseIniCache();
  // The number of monitors of the desktop.
  virtual int GetMonitorTotal();
  // How many monitors the main window spans (1 by default).
  virtual int GetMonitorCount();
  // The index of the monitor holding the point, its rectangle copied; -1 when none.
  virtual int GetMonitorAt(const TPoint& point, TRect* rect);
  // False for a negative index, an index past the end or an empty rectangle.
  virtual bool GetMonitorRectAt(int index, TRect* rect);

  // [GUI_DEFAULTS] by exact key: the value unchanged, as a whole number, or as a boolean
  // (true for the words TRUE, true, True, YES, yes, Yes and 1, compared whole after trimming).
  System::AnsiString GetGuiDefault(const std::wstring& key, const System::AnsiString& fallback);
  int GetGuiDefaultInt(const std::wstring& key, int fallback);
  bool GetGuiDefaultBool(const std::wstring& key, bool fallback);
  // [STUDY_STATUS] by exact key; the default when missing or empty.
  std::wstring GetStudyStatusSetting(const std::wstring& key, const std::wstring& fallback);
  // Draws the small icon at the index of a file into the bitmap (resized, 32 bits per pixel);
  // false when the file has no such icon or the bitmap is null.
  bool DrawFileIcon(const System::AnsiString& path, int index, int width, int height, TBitmap* bitmap);

  // The desktop the record enumerates (tests give the screen fake monitors before Load).
  TsgVirtualDesktop& Desktop() { return desktop_; }
  // The rectangle the language dialog is centred on, from the last Load.
  const TRect& LanguageDialogRect() const { return dialogRect_; }
  // Where Load reports a [GUI] module that is not a module beside the program.
  TErrorGuard& GetErrorGuard() { return guard_; }

  // A GUI-default truth value: the trimmed text is one of the words exactly.
  static bool IsTrueWord(const System::AnsiString& value);
  // A decimal number with '.' as its separator, whatever the locale.
  static bool ParseDecimal(const System::AnsiString& text, double& value);

 private:
  void ReportMissingModule(const std::wstring& key, const std::wstring& path);

  TsgPropertiesBag<wchar_t> pages_;
  TsgPropertiesBag<wchar_t> texts_;
  std::map<std::wstring, HMODULE> modules_;
  TResourceMap guiDefaults_;
  TResourceMap studyStatus_;
  TCalibrationFactors calibration_;
  std::wstring defaultCalibrationUnit_;
  std::wstring textModuleKey_ = L"TextDLL";
  std::wstring imagesModuleKey_ = L"ImagesDLL";
  std::unique_ptr<TsgColors> colors_;
  std::unique_ptr<TsgFonts<TFont>> fonts_;
  TsgVersionInfoSet<std::wstring> versions_;
  TsgVirtualDesktop desktop_;
  TRect desktopRect_;
  int monitorCount_ = 1;
  std::unique_ptr<orn_ini::TsgBaseIni<System::AnsiString>> baseIni_;
  System::AnsiString languageDll_;
  TRect dialogRect_;
  TErrorGuard guard_;
};

// The process-wide hint page text (the GUI_HINTS page), set by LoadHints.
std::wstring& HintPageText();

}  // namespace app
