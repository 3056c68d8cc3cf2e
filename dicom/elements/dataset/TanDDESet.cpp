#include "dicom/elements/dataset/TanDDESet.h"

#include <algorithm>
#include <stdexcept>

#include "dicom/elements/element/iDDE.h"

namespace ORN_dicom {

namespace {
constexpr const char* kNoRoom = "Capacity of memory is less than required size.";
}

TanDDESet<iDDE>::TanDDESet(uint32_t room, uint16_t vr) : TanValueBasis(vr) {
  if (room == 0) return;
  try {
    FElements.reserve(room);
  } catch (...) {
  }
  if (FElements.capacity() < room) Fail(kNoRoom);
}

TanDDESet<iDDE>::~TanDDESet() {
  Clear();
  FKind = 0;
  FTransferSyntaxUID.clear();
}

uint32_t TanDDESet<iDDE>::Length() const {
  uint64_t sum = 0;
  for (const iDDE* e : FElements) sum += e->Size();
  return sum > 0xFFFFFFFEu ? 0xFFFFFFFEu : static_cast<uint32_t>(sum);
}

iDDE* TanDDESet<iDDE>::At(uint32_t i) const {
  if (i >= FElements.size()) throw std::out_of_range("vector");
  return FElements[i];
}

bool TanDDESet<iDDE>::AreAllInitialized() const {
  for (const iDDE* e : FElements)
    if (!e->IsValid()) return false;
  return true;
}

void TanDDESet<iDDE>::NoteOrderAt(std::size_t i) {
  if (!FOrdered) return;
  const uint32_t tag = FElements[i]->Tag();
  if ((i > 0 && FElements[i - 1]->Tag() > tag) || (i + 1 < FElements.size() && FElements[i + 1]->Tag() < tag))
    FOrdered = false;
}

int32_t TanDDESet<iDDE>::IndexOf(uint32_t tag) const {
  if (FOrdered) {
    // The first element whose tag is not below tag, as the walk below finds it.
    const auto it = std::lower_bound(FElements.begin(), FElements.end(), tag,
                                     [](const iDDE* e, uint32_t t) { return e->Tag() < t; });
    return it != FElements.end() && (*it)->Tag() == tag ? static_cast<int32_t>(it - FElements.begin()) : -1;
  }
  for (std::size_t i = 0; i < FElements.size(); ++i) {
    const uint32_t t = FElements[i]->Tag();
    if (t >= tag) return t == tag ? static_cast<int32_t>(i) : -1;
  }
  return -1;
}

iDDE* TanDDESet<iDDE>::Find(uint32_t tag) const {
  const int32_t i = IndexOf(tag);
  return i < 0 ? nullptr : FElements[static_cast<std::size_t>(i)];
}

int32_t TanDDESet<iDDE>::IndexOfFromCursor(uint32_t tag) {
  if (FElements.empty()) return -1;
  for (std::size_t i = FCursor < 0 ? 0 : static_cast<std::size_t>(FCursor); i < FElements.size(); ++i) {
    const uint32_t t = FElements[i]->Tag();
    if (t >= tag) {
      if (t != tag) return -1;
      FCursor = static_cast<int32_t>(i);
      return FCursor;
    }
  }
  return -1;
}

iDDE* TanDDESet<iDDE>::FindFromCursor(uint32_t tag) {
  const int32_t i = IndexOfFromCursor(tag);
  return i < 0 ? nullptr : FElements[static_cast<std::size_t>(i)];
}

void TanDDESet<iDDE>::OnElementChanged(void* context) { static_cast<TanDDESet*>(context)->NotifyChanged(); }

void TanDDESet<iDDE>::Link(iDDE* e) {
  e->FOnChange.Function = &TanDDESet::OnElementChanged;
  e->FOnChange.Context = this;
}

void TanDDESet<iDDE>::Unlink(iDDE* e) {
  e->FOnChange.Function = nullptr;
  e->FOnChange.Context = nullptr;
}

void TanDDESet<iDDE>::NotifyChanged() {
  if (FOnChange != nullptr) FOnChange(FContext, Length());
}

bool TanDDESet<iDDE>::HasRoomForOneMore() {
  FLastError.clear();
  FSuccess = Count() + 1 <= kMaxCount;
  if (!FSuccess) FLastError = kNoRoom;
  return FSuccess;
}

bool TanDDESet<iDDE>::Append(iDDE* e) {
  if (!HasRoomForOneMore()) return false;
  FElements.push_back(e);
  NoteOrderAt(FElements.size() - 1);
  Link(e);
  if (!e->IsValid()) Fail(("Some elements is not initialized-" + std::string(e->GetLastError())).c_str());
  FCursor = static_cast<int32_t>(FElements.size()) - 1;
  NotifyChanged();
  return true;
}

bool TanDDESet<iDDE>::Insert(iDDE* e) {
  if (!HasRoomForOneMore()) return false;
  const uint32_t tag = e->Tag();
  std::size_t p = 0;
  if (FOrdered) {
    // After every element whose tag is not above tag, as the walk below finds it.
    p = static_cast<std::size_t>(std::upper_bound(FElements.begin(), FElements.end(), tag,
                                                  [](uint32_t t, const iDDE* x) { return t < x->Tag(); }) -
                                 FElements.begin());
  } else {
    while (p < FElements.size() && FElements[p]->Tag() <= tag) ++p;
  }
  FCursor = static_cast<int32_t>(p < FElements.size() ? p + 1 : p);
  FElements.insert(FElements.begin() + static_cast<std::ptrdiff_t>(p), e);
  if (!e->IsValid()) Fail("Some elements is not initialized.");
  Link(e);
  NotifyChanged();
  return true;
}

bool TanDDESet<iDDE>::InsertAt(uint32_t i, iDDE* e) {
  if (!HasRoomForOneMore()) return false;
  if (i > FElements.size()) i = Count();
  Link(e);
  FElements.insert(FElements.begin() + i, e);
  NoteOrderAt(i);
  FCursor = static_cast<int32_t>(i);
  if (!e->IsValid()) Fail(("Some elements is not initialized-" + std::string(e->GetLastError())).c_str());
  NotifyChanged();
  return true;
}

iDDE* TanDDESet<iDDE>::Remove(uint32_t i, iDDE** out) {
  if (FElements.empty() || i >= FElements.size()) {
    if (FElements.empty()) FCursor = -1;
    if (out != nullptr) *out = nullptr;
    return nullptr;
  }
  iDDE* e = FElements[i];
  Unlink(e);
  if (out != nullptr) *out = e;
  FElements.erase(FElements.begin() + i);
  if (FElements.empty()) FCursor -= 1;
  else if (FCursor >= static_cast<int32_t>(i) && FCursor > 0) FCursor -= 1;
  if (FElements.empty() && FCursor < -1) FCursor = -1;
  FSuccess = AreAllInitialized();
  if (FSuccess) FLastError.clear();
  NotifyChanged();
  return e;
}

iDDE* TanDDESet<iDDE>::TakeFirst(iDDE** out) {
  if (FElements.empty()) {
    FCursor = -1;
    if (out != nullptr) *out = nullptr;
    return nullptr;
  }
  iDDE* e = FElements.front();
  if (out != nullptr) *out = e;
  Unlink(e);
  FElements.erase(FElements.begin());
  FSuccess = AreAllInitialized();
  if (FSuccess) FLastError.clear();
  if (FCursor > 0) FCursor -= 1;
  NotifyChanged();
  return e;
}

void TanDDESet<iDDE>::DeleteAt(uint32_t i) {
  if (iDDE* e = Remove(i)) delete e;
}

TanDDESet<iDDE>& TanDDESet<iDDE>::DeleteByTag(uint32_t tag) {
  const int32_t i = IndexOf(tag);
  if (i >= 0) DeleteAt(static_cast<uint32_t>(i));
  return *this;
}

void TanDDESet<iDDE>::Clear() {
  for (iDDE* e : FElements) Unlink(e);
  for (iDDE* e : FElements) delete e;
  FElements.clear();
  FOrdered = true;
  FKind = 0;
  FTransferSyntaxUID.clear();
  FCursor = -1;
  FSuccess = true;
  FLastError.clear();
  NotifyChanged();
}

void TanDDESet<iDDE>::ReleaseAll() {
  for (iDDE* e : FElements) Unlink(e);
  FElements.clear();
  FOrdered = true;
  FCursor = -1;
  FSuccess = true;
  FLastError.clear();
  NotifyChanged();
}

void TanDDESet<iDDE>::CopyTo(void* address) const {
  auto* p = static_cast<unsigned char*>(address);
  for (iDDE* e : FElements) {
    e->CopyTo(p);
    p += e->Size();
  }
}

void TanDDESet<iDDE>::WriteTo(std::ostream& out) const {
  for (iDDE* e : FElements) e->WriteTo(out);
}

}  // namespace ORN_dicom
