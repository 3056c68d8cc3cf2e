#include "dicom/elements/DDERegistryLoader.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "dicom/elements/TanDDERegistry.h"
#include "dicom/elements/TanDICOMDataElementRegestryCOMWrapper.h"
#include "platform/com/Library.h"

namespace orn_dicom {

namespace {

// Load state: 0 not loaded (at start and after a failed load), 1 loading, 2 ready.
constexpr int32_t kNotLoaded = 0;
constexpr int32_t kLoading = 1;
constexpr int32_t kReady = 2;

std::atomic<int32_t> gLoadState{kNotLoaded};
std::atomic<int32_t> gUserCount{0};
std::unique_ptr<orn_com_wrapper::TanDICOMDataElementRegestryCOMWrapper> gWrapper;
std::mutex gErrorLock;
std::string gLoadError;

// Waits while another thread loads; gives the state it settled on.
int32_t SettledLoadState() {
  int32_t state;
  while ((state = gLoadState.load(std::memory_order_acquire)) == kLoading) std::this_thread::yield();
  return state;
}

void SetLoadError(std::string text) {
  std::lock_guard<std::mutex> lock(gErrorLock);
  gLoadError = std::move(text);
}

}  // namespace

namespace detail {

std::wstring StandardDDEPathFrom(const std::wstring& moduleFileName, const std::wstring& previous) {
  // The module-file-name call fills at most 1024 characters.
  const std::wstring name = moduleFileName.substr(0, 1024);
  const auto slash = name.rfind(L'/');
  if (name.empty() || slash == std::wstring::npos) return previous;
  return name.substr(0, slash + 1) + L"LEXICA_DATA";
}

int32_t DDERegistryUserCount() { return gUserCount.load(); }

}  // namespace detail

const wchar_t* GetStandardDDEPath() {
  // Per thread, so that concurrent first users do not rebuild one text under each other.
  thread_local std::wstring path;
  path = detail::StandardDDEPathFrom(platform::ModuleFileNameW(), path);
  return path.c_str();
}

bool IsDDERegistryReady() { return SettledLoadState() == kReady; }

bool InitializeDDERegistry(const std::string& dllFileName, const std::wstring& dataPath) {
  if (gUserCount.load(std::memory_order_acquire) != 0) return true;

  int32_t previous;
  while ((previous = gLoadState.exchange(kLoading, std::memory_order_acq_rel)) == kLoading)
    std::this_thread::yield();
  if (previous == kReady) {
    gLoadState.store(kReady, std::memory_order_release);
    return true;
  }

  bool ok = false;
  try {
    auto wrapper = std::make_unique<orn_com_wrapper::TanDICOMDataElementRegestryCOMWrapper>(dllFileName);
    // The old wrapper goes only after the new one exists, so the DLL stays loaded.
    gWrapper = std::move(wrapper);
    ok = gWrapper->Initialize(dataPath);
    SetLoadError(ok ? std::string() : gWrapper->LastErrorText());
  } catch (const std::exception& e) {
    SetLoadError(e.what());
  } catch (...) {
    SetLoadError("Unexpected exception.");
  }
  gLoadState.store(ok ? kReady : kNotLoaded, std::memory_order_release);
  return ok;
}

std::string GetDDERegistryError() {
  std::lock_guard<std::mutex> lock(gErrorLock);
  return gLoadError;
}

}  // namespace orn_dicom

namespace orn_dicom_impl {

orn_com_wrapper::TanDICOMDataElementRegestryCOMWrapper& TanStandardDDEFileDBProvider::DDEWrapper() {
  return *orn_dicom::gWrapper;
}

TanDDERegistry::TanDDERegistry() {
  if (orn_dicom::SettledLoadState() != orn_dicom::kReady)
    throw std::runtime_error("DICOM Data Element Registry is uninitialized.");
  orn_dicom::gUserCount.fetch_add(1, std::memory_order_acq_rel);
}

TanDDERegistry::~TanDDERegistry() { orn_dicom::gUserCount.fetch_sub(1, std::memory_order_acq_rel); }

orn_dicom::iDDE_GROUP& TanDDERegistry::Group(uint16_t group) {
  if (group & 1) return FPrivate;
  const int32_t index = DDEWrapper().FindGroup(group);
  if (index == -1) return FUnknown;
  FStandard.SetGroupIndex(index);
  return FStandard;
}

}  // namespace orn_dicom_impl
