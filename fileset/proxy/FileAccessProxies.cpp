#include "fileset/proxy/FileAccessProxies.h"

#include <atomic>
#include <mutex>
#include <new>

#include "fileset/proxy/ProxyCodes.h"
#include "fileset/proxy/TanDICOMFileObjectProxyImplementation.h"
#include "fileset/proxy/TanDICOMFileSetProxyImplementation.h"

namespace {

std::atomic<ORN_dicom::iDICOM_FILE_OBJECT_PROXY*> gFileObjectProxy{nullptr};
std::atomic<ORN_dicom::iDICOM_FILE_SET_PROXY*> gFileSetProxy{nullptr};
std::atomic<int64_t> gSessionNumber{-1};

// The DICOMDIR path is written only while a proxy is made, but read by every local proxy.
std::mutex& PathLock() {
  static std::mutex lock;
  return lock;
}
std::string& DicomDirPath() {
  static std::string path;
  return path;
}

template <class T>
void Install(std::atomic<T*>& slot, T* proxy) {
  if (!proxy) return;
  T* previous = slot.exchange(proxy);
  if (previous != proxy) delete previous;
}

}  // namespace

namespace ORN_dicom_impl {

std::string ToProxyArgument(const char* text, int32_t& code) {
  code = ORN_dicom::proxy_code::kBadArgument;
  if (!text || !*text) return std::string();
  try {
    std::string taken(text);
    code = ORN_dicom::proxy_code::kDone;
    return taken;
  } catch (...) {
    return std::string();
  }
}

void InstallFileObjectProxy(ORN_dicom::iDICOM_FILE_OBJECT_PROXY* proxy) { Install(gFileObjectProxy, proxy); }
void InstallFileSetProxy(ORN_dicom::iDICOM_FILE_SET_PROXY* proxy) { Install(gFileSetProxy, proxy); }

}  // namespace ORN_dicom_impl

namespace ORN_dicom {

iDICOM_FILE_OBJECT_PROXY* GetFileObjectProxy() { return gFileObjectProxy.load(); }

iDICOM_FILE_OBJECT_PROXY* NewLocalFileObjectProxy() {
  auto* proxy = new (std::nothrow) ORN_dicom_impl::TanDICOMFileObjectProxyImplementation();
  ORN_dicom_impl::InstallFileObjectProxy(proxy);
  return proxy;
}

iDICOM_FILE_OBJECT_PROXY* GetOrCreateFileObjectProxy() {
  if (iDICOM_FILE_OBJECT_PROXY* proxy = GetFileObjectProxy()) return proxy;
  // Two first callers on different threads must end up with one proxy: only an empty slot
  // takes the new one.
  auto* proxy = new (std::nothrow) ORN_dicom_impl::TanDICOMFileObjectProxyImplementation();
  if (!proxy) return nullptr;
  iDICOM_FILE_OBJECT_PROXY* expected = nullptr;
  if (gFileObjectProxy.compare_exchange_strong(expected, proxy)) return proxy;
  delete proxy;
  return expected;
}

iDICOM_FILE_SET_PROXY* GetFileSetProxy() { return gFileSetProxy.load(); }

iDICOM_FILE_SET_PROXY* NewLocalFileSetProxy(const char* dicomDirPath) {
  auto* proxy = new (std::nothrow) ORN_dicom_impl::TanDICOMFileSetProxyImplementation();
  if (!proxy) return nullptr;
  try {
    std::lock_guard<std::mutex> hold(PathLock());
    DicomDirPath() = dicomDirPath ? dicomDirPath : "";
  } catch (...) {
    delete proxy;
    return nullptr;
  }
  ORN_dicom_impl::InstallFileSetProxy(proxy);
  return proxy;
}

iDICOM_FILE_SET_PROXY* CreateLocalFileSetProxy(const char* dicomDirPath) {
  return NewLocalFileSetProxy(dicomDirPath);
}

iDICOM_FILE_SET_PROXY* GetOrCreateFileSetProxy() {
  if (iDICOM_FILE_SET_PROXY* proxy = GetFileSetProxy()) return proxy;
  return NewLocalFileSetProxy("DICOMDIR");
}

std::string GetLocalDicomDirPath() {
  std::lock_guard<std::mutex> hold(PathLock());
  return DicomDirPath();
}

void SetSessionNumber(uint32_t low, uint32_t high) {
  gSessionNumber.store(static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low));
}

int64_t GetSessionNumber() { return gSessionNumber.load(); }

}  // namespace ORN_dicom
