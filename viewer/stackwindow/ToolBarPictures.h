// The pictures of a stack window's tool-bar buttons, named by the GUI page GUI_STACK_FRAME:
// a normal, a pressed, a hot and a disabled picture per button, bitmap resources of the
// images module. The first frame of the process decodes them into image lists shared by all
// frames; later frames copy them from those lists in the same order, so no later frame loads
// a resource.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/resources/ResourceModule.h"
#include "platform/vcl/ComCtrls.h"

// Carried (by address) in the Tag of every button of a loaded tool bar: the indexes of its
// normal and pressed pictures in the store list, its hot and its disabled picture; -1 none.
struct ToolButtonPictures {
  int32_t Normal = -1;
  int32_t Pressed = -1;
  int32_t Hot = -1;
  int32_t Disabled = -1;
};

// The process-wide image list of a name (trimmed), made empty on first request; lists live
// until the process ends.
TImageList& GetSharedImageList(const std::string& name);
// Process-wide: set once the first frame loaded its tool bars.
bool& ToolBarPicturesLoaded();

// The picture record of a button, or null when its tool bar was never loaded.
const ToolButtonPictures* PicturesOf(const TToolButton* button);

// A new 24-bit bitmap of the resource, cut or extended (not scaled) to width x height; its
// transparent colour is the loaded picture's bottom-left pixel. Throws std::runtime_error
// when the module has no such bitmap.
std::unique_ptr<TBitmap> LoadToolBitmap(platform::ResourceModuleHandle module, const std::string& name, int width,
                                        int height);

// Shows the pressed (or normal) picture of the store list at the button's image index in
// `target`; nothing for a button without a pressed picture.
void ShowButtonPicture(TToolButton* button, TImageList& target, TImageList& store, bool pressed);

// The picture records and copy counters of one frame.
class TStackWindowPictures {
 public:
  // Loads a tool bar's section (its attributes and button children): the frame's normal list
  // is found among `frameLists` by the section's normal_il name.
  void LoadToolBarPictures(const std::map<std::string, TImageList*>& frameLists,
                           platform::ResourceModuleHandle module, const std::wstring& section, TToolBar* bar,
                           int defaultWidth, int defaultHeight);

 private:
  ToolButtonPictures* RecordOf(TToolButton* button);
  int32_t NextCopy(TImageList* list) { return copyCounters_[list]++; }

  std::vector<std::unique_ptr<ToolButtonPictures>> records_;
  std::map<TImageList*, int32_t> copyCounters_;
};

// True when the object's class is exactly TToolButton (a class derived from it does not count).
bool IsToolButtonClass(const TObject* object);
