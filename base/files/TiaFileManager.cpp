#include "base/files/TiaFileManager.h"

#include <algorithm>

#include "base/files/FolderScan.h"

namespace {

System::AnsiString WithSeparator(const System::AnsiString& folder) {
  System::AnsiString root = folder;
  if (!root.empty() && root.back() != '/') root += '/';
  return root;
}

void CutFolder(TStringList& list, int from, const System::AnsiString& root) {
  for (int i = from; i < list.Count(); ++i) {
    System::AnsiString& item = list.Strings[i];
    item.erase(0, std::min(root.size(), item.size()));
  }
}

}  // namespace

int64_t TiaFileManager::GetFileList(TStringList& list, const System::AnsiString& folder) {
  const System::AnsiString root = WithSeparator(folder);

  int64_t total = 0;
  ORN_std::FolderScan::Tree(root, [&](const std::string& where, const ORN_std::FolderEntry& entry) {
    list.Add(where + entry.name);
    total += static_cast<int64_t>(entry.size);  // the whole 64-bit size
  });

  CutFolder(list, 0, root);
  return total;
}

int64_t TiaFileManager::GetContainedFileList(TStringList& list, const System::AnsiString& folder,
                                             TStringList& unreadable) {
  const System::AnsiString root = folder.empty() ? System::AnsiString("./") : WithSeparator(folder);
  const int firstFile = list.Count();
  const int firstUnreadable = unreadable.Count();
  int64_t total = 0;
  ORN_std::FolderScan::ContainedTree(
      root,
      [&](const std::string& where, const ORN_std::FolderEntry& entry) {
        list.Add(where + entry.name);
        total += static_cast<int64_t>(entry.size);
      },
      [&](const std::string& path) { unreadable.Add(path); });
  CutFolder(list, firstFile, root);
  CutFolder(unreadable, firstUnreadable, root);
  return total;
}
