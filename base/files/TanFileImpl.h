// One file on disk, made from its path: name, folder and extension, opening and creating,
// copying, moving, renaming and deleting, its size, and the attached attribute, time,
// input-output and mapping objects, made on demand.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/files/TabFileAttrubutes.h"
#include "base/files/TanFileDateTime.h"
#include "base/files/TanFileIOService.h"
#include "base/files/TanFileMappingService.h"
#include "base/files/iFILE.h"
#include "base/memory/HeapAllocated.h"
#include "platform/files/FileHandle.h"

namespace ORN_std {

// File objects come from the private heap of their size class, since listings make one per
// file; they may also live on a caller's stack.
class TanFileImpl : public nalloc::HeapAllocated<TanFileImpl>, public iFILE {
 public:
  // Throws std::runtime_error "invalid-argument-value" for an empty path.
  explicit TanFileImpl(const std::string& path);
  ~TanFileImpl() override;

  iFILEATTR* GetAttributes() override;
  iFILEATTR* GetAttributes() const override;
  iFILETIME* GetFileTime(uint8_t kind) override;
  iFILETIME* GetFileTime(uint8_t kind) const override;
  const std::string& GetName() const override { return FName; }
  const std::string& GetFolder() const override { return FFolder; }
  const std::string& GetExtension() const override { return FExtension; }
  const std::string& GetPath() const override { return FPath; }
  int64_t GetSize(uint8_t unitExponent) const override;
  const std::string& GetLastErrorText() const override { return FLastErrorText; }

  bool Exists() const override;
  bool Create(uint32_t desiredAccess, uint8_t shareMode, bool overlapped) override;
  bool Create(bool overlapped) override;
  bool Open(uint32_t desiredAccess, uint8_t shareMode, bool overlapped) override;
  bool Open(bool overlapped) override;
  bool CopyTo(const char* newPath, bool failIfExists) override;
  bool MoveTo(const char* newPath, bool replaceExisting) override;
  bool Delete() override;
  bool Rename(const char* newName) override;
  iFILE_GENERAL& Close() override;
  const iFILE_GENERAL& Close() const override;

  iFILE_IO* GetIOService() override;
  iFILE_IO* GetIOService() const override;
  iFILE_MAPPING* GetMappingService() override;
  iFILE_MAPPING* GetMappingService() const override;

  iFILE& Assign(const iFILE& other) override;

 private:
  void SplitPath();
  bool OpenWith(uint32_t desiredAccess, uint8_t shareMode, bool overlapped,
                platform::Disposition disposition) const;
  bool Succeeded(bool ok) const;
  void CloseFile() const;

  // The const views of the paired operations behave as the others: the handle, the error text
  // and the attached objects are the object's working state.
  mutable platform::FileHandle FHandle;
  std::string FPath;
  std::string FName;
  std::string FFolder;
  std::string FExtension;
  mutable std::string FLastErrorText;
  mutable std::unique_ptr<TabFileAttrubutes> FAttributes;
  mutable std::unique_ptr<TanFileDateTime> FFileTime;
  mutable std::unique_ptr<TanFileIOService> FIOService;
  mutable std::unique_ptr<TanFileMappingService> FMappingService;
};

}  // namespace ORN_std
