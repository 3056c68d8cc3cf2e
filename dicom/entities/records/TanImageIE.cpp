#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

namespace {

constexpr uint32_t kSharedGroups = 0x52009229u;
constexpr uint32_t kPerFrameGroups = 0x52009230u;

uint32_t MakeTag(uint16_t group, uint16_t element) { return (static_cast<uint32_t>(group) << 16) | element; }

// The items of a sequence element; null for an element that holds no sequence.
TanDDESequenceValue* SequenceOf(iDDE* e) { return e != nullptr ? e->ValueAs<TanDDESequenceValue>() : nullptr; }

}  // namespace

TanImageIE::TanImageIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("IMAGE");
  TanRecordFiller fill(*this, file);
  for (uint32_t tag : {0x00080008u, 0x00082120u, 0x00082122u, 0x00082124u, 0x00082128u, 0x0008212Au, 0x00089209u,
                       0x00180010u})
    fill.Copy(tag);
  CopyCodeSequence(fill.Factory(), file, 0x00180012u);
  fill.Copy(0x00185101u);
  fill.Copy(0x00189008u);
  CopyFrameType(fill, 0x00189226u, {0x00089007u, 0x00089209u});
  CopyFrameType(fill, 0x00189329u, {0x00089007u});
  CopySequence(fill.Factory(), file, 0x00189507u, {0x00180010u});
  CopyPrivateBlock(fill, 0x0019, 0x60, "Tessary-CR Release 2");
  fill.CopyOrText(0x00200013u, "1");
  for (uint32_t tag : {0x00200020u, 0x00200032u, 0x00200037u, 0x00200062u}) fill.Copy(tag);
  fill.CopyOrText(0x00280008u, "1");
  fill.Copy(0x00720056u);
  CopyPrivateBlock(fill, 0x2001, 0x0B, "Tessary Imaging DD 001");
  CopyPrivateBlock(fill, 0x5501, 0x1C, "2.16.840.1.999999.4.10.1:TSRY_30");
  if (fill.Find(0x7FE00010u) == nullptr) throw std::invalid_argument("Cannot find Pixel Data (7FE0,0010).");
}

void TanImageIE::CopyPrivateBlock(TanRecordFiller& fill, uint16_t group, uint8_t low, const char* creator) {
  // The creators (G,0010) to (G,00FF) stand together in the tag-sorted data set.
  TanDDESet<iDDE>& data = fill.File().FDataSet;
  for (uint32_t i = 0; i < data.Count(); ++i) {
    iDDE* owner = data.At(i);
    const uint32_t tag = owner->Tag();
    if (tag < MakeTag(group, 0x0010)) continue;
    if (tag > MakeTag(group, 0x00FF)) return;
    if (Trim(owner->GetString()) != creator) continue;
    const uint16_t block = static_cast<uint16_t>(tag & 0xFF);
    iDDE* element = fill.Find(MakeTag(group, static_cast<uint16_t>((block << 8) | low)));
    if (element != nullptr) {
      InsertElement(fill.Factory().MakeDDEFromDDE(owner));
      InsertElement(fill.Factory().MakeDDEFromDDE(element));
    }
    return;  // a second block of the same creator is not looked at
  }
}

void TanImageIE::CopyFrameType(TanRecordFiller& fill, uint32_t sequenceTag, std::initializer_list<uint32_t> tags) {
  TanDDESet<iDDE>& data = fill.File().FDataSet;
  const int32_t cursor = data.FCursor;
  iDDEFactory& factory = fill.Factory();
  // The record's functional-groups sequence, made when absent.
  auto recordSequence = [&](uint32_t tag) -> TanDDESequenceValue* {
    if (TanDDESequenceValue* s = SequenceOf(GetDataSet().Find(tag))) return s;
    InsertElement(factory.MakeSequence(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag), 0));
    return SequenceOf(GetDataSet().Find(tag));
  };
  // Item i of a record sequence, new empty items appended up to it.
  auto recordItem = [&](TanDDESequenceValue& s, uint32_t i) -> TanDDEItemValue* {
    TanItems items(s);
    if (items.Count() < i + 1) {
      iDDE* item = factory.MakeItem(0);
      if (item != nullptr && !s.Append(item)) delete item;
    }
    return items.Count() > i ? items.Item(i) : nullptr;
  };
  auto insertInto = [](TanDDEItemValue* item, iDDE* e) {
    if (e == nullptr) return;
    if (item == nullptr || !item->Insert(e)) delete e;
  };

  bool shared = false;
  if (TanDDESequenceValue* groups = SequenceOf(data.Find(kSharedGroups))) {
    TanItems items(*groups);
    TanDDEItemValue* first = items.IsEmpty() ? nullptr : items.Item(0);
    iDDE* s = first != nullptr && !TanTags(*first).IsEmpty() ? first->Find(sequenceTag) : nullptr;
    if (TanDDESequenceValue* source = SequenceOf(s)) {
      shared = true;
      iDDE* filtered = BuildFilteredSequence(factory, *source, sequenceTag, tags);
      TanDDESequenceValue* target = recordSequence(kSharedGroups);
      insertInto(target != nullptr ? recordItem(*target, 0) : nullptr, filtered);
    }
  }
  if (!shared) {
    if (TanDDESequenceValue* frames = SequenceOf(data.Find(kPerFrameGroups))) {
      TanItems items(*frames);
      for (uint32_t i = 0; i < items.Count(); ++i) {
        TanDDEItemValue* frame = items.Item(i);
        TanDDESequenceValue* source = frame != nullptr ? SequenceOf(frame->Find(sequenceTag)) : nullptr;
        iDDE* filtered = source != nullptr ? BuildFilteredSequence(factory, *source, sequenceTag, tags) : nullptr;
        TanDDESequenceValue* target = recordSequence(kPerFrameGroups);
        TanDDEItemValue* item = target != nullptr ? recordItem(*target, i) : nullptr;
        if (filtered == nullptr) break;
        insertInto(item, filtered);
      }
    }
  }
  data.FCursor = cursor;
}

}  // namespace ORN_dicom
