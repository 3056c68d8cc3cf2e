// The annotation text editor wrappers a stack window owns. EditAt runs the editor at a
// screen point and, with an engine window, fetches the annotation's text from the engine
// and sends the edited text back.
#pragma once

#include <functional>

#include "platform/vcl/SystemTypes.h"
#include "platform/windows/WindowTypes.h"

class TfmEditor;

template <class TForm, class TText>
class TsgEditor;

template <>
class TsgEditor<TfmEditor, System::WideString> {
 public:
  TsgEditor() = default;
  virtual ~TsgEditor() = default;
  // True until an edit ends with OK.
  virtual bool WasCancelled() const { return cancelled_; }
  virtual System::WideString Edit(int32_t x, int32_t y, const System::WideString& text);

  // Called with the form before it runs modally (tests drive it from here).
  std::function<void(TfmEditor&)> OnDialogShown;

 protected:
  bool cancelled_ = true;
};

template <class TForm, class TText>
class TsgVistrelEditor;

template <>
class TsgVistrelEditor<TfmEditor, System::WideString> : public TsgEditor<TfmEditor, System::WideString> {
 public:
  // With an engine window the engine gives the text (0x8080, answered by WM_COPYDATA 0x807A)
  // and receives the result (WM_COPYDATA 0x807A). A cancelled edit sends back the text the
  // engine gave, and nothing when it gave none, so a cancel never changes the annotation.
  virtual System::WideString EditAt(int32_t x, int32_t y, platform::WindowHandle engine);

  // Whether the stack window erases the selected measurement after an edit that gave `text`:
  // only an accepted edit that left the text empty does; Esc never erases.
  bool ShouldEraseAfterEdit(const System::WideString& text) const { return text.empty() && !WasCancelled(); }
};

using TsgAnnotationEditor = TsgVistrelEditor<TfmEditor, System::WideString>;
