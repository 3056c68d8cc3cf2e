// The settings readers the context menu makes afresh at every layout: DICOM print
// ([DICOM PRINT]), the composer ([COMPOSER]) and secondary reconstruction series
// ([SECONDARY MPR SERIES]) of "<program name>.ini". Each is valid only when its temporary
// folder is set and exists or can be made (and its program file exists); an invalid reader
// gives no shortcuts.
#pragma once

#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/SystemTypes.h"

namespace orn_ini {

// "<program path without .exe>.ini".
System::AnsiString ProgramIniPath();

class TanDicomPrintIni {
 public:
  TanDicomPrintIni() : TanDicomPrintIni(ProgramIniPath()) {}
  explicit TanDicomPrintIni(const System::AnsiString& iniPath);
  bool IsValid() const { return valid_; }
  TShortCut GetPrintScreenShortCut() const { return valid_ ? printScreen_ : 0; }

 private:
  bool valid_ = false;
  TShortCut printScreen_ = 0;
};

class TanComposerIni {
 public:
  TanComposerIni() : TanComposerIni(ProgramIniPath()) {}
  explicit TanComposerIni(const System::AnsiString& iniPath);
  bool IsValid() const { return valid_; }
  TShortCut GetShowComposerShortCut() const { return valid_ ? showComposer_ : 0; }
  TShortCut GetAddImageShortCut() const { return valid_ ? addImage_ : 0; }
  TShortCut GetAddPageShortCut() const { return valid_ ? addPage_ : 0; }
  TShortCut GetAddStackShortCut() const { return valid_ ? addStack_ : 0; }
  TShortCut GetAddRangeShortCut() const { return valid_ ? addRange_ : 0; }
  TShortCut GetMarkFirstImageOfRangeShortCut() const { return valid_ ? markFirst_ : 0; }

 private:
  bool valid_ = false;
  TShortCut showComposer_ = 0, addImage_ = 0, addPage_ = 0, addStack_ = 0, addRange_ = 0, markFirst_ = 0;
};

class TanSecondaryMPRSeriesIni {
 public:
  TanSecondaryMPRSeriesIni() : TanSecondaryMPRSeriesIni(ProgramIniPath()) {}
  explicit TanSecondaryMPRSeriesIni(const System::AnsiString& iniPath);
  bool IsValid() const { return valid_; }
  TShortCut GetShortCut() const { return valid_ ? shortCut_ : 0; }

 private:
  bool valid_ = false;
  TShortCut shortCut_ = 0;
};

// True when the folder named by a settings value (ending with its separator) exists or could
// be made, one level deep.
bool TempFolderUsable(const System::AnsiString& folder);

}  // namespace orn_ini
