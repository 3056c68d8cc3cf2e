// The language selection dialog: lists the language modules "Lingopack_<language>.dll" that
// lie in the folder of the module now named, marks the current one and returns the module the
// user picks. Shown only when there is a real choice (two modules or more).
#pragma once

#include <memory>
#include <string>

#include "base/files/TanFilesObject.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace app {

class TFormLanguageSettings : public TForm {
 public:
  // chosen: in, the current module's file name; out (OK), the chosen module's full path.
  TFormLanguageSettings(TComponent* owner, System::AnsiString* chosen, bool* doNotShow);
  ~TFormLanguageSettings() override;

  TPanel* pnlMain;
  TLabel* Label1;
  TComboBox* cbLanguages;
  TButton* bOk;
  TButton* bCancel;
  TCheckBox* chboxDialog;
  TPanel* StatusBar1;

  void bOkClick(TObject* sender);
  void bCancelClick(TObject* sender);
  void cbLanguagesChange(TObject* sender);

  // The display name of a module file: the text between the last "_" before the first
  // ".dll" (letter case counts) and that ".dll"; empty when there is none.
  static System::WideString DisplayName(const System::AnsiString& fileName);

 private:
  void SetStatus(const System::WideString& item);
  System::AnsiString* chosen_;
  bool* doNotShow_;
  System::AnsiString folder_;
  std::unique_ptr<ORN_std::TanFilesObject<>> listing_;
};

// Shows the dialog centred on the rectangle (when given) if it lists more than one module;
// true only when it was shown and closed with OK.
bool ShowLanguageSettings(System::AnsiString* chosen, bool* doNotShow, const TRect* centre);

// Tests answer the dialog: called once it is up, before its modal loop runs.
void SetLanguageDialogHook(std::function<void(TFormLanguageSettings*)> hook);

}  // namespace app
