#include "dicom/elements/TanDICOMDataElementRegestryCOMWrapper.h"

#include <stdexcept>

namespace orn_com_wrapper {

namespace {
thread_local HRESULT tLastStatus = 0;
}

TanDICOMDataElementRegestryCOMWrapper::TanDICOMDataElementRegestryCOMWrapper(const std::string& dllFileName)
    : FClient(nullptr, CLSID_DicomDataElementRegistry, IID_IDicomDataElementRegistry, dllFileName) {
  if (FClient.Get() == nullptr) throw std::runtime_error(platform::com::HResultMessage(FClient.Status()));
}

bool TanDICOMDataElementRegestryCOMWrapper::Succeeded(HRESULT status) {
  tLastStatus = status;
  return status == 0;
}

std::string TanDICOMDataElementRegestryCOMWrapper::LastErrorText() const {
  return tLastStatus == 0 ? std::string() : platform::com::HResultMessage(tLastStatus);
}

bool TanDICOMDataElementRegestryCOMWrapper::Initialize(const std::wstring& dataPath) {
  const HRESULT status = FClient.Get()->Initialize(dataPath.c_str());
  if (Succeeded(status)) return true;
  FClient.SetError(status);  // loading runs on one thread at a time
  return false;
}

int32_t TanDICOMDataElementRegestryCOMWrapper::FindGroup(uint16_t group) {
  uint16_t index = 0;
  return Succeeded(FClient.Get()->FindGroup(group, &index)) ? index : -1;
}

int32_t TanDICOMDataElementRegestryCOMWrapper::FindElement(int32_t groupIndex, uint16_t element) {
  uint16_t index = 0;
  return Succeeded(FClient.Get()->FindElement(static_cast<uint16_t>(groupIndex), element, &index)) ? index : -1;
}

uint16_t TanDICOMDataElementRegestryCOMWrapper::GetFirstNumber(int32_t groupIndex, int32_t elementIndex) {
  uint16_t value = 0xFFFF;
  Succeeded(FClient.Get()->GetFirstNumber(static_cast<uint16_t>(groupIndex), static_cast<uint16_t>(elementIndex), &value));
  return value;
}

uint16_t TanDICOMDataElementRegestryCOMWrapper::GetSecondNumber(int32_t groupIndex, int32_t elementIndex) {
  uint16_t value = 0xFFFF;
  Succeeded(FClient.Get()->GetSecondNumber(static_cast<uint16_t>(groupIndex), static_cast<uint16_t>(elementIndex), &value));
  return value;
}

bool TanDICOMDataElementRegestryCOMWrapper::IsRetired(int32_t groupIndex, int32_t elementIndex) {
  uint16_t flag = 0;
  Succeeded(FClient.Get()->IsRetired(static_cast<uint16_t>(groupIndex), static_cast<uint16_t>(elementIndex), &flag));
  return flag != 0;
}

const char* TanDICOMDataElementRegestryCOMWrapper::GetVR(int32_t groupIndex, int32_t elementIndex) {
  const char* text = nullptr;
  Succeeded(FClient.Get()->GetVR(static_cast<uint16_t>(groupIndex), static_cast<uint16_t>(elementIndex), &text));
  return text;
}

const char* TanDICOMDataElementRegestryCOMWrapper::GetName(int32_t groupIndex, int32_t elementIndex) {
  const char* text = nullptr;
  Succeeded(FClient.Get()->GetName(static_cast<uint16_t>(groupIndex), static_cast<uint16_t>(elementIndex), &text));
  return text;
}

}  // namespace orn_com_wrapper
