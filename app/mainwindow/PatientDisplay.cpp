// The patient display: a new studies panel and client area per patient, the patient caption,
// the studies title, the study age limits, one study box per timer tick, and the window's
// timer dispatcher.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/mainwindow/TFormApplication.h"
#include "app/startup/TResourceInitialization.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/proxy/ReferencedFile.h"
#include "platform/com/Library.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/files/FileAttributes.h"
#include "platform/vcl/SysUtils.h"
#include "platform/windows/Messages.h"

namespace vistrel_main {

namespace {

constexpr uint32_t kStudyBoxTickMs = 50;

bool FolderExists(const std::string& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes && (attributes & platform::attr::Directory);
}

// The distinct modalities of the study's series, in series order, joined with ",".
std::string StudyModalities(const ORN_dicom::TanStudyIE& study) {
  std::vector<std::string> seen;
  for (int32_t i = 0; i < study.FSeries.Count(); ++i) {
    const std::string modality = Trim(study.FSeries.At(i)->GetModality());
    if (!modality.empty() && std::find(seen.begin(), seen.end(), modality) == seen.end()) seen.push_back(modality);
  }
  std::string joined;
  for (const std::string& m : seen) joined += (joined.empty() ? "" : ",") + m;
  return joined;
}

int32_t StudyStackCount(const ORN_dicom::TanStudyIE& study) {
  int32_t count = 0;
  for (int32_t i = 0; i < study.FSeries.Count(); ++i) count += study.FSeries.At(i)->Stacks().Count();
  return count;
}

}  // namespace

int TFormApplication::PatientCount() const {
  return FileSetOpen() ? FFileSet.GetDicomDir()->Patients().Count() : 0;
}

ORN_dicom::TanPatientIE* TFormApplication::ListedPatient() const {
  if (!FileSetOpen() || FListedPatient < 0 || FListedPatient >= PatientCount()) return nullptr;
  return FFileSet.GetDicomDir()->Patients().At(FListedPatient);
}

void TFormApplication::ShowPatient(int patientIndex) {
  ORN_dicom::TanPatientIE* patient = FFileSet.GetDicomDir()->Patients().At(patientIndex);  // range-checked

  if (!FStudyBoxesComplete) platform::KillTimer(Handle(), FStudyBoxTimerId);
  FStudyBoxesComplete = false;
  AddedStudyBoxes.clear();

  // The new panel and area replace the old ones; the old area goes first, since its stack
  // windows came from the old panel's tiles.
  std::unique_ptr<iSTUDIES_PANEL> panel = FParts.MakeStudiesPanel ? FParts.MakeStudiesPanel() : nullptr;
  std::unique_ptr<iCLIENT_AREA> area = FParts.MakeClientArea ? FParts.MakeClientArea() : nullptr;
  FClientArea.reset();
  FStudyBoxFrameSet = std::move(panel);
  if (FStudyBoxFrameSet) {
    TStudiesPanelCallbacks callbacks;
    callbacks.StudyBoxEnabledChanged = [this](bool) {
      if (FClientArea) FClientArea->Relayout();
    };
    FStudyBoxFrameSet->SetCallbacks(callbacks);
    TControl* control = FStudyBoxFrameSet->Control();
    control->SetParent(pnlStudies);
    control->SetAlign(alClient);
    control->SetVisible(true);
  }
  FClientArea = std::move(area);
  if (FClientArea) {
    FClientArea->Control()->SetParent(pnlClientArea);
    FClientArea->Control()->SetAlign(alClient);
    FClientArea->Control()->SetVisible(false);
  }

  if (FResources) {
    tbLink->SetDown(FResources->GetGuiDefaultBool(L"Link", false));
    tbPaletteColor->SetDown(FResources->GetGuiDefaultBool(L"PaletteColor", false));
    tbInverse->SetDown(FResources->GetGuiDefaultBool(L"Inverse", false));
    if (!pnlLeft->Visible()) {
      Splitter->SetVisible(true);
      pnlLeft->SetVisible(true);
      const int width = FResources->GetGuiDefaultInt(L"StudiesPanelWidth", -1);
      if (width >= 1) {
        FStudiesPanelWidth = width;
        pnlLeft->SetWidth(width);
      } else {
        FFitStudiesPanel = true;
      }
    }
    FPromptLossySwitch = FResources->GetGuiDefaultBool(L"PromptLossySwitch", FPromptLossySwitch);
    const int monitors = FResources->GetMonitorCount();
    if (FClientArea) FClientArea->SetGranularity(monitors, 1);
    if (monitors <= 1) {
      tbStudiesPanelPin->SetDown(FResources->GetGuiDefaultBool(L"StudiesPanelFix", tbStudiesPanelPin->Down()));
      tbStudiesPanelPinClick(tbStudiesPanelPin);
    } else {
      if (FClientArea)
        FClientArea->SetMaximizeCallback([this](bool maximized, int cell) { OnClientMaximizeChanged(maximized, cell); });
      tbStudiesPanelPin->SetDown(false);
      tbStudiesPanelPinClick(tbStudiesPanelPin);
      tbStudiesPanelPin->SetEnabled(FEnableInfoPanelPin != 0);
    }
    FMatrixColumns = std::max(monitors, 1);
    FMatrixRows = 1;
  } else {
    tbLink->SetDown(false);
    tbPaletteColor->SetDown(false);
    tbInverse->SetDown(false);
    // Without the start-up record the panel still shows, pinned at its width.
    if (!pnlLeft->Visible()) {
      pnlLeft->SetVisible(true);
      Splitter->SetVisible(true);
    }
  }

  if (FClientArea) {
    FClientArea->Control()->SetVisible(true);
    FClientArea->SetMatrix(FMatrixColumns, FMatrixRows);
    FMatrixColumns = FClientArea->Columns();
    FMatrixRows = FClientArea->Rows();
  }
  tbStackMatrix->SetEnabled(true);

  FListedPatient = patientIndex;
  FNextStudyBox = 0;

  FPatientInfo->SetPatientID(patient->GetPatientIDW());
  FPatientInfo->SetPatientName(patient->GetPatientNameW());
  FPatientInfo->SetPatientSex(platform::Utf8ToWide(Trim(patient->GetPatientSex())));
  FPatientInfo->SetBirthDate(platform::Utf8ToWide(FormatDicomDate(patient->GetPatientBirthDate())));
  FPatientInfo->ArrangeLabels();

  lblStudiesListTitle->SetCaption(Texts.FStudiesTitle + L": " + std::to_wstring(patient->FStudies.Count()));

  // The three latest distinct study dates; undated studies count as 0.
  FStudyAgeLimits = {};
  std::vector<platform::FileTime> dates(3);
  for (int32_t i = 0; i < patient->FStudies.Count(); ++i) {
    if (static_cast<size_t>(i) >= dates.size()) dates.emplace_back();
    platform::FileTime date;
    if (ParseDicomDate(patient->FStudies.At(i)->GetStudyDate(), &date)) dates[static_cast<size_t>(i)] = date;
  }
  std::sort(dates.begin(), dates.end(),
            [](const platform::FileTime& a, const platform::FileTime& b) { return FileTimeLess(&a, &b); });
  auto at = dates.rbegin();
  for (size_t limit = 0; limit < 3 && at != dates.rend(); ++limit) {
    FStudyAgeLimits[limit] = *at;
    const platform::FileTime value = *at;
    while (at != dates.rend() && FileTimeEqual(&*at, &value)) ++at;
  }

  platform::SetTimer(Handle(), FStudyBoxTimerId, kStudyBoxTickMs);
}

void TFormApplication::AddNextStudyBox() {
  platform::KillTimer(Handle(), FStudyBoxTimerId);
  ORN_dicom::TanPatientIE* patient = ListedPatient();
  // A tick that outlived its file set (closed or replaced) adds nothing and ends the listing.
  if (!patient || FNextStudyBox >= patient->FStudies.Count()) {
    FStudyBoxesComplete = true;
    if (patient && OnStudyBoxesComplete) OnStudyBoxesComplete();
    return;
  }
  const int studyIndex = FNextStudyBox;
  ORN_dicom::TanStudyIE* study = patient->FStudies.At(studyIndex);
  const int32_t stackCount = StudyStackCount(*study);

  const std::wstring title = platform::Utf8ToWide(FormatDicomDate(study->GetStudyDate()) + " " +
                                                  FormatDicomTime(study->GetStudyTime()) + " " +
                                                  StudyModalities(*study) + " " +
                                                  Trim(study->GetAccessionNumber()) + " ") +
                             study->GetStudyDescriptionW();

  if (FStudyBoxFrameSet) {
    iSTUDY_BOX* box = FAppendStudyBoxes ? FStudyBoxFrameSet->AddStudyLast(title, studyIndex, stackCount)
                                        : FStudyBoxFrameSet->AddStudyFirst(title, studyIndex, stackCount);
    if (box) {
      box->SetAttachments("", nullptr);
      const std::string uid = Trim(study->GetStudyInstanceUID());
      if (SessionNumber() != -1) {
        box->SetAttachments(uid, [this](const std::string& text) { OpenHostStudyAttachments(text.c_str()); });
        box->SetStatusImage(false, nullptr);  // no host statuses without the data broker
      } else {
        const std::string folder = ExecutableFolder();
        // The UID names a folder: only a real UID may, never a path.
        if (!folder.empty() && ORN_dicom::IsDicomUID(uid) && FolderExists(folder + "Attachment/" + uid))
          box->SetAttachments(uid, [this](const std::string& text) { OpenStudyAttachments(text); });
      }
      TStudyBoxCallbacks callbacks;
      callbacks.TileDescription = [this](int32_t s, int32_t k, TStackTileDescription& d) {
        return GetStackTileInfo(s, k, d);
      };
      box->ApplyGuiSettings(FResources);
      callbacks.PlaceNewWindow = [this](iSTACK_WINDOW& w) { return PlaceNewStackWindow(w); };
      callbacks.PlaceWindowInCell = [this](iSTACK_WINDOW& w, int32_t cell) { return PlaceStackWindowInCell(w, cell); };
      callbacks.EngineFileLists = [this](int32_t s, int32_t r, int32_t k, bool lossy, std::ostream& images,
                                         std::ostream& states, std::ostream& frames, std::string& key) {
        return FillEngineFileLists(s, r, k, lossy, images, states, frames, key);
      };
      box->SetCallbacks(callbacks);
      box->SetLossyState(tbLossyMode->Visible() ? (tbLossyMode->Down() ? 1 : 0) : -1);
    }
  }
  AddedStudyBoxes.push_back(studyIndex);
  pnlLeft->Repaint();

  platform::SetTimer(Handle(), FStudyBoxTimerId, kStudyBoxTickMs);
  ++FNextStudyBox;
}

void TFormApplication::ShowStudy(int patient, int study, int stack) {
  if (!FileSetOpen() || patient < 0 || patient >= PatientCount()) return;
  if (patient != FListedPatient) ShowPatient(patient);
  FPatientIndex = patient;
  FStudyIndex = study;
  FStackIndex = stack;
  FAppendStudyBoxes = !tbSortingForward->Down();
}

void TFormApplication::OnTimer(uintptr_t id) {
  if (id == FPanelHideTimerId) {
    const int x = GetCursorPos().x;
    const int x0 = ClientToScreen(Point(pnlLeft->Left(), pnlLeft->Top())).x;
    const int w = pnlLeft->Visible() ? pnlLeft->Width() : FStudiesPanelHideRightBound;
    pnlLeft->SetVisible(x0 + FStudiesPanelHideLeftBound < x && x < x0 + w);
    if (pnlLeft->Visible()) pnlLeft->BringToFront();
  } else if (id == FStudyBoxTimerId) {
    AddNextStudyBox();
  } else if (id == StartTimerId()) {
    platform::KillTimer(Handle(), id);
    if (SessionNumber() == -1) OpenStandaloneFileSet();
    else OpenSessionFileSet();
  } else if (id == FClockTimerId && id != 0) {
    platform::KillTimer(Handle(), id);
    const std::time_t now = std::time(nullptr);
    std::string text;
    if (const std::tm* local = std::localtime(&now)) {
      const auto date = platform::FormatShortDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
      char time[16];
      std::snprintf(time, sizeof time, "%02d:%02d", local->tm_hour, local->tm_min);
      if (date) text = *date + "  " + time + "  ";
    }
    stextDateTime->SetCaption(platform::Utf8ToWide(text));
    platform::SetTimer(Handle(), id, 3000);
  }
}

}  // namespace vistrel_main
