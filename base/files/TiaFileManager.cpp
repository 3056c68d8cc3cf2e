#include "base/files/TiaFileManager.h"

#include <algorithm>

#include "base/files/FolderScan.h"

int64_t TiaFileManager::GetFileList(TStringList& list, const System::AnsiString& folder) {
  System::AnsiString root = folder;
  if (!root.empty() && root.back() != '/') root += '/';

  int64_t total = 0;
  ORN_std::FolderScan::Tree(root, [&](const std::string& where, const ORN_std::FolderEntry& entry) {
    list.Add(where + entry.name);
    total += static_cast<int64_t>(entry.size);  // the whole 64-bit size
  });

  for (int i = 0; i < list.Count(); ++i) {
    System::AnsiString& item = list.Strings[i];
    item.erase(0, std::min(root.size(), item.size()));
  }
  return total;
}
