// The record classes besides patient, study, series, the instance kinds, PRIVATE and TOPIC:
// hanging protocols and HL7 structured documents (built from files or DICOMDIR items) and the
// study-level VISIT, STUDY COMPONENT, RESULTS and INTERPRETATION records, which are only read
// from a DICOMDIR and written back unchanged.
#pragma once

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanInstance.h"
#include "dicom/entities/records/TanPrivateIE.h"

namespace ORN_dicom {

class TanDicomFileObject;

// "HANGING PROTOCOL". Its PRIVATE children (read from or written to a DICOMDIR) are those of
// its own second set; the set it has as an instance record stays empty.
class TanHangingProtocolIE : public nalloc::HeapAllocated<TanHangingProtocolIE>, public TanInstance {
 public:
  explicit TanHangingProtocolIE(TanDicomFileObject& file);
  explicit TanHangingProtocolIE(iDDE* item) : TanInstance(item) {}

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanPrivateIE> FHangingProtocolPrivateRecords;
};

// "HL7 STRUC DOC", in a patient's HL7 set.
class TanHL7StrucDocIE : public nalloc::HeapAllocated<TanHL7StrucDocIE>, public TanDirectoryRecord {
 public:
  explicit TanHL7StrucDocIE(TanDicomFileObject& file);
  explicit TanHL7StrucDocIE(iDDE* item) : TanDirectoryRecord(item) {}

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanPrivateIE> FPrivateRecords;
};

// A record read from a DICOMDIR with only a PRIVATE child set.
template <class Self>
class TanPrivateOnlyRecord : public nalloc::HeapAllocated<Self>, public TanDirectoryRecord {
 public:
  explicit TanPrivateOnlyRecord(iDDE* item) : TanDirectoryRecord(item) {}

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override {
    FPrivateRecords.ForEach(visit);
  }

  TanIESet<TanPrivateIE> FPrivateRecords;
};

// "VISIT", in a study's visit set.
class TanVisitIE : public TanPrivateOnlyRecord<TanVisitIE> {
 public:
  explicit TanVisitIE(iDDE* item = nullptr) : TanPrivateOnlyRecord(item) {}
};

// "STUDY COMPONENT", in a study's study-component set.
class TanStudyComponentIE : public TanPrivateOnlyRecord<TanStudyComponentIE> {
 public:
  explicit TanStudyComponentIE(iDDE* item = nullptr) : TanPrivateOnlyRecord(item) {}
};

// "INTERPRETATION", in a RESULTS record's interpretation set.
class TanInterpretationIE : public TanPrivateOnlyRecord<TanInterpretationIE> {
 public:
  explicit TanInterpretationIE(iDDE* item = nullptr) : TanPrivateOnlyRecord(item) {}
};

// "RESULTS", in a study's results set.
class TanResultIE : public nalloc::HeapAllocated<TanResultIE>, public TanDirectoryRecord {
 public:
  explicit TanResultIE(iDDE* item = nullptr) : TanDirectoryRecord(item) {}
  // The interpretations go before the PRIVATE records.
  ~TanResultIE() override { FInterpretations.Clear(); }

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanInterpretationIE> FInterpretations;
  TanIESet<TanPrivateIE> FPrivateRecords;
};

}  // namespace ORN_dicom
