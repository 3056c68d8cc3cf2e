#include "fileset/proxy/TanDICOMFileObjectProxyImplementation.h"

#include <algorithm>

#include "base/files/TanFileImpl.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "fileset/proxy/ProxyCodes.h"

namespace ORN_dicom_impl {

namespace {

using namespace ORN_dicom::proxy_code;

// Reads go in pieces of at most 1 MiB, as the file layer's transfers are 32-bit.
constexpr uint32_t kPiece = 1u << 20;

int32_t Load(const char* path, ORN_dicom::TanDicomFileObject* file, bool header) {
  int32_t code = kDone;
  try {
    const std::string name = ToProxyArgument(path, code);
    if (code != kDone) return code;
    if (!file) return kBadArgument;
    const std::string error = header ? file->LoadHeaderFromFile(name, false) : file->LoadFromFile(name, false);
    return error.empty() ? kDone : kFailed;
  } catch (...) {
    return kException;
  }
}

}  // namespace

int32_t TanDICOMFileObjectProxyImplementation::ReadFileRange(const char* path, int64_t offset, int64_t length,
                                                             void* buffer, bool overlapped) {
  int32_t code = kDone;
  try {
    const std::string name = ToProxyArgument(path, code);
    if (code != kDone) return code;
    // A negative offset is never reached (and a failed seek must not pass for one).
    if (offset < 0) return kFailed;
    ORN_std::TanFileImpl file(name);
    if (!file.Open(platform::access::GenericRead, platform::share::Read, overlapped)) return kFailed;
    // The file is closed on every way out once it was opened.
    struct Closer {
      ORN_std::TanFileImpl& file;
      ~Closer() { file.Close(); }
    } closer{file};
    ORN_std::iFILE_IO* io = file.GetIOService();
    if (!io || io->Seek(offset, 0) != offset) return kFailed;
    const uint64_t wanted = static_cast<uint64_t>(length);
    if ((wanted >> 32) != 0) return kFailed;
    if (wanted > 0 && !buffer) return kBadArgument;
    char* into = static_cast<char*>(buffer);
    for (uint64_t done = 0; done < wanted;) {
      const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(kPiece, wanted - done));
      const int32_t read = io->Read(into + done, piece, overlapped);
      if (read != static_cast<int32_t>(piece)) return kFailed;
      done += piece;
    }
    return kDone;
  } catch (...) {
    return kException;
  }
}

int32_t TanDICOMFileObjectProxyImplementation::LoadHeader(const char* path, ORN_dicom::TanDicomFileObject* file,
                                                          bool) {
  return Load(path, file, true);
}

int32_t TanDICOMFileObjectProxyImplementation::LoadFile(const char* path, ORN_dicom::TanDicomFileObject* file, bool) {
  return Load(path, file, false);
}

}  // namespace ORN_dicom_impl
