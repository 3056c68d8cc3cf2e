#include "dicom/entities/records/InstanceRecords.h"

#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {


TanOverlayIE::TanOverlayIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("OVERLAY");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200022u, "1");
}

TanModalityLutIE::TanModalityLutIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("MODALITY LUT");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200026u, "1");
}

TanVoiLutIE::TanVoiLutIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("VOI LUT");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200026u, "1");
}

TanCurveIE::TanCurveIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("CURVE");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200024u, "1");
}

TanStoredPrintIE::TanStoredPrintIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("STORED PRINT");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
}

TanRtDoseIE::TanRtDoseIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("RT DOSE");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrEmpty(0x3004000Au);
}

TanRtStructureSetIE::TanRtStructureSetIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("RT STRUCTURE SET");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrText(0x30060002u, "Unknown");
  fill.CopyOrEmpty(0x30060008u);
  fill.CopyOrEmpty(0x30060009u);
}

TanRtPlanIE::TanRtPlanIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("RT PLAN");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrText(0x300A0002u, "Unknown");
  fill.CopyOrEmpty(0x30060008u);
  fill.CopyOrEmpty(0x30060009u);
}

TanRtTreatmentRecordIE::TanRtTreatmentRecordIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("RT TREAT RECORD");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrEmpty(0x30080250u);
  fill.CopyOrEmpty(0x30080251u);
}

TanPresentationIE::TanPresentationIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("PRESENTATION");
  TanRecordFiller fill(*this, file);
  fill.CopyWhenNotEmpty(0x00080005u);
  fill.CopyOrEmptySequence(0x00081115u);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrText(0x00700080u, "Unknown");
  fill.CopyOrEmpty(0x00700081u);
  fill.CopyOrEmpty(0x00700082u);
  fill.CopyOrEmpty(0x00700083u);
  fill.CopyOrEmpty(0x00700084u);
}

TanWaveformIE::TanWaveformIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("WAVEFORM");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
}

TanKeyObjectDocIE::TanKeyObjectDocIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("KEY OBJECT DOC");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrEmptySequence(0x0040A043u);
}

TanSpectroscopyIE::TanSpectroscopyIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("SPECTROSCOPY");
  TanRecordFiller fill(*this, file);
  fill.CopyOrEmptySequence(0x00089092u);
  fill.CopyOrEmpty(0x00280010u);
  fill.CopyOrEmpty(0x00280011u);
  fill.CopyOrEmpty(0x00289001u);
  fill.CopyOrEmpty(0x00289002u);
}

TanRawDataIE::TanRawDataIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("RAW DATA");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
}

TanRegistrationIE::TanRegistrationIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("REGISTRATION");
}

TanFiducialIE::TanFiducialIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("FIDUCIAL");
}

TanEncapsulatedDocIE::TanEncapsulatedDocIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("ENCAP DOC");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrEmptySequence(0x0040A043u);
  fill.CopyOrEmpty(0x00420010u);
  fill.CopyOrEmpty(0x00420012u);
}

TanValueMappingIE::TanValueMappingIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("VALUE MAP");
}

TanSteriometricIE::TanSteriometricIE(TanDicomFileObject& file) : TanInstatnceBasis(file) {
  SetRecordType("STEREOMETRIC");
}

}  // namespace ORN_dicom

namespace ORN_dicom {
// The instance classes add no member to their base, so they share one size-class heap.
static_assert(sizeof(TanImageIE) == sizeof(TanInstatnceBasis) && sizeof(TanSrDocumentIE) == sizeof(TanImageIE) &&
              sizeof(TanSteriometricIE) == sizeof(TanImageIE) && sizeof(TanValueMappingIE) == sizeof(TanImageIE));
}  // namespace ORN_dicom
