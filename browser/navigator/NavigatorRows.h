// The rows of the navigator's three levels: a patient, a study or a stack of the file set,
// gathered from its records into texts and numbers that the level grids draw without going
// back to the file set. Dates and times are turned into the locale's short date and 24-hour
// time here.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/vcl/DibSection.h"

namespace ORN_dicom {
class TanDicomDirObject;
class TanPatientIE;
class TanStudyIE;
class TanSeriesIE;
}  // namespace ORN_dicom

namespace ORN_dicomdir {

// A DICOM date (yyyymmdd, also with separators such as yyyy.mm.dd) as the locale's short date;
// none when it cannot be read or does not exist.
std::optional<std::string> DicomDateText(const std::string& value);
// A DICOM time (hh, hhmm, hhmmss, with or without ':' and a fraction) as the 24-hour time;
// none when it cannot be read (an hour alone, hour 24, minute 60 ...).
std::optional<std::string> DicomTimeText(const std::string& value);

// The system's own key-image series: described "Key Image Series" with its UID root inside.
bool IsOwnKeyImageSeries(const ORN_dicom::TanSeriesIE& series);

// A bitmap whose description and pixel rows agree (24-bit rows of Stride bytes, Height of
// them); anything else is refused rather than read past its end.
bool IsSoundBitmap(platform::HBITMAP bitmap);

template <class C>
class TanPatientInfoObj {
 public:
  using String = std::basic_string<C>;
  int32_t m_Index = -1;
  int32_t m_StudyCount = -1;
  C m_Sex = 0;
  String m_PatientName;
  String m_PatientID;
  String m_BirthDate;
  String m_CharacterSet;

  void Clear();
  void Fill(int32_t index, const ORN_dicom::TanPatientIE& patient);
  void SetPatientName(const String& text) { m_PatientName = text; }
  void SetPatientID(const String& text) { m_PatientID = text; }
  void SetCharacterSet(const String& text) { m_CharacterSet = text; }
  // The first character of the trimmed text; 0 when nothing is left.
  void SetSex(const String& text);
  void SetBirthDate(const String& text);
  static bool FormatDate(const String& value, String& text);
};

template <class C>
class TanStudyInfoObj {
 public:
  using String = std::basic_string<C>;
  int32_t m_Index = -1;
  int32_t m_SeriesCount = -1;
  int32_t m_StackCount = -1;
  String m_StudyDate;
  String m_StudyTime;
  String m_Modalities;
  String m_StudyID;
  String m_AccessionNumber;
  String m_StudyDescription;
  String m_ReferringPhysician;
  String m_CharacterSet;

  void Clear();
  void Fill(int32_t index, const ORN_dicom::TanStudyIE& study);
  void SetStudyDate(const String& text);
  void SetStudyTime(const String& text);
  void SetModalities(const String& text) { m_Modalities = text; }
  void SetStudyID(const String& text) { m_StudyID = text; }
  void SetAccessionNumber(const String& text) { m_AccessionNumber = text; }
  void SetStudyDescription(const String& text) { m_StudyDescription = text; }
  void SetReferringPhysician(const String& text) { m_ReferringPhysician = text; }
  void SetCharacterSet(const String& text) { m_CharacterSet = text; }
  static bool FormatDate(const String& value, String& text);
  static bool FormatTime(const String& value, String& text);
};

template <class C>
class TanStackInfoObj {
 public:
  using String = std::basic_string<C>;
  TanStackInfoObj() = default;
  TanStackInfoObj(const TanStackInfoObj& other) { *this = other; }
  TanStackInfoObj& operator=(const TanStackInfoObj& other);
  ~TanStackInfoObj() { Clear(); }

  int32_t m_Index = -1;
  int32_t m_SeriesNumber = -1;
  int32_t m_InstanceCount = -1;
  int32_t m_FrameCount = -1;
  int32_t m_PresentationStateCount = -1;
  String m_ProtocolName;
  String m_SeriesDate;
  String m_SeriesTime;
  String m_Modality;
  String m_BodyPart;
  String m_SeriesDescription;
  platform::HBITMAP m_Icon = nullptr;  // owned

  void Clear();
  // Stack `stackIndex` of the series, shown as running number `index` of its study.
  void Fill(int32_t index, int32_t stackIndex, const ORN_dicom::TanSeriesIE& series);
  void SetProtocolName(const String& text) { m_ProtocolName = text; }
  void SetModality(const String& text) { m_Modality = text; }
  void SetBodyPart(const String& text) { m_BodyPart = text; }
  void SetSeriesDescription(const String& text) { m_SeriesDescription = text; }
  void SetSeriesDate(const String& text);
  void SetSeriesTime(const String& text);
  static bool FormatDate(const String& value, String& text);
  static bool FormatTime(const String& value, String& text);
  // A new bitmap with the source's size and pixels; null for a null or unsound source.
  static platform::HBITMAP CopyBitmap(platform::HBITMAP source);
};

extern template class TanPatientInfoObj<char>;
extern template class TanStudyInfoObj<char>;
extern template class TanStackInfoObj<char>;

using TPatientRows = std::deque<TanPatientInfoObj<char>>;
using TStudyRows = std::deque<TanStudyInfoObj<char>>;
using TStackRows = std::deque<TanStackInfoObj<char>>;

// The rows of a level in the file set's order; each replaces what the list held.
void BuildPatientRows(const ORN_dicom::TanDicomDirObject& dicomDir, TPatientRows& rows);
void BuildStudyRows(const ORN_dicom::TanPatientIE& patient, TStudyRows& rows);
void BuildStackRows(const ORN_dicom::TanStudyIE& study, TStackRows& rows);

// The main window counts a study's stacks in the reverse of the order its box builds them,
// which is the navigator's running order; this maps one count onto the other (both ways).
int32_t ToMainWindowStackIndex(int32_t index, int32_t stackCount);

}  // namespace ORN_dicomdir
