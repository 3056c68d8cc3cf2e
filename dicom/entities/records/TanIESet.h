// The ordered, owning set of directory records of one class T. Every level of the record tree
// is made of these sets; their order is the order of the tree as the windows show it and as
// the DICOMDIR writer writes it. The set hands its parent link to every record it takes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dicom/entities/records/AutoPtr.h"
#include "dicom/entities/records/TanDirectoryRecord.h"

namespace ORN_dicom {

class iDDE;

template <class T>
class TanIESet {
 public:
  explicit TanIESet(TParentLink link = {}) : FParentLink(std::move(link)) {}
  TanIESet(const TanIESet&) = delete;
  TanIESet& operator=(const TanIESet&) = delete;
  ~TanIESet() { Clear(); }

  int32_t Count() const { return static_cast<int32_t>(FRecords.size()); }
  bool IsEmpty() const { return FRecords.empty(); }

  // Throws std::out_of_range "vector" for a position outside the set (a negative one too).
  T* At(int32_t i) const {
    if (static_cast<uint32_t>(i) >= FRecords.size()) throw std::out_of_range("vector");
    return FRecords[static_cast<std::size_t>(i)];
  }
  T* operator[](int32_t i) const { return At(i); }
  T* Last() const { return FRecords.empty() ? nullptr : FRecords.back(); }

  // Deletes every record, first to last.
  void Clear() {
    std::vector<T*> records;
    records.swap(FRecords);
    for (T* r : records) delete r;
  }

  // The first record whose Referenced SOP Instance UID in File equals the UID, byte by byte;
  // -1 when none does. An empty (or null) UID matches nothing: records without the key (the
  // stack records among them) must never be taken for the instance "".
  int32_t FindByReferencedSOPInstanceUID(const char* uid) const {
    std::string key;
    try {
      key = uid != nullptr ? uid : "";
    } catch (...) {
      key.clear();
    }
    if (key.empty()) return -1;
    for (std::size_t i = 0; i < FRecords.size(); ++i)
      if (FRecords[i]->GetReferencedSOPInstanceUID() == key) return static_cast<int32_t>(i);
    return -1;
  }
  int32_t FindByReferencedSOPInstanceUID(const std::string& uid) const {
    return FindByReferencedSOPInstanceUID(uid.c_str());
  }

  // Deletes the record at the position; the records after it move forward. A position
  // outside the set throws std::out_of_range "vector" and changes nothing.
  void EraseAt(int32_t i) {
    T* r = At(i);
    FRecords.erase(FRecords.begin() + i);
    delete r;
  }

  // Takes the record at the position out of the set without deleting it.
  ntl::auto_ptr<T> TakeAt(int32_t i) {
    T* r = At(i);
    FRecords.erase(FRecords.begin() + i);
    return ntl::auto_ptr<T>(r);
  }

  // Inserts at a position from 0 to Count (a position beyond appends); returns the record.
  T* InsertAt(int32_t i, ntl::auto_ptr<T> record) {
    if (!record) return nullptr;
    record->SetParentLink(FParentLink);
    const std::size_t p = i < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(i), FRecords.size());
    FRecords.insert(FRecords.begin() + static_cast<std::ptrdiff_t>(p), record.get());
    return record.release();
  }
  T* Append(ntl::auto_ptr<T> record) { return InsertAt(Count(), std::move(record)); }

  // A new record of class T made with the argument(s) of one of its constructors.
  template <class... A>
  T* InsertNewAt(int32_t i, A&&... args) {
    return InsertAt(i, Make(std::forward<A>(args)...));
  }
  template <class... A>
  T* AppendNew(A&&... args) {
    return Append(Make(std::forward<A>(args)...));
  }
  // A record of class T over an item read from a DICOMDIR.
  T* AppendFromItem(iDDE* item) { return Append(Make(item)); }

  // Sum of the subtree lengths of the records, in set order.
  uint32_t GetRecordsLength() const {
    uint32_t length = 0;
    for (T* r : FRecords) length += r->GetSubtreeLength();
    return length;
  }

  const TParentLink& GetParentLink() const { return FParentLink; }

  template <class F>
  void ForEach(F&& visit) const {
    for (T* r : FRecords) visit(*r);
  }

  auto begin() const { return FRecords.begin(); }
  auto end() const { return FRecords.end(); }

 private:
  template <class... A>
  static ntl::auto_ptr<T> Make(A&&... args) {
    T* r = new T(std::forward<A>(args)...);
    if (r == nullptr) throw std::bad_alloc();
    return ntl::auto_ptr<T>(r);
  }

  std::vector<T*> FRecords;
  const TParentLink FParentLink;
};

}  // namespace ORN_dicom
