// File and folder dialogs and the print dialog. Execute shows the dialog and returns true
// when the user accepted it.
#pragma once

#include <vector>

#include "platform/vcl/Classes.h"

class TOpenDialog : public TComponent {
 public:
  using TComponent::TComponent;
  System::WideString FileName;
  // "Description|*.ext;*.ext2|..." as the VCL writes it.
  System::WideString Filter;
  int FilterIndex = 1;
  System::WideString InitialDir;
  System::WideString Title;
  System::WideString DefaultExt;
  bool AllowMultiSelect = false;
  std::vector<System::WideString> Files;
  virtual bool Execute();
};
using TTntOpenDialog = TOpenDialog;

class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override;
};
using TTntSaveDialog = TSaveDialog;

// The folder-browsing dialog: true with the chosen folder in `directory`.
bool SelectDirectory(const System::WideString& caption, const System::WideString& root, System::WideString& directory);

// The print dialog: printers are not driven from this platform, so Execute reports that no
// printer was chosen.
class TPrintDialog : public TComponent {
 public:
  using TComponent::TComponent;
  int Copies = 1;
  bool Execute() { return false; }
};
