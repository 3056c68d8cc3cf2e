// The local file-object proxy: reads files from disk with the file object, and byte ranges of
// a file with a file handle. It holds no state of its own.
#pragma once

#include "fileset/proxy/iDICOM_FILE_OBJECT_PROXY.h"

namespace ORN_dicom_impl {

class TanDICOMFileObjectProxyImplementation : public ORN_dicom::iDICOM_FILE_OBJECT_PROXY {
 protected:
  int32_t ReadFileRange(const char* path, int64_t offset, int64_t length, void* buffer, bool overlapped) override;
  // The last flag changes nothing: files are read with the skip-unexpected flag clear.
  int32_t LoadHeader(const char* path, ORN_dicom::TanDicomFileObject* file, bool flag) override;
  int32_t LoadFile(const char* path, ORN_dicom::TanDicomFileObject* file, bool flag) override;
  bool IsAvailable() override { return true; }
};

}  // namespace ORN_dicom_impl
