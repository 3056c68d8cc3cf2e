// One DICOMDIR directory record, held as its own item data set. It is the base of every
// record class of the record tree. A record is made empty (the four leading record keys,
// then filled by the derived class from a parsed file) or over an item that the DICOMDIR
// reader took out of a Directory Record Sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/element/iDDE.h"

namespace ORN_dicom {

class iDDEFactory;
class TanDicomFileObject;
class TanDirectoryRecord;

// The closure a record set hands to each record it takes: calling it yields the record that
// holds the set. Empty for every set except a study's series set.
using TParentLink = std::function<TanDirectoryRecord*()>;

// Record keys of the (0004,xxxx) group.
namespace record_tags {
constexpr uint32_t kNextRecordOffset = 0x00041400u;
constexpr uint32_t kRecordInUseFlag = 0x00041410u;
constexpr uint32_t kLowerLevelOffset = 0x00041420u;
constexpr uint32_t kRecordType = 0x00041430u;
constexpr uint32_t kPrivateRecordUID = 0x00041432u;
constexpr uint32_t kReferencedFileID = 0x00041500u;
constexpr uint32_t kReferencedSOPClassUID = 0x00041510u;
constexpr uint32_t kReferencedSOPInstanceUID = 0x00041511u;
constexpr uint32_t kReferencedTransferSyntaxUID = 0x00041512u;
}  // namespace record_tags

class TanDirectoryRecord {
 public:
  // Empty: a new item of defined length holding the four leading record keys.
  TanDirectoryRecord();
  // Over an item read from a DICOMDIR (ownership passes; null makes an empty item without
  // elements). The item is detached from the sequence it was read from. An element that is
  // not an item is deleted and std::invalid_argument thrown.
  explicit TanDirectoryRecord(iDDE* item);
  TanDirectoryRecord(const TanDirectoryRecord&) = delete;
  TanDirectoryRecord& operator=(const TanDirectoryRecord&) = delete;
  virtual ~TanDirectoryRecord();

  iDDE* GetItem() const { return FItem; }
  TanDDESet<iDDE>& GetDataSet() const { return *FItemSet; }

  // The leading keys, addressed by tag; an absent key is made and inserted in tag order.
  void SetRecordType(const std::string& type);
  void SetNextRecordOffset(uint32_t offset);
  void SetLowerLevelOffset(uint32_t offset);
  std::string GetRecordType() const { return GetText(record_tags::kRecordType); }

  std::string GetReferencedFileID() const { return GetText(record_tags::kReferencedFileID); }
  // The Referenced File ID as a path of this platform ("/" between its components); "" for an
  // ID that could reach outside the file-set folder (ReferencedFileID.h).
  std::string GetReferencedFilePath() const;
  std::string GetReferencedSOPClassUID() const { return GetText(record_tags::kReferencedSOPClassUID); }
  std::string GetReferencedSOPInstanceUID() const { return GetText(record_tags::kReferencedSOPInstanceUID); }
  std::string GetReferencedTransferSyntaxUID() const {
    return GetText(record_tags::kReferencedTransferSyntaxUID);
  }
  void SetReferencedFileID(const std::string& text) { SetText(record_tags::kReferencedFileID, text); }
  void SetReferencedSOPClassUID(const std::string& text) { SetText(record_tags::kReferencedSOPClassUID, text); }
  void SetReferencedSOPInstanceUID(const std::string& text) {
    SetText(record_tags::kReferencedSOPInstanceUID, text);
  }
  void SetReferencedTransferSyntaxUID(const std::string& text) {
    SetText(record_tags::kReferencedTransferSyntaxUID, text);
  }

  // Copies one sequence of the file's data set into the record, each item reduced to the
  // listed tags. The file data set's search position is kept.
  void CopySequence(iDDEFactory& factory, TanDicomFileObject& file, uint32_t sequenceTag,
                    std::initializer_list<uint32_t> tags);
  void CopyCodeSequence(iDDEFactory& factory, TanDicomFileObject& file, uint32_t sequenceTag);
  // A new sequence element with one item per source item holding copies of the listed tags,
  // or no item at all when none of them holds any; null when the element cannot be made.
  static iDDE* BuildFilteredSequence(iDDEFactory& factory, TanDDESet<iDDE>& source, uint32_t sequenceTag,
                                     std::initializer_list<uint32_t> tags);

  // The attribute's bytes without trailing blanks, decoded under the character set; empty
  // when the attribute is absent or holds no byte besides blanks.
  std::wstring GetWideText(const std::string& characterSet, uint32_t tag) const;

  // The element's text without leading and trailing blanks and control characters; "" when
  // absent.
  std::string GetText(uint32_t tag) const;
  // Replaces the element's text, or makes the element with the one text value and inserts it.
  void SetText(uint32_t tag, const std::string& text);

  // Parent link, written by the set that takes the record.
  void SetParentLink(const TParentLink& link) { FParentLink = link; }
  const TParentLink& GetParentLinkSlot() const { return FParentLink; }
  TanDirectoryRecord* GetParent() const { return FParentLink ? FParentLink() : nullptr; }

  // Every child record, child set by child set in the order in which a DICOMDIR lists them.
  virtual void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const;
  // Encoded length of the item followed by the subtrees of all child records.
  uint32_t GetSubtreeLength() const;

  static std::string Trim(const std::string& text);

  // Inserts in tag order; an element the set cannot take is deleted. Null does nothing.
  void InsertElement(iDDE* e);

 private:
  void SetULongKey(uint32_t tag, uint32_t value);

  iDDE* FItem = nullptr;
  TanDDESet<iDDE>* FItemSet = nullptr;
  TParentLink FParentLink;
};

}  // namespace ORN_dicom
