#include "base/files/FolderScan.h"

#include <algorithm>
#include <vector>

#include "base/files/FolderContainment.h"
#include "platform/core/LastError.h"
#include "platform/files/FileAttributes.h"
#include "platform/files/FileOperations.h"
#include "platform/files/FindFiles.h"

namespace ORN_std {

namespace {

using Ancestors = std::vector<platform::FileId>;

// Enters a folder unless it is one of those being walked; pushes its identity.
bool Enter(const std::string& folder, Ancestors& ancestors) {
  platform::FileId id;
  if (!platform::GetFileId(folder.empty() ? "." : folder, &id)) return false;
  if (std::find(ancestors.begin(), ancestors.end(), id) != ancestors.end()) return false;
  ancestors.push_back(id);
  return true;
}

// False when the folder of the pattern cannot be searched (a match is not needed).
template <class Visit>
bool ForEach(const std::string& pattern, Visit visit) {
  platform::FindData data;
  const auto search = platform::FindFirstFile(pattern, &data);
  if (search == platform::kInvalidFindHandle) return platform::GetLastError() == platform::err::FileNotFound;
  do {
    visit(FolderEntry{data.name, data.attributes, data.size});
  } while (platform::FindNextFile(search, &data));
  platform::FindClose(search);
  return true;
}

bool IsSubfolder(const FolderEntry& entry) {
  return (entry.attributes & FolderScan::kDirectory) && entry.name != "." && entry.name != "..";
}

void Walk(const std::string& folder, const std::string& mask, bool recursive,
          const FolderScan::EntryVisitor& visit, Ancestors& ancestors) {
  ForEach(folder + "/" + mask, [&](const FolderEntry& entry) {
    if (!(entry.attributes & FolderScan::kDirectory)) visit(folder, entry);
  });
  if (!recursive) return;
  ForEach(folder + "/*.*", [&](const FolderEntry& entry) {
    if (!IsSubfolder(entry)) return;
    const std::string sub = folder + "/" + entry.name;
    if (!Enter(sub, ancestors)) return;
    Walk(sub, mask, recursive, visit, ancestors);
    ancestors.pop_back();
  });
}

void WalkTree(const std::string& folder, const FolderScan::EntryVisitor& visit,
              Ancestors& ancestors) {
  ForEach(folder + "*.*", [&](const FolderEntry& entry) {
    if (entry.attributes & FolderScan::kDirectory) {
      if (!IsSubfolder(entry)) return;
      const std::string sub = folder + entry.name + "/";
      if (!Enter(sub, ancestors)) return;
      WalkTree(sub, visit, ancestors);
      ancestors.pop_back();
    } else {
      visit(folder, entry);
    }
  });
}

struct ContainedWalk {
  std::string root;  // resolved
  const FolderScan::EntryVisitor& visit;
  const FolderScan::PathVisitor& unreadable;
  Ancestors ancestors;

  void Walk(const std::string& folder) {
    const bool searched = ForEach(folder + "*.*", [&](const FolderEntry& entry) {
      if (entry.name == "." || entry.name == "..") return;
      const std::string path = folder + entry.name;
      if (entry.attributes & platform::attr::ReparsePoint) {
        std::string target;
        if (!platform::ResolvedPath(path, &target)) {
          unreadable(path);
          return;
        }
        if (!IsBelow(root, target)) return;  // a link out of the folder is not followed
      }
      if (entry.attributes & FolderScan::kDirectory) {
        const std::string sub = path + "/";
        if (!Enter(sub, ancestors)) return;
        Walk(sub);
        ancestors.pop_back();
      } else if (!(entry.attributes & platform::attr::Device)) {
        visit(folder, entry);
      }
    });
    if (!searched) unreadable(folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder);
  }
};

}  // namespace

void FolderScan::ContainedTree(const std::string& folder, const EntryVisitor& visit, const PathVisitor& unreadable) {
  ContainedWalk walk{ResolvedFolder(folder), visit, unreadable, {}};
  if (walk.root.empty() || !Enter(folder, walk.ancestors)) {
    unreadable(folder);
    return;
  }
  walk.Walk(folder);
}

void FolderScan::Files(const std::string& folder, const std::string& mask, bool recursive,
                       const EntryVisitor& visit) {
  Ancestors ancestors;
  if (!Enter(folder, ancestors)) return;
  Walk(folder, mask, recursive, visit, ancestors);
}

void FolderScan::Tree(const std::string& folder, const EntryVisitor& visit) {
  Ancestors ancestors;
  if (!Enter(folder, ancestors)) return;
  WalkTree(folder, visit, ancestors);
}

}  // namespace ORN_std
