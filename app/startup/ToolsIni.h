// Two small readers of <program name>Base.ini: the keyboard shortcuts of the four main tools
// ([MAIN TOOLS]) and which statistics a measurement shows ([MEASUREMENT STATISTICS]).
#pragma once

#include <cstdint>

#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/SystemTypes.h"

namespace orn_ini {

// One keyboard shortcut read from a settings text such as "Ctrl+Alt+F5".
struct TanIniShortCut {
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  uint16_t key = 0;
  uint16_t value = 0;

  void Clear() { *this = TanIniShortCut(); }
  // Trimmed; an empty or unknown text leaves the record as it was.
  void Parse(const System::AnsiString& text);
  bool IsEmpty() const { return key == 0; }
};

// The program's Base.ini: its path without the extension, then "Base.ini".
System::AnsiString ProgramBaseIniPath();

class TanToolsrIni {
 public:
  TanToolsrIni() : TanToolsrIni(ProgramBaseIniPath()) {}
  explicit TanToolsrIni(const System::AnsiString& baseIniPath);
  // Every one of the four shortcuts has a key.
  bool IsLoaded() const;
  // A shortcut that is missing or does not read is 0; the others keep working.
  TShortCut GetZoomShortCut() const { return zoom_.value; }
  TShortCut GetVoiShortCut() const { return voi_.value; }
  TShortCut GetPanShortCut() const { return pan_.value; }
  TShortCut GetNavigationShortCut() const { return navigation_.value; }

 private:
  TanIniShortCut zoom_, voi_, pan_, navigation_;
};

class TanMeasurementStatisticsIni {
 public:
  TanMeasurementStatisticsIni() : TanMeasurementStatisticsIni(ProgramBaseIniPath()) {}
  explicit TanMeasurementStatisticsIni(const System::AnsiString& baseIniPath);
  bool IsValid() const { return min_ >= 0 && max_ >= 0 && mean_ >= 0 && stdDev_ >= 0; }
  bool ShowMin() const { return min_ > 0; }
  bool ShowMax() const { return max_ > 0; }
  bool ShowMean() const { return mean_ > 0; }
  bool ShowStdDev() const { return stdDev_ > 0; }
  // 1 Min, 2 Max, 4 Mean, 8 StdDev for each shown value; 0 when not valid.
  int GetFlags() const;

 private:
  int32_t min_ = -1, max_ = -1, mean_ = -1, stdDev_ = -1;
};

}  // namespace orn_ini
