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
  // Puts the series of a study into placement order (series grouping below 0); true when the
  // order changed.
  bool PlaceAllSeries(TanIESet<TanSeriesIE>& series);

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
  // Set when an add changed the order of a study's series.
  bool FSeriesMoved = false;

  void Commit();
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
  struct TanUIDMemo {
    std::vector<const void*> records;
    std::unordered_map<std::string, const void*> first;
  };
  std::unordered_map<const void*, TanUIDMemo> FUIDMemos;
  template <class T>
  int32_t FindInstanceUID(TanIESet<T>& set, const std::string& uid);
  template <class T>
  void RememberInstanceSet(TanIESet<T>& set, const std::string& removedUID, const T* added,
                           const std::string& addedUID);

  // Forms the display stacks of a series (stack building of the file set).
  bool BuildStacks(TanSeriesIE& series);
  std::string RewritePatientID(const std::string& path, const std::string& patientID);
};

// Builds the record, settles a duplicate in the set (same Referenced SOP Instance UID in File,
// a blank one never matches) and otherwise places the record in the set's order. Throws what
// the record's constructor throws, or what the commit step throws; the set is unchanged then.
template <class T>
void TanGeneralDirectoryInfo::AddInstance(TanIESet<T>& set, TanDicomFileObject& file) {
  ntl::auto_ptr<T> record(new T(file));
  const auto keyOf = [](const T& r) {
    if constexpr (std::is_base_of_v<TanInstance, T>)
      return TanInstanceKey::Of(r, true, r.GetInstanceNumber());
    else
      return TanInstanceKey::Of(r, false, 0);
  };
  const TanInstanceKey key = keyOf(*record);
  const std::string newPath = TrimText(file.FFileName);

  const int32_t same = FindInstanceUID(set, key.uid);
  std::string removedUID;
  if (same >= 0) {
    const std::string storedPath = RecordFilePath(*set.At(same));
    if (!NewFileWins(newPath, storedPath)) return;  // the record is deleted
    Commit();
    ReleaseItems();
    set.EraseAt(same);
    ReportDisplaced(storedPath, newPath);
    removedUID = key.uid;
  } else {
    Commit();
    ReleaseItems();
  }
  // The first record that ranks after the new one; a binary search, since the set is kept in
  // this order (a set read from a DICOMDIR in another order still gets one fixed position).
  int32_t low = 0;
  int32_t high = set.Count();
  while (low < high) {
    const int32_t mid = low + (high - low) / 2;
    if (RanksAfter(keyOf(*set.At(mid)), key))
      high = mid;
    else
      low = mid + 1;
  }
  const T* added = set.InsertAt(low, std::move(record));
  RememberInstanceSet(set, removedUID, added, key.uid);
}

template <class T>
int32_t TanGeneralDirectoryInfo::FindInstanceUID(TanIESet<T>& set, const std::string& uid) {
  if (uid.empty()) return -1;
  TanUIDMemo& memo = FUIDMemos[&set];
  const bool current = memo.records.size() == static_cast<size_t>(set.Count()) &&
                       std::equal(set.begin(), set.end(), memo.records.begin());
  if (!current) {
    memo.records.assign(set.begin(), set.end());
    memo.first.clear();
    for (const T* r : set) memo.first.emplace(r->GetReferencedSOPInstanceUID(), r);
  }
  const auto hit = memo.first.find(uid);
  if (hit == memo.first.end()) return -1;
  for (int32_t i = 0; i < set.Count(); ++i) {
    if (set.At(i) != hit->second) continue;
    if (set.At(i)->GetReferencedSOPInstanceUID() == uid) return i;
    break;
  }
  return set.FindByReferencedSOPInstanceUID(uid);  // the memo missed: ask the set itself
}

template <class T>
void TanGeneralDirectoryInfo::RememberInstanceSet(TanIESet<T>& set, const std::string& removedUID, const T* added,
                                                  const std::string& addedUID) {
  TanUIDMemo& memo = FUIDMemos[&set];
  memo.records.assign(set.begin(), set.end());
  if (!removedUID.empty()) memo.first.erase(removedUID);
  if (!addedUID.empty()) memo.first.emplace(addedUID, added);
}

}  // namespace ORN_dicom
