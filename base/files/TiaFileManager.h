// Lists every file below a folder into a string list, as paths relative to the folder, and
// returns their total size.
#pragma once

#include <cstdint>

#include "platform/vcl/SystemTypes.h"
#include "platform/vcl/TStringList.h"

class TiaFileManager {
 public:
  TiaFileManager() = default;
  ~TiaFileManager() = default;

  // Files of a folder come in the order found, each subfolder's files where the subfolder
  // comes. Every item of the list is cut by the folder's length afterwards, so the list should
  // come empty. An empty folder lists the current folder.
  int64_t GetFileList(TStringList& list, const System::AnsiString& folder);
  // GetFileList for building a file set: only regular files that lie inside the folder, also
  // through symbolic links (FolderScan::ContainedTree). Folders that cannot be searched and
  // links that cannot be resolved are added to `unreadable`, cut by the folder's length too.
  int64_t GetContainedFileList(TStringList& list, const System::AnsiString& folder, TStringList& unreadable);
};
