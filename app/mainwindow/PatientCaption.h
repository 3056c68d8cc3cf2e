// The patient caption frame (name, ID, sex, birth date, the position in the patient list and
// four navigation buttons) and the message line of the main window's status bar.
#pragma once

#include <string>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace vistrel_main {

class TfrmPatientInfo : public TFrame {
 public:
  explicit TfrmPatientInfo(TComponent* owner);

  TLabel *lblPatientTitle, *lblNameTitle, *lblName, *lblIDTitle, *lblID, *lblSexTitle, *lblSex, *lblDOBTitle, *lblDOB;
  TSpeedButton *sbFirst, *sbPrevious, *sbNext, *sbLast;

  // An empty text hides the label and its title.
  void SetPatientID(const std::wstring& text);
  void SetPatientName(const std::wstring& text);
  void SetPatientSex(const std::wstring& text);
  void SetBirthDate(const std::wstring& text);
  // "Patient 2/5:"; only the title when either number is 0 or less.
  void SetPatientPosition(int count, int position);
  // Lays the shown labels out side by side.
  void ArrangeLabels();
  std::wstring PatientTitle = L"Patient";

 private:
  void SetPair(TLabel* title, TLabel* value, const std::wstring& text);
};

class TfrmMessagePanel : public TFrame {
 public:
  explicit TfrmMessagePanel(TComponent* owner);
  TLabel* lblMessage;
  void SetMessage(const std::wstring& text);
  // Polls the host's messages (session mode only); nothing to poll without a host.
  void StartMessagePolling() {}
};

}  // namespace vistrel_main
