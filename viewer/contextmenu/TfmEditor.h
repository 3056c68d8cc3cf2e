// The annotation text editor: a small borderless form with a dark drag strip, a memo, a
// keyboard-language label, OK and Cancel. It can receive its text from the rendering engine
// (WM_COPYDATA 0x807A to its window); Enter without Ctrl accepts, Ctrl+Enter breaks the line,
// Esc, Cancel or the close button restore the text at opening and block input for 400 ms.
#pragma once

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/windows/WindowTypes.h"

class TfmEditor : public TForm {
 public:
  explicit TfmEditor(TComponent* owner);
  ~TfmEditor() override;

  virtual void SetFormVisible(bool visible) { SetVisible(visible); }
  virtual void SetFormTop(int top) { SetTop(top); }
  virtual void SetFormLeft(int left) { SetLeft(left); }
  virtual void SetText(const System::WideString& text);
  virtual System::WideString GetText() const { return memEditor->Text(); }
  // Asks the engine for the text (posts the request with the form's window) and keeps the
  // memo read-only until the reply with that code arrives.
  virtual void SetSource(platform::WindowHandle engine, uint32_t requestCode, uint32_t replyCode);
  virtual bool IsCancelled() const { return cancelled_; }

  // A WM_COPYDATA record sent to the form.
  void OnTextReceived(const platform::CopyDataStruct* record);
  bool TextReceived() const { return received_; }
  // The text reads right to left (its first character is Hebrew or Arabic).
  bool RightToLeft() const { return rightToLeft_; }
  bool ReadOnly() const { return readOnly_; }
  // The dialog's keys: true when the key was taken.
  bool HandleKey(uint16_t key, TShiftState shift);
  void CancelEdit();
  void FitHeightToLines();

  TTntPanel* pnlBack;
  TTntPanel* pnlMain;
  TTntPanel* pnlRightSize;
  TTntPanel* pnlEditor;
  TTntPanel* pnlHeader;
  TTntSpeedButton* btnClose;
  TTntPanel* pnlTools;
  TTntLabel* lblKbdLayout;
  TTntButton* btnOK;
  TTntButton* btnCancel;
  TTntPanel* Panel1;
  TTntMemo* memEditor;
  TApplicationEvents* ApplicationEvents1;

 private:
  void SetMemoReadOnly(bool on);
  TPoint drag_;
  int baseMemoHeight_ = 0;
  System::WideString restore_;
  bool cancelled_ = false;
  bool received_ = false;
  bool rightToLeft_ = false;
  bool readOnly_ = false;
  uint32_t replyCode_ = 0;
};
