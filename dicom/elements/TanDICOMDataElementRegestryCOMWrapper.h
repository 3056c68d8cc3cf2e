// The one loaded dictionary component and the calls the system makes on it. Only a status of
// exactly 0 counts as success.
//
// Lookups come from many threads at once without a lock, so the status of a failed call is
// kept per thread (a number, formatted only when the text is asked for): a lookup never writes
// shared text and allocates nothing.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/elements/IDicomDataElementRegistry.h"

namespace orn_com_wrapper {

class TanDICOMDataElementRegestryCOMWrapper {
 public:
  // Loads the component; throws std::runtime_error with the system text of the client's status
  // when no object could be made.
  explicit TanDICOMDataElementRegestryCOMWrapper(const std::string& dllFileName);
  TanDICOMDataElementRegestryCOMWrapper(const TanDICOMDataElementRegestryCOMWrapper&) = delete;
  TanDICOMDataElementRegestryCOMWrapper& operator=(const TanDICOMDataElementRegestryCOMWrapper&) = delete;

  bool Initialize(const std::wstring& dataPath);
  int32_t FindGroup(uint16_t group);
  int32_t FindElement(int32_t groupIndex, uint16_t element);
  uint16_t GetFirstNumber(int32_t groupIndex, int32_t elementIndex);
  uint16_t GetSecondNumber(int32_t groupIndex, int32_t elementIndex);
  bool IsRetired(int32_t groupIndex, int32_t elementIndex);
  // The component's texts (valid while it is loaded), or null when the call failed.
  const char* GetVR(int32_t groupIndex, int32_t elementIndex);
  const char* GetName(int32_t groupIndex, int32_t elementIndex);

  // The system text of this thread's last failed call on the component; empty after a
  // successful one.
  std::string LastErrorText() const;

 private:
  bool Succeeded(HRESULT status);

  orn_com::com_client<IDicomDataElementRegistry> FClient;
};

}  // namespace orn_com_wrapper
