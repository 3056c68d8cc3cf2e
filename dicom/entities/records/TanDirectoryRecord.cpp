#include "dicom/entities/records/TanDirectoryRecord.h"

#include <stdexcept>
#include <vector>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/entities/records/ReferencedFileID.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

namespace {

uint16_t GroupOf(uint32_t tag) { return static_cast<uint16_t>(tag >> 16); }
uint16_t ElementOf(uint32_t tag) { return static_cast<uint16_t>(tag & 0xFFFFu); }

bool IsBlankOrControl(unsigned char c) { return c <= 0x20; }

}  // namespace

TanDirectoryRecord::TanDirectoryRecord() {
  TanDDEFactory factory(2);
  FItem = factory->MakeItem(0);
  if (FItem == nullptr) throw std::runtime_error("Cannot make the item of a directory record.");
  FItemSet = FItem->ValueAs<TanDDEItemValue>();
  auto append = [&](iDDE* e) {
    if (e != nullptr && !FItemSet->Append(e)) delete e;
  };
  append(factory->MakeDDE(0x0004, 0x1400, 1, 0u));
  append(factory->MakeDDE(0x0004, 0x1410, 1, 0xFFFF));
  append(factory->MakeDDE(0x0004, 0x1420, 1, 0u));
  append(factory->MakeDDE(0x0004, 0x1430, 1, ""));
}

TanDirectoryRecord::TanDirectoryRecord(iDDE* item) {
  if (item == nullptr) {
    TanDDEFactory factory(2);
    item = factory->MakeItem(0);
    if (item == nullptr) throw std::runtime_error("Cannot make the item of a directory record.");
  }
  auto* set = item->ValueAs<TanDDEItemValue>();
  if (set == nullptr) {
    delete item;
    throw std::invalid_argument("The directory record is not an item.");
  }
  // Later changes to the record's elements no longer reach the sequence it was read from.
  item->FOnChange = {};
  FItem = item;
  FItemSet = set;
}

TanDirectoryRecord::~TanDirectoryRecord() { delete FItem; }

std::string TanDirectoryRecord::Trim(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlankOrControl(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && IsBlankOrControl(static_cast<unsigned char>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}

std::string TanDirectoryRecord::GetText(uint32_t tag) const {
  iDDE* e = FItemSet->Find(tag);
  return e == nullptr ? std::string() : Trim(e->GetString());
}

std::string TanDirectoryRecord::GetReferencedFilePath() const { return SafePathOfFileID(GetReferencedFileID()); }

void TanDirectoryRecord::InsertElement(iDDE* e) {
  if (e != nullptr && !FItemSet->Insert(e)) delete e;
}

void TanDirectoryRecord::SetText(uint32_t tag, const std::string& text) {
  if (iDDE* e = FItemSet->Find(tag)) {
    e->SetString(text);
    return;
  }
  TanDDEFactory factory(2);
  InsertElement(factory->MakeDDE(GroupOf(tag), ElementOf(tag), 1, text.c_str()));
}

void TanDirectoryRecord::SetULongKey(uint32_t tag, uint32_t value) {
  if (iDDE* e = FItemSet->Find(tag); e != nullptr && e->VR() == vr::UL && e->GetCount() > 0) {
    e->SetULong(value);
    return;
  }
  // Absent, or of a form that cannot hold the offset: a proper UL takes its place.
  FItemSet->DeleteByTag(tag);
  TanDDEFactory factory(2);
  InsertElement(factory->MakeDDE(GroupOf(tag), ElementOf(tag), 1, value));
}

void TanDirectoryRecord::SetRecordType(const std::string& type) { SetText(record_tags::kRecordType, type); }
void TanDirectoryRecord::SetNextRecordOffset(uint32_t offset) { SetULongKey(record_tags::kNextRecordOffset, offset); }
void TanDirectoryRecord::SetLowerLevelOffset(uint32_t offset) { SetULongKey(record_tags::kLowerLevelOffset, offset); }

iDDE* TanDirectoryRecord::BuildFilteredSequence(iDDEFactory& factory, TanDDESet<iDDE>& source,
                                                uint32_t sequenceTag, std::initializer_list<uint32_t> tags) {
  iDDE* sequence = factory.MakeSequence(GroupOf(sequenceTag), ElementOf(sequenceTag), 0);
  TanItems items(source);
  if (sequence == nullptr || items.IsEmpty()) return sequence;
  auto* target = sequence->ValueAs<TanDDESequenceValue>();
  if (target == nullptr) return sequence;
  bool anyFilled = false;
  for (uint32_t i = 0; i < items.Count(); ++i) {
    TanDDEItemValue* item = items.Item(i);
    std::vector<iDDE*> copies;
    if (item != nullptr && !TanTags(*item).IsEmpty()) {
      for (uint32_t tag : tags)
        if (iDDE* found = item->Find(tag))
          if (iDDE* copy = factory.MakeDDEFromDDE(found)) copies.push_back(copy);
    }
    iDDE* newItem = factory.MakeItem(0);
    auto* newSet = newItem != nullptr ? newItem->ValueAs<TanDDEItemValue>() : nullptr;
    if (newSet == nullptr) {
      for (iDDE* c : copies) delete c;
      delete newItem;
      continue;
    }
    for (iDDE* c : copies)
      if (!newSet->Insert(c)) delete c;
    if (!newSet->IsEmpty()) anyFilled = true;
    if (!target->Append(newItem)) delete newItem;
  }
  if (!anyFilled) target->Clear();
  return sequence;
}

void TanDirectoryRecord::CopySequence(iDDEFactory& factory, TanDicomFileObject& file, uint32_t sequenceTag,
                                      std::initializer_list<uint32_t> tags) {
  TanDDESet<iDDE>& data = file.FDataSet;
  const int32_t cursor = data.FCursor;
  data.FCursor = 0;
  try {
    const int32_t at = data.IndexOf(sequenceTag);
    if (at >= 0) {
      auto* source = data.At(static_cast<uint32_t>(at))->ValueAs<TanDDESequenceValue>();
      if (source != nullptr) InsertElement(BuildFilteredSequence(factory, *source, sequenceTag, tags));
    }
  } catch (...) {
    data.FCursor = cursor;
    throw;
  }
  data.FCursor = cursor;
}

void TanDirectoryRecord::CopyCodeSequence(iDDEFactory& factory, TanDicomFileObject& file, uint32_t sequenceTag) {
  CopySequence(factory, file, sequenceTag,
               {0x00080100u, 0x00080102u, 0x00080103u, 0x00080104u, 0x00080105u, 0x00080106u, 0x00080107u,
                0x0008010Du});
}

std::wstring TanDirectoryRecord::GetWideText(const std::string& characterSet, uint32_t tag) const {
  iDDE* e = FItemSet->Find(tag);
  if (e == nullptr) return {};
  const unsigned char* bytes = e->GetData();
  uint32_t count = bytes != nullptr ? e->GetLength() : 0;
  while (count > 0 && bytes[count - 1] == 0x20) --count;
  // A single remaining character is a value too (a Patient ID "7").
  if (count == 0) return {};
  using Kind = ORN_string_utils::TanDicomAnsiToUnicode::TTextKind;
  Kind kind = Kind::Text;
  if (e->VR() == vr::PN) kind = Kind::PersonName;
  else if (e->VR() == vr::LT || e->VR() == vr::ST || e->VR() == vr::UT) kind = Kind::LongText;
  return ORN_string_utils::TanDicomAnsiToUnicode().Decode(characterSet, reinterpret_cast<const char*>(bytes),
                                                          count, kind);
}

void TanDirectoryRecord::ForEachChild(const std::function<void(TanDirectoryRecord&)>&) const {}

uint32_t TanDirectoryRecord::GetSubtreeLength() const {
  uint32_t length = FItem->Size();
  ForEachChild([&](TanDirectoryRecord& child) { length += child.GetSubtreeLength(); });
  return length;
}

}  // namespace ORN_dicom
