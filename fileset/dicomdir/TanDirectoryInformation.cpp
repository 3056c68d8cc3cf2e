#include "fileset/dicomdir/TanDirectoryInformation.h"

#include <stdexcept>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

namespace {

constexpr uint32_t kFirstOffsetTag = 0x00041200u;
constexpr uint32_t kLastOffsetTag = 0x00041202u;
constexpr uint32_t kConsistencyTag = 0x00041212u;

iDDE* MakeRootElement(uint32_t tag) {
  TanDDEFactory factory(2);
  iDDE* e = factory->MakeDDE(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag), 1, 0);
  if (e == nullptr) throw std::runtime_error("bad-allocation");
  return e;
}

// A root element read from the file is kept only when it holds a number of its own VR.
bool Usable(iDDE* e, const char* vr) { return e != nullptr && e->VRText() == vr && e->GetCount() >= 1; }

}  // namespace

TanDirectoryInformation::TanDirectoryInformation() : FSequence(FTree) { TakeOrMake(nullptr); }

TanDirectoryInformation::TanDirectoryInformation(TanDicomFileObject& file, TProgressHandler progress,
                                                 uint32_t firstItemPosition)
    : FSequence(FTree, file, std::move(progress), firstItemPosition) {
  TakeOrMake(&file);
}

TanDirectoryInformation::~TanDirectoryInformation() = default;

void TanDirectoryInformation::TakeOrMake(TanDicomFileObject* file) {
  struct Slot {
    uint32_t tag;
    const char* vr;
    std::unique_ptr<iDDE>& element;
  } slots[] = {{kFirstOffsetTag, "UL", FFirstOffset}, {kLastOffsetTag, "UL", FLastOffset}, {kConsistencyTag, "US", FConsistency}};
  if (file != nullptr) file->FDataSet.FCursor = 0;
  for (Slot& slot : slots) {
    if (file != nullptr) {
      const int32_t i = file->FDataSet.IndexOfFromCursor(slot.tag);
      if (i >= 0) {
        std::unique_ptr<iDDE> taken(file->FDataSet.Remove(static_cast<uint32_t>(i)));
        if (Usable(taken.get(), slot.vr)) slot.element = std::move(taken);
      }
    }
    if (!slot.element) slot.element.reset(MakeRootElement(slot.tag));
  }
}

uint32_t TanDirectoryInformation::GetFirstRecordOffset(TanDicomFileObject& file) const {
  uint32_t offset = 132 + file.FMetaGroup.Length();
  const int32_t end = file.FDataSet.IndexOf(0x00041220u);
  const uint32_t count = end < 0 ? file.FDataSet.Count() : static_cast<uint32_t>(end);
  for (uint32_t i = 0; i < count; ++i) offset += file.FDataSet.At(i)->Size();
  return offset + FSequence.GetSequenceElement()->HeaderSize();
}

void TanDirectoryInformation::SetFirstRecordOffset(uint32_t offset) { FFirstOffset->SetULong(offset); }
void TanDirectoryInformation::SetLastRecordOffset(uint32_t offset) { FLastOffset->SetULong(offset); }
void TanDirectoryInformation::SetConsistencyFlag(bool consistent) {
  FConsistency->SetUShort(consistent ? 0x0000 : 0xFFFF);
}
uint32_t TanDirectoryInformation::GetFirstRecordOffsetValue() const { return FFirstOffset->GetULong(); }
uint32_t TanDirectoryInformation::GetLastRecordOffsetValue() const { return FLastOffset->GetULong(); }
uint16_t TanDirectoryInformation::GetConsistencyFlagValue() const { return FConsistency->GetUShort(); }

void TanDirectoryInformation::WriteDirectoryRecords(TanDicomFileObject& file) {
  file.FDataSet.Append(FFirstOffset.get());
  file.FDataSet.Append(FLastOffset.get());
  file.FDataSet.Append(FConsistency.get());
  FSequence.WriteTo(file);
  if (FSequence.IsEmpty()) {
    // No record: neither root offset may point anywhere.
    SetFirstRecordOffset(0);
    SetLastRecordOffset(0);
    return;
  }
  SetFirstRecordOffset(GetFirstRecordOffset(file));
  SetLastRecordOffset(FSequence.GetLastRootOffset());
  SetConsistencyFlag(true);
}

}  // namespace ORN_dicom
