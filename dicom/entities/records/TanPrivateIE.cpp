#include "dicom/entities/records/TanPrivateIE.h"

#include <stdexcept>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

namespace {

uint16_t GroupOf(uint32_t tag) { return static_cast<uint16_t>(tag >> 16); }
uint16_t ElementOf(uint32_t tag) { return static_cast<uint16_t>(tag & 0xFFFFu); }

// Number of values; an element of a form that holds no numbers counts as none.
int32_t CountOf(const iDDE* e) {
  if (e == nullptr) return 0;
  try {
    const int32_t n = e->GetCount();
    return n < 0 ? 0 : n;
  } catch (const std::logic_error&) {
    return 0;
  }
}

}  // namespace

TanPrivateIE::TanPrivateIE(TanDicomFileObject&) {
  SetRecordType("PRIVATE");
  TanDDEFactory factory(2);
  InsertElement(factory->MakeDDE(0x0004, 0x1432, 1, kPrivateRecordUID));
}

TanPrivateIE::TanPrivateIE(iDDE* item) : TanDirectoryRecord(item) {}

TanPrivateIE::~TanPrivateIE() = default;

void TanPrivateIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FPrivateRecords.ForEach(visit);
}

iDDE* TanPrivateIE::Ensure(uint32_t tag) {
  if (iDDE* e = GetDataSet().Find(tag)) return e;
  TanDDEFactory factory(2);
  iDDE* e = factory->MakeDDE(GroupOf(tag), ElementOf(tag), 0);
  if (e == nullptr) throw std::runtime_error("Cannot make the element " + std::to_string(tag) + ".");
  InsertElement(e);
  return GetDataSet().Find(tag);
}

void TanPrivateIE::SetPrivateRecordUID(const std::string& uid) { SetText(record_tags::kPrivateRecordUID, Trim(uid)); }

void TanPrivateIE::SetStackKey(const std::string& key) { SetText(stack_tags::kStackKey, Trim(key)); }

int32_t TanPrivateIE::GetStackImageCount() const { return CountOf(GetDataSet().Find(stack_tags::kImageIndexes)); }

int32_t TanPrivateIE::GetStackImageIndex(int32_t i) const {
  const iDDE* e = GetDataSet().Find(stack_tags::kImageIndexes);
  uint16_t v = 0;
  if (i < 0 || i >= CountOf(e) || !e->GetUShortAt(v, static_cast<uint32_t>(i))) return 65535;
  return v;
}

int32_t TanPrivateIE::GetStackFrameNumber(int32_t i) const {
  const iDDE* e = GetDataSet().Find(stack_tags::kFrameNumbers);
  int32_t v = 0;
  if (i < 0 || i >= CountOf(e) || !e->GetLongAt(v, static_cast<uint32_t>(i))) return -1;
  return v;
}

void TanPrivateIE::SetStackImageIndex(int32_t i, uint16_t index) {
  iDDE* e = Ensure(stack_tags::kImageIndexes);
  const int32_t n = CountOf(e);
  if (i < 0 || i > n) throw std::out_of_range("out-of-bound");
  if (i < n) {
    e->SetUShortAt(index, static_cast<uint32_t>(i));
    return;
  }
  if (n >= kMaxImageIndexes)
    throw std::length_error("A stack holds at most 32767 image indexes (16-bit value length).");
  e->AddUShort(index);
}

void TanPrivateIE::SetStackFrameNumber(int32_t i, int32_t frame) {
  iDDE* e = Ensure(stack_tags::kFrameNumbers);
  const int32_t n = CountOf(e);
  if (i < 0 || i > n) throw std::out_of_range("out-of-bound");
  if (i < n) {
    e->SetULongAt(static_cast<uint32_t>(frame), static_cast<uint32_t>(i));
    return;
  }
  if (n >= kMaxFrameNumbers)
    throw std::length_error("A stack holds at most 16383 frame numbers (16-bit value length).");
  e->AddLong(frame);
}

int32_t TanPrivateIE::GetPresentationRefCount() const {
  return CountOf(GetDataSet().Find(stack_tags::kPresentationRefs)) / 2;
}

bool TanPrivateIE::GetPresentationRef(int32_t k, int32_t& series, int32_t& presentation) const {
  const iDDE* e = GetDataSet().Find(stack_tags::kPresentationRefs);
  if (e == nullptr || k < 0 || k >= CountOf(e) / 2) return false;
  uint16_t s = 0, p = 0;
  if (!e->GetUShortAt(s, static_cast<uint32_t>(2 * k)) || !e->GetUShortAt(p, static_cast<uint32_t>(2 * k + 1)))
    return false;
  series = s;
  presentation = p;
  return true;
}

bool TanPrivateIE::AddPresentationRef(int32_t series, int32_t presentation) {
  iDDE* e = Ensure(stack_tags::kPresentationRefs);
  if (e == nullptr) return false;
  e->AddUShort(static_cast<uint16_t>(series)).AddUShort(static_cast<uint16_t>(presentation));
  return true;
}

bool TanPrivateIE::FindPresentationRef(int32_t series, int32_t presentation, int32_t* position) const {
  const iDDE* e = GetDataSet().Find(stack_tags::kPresentationRefs);
  const int32_t pairs = CountOf(e) / 2;
  for (int32_t k = 0; k < pairs; ++k) {
    uint16_t s = 0, p = 0;
    if (e->GetUShortAt(s, static_cast<uint32_t>(2 * k)) && e->GetUShortAt(p, static_cast<uint32_t>(2 * k + 1)) &&
        s == series && p == presentation) {
      if (position != nullptr) *position = k;
      return true;
    }
  }
  return false;
}

bool TanPrivateIE::ClearPresentationRefs() {
  GetDataSet().DeleteByTag(stack_tags::kPresentationRefs);
  return true;
}

iDDE* TanPrivateIE::GetIconImageSequence() const { return GetDataSet().Find(stack_tags::kIconImageSequence); }

void TanPrivateIE::SetIconImageSequence(iDDE* icon) {
  GetDataSet().DeleteByTag(stack_tags::kIconImageSequence);
  if (icon == nullptr) return;
  if (icon->Size() <= icon->HeaderSize()) {
    delete icon;
    return;
  }
  InsertElement(icon);
}

}  // namespace ORN_dicom
