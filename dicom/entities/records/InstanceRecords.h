// The twenty instance record classes below a series, one per directory-record type, and the
// STEREOMETRIC record. Each is built from a parsed Part 10 file (the keys of its type copied,
// defaults made for what the file lacks) or over an item read from a DICOMDIR (taken as it is).
// Their numbers order the instances of a series.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/TanInstance.h"

namespace ORN_dicom {

class TanDicomFileObject;
class TanRecordFiller;


// "IMAGE"
class TanImageIE : public nalloc::HeapAllocated<TanImageIE>, public TanInstance {
 public:
  explicit TanImageIE(TanDicomFileObject& file);
  explicit TanImageIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }

 private:
  // The creator element of the first block of the group whose creator text is the given one,
  // and that block's element with the low byte, when it exists.
  void CopyPrivateBlock(TanRecordFiller& fill, uint16_t group, uint8_t low, const char* creator);
  // A frame-type sequence of the functional groups, its items reduced to the tags.
  void CopyFrameType(TanRecordFiller& fill, uint32_t sequenceTag, std::initializer_list<uint32_t> tags);
};

// "OVERLAY"
class TanOverlayIE : public nalloc::HeapAllocated<TanOverlayIE>, public TanInstance {
 public:
  explicit TanOverlayIE(TanDicomFileObject& file);
  explicit TanOverlayIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200022u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200022u, number); }
};

// "MODALITY LUT"
class TanModalityLutIE : public nalloc::HeapAllocated<TanModalityLutIE>, public TanInstance {
 public:
  explicit TanModalityLutIE(TanDicomFileObject& file);
  explicit TanModalityLutIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200026u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200026u, number); }
};

// "VOI LUT"
class TanVoiLutIE : public nalloc::HeapAllocated<TanVoiLutIE>, public TanInstance {
 public:
  explicit TanVoiLutIE(TanDicomFileObject& file);
  explicit TanVoiLutIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200026u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200026u, number); }
};

// "CURVE"
class TanCurveIE : public nalloc::HeapAllocated<TanCurveIE>, public TanInstance {
 public:
  explicit TanCurveIE(TanDicomFileObject& file);
  explicit TanCurveIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200024u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200024u, number); }
};

// "STORED PRINT"
class TanStoredPrintIE : public nalloc::HeapAllocated<TanStoredPrintIE>, public TanInstance {
 public:
  explicit TanStoredPrintIE(TanDicomFileObject& file);
  explicit TanStoredPrintIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "RT DOSE"
class TanRtDoseIE : public nalloc::HeapAllocated<TanRtDoseIE>, public TanInstance {
 public:
  explicit TanRtDoseIE(TanDicomFileObject& file);
  explicit TanRtDoseIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "RT STRUCTURE SET"
class TanRtStructureSetIE : public nalloc::HeapAllocated<TanRtStructureSetIE>, public TanInstance {
 public:
  explicit TanRtStructureSetIE(TanDicomFileObject& file);
  explicit TanRtStructureSetIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "RT PLAN"
class TanRtPlanIE : public nalloc::HeapAllocated<TanRtPlanIE>, public TanInstance {
 public:
  explicit TanRtPlanIE(TanDicomFileObject& file);
  explicit TanRtPlanIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "RT TREAT RECORD"
class TanRtTreatmentRecordIE : public nalloc::HeapAllocated<TanRtTreatmentRecordIE>, public TanInstance {
 public:
  explicit TanRtTreatmentRecordIE(TanDicomFileObject& file);
  explicit TanRtTreatmentRecordIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "PRESENTATION"
class TanPresentationIE : public nalloc::HeapAllocated<TanPresentationIE>, public TanInstance {
 public:
  explicit TanPresentationIE(TanDicomFileObject& file);
  explicit TanPresentationIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "WAVEFORM"
class TanWaveformIE : public nalloc::HeapAllocated<TanWaveformIE>, public TanInstance {
 public:
  explicit TanWaveformIE(TanDicomFileObject& file);
  explicit TanWaveformIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "SR DOCUMENT"
class TanSrDocumentIE : public nalloc::HeapAllocated<TanSrDocumentIE>, public TanInstance {
 public:
  explicit TanSrDocumentIE(TanDicomFileObject& file);
  explicit TanSrDocumentIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }

  // Point in time of a DICOM DT text as days since 30 December 1899 with the time as a
  // fraction of a day; 0 for an empty text. Throws EConvertError for a field that is no
  // number, a date that does not exist or the second 60.
  static double PointInTime(const std::string& text);

 private:
  void AddVerificationDateTime(TanRecordFiller& fill);
};

// "KEY OBJECT DOC"
class TanKeyObjectDocIE : public nalloc::HeapAllocated<TanKeyObjectDocIE>, public TanInstance {
 public:
  explicit TanKeyObjectDocIE(TanDicomFileObject& file);
  explicit TanKeyObjectDocIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "SPECTROSCOPY"
class TanSpectroscopyIE : public nalloc::HeapAllocated<TanSpectroscopyIE>, public TanInstance {
 public:
  explicit TanSpectroscopyIE(TanDicomFileObject& file);
  explicit TanSpectroscopyIE(iDDE* item) : TanInstance(item) {}
};

// "RAW DATA"
class TanRawDataIE : public nalloc::HeapAllocated<TanRawDataIE>, public TanInstance {
 public:
  explicit TanRawDataIE(TanDicomFileObject& file);
  explicit TanRawDataIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "REGISTRATION"
class TanRegistrationIE : public nalloc::HeapAllocated<TanRegistrationIE>, public TanInstance {
 public:
  explicit TanRegistrationIE(TanDicomFileObject& file);
  explicit TanRegistrationIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return -1; }
  void SetInstanceNumber(int32_t) override {}
};

// "FIDUCIAL"
class TanFiducialIE : public nalloc::HeapAllocated<TanFiducialIE>, public TanInstance {
 public:
  explicit TanFiducialIE(TanDicomFileObject& file);
  explicit TanFiducialIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return -1; }
  void SetInstanceNumber(int32_t) override {}
};

// "ENCAP DOC"
class TanEncapsulatedDocIE : public nalloc::HeapAllocated<TanEncapsulatedDocIE>, public TanInstance {
 public:
  explicit TanEncapsulatedDocIE(TanDicomFileObject& file);
  explicit TanEncapsulatedDocIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return NumberOf(0x00200013u); }
  void SetInstanceNumber(int32_t number) override { SetNumberOf(0x00200013u, number); }
};

// "VALUE MAP"
class TanValueMappingIE : public nalloc::HeapAllocated<TanValueMappingIE>, public TanInstance {
 public:
  explicit TanValueMappingIE(TanDicomFileObject& file);
  explicit TanValueMappingIE(iDDE* item) : TanInstance(item) {}
  int32_t GetInstanceNumber() const override { return -1; }
  void SetInstanceNumber(int32_t) override {}
};

// "STEREOMETRIC": the record keys and nothing else.
class TanSteriometricIE : public nalloc::HeapAllocated<TanSteriometricIE>, public TanInstatnceBasis {
 public:
  explicit TanSteriometricIE(TanDicomFileObject& file);
  explicit TanSteriometricIE(iDDE* item) : TanInstatnceBasis(item) {}
};

// The conversion error of a date or time text. Like the failures it stands for, it is not a
// standard exception: the adders report it as an internal error of the file.
class EConvertError {
 public:
  explicit EConvertError(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }

 private:
  std::string FMessage;
};

}  // namespace ORN_dicom
