// File mappings on the paging file that other processes open by name. A mapping has exactly
// the length it was created with, and lives while some process holds a handle or a view of
// it; a name left by a crashed process never blocks a new mapping of that name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class MappedView;

class NamedFileMapping {
 public:
  // Creates a mapping of `size` bytes (at least 1), zero-filled. An empty name gives a mapping
  // no other process can open. When the name is held already, the existing mapping is
  // returned with its own size and the last error is err::AlreadyExists; otherwise it is
  // err::Success. Null on failure.
  static std::unique_ptr<NamedFileMapping> Create(const std::string& name, uint64_t size);
  // Opens a mapping that some process holds; null with err::FileNotFound otherwise.
  static std::unique_ptr<NamedFileMapping> Open(const std::string& name);

  ~NamedFileMapping();
  NamedFileMapping(const NamedFileMapping&) = delete;
  NamedFileMapping& operator=(const NamedFileMapping&) = delete;

  uint64_t Size() const;
  // Maps `length` bytes from `offset` (0: to the end), read and write. Null on failure.
  std::unique_ptr<MappedView> Map(uint64_t offset = 0, uint64_t length = 0);

  struct Core;

 private:
  explicit NamedFileMapping(std::shared_ptr<Core> core) : core_(std::move(core)) {}
  std::shared_ptr<Core> core_;
};

// A view keeps its mapping alive after the mapping's handle is closed, as on Win32.
class MappedView {
 public:
  ~MappedView();
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;

  uint8_t* Data() const { return data_; }
  uint64_t Size() const { return size_; }
  bool Flush();

 private:
  friend class NamedFileMapping;
  MappedView(std::shared_ptr<NamedFileMapping::Core> core, void* base, uint64_t baseLength, uint8_t* data,
             uint64_t size)
      : core_(std::move(core)), base_(base), baseLength_(baseLength), data_(data), size_(size) {}

  std::shared_ptr<NamedFileMapping::Core> core_;
  void* base_;
  uint64_t baseLength_;
  uint8_t* data_;
  uint64_t size_;
};

}  // namespace platform
