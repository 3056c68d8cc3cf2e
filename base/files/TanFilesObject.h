// A folder listing of file objects that match a mask, optionally with the files of every
// subfolder: files of a folder come before those of its subfolders; with the front flag every
// file goes to the front, so the listing holds them in the reverse of the order found.
#pragma once

#include <algorithm>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/files/FolderScan.h"
#include "base/files/TanFileImpl.h"
#include "base/files/iFILES.h"

namespace ORN_std {

template <class TAllocator = std::allocator<std::unique_ptr<iFILE>>>
class TanFilesObject : public iFILES {
 public:
  TanFilesObject(const std::string& folder, const std::string& mask, bool recursive, bool toFront)
      : FFolder(folder) {
    Rescan(mask, recursive, toFront);
  }
  explicit TanFilesObject(const std::string& folder) : FFolder(folder) {}
  TanFilesObject(const TanFilesObject&) = delete;
  TanFilesObject& operator=(const TanFilesObject&) = delete;
  ~TanFilesObject() override = default;

  bool IsEmpty() const override { return FFiles.empty(); }
  int32_t GetCount() const override { return static_cast<int32_t>(FFiles.size()); }

  int32_t Find(const std::string& path) const override {
    for (size_t i = 0; i < FFiles.size(); ++i)
      if (FFiles[i]->GetPath() == path) return static_cast<int32_t>(i);
    return -1;
  }

  iFILES& Erase(int32_t index, bool release) override {
    CheckIndex(index);
    const auto at = FFiles.begin() + index;
    if (release) static_cast<void>(at->release());
    FFiles.erase(at);
    return *this;
  }

  iFILES& Clear(bool release) override {
    if (release)
      for (auto& file : FFiles) static_cast<void>(file.release());
    FFiles.clear();
    return *this;
  }

  iFILES& PopFront(bool release) override {
    CheckNotEmpty();
    if (release) static_cast<void>(FFiles.front().release());
    FFiles.pop_front();
    return *this;
  }

  iFILES& PopBack(bool release) override {
    CheckNotEmpty();
    if (release) static_cast<void>(FFiles.back().release());
    FFiles.pop_back();
    return *this;
  }

  iFILES& Reverse() override {
    std::reverse(FFiles.begin(), FFiles.end());
    return *this;
  }

  iFILE& Front() override { return CheckNotEmpty(), *FFiles.front(); }
  const iFILE& Front() const override { return CheckNotEmpty(), *FFiles.front(); }
  iFILE& Back() override { return CheckNotEmpty(), *FFiles.back(); }
  const iFILE& Back() const override { return CheckNotEmpty(), *FFiles.back(); }
  iFILE& At(int32_t index) override { return CheckIndex(index), *FFiles[index]; }
  const iFILE& At(int32_t index) const override { return CheckIndex(index), *FFiles[index]; }

  iFILES& AppendFront(iFILES& other, bool takeFromFront) override {
    if (&other == this) return *this;
    while (!other.IsEmpty()) {
      iFILE& file = takeFromFront ? other.Front() : other.Back();
      FFiles.emplace_front(&file);
      if (takeFromFront)
        other.PopFront(true);
      else
        other.PopBack(true);
    }
    return *this;
  }

  iFILES& AppendBack(iFILES& other, bool takeFromBack) override {
    if (&other == this) return *this;
    while (!other.IsEmpty()) {
      iFILE& file = takeFromBack ? other.Back() : other.Front();
      FFiles.emplace_back(&file);
      if (takeFromBack)
        other.PopBack(true);
      else
        other.PopFront(true);
    }
    return *this;
  }

  void Rescan(const std::string& mask, bool recursive, bool toFront) override {
    FFiles.clear();
    FolderScan::Files(FFolder, mask, recursive,
                      [&](const std::string& folder, const FolderEntry& entry) {
                        // A file that cannot be made or added is left out; the listing goes on.
                        try {
                          // The private heap may be full: then no object is made.
                          std::unique_ptr<iFILE> file(new TanFileImpl(folder + "/" + entry.name));
                          if (!file) return;
                          if (toFront)
                            FFiles.push_front(std::move(file));
                          else
                            FFiles.push_back(std::move(file));
                        } catch (...) {
                        }
                      });
  }

  int64_t GetTotalSize() override {
    FLastErrorText.clear();
    int64_t total = 0;
    for (const auto& file : FFiles) {
      const int64_t size = file->GetSize(0);
      if (size == -1) {
        FLastErrorText = file->GetLastErrorText();
        return -1;
      }
      total += size;
    }
    return total;
  }

  const std::string& GetLastErrorText() const override { return FLastErrorText; }

 private:
  void CheckIndex(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= FFiles.size()) throw std::out_of_range("deque");
  }
  void CheckNotEmpty() const {
    if (FFiles.empty()) throw std::out_of_range("deque");
  }

  std::deque<std::unique_ptr<iFILE>, TAllocator> FFiles;
  std::string FLastErrorText;
  std::string FFolder;
};

}  // namespace ORN_std
