// Closing: the close button, the menu's exit and the window frame's close end the process at
// once, after the user has decided about temporary key images that were not archived.
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/mainwindow/TFormApplication.h"
#include "platform/files/FileAttributes.h"
#include "platform/files/FindFiles.h"

namespace vistrel_main {

namespace {

// Marking a file discarded is retried this often; a medium whose attributes never change (a
// read-only one) cannot hold the close.
constexpr int kDiscardAttempts = 10;

constexpr uint32_t kBlockingAttributes =
    platform::attr::ReadOnly | platform::attr::Archive | platform::attr::Offline;

}  // namespace

void TFormApplication::tbCloseClick(TObject*) {
  // No composer runs in this build, so nothing has to agree first.
  CheckTemporaryKeyImages();
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  TerminateProcess();
}

void TFormApplication::exit1Click(TObject*) { tbCloseClick(nullptr); }

void TFormApplication::tbMinMaxClick(TObject*) { Minimize(); }

std::string TFormApplication::GetRunKeyImageFolder() { return RunKeyImageFolder; }

void TFormApplication::CheckTemporaryKeyImages() {
  if (!tbSaveKeyImages->Visible() || !tbSaveKeyImages->Enabled()) return;
  const int answer = ShowMessageBox(Texts.msgTempObjsWerenotSaved + L"\n" + Texts.msgQryToSave,
                                    Texts.msgWarningCaption, MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) return;  // archiving belongs to the key-image work
  const std::string folder = GetRunKeyImageFolder();
  if (folder.empty()) return;
  platform::FindData data;
  platform::FindHandle find = platform::FindFirstFile(folder + "/*.ornkitmp", &data);
  if (find == platform::kInvalidFindHandle) return;
  do {
    if (data.attributes & platform::attr::Directory) continue;
    if (!(data.attributes & platform::attr::Hidden) || (data.attributes & kBlockingAttributes)) continue;
    const std::string path = folder + "/" + data.name;
    for (int attempt = 0; attempt < kDiscardAttempts; ++attempt) {
      platform::SetFileAttributes(path, platform::attr::Normal);
      platform::SetFileAttributes(path, platform::attr::Offline);
      const uint32_t now = platform::GetFileAttributes(path);
      if (now != platform::kInvalidFileAttributes && (now & platform::attr::Offline)) break;
    }
  } while (platform::FindNextFile(find, &data));
  platform::FindClose(find);
}

}  // namespace vistrel_main
