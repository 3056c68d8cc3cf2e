// Loading the dictionary component once per process. The factory facades call, before they
// make any factory: IsDDERegistryReady(); when false, InitializeDDERegistry("Tagbook.dll",
// GetStandardDDEPath()); when that fails too, throw std::runtime_error(GetDDERegistryError()).
#pragma once

#include <string>

namespace orn_dicom {

// The data folder beside the executable: its folder followed by "LEXICA_DATA". Built again on
// every call; the text stays valid until this thread's next call. Empty when the executable's
// path has no folder separator.
const wchar_t* GetStandardDDEPath();

// True once the component is loaded and initialised; waits while another thread loads it.
bool IsDDERegistryReady();

// Loads and initialises the component unless it is already; true when it is ready.
bool InitializeDDERegistry(const std::string& dllFileName, const std::wstring& dataPath);

// The reason of the last failed load; empty after a successful one.
std::string GetDDERegistryError();

namespace detail {
// The path-building rule of GetStandardDDEPath on a given module file name.
std::wstring StandardDDEPathFrom(const std::wstring& moduleFileName, const std::wstring& previous);
// Registry objects alive now (for tests).
int32_t DDERegistryUserCount();
}  // namespace detail

}  // namespace orn_dicom
