#include "dicom/entities/records/TanRecordFiller.h"

#include <stdexcept>

#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

namespace {
uint16_t GroupOf(uint32_t tag) { return static_cast<uint16_t>(tag >> 16); }
uint16_t ElementOf(uint32_t tag) { return static_cast<uint16_t>(tag & 0xFFFFu); }
}  // namespace

TanRecordFiller::TanRecordFiller(TanDirectoryRecord& record, TanDicomFileObject& file)
    : FRecord(record), FFile(file), FFactory(2) {
  FFile.FDataSet.FCursor = 0;
}

iDDE* TanRecordFiller::Find(uint32_t tag) {
  TanDDESet<iDDE>& data = FFile.FDataSet;
  int32_t i = data.IndexOfFromCursor(tag);
  if (i < 0) {
    i = data.IndexOf(tag);
    if (i >= 0) data.FCursor = i;
  }
  return i < 0 ? nullptr : data.At(static_cast<uint32_t>(i));
}

iDDE* TanRecordFiller::Copy(uint32_t tag) {
  iDDE* found = Find(tag);
  if (found != nullptr) Insert(FFactory->MakeDDEFromDDE(found));
  return found;
}

void TanRecordFiller::CopyWhenNotEmpty(uint32_t tag) {
  iDDE* found = Find(tag);
  if (found != nullptr && found->Length() > 0) Insert(FFactory->MakeDDEFromDDE(found));
}

void TanRecordFiller::CopyOrEmpty(uint32_t tag) {
  if (Copy(tag) == nullptr) Insert(FFactory->MakeDDE(GroupOf(tag), ElementOf(tag), 0));
}

void TanRecordFiller::CopyOrText(uint32_t tag, const char* text) {
  if (Copy(tag) == nullptr) Insert(FFactory->MakeDDE(GroupOf(tag), ElementOf(tag), 1, text));
}

void TanRecordFiller::CopyOrNumber(uint32_t tag, uint32_t value) {
  if (Copy(tag) == nullptr) Insert(FFactory->MakeDDE(GroupOf(tag), ElementOf(tag), 1, value));
}

void TanRecordFiller::CopyOrEmptySequence(uint32_t tag) {
  if (Copy(tag) == nullptr) Insert(FFactory->MakeSequence(GroupOf(tag), ElementOf(tag), 0));
}

void TanRecordFiller::Required(uint32_t tag, const char* message) {
  if (Copy(tag) == nullptr) throw std::invalid_argument(message);
}

}  // namespace ORN_dicom
