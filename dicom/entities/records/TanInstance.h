// The bases of the instance-level records below a series. TanInstatnceBasis takes the file's
// name and its SOP class, SOP instance and transfer syntax UIDs into the record keys and
// carries the PRIVATE child set; TanInstance adds the instance dates and times and the
// record's number within its series.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanPrivateIE.h"

namespace ORN_dicom {

class TanDicomFileObject;

// Referenced File ID from the file's name ("\" between components), and the SOP class, SOP
// instance and transfer syntax UIDs of the meta group; std::invalid_argument names the first
// UID missing.
void TakeReferencedFileKeys(TanDirectoryRecord& record, TanDicomFileObject& file);

class TanInstatnceBasis : public TanDirectoryRecord {
 public:
  // Throws std::invalid_argument when the meta group lacks (0002,0002), (0002,0003) or
  // (0002,0010) (the first missing one).
  explicit TanInstatnceBasis(TanDicomFileObject& file);
  explicit TanInstatnceBasis(iDDE* item) : TanDirectoryRecord(item) {}
  ~TanInstatnceBasis() override;

  // (0028,0008) through TanStr2Int; 1 when absent.
  int32_t GetNumberOfFrames() const;
  std::string GetImageType() const { return GetText(0x00080008u); }

  // The child at a position; std::out_of_range "vector" outside.
  TanPrivateIE* GetPrivateRecord(int32_t i) const { return FPrivateRecords.At(i); }

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanPrivateIE> FPrivateRecords;
};

class TanInstance : public TanInstatnceBasis {
 public:
  explicit TanInstance(TanDicomFileObject& file);
  explicit TanInstance(iDDE* item) : TanInstatnceBasis(item) {}

  // (0020,0013); -1 when absent or blank.
  virtual int32_t GetInstanceNumber() const;
  // Writes the number into (0020,0013), made when absent.
  virtual void SetInstanceNumber(int32_t number);

  std::string GetInstanceCreationDate() const { return GetText(0x00080012u); }
  std::string GetInstanceCreationTime() const { return GetText(0x00080013u); }
  std::string GetContentDate() const { return GetText(0x00080023u); }
  std::string GetContentTime() const { return GetText(0x00080033u); }
  std::string GetImageLaterality() const { return GetText(0x00200062u); }

 protected:
  // The number of a record with its own numbering attribute: -1 when the attribute is
  // absent, a blank value 0.
  int32_t NumberOf(uint32_t tag) const;
  // Replaces the attribute's text; nothing when it is absent.
  void SetNumberOf(uint32_t tag, int32_t number);
};

}  // namespace ORN_dicom
