// Walks a folder for the listings: the entries that match a mask, then (when asked) every
// subfolder depth first. A folder already being walked higher up the tree (reached again
// through a symbolic link) is not entered, so a link loop ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ORN_std {

struct FolderEntry {
  std::string name;
  uint32_t attributes = 0;
  uint64_t size = 0;
};

class FolderScan {
 public:
  static constexpr uint32_t kDirectory = 0x10;

  using EntryVisitor = std::function<void(const std::string& folder, const FolderEntry& entry)>;
  using PathVisitor = std::function<void(const std::string& path)>;

  // Calls the visitor for every file (entry without the directory bit) of the folder that
  // matches the mask; with recursive, then walks each subfolder (found with "*.*") the same
  // way. The separator is put between folder and names. A folder that cannot be searched
  // gives nothing.
  static void Files(const std::string& folder, const std::string& mask, bool recursive,
                    const EntryVisitor& visit);

  // Calls the visitor for every entry of the folder searched with "*.*" in the order found,
  // walking into each subfolder where it comes. The folder ends with the separator or is empty
  // (the current folder).
  static void Tree(const std::string& folder, const EntryVisitor& visit);

  // Tree for a walk that must stay inside the folder (building a file set from it): an entry
  // that is a symbolic link is taken only when its target lies inside the folder, and only
  // regular files are visited (a FIFO or device is passed over: opening one may block for
  // ever). A subfolder that cannot be searched and a link that cannot be resolved go to
  // `unreadable`. The folder ends with the separator.
  static void ContainedTree(const std::string& folder, const EntryVisitor& visit, const PathVisitor& unreadable);
};

}  // namespace ORN_std
