// Opening another file set while the program runs: a DICOMDIR chosen in the open dialog, or a
// file set built from every DICOM file below a chosen folder, with its display stacks, and
// saved as a DICOMDIR in that folder when the user agrees.
#include "app/mainwindow/TFormApplication.h"
#include "app/mainwindow/TFormLoadingBar.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"
#include "platform/files/FindFiles.h"
#include "platform/windows/Messages.h"

namespace vistrel_main {

namespace {

bool PathExists(const std::string& path) { return platform::GetFileAttributes(path) != platform::kInvalidFileAttributes; }

bool IsFolder(const std::string& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes && (attributes & platform::attr::Directory);
}

// The first "*.bmp" beside the executable, with its folder; empty when there is none.
std::string FirstBitmapIn(const std::string& folder) {
  platform::FindData data;
  platform::FindHandle find = platform::FindFirstFile(folder + "*.bmp", &data);
  if (find == platform::kInvalidFindHandle) return "";
  std::string found;
  do {
    if (!(data.attributes & platform::attr::Directory)) {
      found = folder + data.name;
      break;
    }
  } while (platform::FindNextFile(find, &data));
  platform::FindClose(find);
  return found;
}

int32_t StudyStacks(const ORN_dicom::TanStudyIE& study) {
  int32_t count = 0;
  for (int32_t i = 0; i < study.FSeries.Count(); ++i) count += study.FSeries.At(i)->Stacks().Count();
  return count;
}

}  // namespace

void TFormApplication::ClearShownFileSet() {
  // Nothing of the old file set may outlive it: no box tick, no window, no box.
  platform::KillTimer(Handle(), FStudyBoxTimerId);
  FStudyBoxesComplete = true;
  if (FClientArea) FClientArea->ReleaseAllWindows();
  FClientArea.reset();
  FStudyBoxFrameSet.reset();
  FListedPatient = -1;
  FNextStudyBox = -1;
  FPatientIndex = FStudyIndex = FStackIndex = -1;
  lblStudiesListTitle->SetCaption(Texts.FStudiesTitle);
  FPatientInfo->SetPatientID(L"");
  FPatientInfo->SetPatientName(L"");
  FPatientInfo->SetPatientSex(L"");
  FPatientInfo->SetBirthDate(L"");
  FPatientInfo->SetPatientPosition(0, 0);
  FMessagePanel->SetMessage(L"");
}

void TFormApplication::OpenDicomDirFileExecute(TObject*) {
  if (!OpenDicomDirFileDialog->Execute()) return;
  const std::string path = platform::WideToUtf8(OpenDicomDirFileDialog->FileName);
  tbClose->SetEnabled(false);
  Application->ProcessMessages();

  std::unique_ptr<app::TFormLoadingBar> bar = MakeLoadingBar(FirstBitmapIn(ExecutableFolder()), Texts.FDicomDirInitializeText);
  bar->SetInfoText(0, 0, path.c_str());
  bar->Show();
  Application->ProcessMessages();

  ClearShownFileSet();
  FFileSet.OpenDicomDir(path);
  bar->Hide();
  FFileSet.OnProgress = nullptr;

  if (!FFileSet.FValid) {
    ShowMessageBox(Texts.msgDicomDirInitError + L"\n" + platform::Utf8ToWide(FFileSet.GetLastError()),
                   Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
    FFileSet.Close();
  } else if (!FFileSet.IsOwnDicomDir()) {
    ShowMessageBox(Texts.msgDicomDirIncorrect, Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
    FFileSet.Close();
  } else {
    const int count = PatientCount();
    if (count == 1) {
      ShowFirstOf(count);
      FPatientInfo->SetPatientPosition(count, 1);
      UpdatePatientButtons(count, 0);
    } else if (count > 1) {
      ConnectStandaloneNavigation();
      FPatientIndex = 0;
      ShowPatient(0);
      FPatientInfo->SetPatientPosition(count, FPatientIndex + 1);
      UpdatePatientButtons(count, FPatientIndex);
      tbPatientsList->Click();
    } else {
      FMessagePanel->SetMessage(L"The DICOMDIR holds no patients.");
    }
  }
  tbClose->SetEnabled(true);
}

void TFormApplication::OpenFolderExecute(TObject*) {
  if (!FLastFolder.empty() && !IsFolder(FLastFolder)) FLastFolder.clear();
  std::wstring chosen = platform::Utf8ToWide(FLastFolder);
  const bool accepted = SelectFolder ? SelectFolder(chosen) : SelectDirectory(L"Select Folder", L"", chosen);
  if (!accepted) return;
  std::string folder = platform::WideToUtf8(chosen);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  FLastFolder = folder;
  tbClose->SetEnabled(false);
  Application->ProcessMessages();

  std::unique_ptr<app::TFormLoadingBar> bar = MakeLoadingBar("", Texts.msgInitializationFromFolder);
  FFileSet.OnFileDone = [b = bar.get()](int32_t count, int32_t index, const char* file) {
    b->SetInfoText(count, index, file);
  };
  bar->Show();
  Application->ProcessMessages();

  ClearShownFileSet();
  FFileSet.BuildFromFolder(folder, true);
  if (!FFileSet.FValid) {
    bar->Hide();
    ShowMessageBox(Texts.msgDicomDirInitError + L"\n" + platform::Utf8ToWide(FFileSet.GetLastError()),
                   Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
    FFileSet.Close();
  } else {
    bar->SetCaption(Texts.msgBuildingStacks);
    bar->SetInfoText(0, 0, " ");
    bar->SetProgress(0, 0, 0);
    FFileSet.BuildStacks(true);
    bar->Hide();

    // The user's folder changes only when the user agrees: the pixel-data index rewrites the
    // images, so it runs only with the saving.
    if (ShowMessageBox(Texts.msgDicomdirCreated + L"\n" + Texts.msgQryToSave, Texts.msgWarningCaption,
                       MB_YESNO | MB_ICONQUESTION) == IDYES) {
      const std::string target = folder + "/DICOMDIR";
      const std::wstring shownTarget = platform::Utf8ToWide(target);
      const bool replace = !PathExists(target) ||
                           ShowMessageBox(Texts.msgFileAlreadyExists + L"\n" + shownTarget + L"\n" + Texts.msgQryToReplace,
                                          Texts.msgWarningCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
      if (replace) {
        bar->SetCaption(Texts.msgBuildingPrivatePDI);
        bar->SetInfoText(0, 0, " ");
        bar->SetProgress(0, 0, 0);
        bar->Show();
        Application->ProcessMessages();
        FFileSet.BuildPrivatePixelDataInfo();
        bar->Hide();
        if (FFileSet.SaveDicomDir(false))
          ShowMessageBox(shownTarget + L"\n" + Texts.msgSavedSuccessfully, Texts.msgNotifyCaption,
                         MB_OK | MB_ICONINFORMATION);
        else
          ShowMessageBox(Texts.msgErrorSavingDicomdir + L"\n" + platform::Utf8ToWide(FFileSet.GetLastError()),
                         Texts.msgErrorCaption, MB_OK | MB_ICONERROR);
      }
    }

    FPatientIndex = FStudyIndex = FStackIndex = -1;
    const int count = PatientCount();
    ORN_dicom::TanPatientIE* first = count > 0 ? FFileSet.GetDicomDir()->Patients().At(0) : nullptr;
    if (count == 1 && first->FStudies.Count() == 1 && StudyStacks(*first->FStudies.At(0)) == 1) {
      ShowStudy(0, 0, 0);
      FPatientInfo->SetPatientPosition(1, 1);
      UpdatePatientButtons(1, 0);
    } else if (count > 0) {
      if (count > 1) ConnectStandaloneNavigation();
      else tbPatientsList->OnClick = [this](TObject* s) { PatientListClick(s); };
      FPatientIndex = 0;
      ShowPatient(0);
      FPatientInfo->SetPatientPosition(count, FPatientIndex + 1);
      UpdatePatientButtons(count, FPatientIndex);
      tbPatientsList->Click();
    } else {
      FMessagePanel->SetMessage(L"The folder holds no patients.");
    }
  }
  FFileSet.OnProgress = nullptr;
  FFileSet.OnFileDone = nullptr;
  bar.reset();
  tbClose->SetEnabled(true);
}

}  // namespace vistrel_main
