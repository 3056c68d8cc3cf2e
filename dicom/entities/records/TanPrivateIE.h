// The "PRIVATE" directory record. In a series' PRIVATE set it is a display stack: the stack
// key, the positions of its images in the series' IMAGE set in display order with the frame
// of each, the presentation states that apply (pairs of series and PRESENTATION positions)
// and the stack's icon. Elsewhere it holds what a DICOMDIR gave it.
#pragma once

#include <cstdint>
#include <string>

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"

namespace ORN_dicom {

class TanDicomFileObject;

namespace stack_tags {
constexpr uint32_t kStackKey = 0x00720066u;
constexpr uint32_t kImageIndexes = 0x0072007Au;
constexpr uint32_t kFrameNumbers = 0x0072007Cu;
constexpr uint32_t kPresentationRefs = 0x00720212u;
constexpr uint32_t kIconImageSequence = 0x00880200u;
}  // namespace stack_tags

class TanPrivateIE : public nalloc::HeapAllocated<TanPrivateIE>, public TanDirectoryRecord {
 public:
  static constexpr const char* kPrivateRecordUID = "1.3.51.99999.1.1.1";
  // A value of a 16-bit length field holds at most this many image indexes (US) and frame
  // numbers (SL).
  static constexpr int32_t kMaxImageIndexes = 32767;
  static constexpr int32_t kMaxFrameNumbers = 16383;

  // A new stack record; the file is not read.
  explicit TanPrivateIE(TanDicomFileObject& file);
  // Over an item read from a DICOMDIR (null: an empty item).
  explicit TanPrivateIE(iDDE* item);
  ~TanPrivateIE() override;

  void SetPrivateRecordUID(const std::string& uid);

  std::string GetStackKey() const { return GetText(stack_tags::kStackKey); }
  void SetStackKey(const std::string& key);

  int32_t GetStackImageCount() const;
  // 65535 for a position that does not exist.
  int32_t GetStackImageIndex(int32_t i) const;
  // Position i may be at most the count (appending); beyond throws std::out_of_range
  // "out-of-bound". A position past the 16-bit length limit throws std::length_error.
  void SetStackImageIndex(int32_t i, uint16_t index);
  // -1 for a position that does not exist.
  int32_t GetStackFrameNumber(int32_t i) const;
  void SetStackFrameNumber(int32_t i, int32_t frame);

  int32_t GetPresentationRefCount() const;
  bool GetPresentationRef(int32_t k, int32_t& series, int32_t& presentation) const;
  bool AddPresentationRef(int32_t series, int32_t presentation);
  bool FindPresentationRef(int32_t series, int32_t presentation, int32_t* position) const;
  bool ClearPresentationRefs();

  // The record's (0088,0200), still owned by the record; null when absent.
  iDDE* GetIconImageSequence() const;
  // Removes the old icon; takes the element over when it is not null and holds a value.
  // An element that is not taken is deleted.
  void SetIconImageSequence(iDDE* icon);

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanPrivateIE> FPrivateRecords;

 private:
  // The element, made without value when absent.
  iDDE* Ensure(uint32_t tag);
};

}  // namespace ORN_dicom
