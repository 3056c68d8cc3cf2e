// The process-wide file-object and file-set proxies, the DICOMDIR path of the local file-set
// proxy and the session number of the data-broker ones. The two proxy pointers are read and
// replaced atomically; the proxy that was installed before is deleted right after it is
// replaced. Installed proxies live until they are replaced or the process ends.
#pragma once

#include <cstdint>
#include <string>

#include "fileset/proxy/iDICOM_FILE_OBJECT_PROXY.h"
#include "fileset/proxy/iDICOM_FILE_SET_PROXY.h"

namespace ORN_dicom {

// The installed proxy, or null.
iDICOM_FILE_OBJECT_PROXY* GetFileObjectProxy();
// Creates a local file-object proxy and installs it; null (and nothing replaced) when it
// cannot be made.
iDICOM_FILE_OBJECT_PROXY* NewLocalFileObjectProxy();
// The installed proxy; a local one is installed first when there is none. Every reader of a
// DICOM file by path goes through this.
iDICOM_FILE_OBJECT_PROXY* GetOrCreateFileObjectProxy();

iDICOM_FILE_SET_PROXY* GetFileSetProxy();
// Creates a local file-set proxy for the DICOMDIR path (null: an empty path) and installs it;
// null, with nothing changed, when it cannot be made.
iDICOM_FILE_SET_PROXY* NewLocalFileSetProxy(const char* dicomDirPath);
// The same, for the stand-alone start of the main window.
iDICOM_FILE_SET_PROXY* CreateLocalFileSetProxy(const char* dicomDirPath);
// The installed proxy; a local one for "DICOMDIR" in the current folder is installed first
// when there is none.
iDICOM_FILE_SET_PROXY* GetOrCreateFileSetProxy();

// The DICOMDIR that every local file-set proxy opens.
std::string GetLocalDicomDirPath();

// The session number of the data-broker calls, kept as its low and high 32-bit halves.
void SetSessionNumber(uint32_t low, uint32_t high);
int64_t GetSessionNumber();

}  // namespace ORN_dicom

namespace ORN_dicom_impl {

// The text of a C text argument; `code` becomes 1 when it is null or empty (or cannot be
// taken over), 0 otherwise.
std::string ToProxyArgument(const char* text, int32_t& code);

// Installs a proxy made by an implementation (the data-broker ones), deleting the previous
// one; null is ignored.
void InstallFileObjectProxy(ORN_dicom::iDICOM_FILE_OBJECT_PROXY* proxy);
void InstallFileSetProxy(ORN_dicom::iDICOM_FILE_SET_PROXY* proxy);

}  // namespace ORN_dicom_impl
