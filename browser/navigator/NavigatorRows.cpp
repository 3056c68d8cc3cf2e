#include "browser/navigator/NavigatorRows.h"

#include <cstring>
#include <stdexcept>

#include "base/memory/TanCPPAllocator.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/dicomdir/TanDicomDirObject.h"
#include "imaging/TgbDicomIcon.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/vcl/SysUtils.h"

namespace ORN_dicomdir {
namespace {

// Blanks and control characters off both ends.
std::string TrimBlanks(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

void DropLeadingNonDigits(std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] < '0' || text[i] > '9')) ++i;
  text.erase(0, i);
}

int Number(const std::string& text) { return StrToIntDef(text, 0); }

}  // namespace

std::optional<std::string> DicomDateText(const std::string& value) {
  std::string text = TrimBlanks(value);
  if (text.size() < 4) return std::nullopt;
  const int year = Number(text.substr(0, 4));
  if (year == 0) return std::nullopt;
  text.erase(0, 4);
  DropLeadingNonDigits(text);
  if (text.size() < 2) return std::nullopt;
  const int month = Number(text.substr(0, 2));
  if (month <= 0 || month > 12) return std::nullopt;
  text.erase(0, 2);
  DropLeadingNonDigits(text);
  if (text.size() < 2) return std::nullopt;
  const int day = Number(text.substr(0, 2));
  if (day == 0) return std::nullopt;
  return platform::FormatShortDate(year, month, day);
}

std::optional<std::string> DicomTimeText(const std::string& value) {
  std::string text = TrimBlanks(value);
  if (text.size() < 2) return std::nullopt;
  const int hour = Number(text.substr(0, 2));
  if (hour >= 25 || hour < 0) return std::nullopt;
  text.erase(0, 2);
  DropLeadingNonDigits(text);
  if (text.size() < 2) return std::nullopt;
  const int minute = Number(text.substr(0, 2));
  if (minute >= 60) return std::nullopt;
  text.erase(0, 2);
  DropLeadingNonDigits(text);
  int second = 0, milliseconds = 0;
  if (text.size() >= 2) {
    second = Number(text.substr(0, 2));
    if (second >= 60) return std::nullopt;
    text.erase(0, 2);
    DropLeadingNonDigits(text);
    if (text.size() >= 3) milliseconds = Number(text.substr(0, 3));
  }
  return platform::FormatTime24(hour, minute, second, milliseconds);
}

bool IsOwnKeyImageSeries(const ORN_dicom::TanSeriesIE& series) {
  return series.GetSeriesDescription() == ORN_dicom::TanStudyIE::kKeyImageSeriesDescription &&
         series.GetSeriesInstanceUID().find(ORN_dicom::TanStudyIE::kKeyImageSeriesUIDRoot) != std::string::npos;
}

bool IsSoundBitmap(platform::HBITMAP bitmap) {
  if (bitmap == nullptr || bitmap->Width <= 0 || bitmap->Height <= 0) return false;
  const uint64_t rowBytes = (3ull * uint64_t(bitmap->Width) + 3) / 4 * 4;
  return bitmap->Stride >= rowBytes && uint64_t(bitmap->Bits.size()) >= uint64_t(bitmap->Stride) * uint64_t(bitmap->Height);
}

// Patient rows.

template <class C>
void TanPatientInfoObj<C>::Clear() {
  *this = TanPatientInfoObj();
}

template <class C>
void TanPatientInfoObj<C>::SetSex(const String& text) {
  const std::string trimmed = TrimBlanks(text);
  m_Sex = trimmed.empty() ? C(0) : C(trimmed[0]);
}

template <class C>
bool TanPatientInfoObj<C>::FormatDate(const String& value, String& text) {
  const auto date = DicomDateText(value);
  if (!date) return false;
  text = *date;
  return true;
}

template <class C>
void TanPatientInfoObj<C>::SetBirthDate(const String& text) {
  FormatDate(text, m_BirthDate);
}

template <class C>
void TanPatientInfoObj<C>::Fill(int32_t index, const ORN_dicom::TanPatientIE& patient) {
  m_Index = index;
  m_StudyCount = patient.FStudies.Count();
  SetPatientName(patient.GetPatientName());
  SetPatientID(patient.GetPatientID());
  SetBirthDate(patient.GetPatientBirthDate());
  SetSex(patient.GetPatientSex());
  SetCharacterSet(patient.GetSpecificCharacterSet());
}

// Study rows.

template <class C>
void TanStudyInfoObj<C>::Clear() {
  *this = TanStudyInfoObj();
}

template <class C>
bool TanStudyInfoObj<C>::FormatDate(const String& value, String& text) {
  const auto date = DicomDateText(value);
  if (!date) return false;
  text = *date;
  return true;
}

template <class C>
bool TanStudyInfoObj<C>::FormatTime(const String& value, String& text) {
  const auto time = DicomTimeText(value);
  if (!time) return false;
  text = *time;
  return true;
}

template <class C>
void TanStudyInfoObj<C>::SetStudyDate(const String& text) {
  FormatDate(text, m_StudyDate);
}

template <class C>
void TanStudyInfoObj<C>::SetStudyTime(const String& text) {
  FormatTime(text, m_StudyTime);
}

template <class C>
void TanStudyInfoObj<C>::Fill(int32_t index, const ORN_dicom::TanStudyIE& study) {
  m_Index = index;
  m_SeriesCount = study.FSeries.Count();
  m_StackCount = study.GetStackCount();
  SetStudyDate(study.GetStudyDate());
  SetStudyTime(study.GetStudyTime());
  SetModalities(study.GetModalitiesInStudy());
  SetStudyID(study.GetStudyID());
  SetAccessionNumber(study.GetAccessionNumber());
  SetStudyDescription(study.GetStudyDescription());
  SetReferringPhysician(study.GetReferringPhysicianName());
  SetCharacterSet(study.GetSpecificCharacterSet());
}

// Stack rows.

template <class C>
TanStackInfoObj<C>& TanStackInfoObj<C>::operator=(const TanStackInfoObj& other) {
  if (this == &other) return *this;
  Clear();
  m_Index = other.m_Index;
  m_SeriesNumber = other.m_SeriesNumber;
  m_InstanceCount = other.m_InstanceCount;
  m_FrameCount = other.m_FrameCount;
  m_PresentationStateCount = other.m_PresentationStateCount;
  m_ProtocolName = other.m_ProtocolName;
  m_SeriesDate = other.m_SeriesDate;
  m_SeriesTime = other.m_SeriesTime;
  m_Modality = other.m_Modality;
  m_BodyPart = other.m_BodyPart;
  m_SeriesDescription = other.m_SeriesDescription;
  m_Icon = CopyBitmap(other.m_Icon);
  return *this;
}

template <class C>
void TanStackInfoObj<C>::Clear() {
  platform::DeleteBitmap(m_Icon);
  m_Icon = nullptr;
  m_Index = m_SeriesNumber = m_InstanceCount = m_FrameCount = m_PresentationStateCount = -1;
  m_ProtocolName.clear();
  m_SeriesDate.clear();
  m_SeriesTime.clear();
  m_Modality.clear();
  m_BodyPart.clear();
  m_SeriesDescription.clear();
}

template <class C>
platform::HBITMAP TanStackInfoObj<C>::CopyBitmap(platform::HBITMAP source) {
  if (!IsSoundBitmap(source)) return nullptr;
  platform::HBITMAP copy = platform::CreateDibSection24(source->Width, source->Height);
  if (copy == nullptr) return nullptr;
  const size_t rowBytes = copy->Stride;
  for (int32_t y = 0; y < copy->Height; ++y) std::memcpy(copy->StoredRow(y), source->StoredRow(y), rowBytes);
  return copy;
}

template <class C>
bool TanStackInfoObj<C>::FormatDate(const String& value, String& text) {
  const auto date = DicomDateText(value);
  if (!date) return false;
  text = *date;
  return true;
}

template <class C>
bool TanStackInfoObj<C>::FormatTime(const String& value, String& text) {
  const auto time = DicomTimeText(value);
  if (!time) return false;
  text = *time;
  return true;
}

template <class C>
void TanStackInfoObj<C>::SetSeriesDate(const String& text) {
  FormatDate(text, m_SeriesDate);
}

template <class C>
void TanStackInfoObj<C>::SetSeriesTime(const String& text) {
  FormatTime(text, m_SeriesTime);
}

namespace {
// The Referenced File ID of the series' image at a stack entry's image index; empty when the
// index names no image, so a damaged stack still gives a row.
std::string ImageFileID(const ORN_dicom::TanSeriesIE& series, int32_t imageIndex) {
  if (imageIndex < 0 || imageIndex >= series.FImages.Count()) return std::string();
  return series.FImages.At(imageIndex)->GetReferencedFileID();
}
}  // namespace

template <class C>
void TanStackInfoObj<C>::Fill(int32_t index, int32_t stackIndex, const ORN_dicom::TanSeriesIE& series) {
  const ORN_dicom::TanPrivateIE* stack = series.Stacks().At(stackIndex);
  platform::DeleteBitmap(m_Icon);
  m_Icon = nullptr;
  if (ORN_dicom::iDDE* sequence = stack->GetIconImageSequence()) {
    ORN_image::TgbDisplayDicomIcon<ORN_std::TanCPPAllocator> icon(sequence);
    m_Icon = icon.CreateBitmap();
  }
  m_Index = index;
  m_SeriesNumber = series.GetSeriesNumber();
  m_FrameCount = stack->GetStackImageCount();
  m_PresentationStateCount = stack->GetPresentationRefCount();
  if (IsOwnKeyImageSeries(series)) {
    SetProtocolName(series.GetSeriesDescription());
    SetBodyPart(String());
  } else {
    SetProtocolName(series.GetProtocolName());
    SetBodyPart(series.GetBodyPartExamined());
  }
  SetSeriesDescription(series.GetSeriesDescription());
  SetModality(series.GetModality());
  SetSeriesDate(series.GetSeriesDate());
  SetSeriesTime(series.GetSeriesTime());
  m_InstanceCount = 1;
  for (int32_t k = 1; k < m_FrameCount; ++k) {
    if (ImageFileID(series, stack->GetStackImageIndex(k - 1)) != ImageFileID(series, stack->GetStackImageIndex(k)))
      ++m_InstanceCount;
  }
}

template class TanPatientInfoObj<char>;
template class TanStudyInfoObj<char>;
template class TanStackInfoObj<char>;

void BuildPatientRows(const ORN_dicom::TanDicomDirObject& dicomDir, TPatientRows& rows) {
  rows.clear();
  const auto& patients = dicomDir.Patients();
  for (int32_t i = 0; i < patients.Count(); ++i) {
    rows.emplace_back();
    rows.back().Fill(i, *patients.At(i));
  }
}

void BuildStudyRows(const ORN_dicom::TanPatientIE& patient, TStudyRows& rows) {
  rows.clear();
  for (int32_t i = 0; i < patient.FStudies.Count(); ++i) {
    rows.emplace_back();
    rows.back().Fill(i, *patient.FStudies.At(i));
  }
}

void BuildStackRows(const ORN_dicom::TanStudyIE& study, TStackRows& rows) {
  rows.clear();
  int32_t r = -1;
  for (int32_t s = 0; s < study.FSeries.Count(); ++s) {
    const ORN_dicom::TanSeriesIE& series = *study.FSeries.At(s);
    for (int32_t j = 0; j < series.Stacks().Count(); ++j) {
      rows.emplace_back();
      rows.back().Fill(++r, j, series);
    }
  }
}

int32_t ToMainWindowStackIndex(int32_t index, int32_t stackCount) {
  if (index < 0 || index >= stackCount) return index < 0 ? index : -1;
  return stackCount - 1 - index;
}

}  // namespace ORN_dicomdir
