#include "fileset/dicomdir/DirectoryRecordWriter.h"

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/records/TanDirectoryRecord.h"

namespace ORN_dicom::directory_writer {

namespace {

// The sequence keeps a Sequence Delimitation Item last: new items go in front of it.
void AddItem(TanDDESet<iDDE>& items, iDDE* item) {
  iDDE* last = items.Last();
  if (last != nullptr && last->Tag() == 0xFFFEE0DDu) items.Insert(item);
  else items.Append(item);
}

}  // namespace

TanQuietSet::TanQuietSet(TanDDESet<iDDE>& set)
    : FSet(set), FFunction(set.GetChangeFunction()), FContext(set.GetChangeContext()) {
  set.SetChangeCallback(nullptr, nullptr);
}

TanQuietSet::~TanQuietSet() {
  FSet.SetChangeCallback(FFunction, FContext);
  FSet.NotifyChanged();
}

uint32_t WriteChain(const std::vector<TanDirectoryRecord*>& records, uint32_t& offset, TanDDESet<iDDE>& items) {
  uint32_t last = 0;
  for (TanDirectoryRecord* record : records) {
    last = offset;
    WriteSubtree(*record, offset, items);
    record->SetNextRecordOffset(offset);
  }
  if (!records.empty()) records.back()->SetNextRecordOffset(0);
  return last;
}

void WriteSubtree(TanDirectoryRecord& record, uint32_t& offset, TanDDESet<iDDE>& items) {
  // Both offsets exist before the size is taken (a read record may lack one); setting a 32-bit
  // value later changes no size.
  record.SetNextRecordOffset(0);
  record.SetLowerLevelOffset(0);
  iDDE* item = record.GetItem();
  offset += item->Size();
  AddItem(items, item);
  std::vector<TanDirectoryRecord*> children;
  record.ForEachChild([&children](TanDirectoryRecord& child) { children.push_back(&child); });
  record.SetLowerLevelOffset(children.empty() ? 0 : offset);
  WriteChain(children, offset, items);
}

}  // namespace ORN_dicom::directory_writer
