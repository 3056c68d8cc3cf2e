// What the shared controls read of the start-up record: named GUI colours, the XML pages
// "GUI_IMAGES" and "GUI_STRINGS", the images module and the [STUDY_STATUS] settings. The
// start-up record answers these; tests answer them from tables of their own.
#pragma once

#include <string>

#include "platform/resources/ResourceModule.h"
#include "platform/vcl/Colors.h"

namespace app {

class iWIDGET_RESOURCES {
 public:
  virtual ~iWIDGET_RESOURCES() = default;
  // The colour of a GUI colour name, `fallback` when the pages do not name it.
  virtual TColor GetColor(const std::string& name, TColor fallback) = 0;
  // The text of an XML page by name ("GUI_IMAGES", "GUI_STRINGS"); empty when missing.
  virtual std::wstring GetText(const std::wstring& page) = 0;
  // The module the bitmaps of the pages are read from.
  virtual platform::ResourceModuleHandle GetImagesModule() = 0;
  // A value of the [STUDY_STATUS] settings section, `fallback` when missing.
  virtual std::wstring GetStudyStatusSetting(const std::wstring& key, const std::wstring& fallback) = 0;
};

}  // namespace app
