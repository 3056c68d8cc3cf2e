// The root of a file set's record tree and the rules that change it: adding a parsed Part 10
// file (classification, Patient ID, placement of patient, study and series, insertion of the
// instance, duplicates), and finding, removing and maintaining records. The DICOMDIR reader and
// writer fill and render the root sets; before any change to a set the tree calls the item
// releaser they install, so that the Directory Record Sequence never lists a moved or deleted
// record's item.
//
// The user's files: a file that holds the same SOP instance as a record of its set is never
// deleted. The record keeps the file the duplicate rule prefers; the other file stays on disk
// untouched and is reported: a new file that loses is refused with the duplicate text, a stored
// file that loses is listed in TakeDuplicateFiles for the caller (the file set moves such files
// to its reject folder when it has one). A file without Patient ID is rewritten (through the
// file object's safe writer, in its own transfer syntax) only once the add is certain.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/StudyLevelRecords.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanInstance.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanTopicIE.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/registry/TanFileDateTime.h"
#include "dicom/entities/registry/TanIEKind.h"
#include "dicom/entities/tree/InstanceOrder.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

class TanDicomFileObject;
class TanInstance;
class TanInstatnceBasis;
class TanSeriesIE;
class TanStudyIE;

// A stored file that lost a duplicate contest: it is no longer in the tree and stays on disk.
struct TanDuplicateFile {
  std::string path;    // the file that left the tree
  std::string reason;  // the refusal text, naming it and the file that took its place
};

class TanGeneralDirectoryInfo {
 public:
  TanGeneralDirectoryInfo();
  virtual ~TanGeneralDirectoryInfo();
  TanGeneralDirectoryInfo(const TanGeneralDirectoryInfo&) = delete;
  TanGeneralDirectoryInfo& operator=(const TanGeneralDirectoryInfo&) = delete;

  // Root sets.
  TanIESet<TanPatientIE> FPatients;
  TanIESet<TanHangingProtocolIE> FHangingProtocols;
  TanIESet<TanTopicIE> FTopics;
  TanIESet<TanPrivateIE> FPrivateRecords;

  // Installed by the Directory Record Sequence: unlinks the record items from (0004,1220).
  std::function<void()> FReleaseItems;
  void ReleaseItems();
  // To be called by code outside the tree that removes or replaces instance records, or changes
  // their Referenced SOP Instance UID; the tree forgets what it remembers of its sets.
  void ForgetMemos();

  // --- Adding files -------------------------------------------------------------------------
  // Error text naming the file; empty when the file was added. Never throws.
  std::string AddFile(const std::string& path);
  std::string InsertFileObject(TanDicomFileObject& file, TanStudyIE** study, TanSeriesIE** series, TanIEKind* kind);
  // Stored files that lost a duplicate contest since the last call.
  std::vector<TanDuplicateFile> TakeDuplicateFiles();

  // The Patient ID a file gets when it has none: its Accession Number, else its Study Instance
  // UID (both trimmed); false with an error text (maybe empty) when there is none. Only the
  // parsed file is changed; the file on disk is rewritten by the add once it is certain.
  bool EnsurePatientID(TanDicomFileObject& file, std::string& error, std::string* assignedID = nullptr);
  static bool HasDataSet(TanDicomFileObject& file);
  static bool HasImagePixelModule(TanDicomFileObject& file);
  void AddHangingProtocol(TanDicomFileObject& file);
  void AddHL7StrucDoc(TanDicomFileObject& file, int32_t& patientIndex);
  void RemoveEmptyBranch(int32_t patientIndex, int32_t studyIndex, int32_t seriesIndex);

  // --- Placement of patients, studies and series ---------------------------------------------
  TanPatientIE* FindOrAddPatient(TanIESet<TanPatientIE>& patients, TanDicomFileObject& file, int32_t& index);
  TanStudyIE* FindOrAddStudy(TanIESet<TanStudyIE>& studies, TanDicomFileObject& file, int32_t& index);
  TanSeriesIE* FindOrAddSeries(TanIESet<TanSeriesIE>& series, TanDicomFileObject& file, int32_t& index);

  // --- Instance insertion -------------------------------------------------------------------
  template <class T>
  void AddInstance(TanIESet<T>& set, TanDicomFileObject& file);

  // --- Finding, removing and maintaining -----------------------------------------------------
  bool DeleteInstance(const char* instanceUID, const char* seriesUID, const char* studyUID, const char* patientID,
                      TanIEKind* kind);
  bool ContainsInstance(const char* instanceUID, const char* seriesUID, const char* studyUID, const char* patientID);
  bool FindInstance(const char* instanceUID, int32_t* instanceIndex, int32_t* seriesIndex, int32_t* studyIndex,
                    int32_t* patientIndex, TanIEKind* kind);
  int32_t DeleteSeries(const char* seriesUID, const char* studyUID, const char* patientID);
  bool OrganizeAllStudies();
  bool EnsureStacks(bool build);

  // Rules on texts that use none of the tree's data.
  static double ParseDicomTime(const std::string& text) { return ORN_dicom::ParseDicomTime(text); }
  static bool IsUltrasoundSOPClass(const std::string& uid) { return ORN_dicom::IsUltrasoundSOPClass(uid); }
  static bool ReadKey(const char* argument, std::string& key) { return ORN_dicom::ReadKey(argument, key); }

 private:
  // Runs just before a new record is taken into a set, the point after which the add is
  // certain; throws to refuse the add (nothing has been changed then).
  std::function<void()> FBeforeCommit;
  // The text of a new file refused as a duplicate of a stored one; empty otherwise.
  std::string FDuplicateRefusal;
  std::vector<TanDuplicateFile> FDuplicateFiles;

  // Attributes that a found patient, study or series takes from the file being added (a
  // longer name, date or time). They are applied at the commit only, so that a file refused
  // as a duplicate changes no record; and an attribute that came from the file a winner
  // displaces is taken from the winner, so that the records hold what the kept files hold.
  struct TanTakeOver {
    const void* record;
    uint32_t tag;
    bool longer;  // the file's text is longer than the record's
    std::string value;
    std::function<void(const std::string&)> set;
  };
  std::vector<TanTakeOver> FTakeOvers;
  // The file each taken attribute came from, by record and tag, for records made or changed
  // by adding files.
  std::map<std::pair<const void*, uint32_t>, std::string> FTakenFrom;
  std::string FAddingPath;  // the trimmed path of the file being added
  bool FAdding = false;     // take-overs wait for the commit
  void TakeOver(const void* record, uint32_t tag, size_t storedLength, const std::string& value,
                std::function<void(const std::string&)> set);
  void TakenFrom(const void* record, std::initializer_list<uint32_t> tags);
  void ForgetTakenFrom(const void* record);
  // Runs FBeforeCommit, then applies the take-overs; displacedPath names the stored file that
  // the new one replaces, if any.
  void Commit(const std::string& displacedPath = std::string());
  // The path of the file a record names: its Referenced File ID with "/" between components.
  static std::string RecordFilePath(const TanDirectoryRecord& record);
  void RefuseDuplicate(const std::string& newPath, const std::string& storedPath);
  void ReportDisplaced(const std::string& storedPath, const std::string& newPath);
  // The duplicate contest of a record with the stored record of the same UID in a set: true
  // when the new record is to replace the stored one; a losing new file is refused. The very
  // file of the stored record, reached again, loses without a refusal.
  bool NewFileWins(const std::string& newPath, const std::string& storedPath);
  template <class T>
  void AddByFileTime(TanIESet<T>& set, ntl::auto_ptr<T> record, const std::string& newPath);
  // The lookup by Referenced SOP Instance UID of the instance adder, with a memo per set: the
  // set's record pointers when the memo was made and the first record of each UID. The memo
  // counts only while the set holds exactly those records (it is checked by pointer on every
  // use, and forgotten whenever records are removed), and a hit is checked against the record.
  // The memo also keeps each record's placement keys, in set order.
  struct TanUIDMemo {
    std::vector<const void*> records;
    std::unordered_map<std::string, const void*> first;
    std::vector<TanInstanceKey> keys;
    std::vector<TanInstanceSlot> slots;
  };
  std::unordered_map<const void*, TanUIDMemo> FUIDMemos;
  // One code per SOP class met, for the slots.
  std::unordered_map<std::string, int32_t> FClassCodes;
  int32_t ClassCode(const std::string& sopClass) {
    return FClassCodes.emplace(sopClass, static_cast<int32_t>(FClassCodes.size())).first->second;
  }
  template <class T>
  TanUIDMemo& CurrentMemo(TanIESet<T>& set);
  template <class T>
  static int32_t FindInstanceUID(TanIESet<T>& set, const TanUIDMemo& memo, const std::string& uid);
  template <class T>
  static TanInstanceKey InstanceKeyOf(const T& record);
  template <class T>
  static int32_t StereometricPosition(TanIESet<T>& set, const std::string& sopClass, const std::string& newPath);

  // Forms the display stacks of a series (stack building of the file set).
  bool BuildStacks(TanSeriesIE& series);
  std::string RewritePatientID(const std::string& path, const std::string& patientID);
};

// Builds the record, settles a duplicate in the set (same Referenced SOP Instance UID in File,
// a blank one never matches; a winning new record takes the stored record's position) and
// otherwise puts the record at its place in the set (InstancePosition; STEREOMETRIC records by
// file time). Throws what the record's constructor throws, or what the commit step throws; the
// set is unchanged then.
template <class T>
void TanGeneralDirectoryInfo::AddInstance(TanIESet<T>& set, TanDicomFileObject& file) {
  ntl::auto_ptr<T> record(new T(file));
  const TanInstanceKey key = InstanceKeyOf(*record);
  const std::string newPath = TrimText(file.FFileName);

  TanUIDMemo& memo = CurrentMemo(set);
  const int32_t same = FindInstanceUID(set, memo, key.uid);
  if (same >= 0) {
    const std::string storedPath = RecordFilePath(*set.At(same));
    if (!NewFileWins(newPath, storedPath)) return;  // the record is deleted
    Commit(storedPath);
    ReleaseItems();
    set.EraseAt(same);
    const T* added = set.InsertAt(same, std::move(record));
    ReportDisplaced(storedPath, newPath);
    memo.records[static_cast<size_t>(same)] = added;
    memo.slots[static_cast<size_t>(same)] = {key.number, ClassCode(key.sopClass)};
    memo.keys[static_cast<size_t>(same)] = key;
    memo.first[key.uid] = added;
    return;
  }
  const int32_t classCode = ClassCode(key.sopClass);
  int32_t position = 0;
  if constexpr (std::is_base_of_v<TanInstance, T>)
    position = InstancePosition(memo.slots, memo.keys, key, classCode);
  else
    position = StereometricPosition(set, key.sopClass, newPath);
  Commit();
  ReleaseItems();
  const T* added = position < set.Count() ? set.InsertAt(position, std::move(record)) : set.Append(std::move(record));
  memo.records.insert(memo.records.begin() + position, added);
  memo.slots.insert(memo.slots.begin() + position, TanInstanceSlot{key.number, classCode});
  memo.keys.insert(memo.keys.begin() + position, key);
  if (!key.uid.empty()) memo.first.emplace(key.uid, added);
}

template <class T>
TanInstanceKey TanGeneralDirectoryInfo::InstanceKeyOf(const T& record) {
  if constexpr (std::is_base_of_v<TanInstance, T>)
    return TanInstanceKey::Of(record, true, record.GetInstanceNumber());
  else
    return TanInstanceKey::Of(record, false, 0);
}

template <class T>
TanGeneralDirectoryInfo::TanUIDMemo& TanGeneralDirectoryInfo::CurrentMemo(TanIESet<T>& set) {
  TanUIDMemo& memo = FUIDMemos[&set];
  const bool current = memo.records.size() == static_cast<size_t>(set.Count()) &&
                       std::equal(set.begin(), set.end(), memo.records.begin());
  if (!current) {
    memo.records.assign(set.begin(), set.end());
    memo.first.clear();
    memo.keys.clear();
    memo.slots.clear();
    memo.keys.reserve(memo.records.size());
    for (const T* r : set) {
      memo.first.emplace(r->GetReferencedSOPInstanceUID(), r);
      memo.keys.push_back(InstanceKeyOf(*r));
      memo.slots.push_back({memo.keys.back().number, ClassCode(memo.keys.back().sopClass)});
    }
  }
  return memo;
}

template <class T>
int32_t TanGeneralDirectoryInfo::FindInstanceUID(TanIESet<T>& set, const TanUIDMemo& memo, const std::string& uid) {
  if (uid.empty()) return -1;
  const auto hit = memo.first.find(uid);
  if (hit == memo.first.end()) return -1;
  for (int32_t i = 0; i < set.Count(); ++i) {
    if (set.At(i) != hit->second) continue;
    if (set.At(i)->GetReferencedSOPInstanceUID() == uid) return i;
    break;
  }
  return set.FindByReferencedSOPInstanceUID(uid);  // the memo missed: ask the set itself
}

// STEREOMETRIC records: after the first record b of the new record's class, or in front of it
// when b's file is older than the new file. When more records of the class follow b, the new
// record goes in front of the first of them whose file is older, else after the run.
template <class T>
int32_t TanGeneralDirectoryInfo::StereometricPosition(TanIESet<T>& set, const std::string& sopClass,
                                                      const std::string& newPath) {
  int32_t b = 0;
  while (b < set.Count() && set.At(b)->GetReferencedSOPClassUID() != sopClass) ++b;
  if (b == set.Count()) return b;
  const ORN_utility::TanFileDateTime added(newPath, 0);
  const auto older = [&](int32_t i) {
    return ORN_utility::TanFileDateTime::IsEarlier(ORN_utility::TanFileDateTime(RecordFilePath(*set.At(i)), 0),
                                                   added);
  };
  if (older(b)) return b;
  int32_t i = b + 1;
  while (i < set.Count() && set.At(i)->GetReferencedSOPClassUID() == sopClass && !older(i)) ++i;
  return i;
}

}  // namespace ORN_dicom
