// The file-object proxy: the one door through which the system reads a DICOM file by its path
// (or, in a session with a host, by the host's file ID). The implementation's operations are
// protected virtual functions; callers use the public non-virtual members of the derived
// interface. Operations return the proxy codes of ProxyCodes.h and never let an exception out.
#pragma once

#include <cstdint>

namespace ORN_dicom {
class TanDicomFileObject;
class iDICOM_FILE_OBJECT_PROXY;
}  // namespace ORN_dicom

namespace ORN_dicom_impl {

class iDICOM_FILE_OBJECT_PROXY_PROTECTED {
  // The public interface reaches the slots through this base, so that its own IsAvailable
  // can stand beside the virtual one.
  friend class ORN_dicom::iDICOM_FILE_OBJECT_PROXY;

 protected:
  ~iDICOM_FILE_OBJECT_PROXY_PROTECTED() = default;

  // On 0 the buffer holds exactly `length` bytes from `offset`.
  virtual int32_t ReadFileRange(const char* path, int64_t offset, int64_t length, void* buffer,
                                bool overlapped) = 0;
  // On 0 the file object holds the meta group and the data set up to the pixel-data group.
  virtual int32_t LoadHeader(const char* path, ORN_dicom::TanDicomFileObject* file, bool flag) = 0;
  // On 0 the file object holds the whole file.
  virtual int32_t LoadFile(const char* path, ORN_dicom::TanDicomFileObject* file, bool flag) = 0;
  virtual bool IsAvailable() = 0;
};

}  // namespace ORN_dicom_impl

namespace ORN_dicom {

class iDICOM_FILE_OBJECT_PROXY : public ORN_dicom_impl::iDICOM_FILE_OBJECT_PROXY_PROTECTED {
 public:
  virtual ~iDICOM_FILE_OBJECT_PROXY() = default;

  // LoadFile when the whole file is wanted, else LoadHeader; `flag` is handed on.
  int32_t LoadFileObject(const char* path, TanDicomFileObject* file, bool wholeFile, bool flag) {
    Slots& slots = *this;
    return wholeFile ? slots.LoadFile(path, file, flag) : slots.LoadHeader(path, file, flag);
  }
  // True when the proxy can serve files.
  bool IsAvailable() const {
    Slots& slots = const_cast<iDICOM_FILE_OBJECT_PROXY&>(*this);
    return slots.IsAvailable();
  }

 private:
  using Slots = ORN_dicom_impl::iDICOM_FILE_OBJECT_PROXY_PROTECTED;
};

}  // namespace ORN_dicom
