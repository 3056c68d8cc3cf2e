// The data set: an owning, ordered collection of elements. Insert keeps ascending tag order;
// Append and InsertAt place where they are told. A set is itself a value (of items, sequences
// and pixel data), and every element it holds tells it of length changes, so a change deep
// inside a sequence climbs to the top-level set.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "dicom/elements/values/TanValueBasis.h"

namespace ORN_dicom {

class iDDE;

template <class T>
class TanDDESet;

template <>
class TanDDESet<iDDE> : public TanValueBasis {
 public:
  static constexpr uint32_t kMaxCount = 0x3FFFFFFF;

  // Empty, with room for room elements; kind 0, empty UID, cursor -1.
  explicit TanDDESet(uint32_t room = 0, uint16_t vr = 0);
  // The element forms of a set value: the elements are read and added by a factory.
  TanDDESet(uint16_t vr, uint32_t, const void*) : TanDDESet(0, vr) {}
  TanDDESet(uint16_t vr, uint32_t, std::istream&) : TanDDESet(0, vr) {}
  TanDDESet(uint16_t vr, const void*, uint32_t) : TanDDESet(0, vr) {}
  TanDDESet(const TanDDESet&) = delete;
  TanDDESet& operator=(const TanDDESet&) = delete;
  ~TanDDESet() override;

  // Sum of the encoded sizes of the elements.
  uint32_t Length() const override;
  uint32_t GetValueLength() const { return Length(); }

  uint32_t Count() const { return static_cast<uint32_t>(FElements.size()); }
  bool IsEmpty() const { return FElements.empty(); }
  iDDE* At(uint32_t i) const;  // throws std::out_of_range "vector"
  iDDE* Last() const { return FElements.empty() ? nullptr : FElements.back(); }
  uint8_t GetTransferSyntaxKind() const { return FKind; }
  const std::string& GetTransferSyntaxUID() const { return FTransferSyntaxUID; }
  bool AreAllInitialized() const;

  iDDE* Find(uint32_t tag) const;
  int32_t IndexOf(uint32_t tag) const;
  iDDE* FindFromCursor(uint32_t tag);
  int32_t IndexOfFromCursor(uint32_t tag);

  // Each takes the element when it succeeds; false (the caller keeps it) when there is no room.
  bool Append(iDDE* e);
  bool Insert(iDDE* e);
  bool InsertAt(uint32_t i, iDDE* e);

  // Takes element i out without deleting it.
  iDDE* Remove(uint32_t i, iDDE** out = nullptr);
  iDDE* TakeFirst(iDDE** out = nullptr);
  void DeleteAt(uint32_t i);
  TanDDESet& DeleteByTag(uint32_t tag);
  TanDDESet& EraseTag(uint32_t tag) { return DeleteByTag(tag); }
  void Clear();
  void ReleaseAll();

  void CopyTo(void* address) const;
  void WriteTo(std::ostream& out) const;

  // Tells the owner (when one listens) the set's length.
  void NotifyChanged();

  int32_t FCursor = -1;

 protected:
  void Link(iDDE* e);
  static void Unlink(iDDE* e);
  static void OnElementChanged(void* context);
  bool HasRoomForOneMore();

  // Whether the tags ascend (never falling; equal tags allowed), so that searches and sorted
  // insertion can halve the range instead of walking it. Append and InsertAt may clear it.
  bool Ordered() const { return FOrdered; }
  void NoteOrderAt(std::size_t i);

  uint8_t FKind = 0;
  bool FOrdered = true;  // beside FKind: the element classes' sizes (their pools) stay as they are
  std::string FTransferSyntaxUID;
  std::vector<iDDE*> FElements;
};

using TanDDESetOfDDE = TanDDESet<iDDE>;

}  // namespace ORN_dicom
