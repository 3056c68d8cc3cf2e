#include "dicom/elements/dataset/TanFrames.h"

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/ElementClasses.h"

namespace ORN_dicom {

TanOffsetTable* TanFrames::Table() const {
  return FSet.IsEmpty() ? nullptr : FSet.At(0)->ValueAs<TanOffsetTable>();
}

uint32_t TanFrames::EndFragmentIndex() const {
  const iDDE* last = FSet.Last();
  if (last == nullptr) return 1;
  const uint32_t n = FSet.Count();
  return last->Tag() == kSequenceDelimitationTag ? n - 1 : n;
}

uint64_t TanFrames::FragmentsSize() const {
  uint64_t sum = 0;
  for (uint32_t j = FirstFragmentIndex(); j < EndFragmentIndex(); ++j) sum += FSet.At(j)->Size();
  return sum;
}

bool TanFrames::HasOffsetTable() const {
  const TanOffsetTable* t = Table();
  return t != nullptr && t->Count() > 0;
}

uint32_t TanFrames::Count() const {
  if (HasOffsetTable()) return Table()->Count();
  return FSet.Count() >= 3 ? 1 : 0;
}

uint32_t TanFrames::Offset(uint32_t i) const {
  const TanOffsetTable* t = Table();
  return t != nullptr && i < t->Count() ? t->At(i) : 0;
}

bool TanFrames::IsOffsetTableValid() const {
  const TanOffsetTable* t = Table();
  if (t == nullptr || t->Count() == 0) return true;
  const uint64_t total = FragmentsSize();
  if (t->At(0) != 0) return false;
  for (uint32_t i = 0; i < t->Count(); ++i) {
    if (t->At(i) >= total && !(i == 0 && total == 0)) return false;
    if (i > 0 && t->At(i) <= t->At(i - 1)) return false;
  }
  return true;
}

bool TanFrames::CheckFrameCount(uint32_t n) {
  TanOffsetTable* t = Table();
  if (t == nullptr) return false;
  if (t->Count() > 0) return t->Count() == n && IsOffsetTableValid();
  if (n < 2) return true;
  if (FSet.Count() != n + 2) return false;
  uint64_t offset = 0;
  for (uint32_t j = FirstFragmentIndex(); j < EndFragmentIndex(); ++j) {
    if (offset > 0xFFFFFFFFu || !t->Append(static_cast<uint32_t>(offset))) {
      while (t->Count() > 0) t->RemoveLast();
      return false;
    }
    offset += FSet.At(j)->Size();
  }
  return true;
}

TanFrame::TanFrame(TanFrames& frames) : FFrames(frames), FIndex(0) {
  TanOffsetTable* t = frames.Table();
  const uint64_t total = frames.FragmentsSize();
  if (t == nullptr || total > 0xFFFFFFFFu) return;
  if (t->Append(static_cast<uint32_t>(total))) {
    FIndex = static_cast<int32_t>(t->Count()) - 1;
    FStartedEntry = true;
  }
}

TanFrame::~TanFrame() {
  if (!FStartedEntry || FragmentCount() != 0) return;
  TanOffsetTable* t = FFrames.Table();
  if (t != nullptr && t->Count() > 0) t->RemoveLast();
}

uint64_t TanFrame::Start() const { return FFrames.Offset(static_cast<uint32_t>(FIndex)); }

uint64_t TanFrame::End() const {
  const TanOffsetTable* t = FFrames.Table();
  const uint32_t m = t != nullptr ? t->Count() : 0;
  if (FIndex >= 0 && static_cast<uint32_t>(FIndex) + 1 < m) return t->At(static_cast<uint32_t>(FIndex) + 1);
  return FFrames.FragmentsSize();
}

uint32_t TanFrame::FirstFragment() const {
  const uint64_t start = Start();
  uint64_t sum = 0;
  uint32_t j = FFrames.FirstFragmentIndex();
  const uint32_t end = FFrames.EndFragmentIndex();
  while (j < end && sum < start) sum += FFrames.Set().At(j++)->Size();
  return j;
}

uint32_t TanFrame::FragmentCount() const {
  if (FIndex < 0) return 0;
  const uint64_t start = Start(), end = End();
  uint64_t offset = 0;
  uint32_t count = 0;
  for (uint32_t j = FFrames.FirstFragmentIndex(); j < FFrames.EndFragmentIndex() && offset < end; ++j) {
    if (offset >= start) ++count;
    offset += FFrames.Set().At(j)->Size();
  }
  return count;
}

iDDE* TanFrame::Fragment(uint32_t i) const {
  if (i >= FragmentCount()) return nullptr;
  return FFrames.Set().At(FirstFragment() + i);
}

uint32_t TanFrame::Size() const {
  uint64_t sum = 0;
  for (uint32_t i = 0; i < FragmentCount(); ++i) sum += Fragment(i)->Size() - Fragment(i)->HeaderSize();
  return sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

bool TanFrame::AddFragment(uint32_t length, const void* bytes, bool pad) {
  if (FIndex < 0) return false;
  const uint32_t first = FirstFragment();
  const uint16_t vrCode = pad && ((uint64_t{length} + Size()) & 1) != 0 ? vr::NO : vr::no;
  auto* item = new dde::ImplicitBytes(0xFFFE, 0xE000, vrCode, bytes, length);
  if (item == nullptr) return false;
  if (!item->IsValid() || !FFrames.Set().InsertAt(first + FragmentCount(), item)) {
    delete item;
    return false;
  }
  if (TanOffsetTable* t = FFrames.Table()) {
    for (uint32_t k = static_cast<uint32_t>(FIndex) + 1; k < t->Count(); ++k) t->Set(k, t->At(k) + item->Size());
  }
  return true;
}

}  // namespace ORN_dicom
