// The main window's 42 message texts and captions: English defaults, replaced by the value of
// the GUI_STRINGS page's child element of the same key when the page has one.
#pragma once

#include <string>

namespace app {
class iRESOURCE_INITIALIZATION;
}

namespace vistrel_main {

struct TMainWindowTexts {
  std::wstring FDicomDirInitializeText = L"Initialization from DICOMDIR file";
  std::wstring FStudiesTitle = L"Studies";
  std::wstring FVersionText = L"Version: 5.6";
  std::wstring FProductName = L"Vistrel";
  std::wstring msgQryToSave = L"Would You like to save?";
  std::wstring msgQryToReplace = L"Overwrite?";
  std::wstring msgTempObjsWerenotSaved = L"Some temporary key image objects were not saved to archive.";
  std::wstring msgDicomDirNotFound = L"DICOMDIR file was not found.";
  std::wstring msgApplicationClosed = L"Vistrel will be closed";
  std::wstring msgDicomDirIncorrect = L"The DICOMDIR file you are attempting to load was not built by ORN's tools.";
  std::wstring msgDicomdirCreated = L"DICOMDIR data created successfully.";
  std::wstring msgDicomDirInitError = L"DICOMDIR Initialization Error.";
  std::wstring msgInitializationFromFolder = L"Initialization From Folder...";
  std::wstring msgBuildingStacks = L"Building Stacks...";
  std::wstring msgBuildingPrivatePDI = L"Building Private Pixel Data Info...";
  std::wstring msgSavedSuccessfully = L" saved successfully.";
  std::wstring msgErrorSavingDicomdir = L"Error saving DICOMDIR file:";
  std::wstring msgFileAlreadyExists = L"File already exists:";
  std::wstring msgWarningCaption = L"Warning";
  std::wstring msgErrorCaption = L"Error";
  std::wstring msgNotifyCaption = L"Notification";
  std::wstring msgErrorSavingSecondaryCapture = L"Some Secondary Capture images were not saved.";
  std::wstring msgErrorSavingSecondaryMPRSeries = L"Some images of Secondary MPR Series were not saved.";
  std::wstring msgErrorUIDCreation = L"UID creation error.";
  std::wstring msgErrorAccessTempSCFolder = L"Error accessing temporary Secondary Capture Images Folder.";
  std::wstring msgUIDGenerationError = L"UID generator was not initialized.";
  std::wstring msgTransferringKeyImages = L"Archiving of Key Image Series...";
  std::wstring msgErrorTransferringKeyImages = L"Error occured during archiving some Key Image Object...";
  std::wstring msgSuccessTransferringKeyImages = L"Archivation of Key Image objects completed successfully.";
  std::wstring msgQueryReinitializeStacks = L"This possibly requires to reinitialize some opened stacks!";
  std::wstring msgQueryToConfirm = L"Press OK to confirm.";
  std::wstring msgConfirmImagesCount = L"Number of images to archive:";
  std::wstring msgFoundTemporaryKeyObjects = L"Older temporary key image objects were found.";
  std::wstring msgConfirmSavingTemporaryObjects = L"Press Yes to archive them before deleting...";
  std::wstring msgErrorStartingCleanup = L"Error starting temporary folder cleanup service.";
  std::wstring msgAdvancedToolLaunchFailed = L"Cannot start the advanced tool";
  std::wstring msgAnotherStudyOpening = L"You are about to go to another study!";
  std::wstring msgDataInitializationError = L"Data initialization error";
  std::wstring msgUnsupportedStudyType = L"Unsupported study type (frames count 0)";
  std::wstring msgComposerIsOpen = L"This operation will cause Quill Composer to be closed.";
  std::wstring msgPrintingMultiStudyIsNotAllowed = L"Printing more than one study in same page is not allowed.";
  std::wstring msgNoOpenComposerInstances = L"There is no open Composer.";

  // Reads every text from the GUI_STRINGS page; a missing page or key keeps the default.
  void Load(app::iRESOURCE_INITIALIZATION* resources);
  // The keys in declaration order with their members.
  template <class F>
  void ForEach(F visit) {
    visit(L"dicomdir_initialize", FDicomDirInitializeText);
    visit(L"studies", FStudiesTitle);
    visit(L"version", FVersionText);
    visit(L"product_name", FProductName);
    visit(L"msgQryToSave", msgQryToSave);
    visit(L"msgQryToReplace", msgQryToReplace);
    visit(L"msgTempObjsWerenotSaved", msgTempObjsWerenotSaved);
    visit(L"msgDicomDirNotFound", msgDicomDirNotFound);
    visit(L"msgApplicationClosed", msgApplicationClosed);
    visit(L"msgDicomDirIncorrect", msgDicomDirIncorrect);
    visit(L"msgDicomdirCreated", msgDicomdirCreated);
    visit(L"msgDicomDirInitError", msgDicomDirInitError);
    visit(L"msgInitializationFromFolder", msgInitializationFromFolder);
    visit(L"msgBuildingStacks", msgBuildingStacks);
    visit(L"msgBuildingPrivatePDI", msgBuildingPrivatePDI);
    visit(L"msgSavedSuccessfully", msgSavedSuccessfully);
    visit(L"msgErrorSavingDicomdir", msgErrorSavingDicomdir);
    visit(L"msgFileAlreadyExists", msgFileAlreadyExists);
    visit(L"msgWarningCaption", msgWarningCaption);
    visit(L"msgErrorCaption", msgErrorCaption);
    visit(L"msgNotifyCaption", msgNotifyCaption);
    visit(L"msgErrorSavingSecondaryCapture", msgErrorSavingSecondaryCapture);
    visit(L"msgErrorSavingSecondaryMPRSeries", msgErrorSavingSecondaryMPRSeries);
    visit(L"msgErrorUIDCreation", msgErrorUIDCreation);
    visit(L"msgErrorAccessTempSCFolder", msgErrorAccessTempSCFolder);
    visit(L"msgUIDGenerationError", msgUIDGenerationError);
    visit(L"msgTransferringKeyImages", msgTransferringKeyImages);
    visit(L"msgErrorTransferringKeyImages", msgErrorTransferringKeyImages);
    visit(L"msgSuccessTransferringKeyImages", msgSuccessTransferringKeyImages);
    visit(L"msgQueryReinitializeStacks", msgQueryReinitializeStacks);
    visit(L"msgQueryToConfirm", msgQueryToConfirm);
    visit(L"msgConfirmImagesCount", msgConfirmImagesCount);
    visit(L"msgFoundTemporaryKeyObjects", msgFoundTemporaryKeyObjects);
    visit(L"msgConfirmSavingTemporaryObjects", msgConfirmSavingTemporaryObjects);
    visit(L"msgErrorStartingCleanup", msgErrorStartingCleanup);
    visit(L"msgAdvancedToolLaunchFailed", msgAdvancedToolLaunchFailed);
    visit(L"msgAnotherStudyOpening", msgAnotherStudyOpening);
    visit(L"msgDataInitializationError", msgDataInitializationError);
    visit(L"msgUnsupportedStudyType", msgUnsupportedStudyType);
    visit(L"msgComposerIsOpen", msgComposerIsOpen);
    visit(L"msgPrintingMultiStudyIsNotAllowed", msgPrintingMultiStudyIsNotAllowed);
    visit(L"msgNoOpenComposerInstances", msgNoOpenComposerInstances);
  }
};

}  // namespace vistrel_main
