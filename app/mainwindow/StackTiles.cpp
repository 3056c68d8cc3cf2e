// The study boxes' requests: the description of a stack tile, the file lists of a stack's
// rendering engine, and placing a new stack window into the client area with the settings the
// main window keeps for every stack window.
#include "app/mainwindow/EngineFileLists.h"
#include "app/mainwindow/TFormApplication.h"
#include "base/memory/TanCPPAllocator.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "imaging/TgbDicomIcon.h"
#include "platform/com/Library.h"
#include "platform/vcl/SysUtils.h"

namespace vistrel_main {

namespace {

bool IsOwnKeyImageSeries(const ORN_dicom::TanSeriesIE& series) {
  return series.GetSeriesDescription() == ORN_dicom::TanStudyIE::kKeyImageSeriesDescription &&
         series.GetSeriesInstanceUID().find(ORN_dicom::TanStudyIE::kKeyImageSeriesUIDRoot) != std::string::npos;
}

std::string Modalities(const ORN_dicom::TanStudyIE& study) {
  std::string joined;
  for (int32_t i = 0; i < study.FSeries.Count(); ++i) {
    const std::string m = Trim(study.FSeries.At(i)->GetModality());
    if (m.empty() || ("," + joined + ",").find("," + m + ",") != std::string::npos) continue;
    joined += (joined.empty() ? "" : ",") + m;
  }
  return joined;
}

}  // namespace

bool TFormApplication::GetStackTileInfo(int32_t study, int32_t stack, TStackTileDescription& record) {
  ORN_dicom::TanPatientIE* patient = ListedPatient();
  if (!patient) return false;
  ORN_dicom::TanStudyIE* studyRecord = patient->FStudies.At(study);
  int32_t series = 0;
  while (stack >= studyRecord->FSeries.At(series)->Stacks().Count()) {  // range-checked past the last
    stack -= studyRecord->FSeries.At(series)->Stacks().Count();
    ++series;
  }
  ORN_dicom::TanSeriesIE* seriesRecord = studyRecord->FSeries.At(series);
  ORN_dicom::TanPrivateIE* stackRecord = seriesRecord->Stacks().At(stack);
  record.StudyIndex = study;
  record.SeriesIndex = series;
  record.StackIndex = stack;
  record.Icon = nullptr;
  if (ORN_dicom::iDDE* sequence = stackRecord->GetIconImageSequence()) {
    ORN_image::TgbDisplayDicomIcon<ORN_std::TanCPPAllocator> icon(sequence);
    record.Icon = icon.CreateBitmap();
  }
  record.SeriesNumber = seriesRecord->GetSeriesNumber();
  record.ImageCount = stackRecord->GetStackImageCount();
  const bool keyImages = IsOwnKeyImageSeries(*seriesRecord);
  record.MainLabel = keyImages ? seriesRecord->GetSeriesDescriptionW() : seriesRecord->GetProtocolNameW();
  record.BodyPart = keyImages ? std::string() : seriesRecord->GetBodyPartExamined();
  record.SeriesDate = FormatDicomDate(seriesRecord->GetSeriesDate());
  record.SeriesTime = FormatDicomTime(seriesRecord->GetSeriesTime());
  record.Modality = Trim(seriesRecord->GetModality());
  if (!seriesRecord->GetSeriesDescription().empty()) record.Description = seriesRecord->GetSeriesDescriptionW();
  return true;
}

bool TFormApplication::FillEngineFileLists(int32_t study, int32_t series, int32_t stack, bool lossy,
                                           std::ostream& images, std::ostream& presentationStates,
                                           std::ostream& frames, std::string& key) {
  if (!ListedPatient()) return false;
  return ::vistrel_main::FillEngineFileLists(&FFileSet, FListedPatient, study, series, stack, lossy, images,
                                             presentationStates, frames, key);
}

int TFormApplication::ChronologicalClass(const platform::FileTime& date) const {
  for (int limit = 0; limit < 3; ++limit)
    if (!FileTimeLess(&date, &FStudyAgeLimits[static_cast<size_t>(limit)])) return limit;
  return 3;
}

// The common road of both placements: the cell, the window's settings, its patient and
// series texts and its study's age.
bool TFormApplication::PlaceWindow(iSTACK_WINDOW& window, int cell, bool releaseFirst, bool show) {
  bool attached = false;
  if (FClientArea && cell >= 0 && cell < FClientArea->CellCount()) {
    if (FResources && window.ApplyGuiSettingsOnce(FResources)) window.SetShown(false);
    window.SetToolbarPinned(FStackToolsPanelFix);
    window.SetShown(false);
    if (releaseFirst) FClientArea->ReleaseCellWindow(cell);
    attached = FClientArea->AttachToCell(cell, window);
    if (!attached && show) window.SetShown(false);
    window.SetNavigatorPinned(FNavigatorPanelFix);
    window.SetLinkAutomated(FLinkAutomated);
    window.SetInfoShown(FShowStackInfo);
    window.SetLinked(tbLink->Down());
    window.SetInverse(tbInverse->Down());
    window.SetPaletteColor(tbPaletteColor->Down());
    window.SetOppositePan(FOppositePan);
    int study = -1, series = -1, stack = -1;
    ORN_dicom::TanPatientIE* patient = ListedPatient();
    if (patient && window.GetIdentity(study, series, stack) && study >= 0 && series >= 0 &&
        study < patient->FStudies.Count() && series < patient->FStudies.At(study)->FSeries.Count()) {
      ORN_dicom::TanStudyIE* studyRecord = patient->FStudies.At(study);
      ORN_dicom::TanSeriesIE* seriesRecord = studyRecord->FSeries.At(series);
      TEmbeddedObjectTexts texts;
      texts.PatientName = patient->GetPatientNameW();
      texts.PatientID = patient->GetPatientIDW();
      texts.AccessionNumber = studyRecord->GetAccessionNumberW();
      texts.StudyID = studyRecord->GetStudyIDW();
      texts.Modalities = Modalities(*studyRecord);
      texts.SeriesInstanceUID = seriesRecord->GetSeriesInstanceUID();
      texts.SeriesNumber = std::to_string(seriesRecord->GetSeriesNumber());
      window.SetEmbeddedObject(texts);
      platform::FileTime date;
      if (ParseDicomDate(studyRecord->GetStudyDate(), &date)) window.SetChronologicalClass(ChronologicalClass(date));
    }
    window.SetStatisticsOptions(FStatisticsFlags & 1, FStatisticsFlags & 2, FStatisticsFlags & 4, FStatisticsFlags & 8);
    if (show) window.SetShown(true);
  }
  return attached;
}

bool TFormApplication::PlaceNewStackWindow(iSTACK_WINDOW& window) {
  if (!FClientArea) return false;
  int cell = FClientArea->FindFirstEmptyCell();
  if (cell < 0) cell = FClientArea->GetActiveCellIndex();
  if (cell < 0) return false;
  return PlaceWindow(window, cell, false, true);
}

bool TFormApplication::PlaceStackWindowInCell(iSTACK_WINDOW& window, int32_t cell) {
  if (cell < 0) return false;
  return PlaceWindow(window, cell, true, false);
}

}  // namespace vistrel_main
