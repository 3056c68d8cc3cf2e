// Opening the file set when the window has been shown: the DICOMDIR beside the executable in
// stand-alone mode, the host's file set in a session; and the patient navigation of
// stand-alone mode, which opening on request reuses.
#include "app/mainwindow/GuiScaling.h"
#include "app/mainwindow/TFormApplication.h"
#include "app/mainwindow/TFormLoadingBar.h"
#include "browser/navigator/TFormDICOMDIRNavigator.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"
#include "platform/text/CodePageConversion.h"
#include "platform/vcl/SysUtils.h"

namespace vistrel_main {

namespace {

bool FileExists(const std::string& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes && !(attributes & platform::attr::Directory);
}

int32_t StackCountOfStudy(const ORN_dicom::TanStudyIE& study) {
  int32_t count = 0;
  for (int32_t i = 0; i < study.FSeries.Count(); ++i) count += study.FSeries.At(i)->Stacks().Count();
  return count;
}

}  // namespace

std::unique_ptr<app::TFormLoadingBar> TFormApplication::MakeLoadingBar(const System::AnsiString& picture,
                                                                      const std::wstring& caption) {
  app::TGuiResources gui;
  gui.Colors = FColors;
  gui.Fonts = FFonts;
  gui.Scale = FGuiScale;
  auto bar = std::make_unique<app::TFormLoadingBar>(nullptr, gui, picture, caption);
  FFileSet.OnProgress = [b = bar.get()](int32_t minimum, int32_t position, int32_t maximum) {
    b->SetProgress(minimum, position, maximum);
  };
  return bar;
}

void TFormApplication::OpenStandaloneFileSet() {
  const std::string folder = ExecutableFolder();
  const std::string path = folder + "DICOMDIR";
  if (!FileExists(path)) {
    ShowMessageBox(Texts.msgDicomDirNotFound + L"\n" + Texts.msgApplicationClosed, Texts.msgErrorCaption,
                   MB_OK | MB_ICONERROR);
    CloseProgram();
    return;
  }
  tbClose->SetEnabled(false);
  Application->ProcessMessages();

  std::string splash = folder + "localflashscreen.jpg";
  if (!FileExists(splash)) splash = folder + "localflashscreen.bmp";
  std::unique_ptr<app::TFormLoadingBar> bar = MakeLoadingBar(splash, Texts.FDicomDirInitializeText);
  bar->SetInfoText(0, 0, path.c_str());
  bar->Show();
  Application->ProcessMessages();

  if (ORN_dicom::iDICOM_FILE_SET_PROXY* proxy = ORN_dicom::CreateLocalFileSetProxy(path.c_str()))
    proxy->CallLoadFileSet(&FFileSet, false);

  bar->Hide();
  FFileSet.OnProgress = nullptr;
  bar.reset();

  if (!FFileSet.FValid) {
    ShowMessageBox(Texts.msgDicomDirInitError + L"\n" + platform::Utf8ToWide(FFileSet.GetLastError()) + L"\n" +
                       Texts.msgApplicationClosed,
                   Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
    FFileSet.Close();
    tbClose->SetEnabled(true);
    CloseProgram();
    return;
  }
  if (!FFileSet.IsOwnDicomDir() || !FFileSet.Refresh()) {
    ShowMessageBox(Texts.msgDicomDirIncorrect + L"\n" + Texts.msgApplicationClosed, Texts.msgErrorCaption,
                   MB_OK | MB_ICONERROR);
    FFileSet.Close();
    tbClose->SetEnabled(true);
    CloseProgram();
    return;
  }

  FPatientIndex = FStudyIndex = FStackIndex = -1;
  const int count = PatientCount();
  if (count == 1) {
    ClearPatientNavigation();
    tbPatientsList->OnClick = [this](TObject* s) { PatientListClick(s); };
    ShowFirstOf(count);
  } else if (count > 1) {
    ConnectStandaloneNavigation();
    FPatientIndex = 0;
    ShowPatient(0);
    FPatientInfo->SetPatientPosition(count, FPatientIndex + 1);
    UpdatePatientButtons(count, FPatientIndex);
    pnlToolButtons->SetVisible(true);
    tbPatientsList->Click();
  } else {
    // A valid file set without patients: an empty window that says so.
    FMessagePanel->SetMessage(L"The DICOMDIR holds no patients.");
  }
  if (count > 0) {
    FPatientInfo->SetPatientPosition(count, FPatientIndex + 1);
    UpdatePatientButtons(count, FPatientIndex);
  }
  pnlToolButtons->SetVisible(true);
  tbClose->SetEnabled(true);
}

// One patient: its study (and stack) when it has exactly one, else the patient.
void TFormApplication::ShowFirstOf(int patientCount) {
  (void)patientCount;
  ORN_dicom::TanPatientIE* patient = FFileSet.GetDicomDir()->Patients().At(0);
  if (patient->FStudies.Count() == 1)
    ShowStudy(0, 0, StackCountOfStudy(*patient->FStudies.At(0)) == 1 ? 0 : -1);
  else
    ShowStudy(0, -1, -1);
}

void TFormApplication::OpenSessionFileSet() {
  // The host's file set comes through the data broker, which this build does not have: the
  // start reports that no host is reachable (code 7, data broker not present) and closes.
  char code[16];
  std::snprintf(code, sizeof code, "(0x%04X)", 7u);
  ShowMessageBox(Texts.msgDataInitializationError + platform::Utf8ToWide(code) + L"\n" +
                     L"No host application is reachable for session " + std::to_wstring(SessionNumber()) +
                     L".\n" + Texts.msgApplicationClosed,
                 Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
  CloseProgram();
}

bool TFormApplication::FindStartSelection(int& patient, int& study, int& stack) {
  ORN_dicom::iDICOM_FILE_SET_PROXY* proxy = ORN_dicom::GetFileSetProxy();
  if (!proxy || !FileSetOpen()) return false;
  char patientID[65] = {}, studyUID[65] = {}, seriesUID[65] = {};
  if (proxy->CallGetStartSelection(patientID, studyUID, seriesUID, nullptr) != 0) return false;
  // The host's buffers are read within their size, terminated or not.
  const std::string wantedPatient = Trim(std::string(patientID, strnlen(patientID, sizeof patientID)));
  const std::string wantedStudy = Trim(std::string(studyUID, strnlen(studyUID, sizeof studyUID)));
  const std::string wantedSeries = Trim(std::string(seriesUID, strnlen(seriesUID, sizeof seriesUID)));
  auto& patients = FFileSet.GetDicomDir()->Patients();
  if (!wantedPatient.empty()) {
    for (int32_t i = 0; i < patients.Count(); ++i)
      if (patients.At(i)->GetPatientID() == wantedPatient) {
        patient = i;
        break;
      }
  }
  if (!wantedStudy.empty() && patient >= 0) {
    const auto& studies = patients.At(patient)->FStudies;
    for (int32_t i = 0; i < studies.Count(); ++i)
      if (studies.At(i)->GetStudyInstanceUID() == wantedStudy) {
        study = i;
        break;
      }
  }
  if (!wantedSeries.empty() && study >= 0) {
    const auto& series = patients.At(patient)->FStudies.At(study)->FSeries;
    int32_t before = 0;
    for (int32_t i = 0; i < series.Count(); ++i) {
      if (series.At(i)->GetSeriesInstanceUID() == wantedSeries) {
        if (series.At(i)->Stacks().Count() > 0) stack = before;
        break;
      }
      before += series.At(i)->Stacks().Count();
    }
  }
  return true;
}

std::wstring TFormApplication::DecodeHostText(int codePage, const char* bytes, int32_t count) {
  if (!bytes || count <= 0) return L"";
  // A text that starts with the UTF-8 byte-order mark is UTF-8, whatever the code page.
  if (count >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF && static_cast<unsigned char>(bytes[1]) == 0xBB &&
      static_cast<unsigned char>(bytes[2]) == 0xBF) {
    bytes += 3;
    count -= 3;
    codePage = 65001;
  }
  std::wstring text;
  if (!platform::MultiByteToWide(codePage == -1 ? 0 : static_cast<uint32_t>(codePage),
                                 std::string(bytes, static_cast<size_t>(count)), text))
    return L"NO_UNICODE_TRANSLATION";
  const size_t zero = text.find(L'\0');
  return zero == std::wstring::npos ? text : text.substr(0, zero);
}

void TFormApplication::UpdatePatientButtons(int count, int index) {
  if (count <= 0 || index >= count) return;
  const bool several = count > 1;
  for (TToolButton* b : {tbFirstPatient, tbPrevPatient, tbNextPatient, tbLastPatient}) b->SetVisible(several);
  tbPatientsList->SetVisible(true);
  tbPatientsList->SetEnabled(true);
  if (several) {
    tbNextPatient->SetEnabled(index < count - 1);
    tbLastPatient->SetEnabled(index < count - 1);
    tbPrevPatient->SetEnabled(index > 0);
    tbFirstPatient->SetEnabled(index > 0);
  }
  FPatientInfo->sbFirst->SetVisible(several);
  FPatientInfo->sbPrevious->SetVisible(several);
  FPatientInfo->sbNext->SetVisible(several);
  FPatientInfo->sbLast->SetVisible(several);
  FPatientInfo->sbNext->SetEnabled(several && index < count - 1);
  FPatientInfo->sbLast->SetEnabled(several && index < count - 1);
  FPatientInfo->sbPrevious->SetEnabled(several && index > 0);
  FPatientInfo->sbFirst->SetEnabled(several && index > 0);
  FPatientInfo->ArrangeLabels();
  tbPatients->AlignControls();
  pnlToolButtons->SetVisible(true);
}

void TFormApplication::ClearPatientNavigation() {
  for (TControl* c : std::initializer_list<TControl*>{tbFirstPatient, tbPrevPatient, tbNextPatient, tbLastPatient,
                                                      FPatientInfo->sbFirst, FPatientInfo->sbPrevious,
                                                      FPatientInfo->sbNext, FPatientInfo->sbLast})
    c->OnClick = nullptr;
}

void TFormApplication::ConnectStandaloneNavigation() {
  auto next = [this](TObject* s) { NextPatientClick(s); };
  auto previous = [this](TObject* s) { PreviousPatientClick(s); };
  auto first = [this](TObject* s) { FirstPatientClick(s); };
  auto last = [this](TObject* s) { LastPatientClick(s); };
  tbNextPatient->OnClick = FPatientInfo->sbNext->OnClick = next;
  tbPrevPatient->OnClick = FPatientInfo->sbPrevious->OnClick = previous;
  tbFirstPatient->OnClick = FPatientInfo->sbFirst->OnClick = first;
  tbLastPatient->OnClick = FPatientInfo->sbLast->OnClick = last;
  tbPatientsList->OnClick = [this](TObject* s) { PatientListClick(s); };
}

namespace {

void GoToPatient(TFormApplication& form, int patient) {
  if (form.FStudyBoxFrameSet) form.FStudyBoxFrameSet->StopStudyNavigators();
  form.FStudyIndex = form.FStackIndex = -1;
  if (form.FClientArea) form.FClientArea->ReleaseAllWindows();
  form.ShowStudy(patient, -1, -1);
}

}  // namespace

void TFormApplication::NextPatientClick(TObject*) {
  if (FPatientIndex + 1 < PatientCount()) GoToPatient(*this, FPatientIndex + 1);
  FPatientInfo->SetPatientPosition(PatientCount(), FPatientIndex + 1);
  UpdatePatientButtons(PatientCount(), FPatientIndex);
}

void TFormApplication::PreviousPatientClick(TObject*) {
  if (FPatientIndex > 0) GoToPatient(*this, FPatientIndex - 1);
  FPatientInfo->SetPatientPosition(PatientCount(), FPatientIndex + 1);
  UpdatePatientButtons(PatientCount(), FPatientIndex);
}

void TFormApplication::FirstPatientClick(TObject*) {
  if (PatientCount() > 0) GoToPatient(*this, 0);
  FPatientInfo->SetPatientPosition(PatientCount(), FPatientIndex + 1);
  UpdatePatientButtons(PatientCount(), FPatientIndex);
}

void TFormApplication::LastPatientClick(TObject*) {
  if (PatientCount() > 0) GoToPatient(*this, PatientCount() - 1);
  FPatientInfo->SetPatientPosition(PatientCount(), FPatientIndex + 1);
  UpdatePatientButtons(PatientCount(), FPatientIndex);
}

void TFormApplication::PatientListClick(TObject*) {
  if (!FileSetOpen() || PatientCount() == 0) return;
  if (FStudyBoxFrameSet) FStudyBoxFrameSet->StopStudyNavigators();
  int32_t patient = FPatientIndex < 0 ? 0 : FPatientIndex, study = FStudyIndex, stack = FStackIndex;
  bool chosen = false;
  if (RunPatientNavigator) {
    chosen = RunPatientNavigator(patient, study, stack);
  } else {
    ORN_browser::TFormDICOMDIRNavigator navigator(nullptr, FFileSet, &patient, &study, &stack);
    navigator.SetCaption(L"DICOMDIR Navigator");
    chosen = navigator.ShowModal() == mrOk;
  }
  if (chosen && patient >= 0 && patient < PatientCount()) {
    if (FClientArea) FClientArea->ReleaseAllWindows();
    ShowStudy(patient, study, stack);
  } else if (FPatientIndex == 0 && FStudyIndex < 0 && FStackIndex < 0) {
    ShowStudy(0, -1, -1);
  }
  FPatientInfo->SetPatientPosition(PatientCount(), FPatientIndex + 1);
  UpdatePatientButtons(PatientCount(), FPatientIndex);
}

}  // namespace vistrel_main
