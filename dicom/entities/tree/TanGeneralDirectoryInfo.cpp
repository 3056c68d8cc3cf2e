#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/registry/TanFileDateTime.h"
#include "dicom/entities/registry/TanReestrSOPClassUID.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/modules/ImagePixelMacroModule.h"
#include "platform/files/FileOperations.h"

namespace ORN_dicom {
namespace {

constexpr uint32_t kMediaStorageSOPClassUID = 0x00020002u;
constexpr uint32_t kPatientID = 0x00100020u;
constexpr char kDicomDirClass[] = "1.2.840.10008.1.3.10";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Replaces the Patient ID text, or makes the element in the file's own transfer syntax and
// inserts it in tag order.
void PutPatientID(TanDicomFileObject& file, const std::string& id) {
  if (iDDE* e = file.FDataSet.Find(kPatientID)) {
    e->SetString(id);
    return;
  }
  uint8_t kind = file.GetTransferSyntaxKind();
  TanDDEFactory factory(kind);
  if (factory.Get() == nullptr) throw std::runtime_error("Cannot make Patient ID (0010,0020).");
  iDDE* e = factory->MakeDDE(0x0010, 0x0020, 1, id.c_str());
  if (e == nullptr) throw std::runtime_error("Cannot make Patient ID (0010,0020).");
  if (!file.FDataSet.Insert(e)) {
    delete e;
    throw std::runtime_error("Cannot make Patient ID (0010,0020).");
  }
}

bool IsAddableKind(TanIEKind kind) { return kind == ieHL7StrucDoc || (IsSeriesLevelKind(kind) && kind != iePrivate); }

// Clears a member on every way out of the operation that set it.
template <class V>
class ResetOnExit {
 public:
  explicit ResetOnExit(V& value) : FValue(value) {}
  ~ResetOnExit() { FValue = V(); }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  V& FValue;
};

}  // namespace

TanGeneralDirectoryInfo::TanGeneralDirectoryInfo() = default;

TanGeneralDirectoryInfo::~TanGeneralDirectoryInfo() {
  ReleaseItems();
  FPatients.Clear();
  FHangingProtocols.Clear();
  FTopics.Clear();
  FPrivateRecords.Clear();
}

void TanGeneralDirectoryInfo::ReleaseItems() {
  if (FReleaseItems) FReleaseItems();
}

void TanGeneralDirectoryInfo::ForgetMemos() { FUIDMemos.clear(); }

std::vector<TanDuplicateFile> TanGeneralDirectoryInfo::TakeDuplicateFiles() {
  std::vector<TanDuplicateFile> files;
  files.swap(FDuplicateFiles);
  return files;
}

std::string TanGeneralDirectoryInfo::RecordFilePath(const TanDirectoryRecord& record) {
  return TrimText(record.GetReferencedFilePath());
}

void TanGeneralDirectoryInfo::Commit(const std::string& displacedPath) {
  if (FBeforeCommit) FBeforeCommit();
  for (const TanTakeOver& t : FTakeOvers) {
    const auto key = std::make_pair(t.record, t.tag);
    const auto from = FTakenFrom.find(key);
    const bool fromDisplaced = !displacedPath.empty() && from != FTakenFrom.end() && from->second == displacedPath;
    if (!t.longer && !fromDisplaced) continue;
    ReleaseItems();
    t.set(t.value);
    FTakenFrom[key] = FAddingPath;
  }
  FTakeOvers.clear();
}

void TanGeneralDirectoryInfo::TakeOver(const void* record, uint32_t tag, size_t storedLength, const std::string& value,
                                       std::function<void(const std::string&)> set) {
  if (!FAdding) {
    // Outside an add (placement alone) a longer text is taken at once.
    if (storedLength < value.size()) {
      ReleaseItems();
      set(value);
    }
    return;
  }
  FTakeOvers.push_back({record, tag, storedLength < value.size(), value, std::move(set)});
}

void TanGeneralDirectoryInfo::ForgetTakenFrom(const void* record) {
  for (auto it = FTakenFrom.lower_bound(std::make_pair(record, 0u));
       it != FTakenFrom.end() && it->first.first == record;)
    it = FTakenFrom.erase(it);
}

void TanGeneralDirectoryInfo::TakenFrom(const void* record, std::initializer_list<uint32_t> tags) {
  for (const uint32_t tag : tags) {
    if (FAdding)
      FTakenFrom[std::make_pair(record, tag)] = FAddingPath;
    else
      FTakenFrom.erase(std::make_pair(record, tag));
  }
}

void TanGeneralDirectoryInfo::RefuseDuplicate(const std::string& newPath, const std::string& storedPath) {
  FDuplicateRefusal =
      "The file " + Quoted(newPath) + " holds the same SOP instance as the file " + Quoted(storedPath) + ".";
}

void TanGeneralDirectoryInfo::ReportDisplaced(const std::string& storedPath, const std::string& newPath) {
  FDuplicateFiles.push_back({storedPath, "The file " + Quoted(storedPath) +
                                             " holds the same SOP instance as the file " + Quoted(newPath) + "."});
}

bool TanGeneralDirectoryInfo::NewFileWins(const std::string& newPath, const std::string& storedPath) {
  // The very file that the record names, reached again: it is in the tree already.
  if (newPath == storedPath || ORN_utility::TanFileDateTime::IsSameFile(newPath, storedPath)) return false;
  const ORN_utility::TanFileDateTime stored(storedPath, 0);
  const ORN_utility::TanFileDateTime added(newPath, 0);
  if (ORN_utility::TanFileDateTime::IsEarlier(stored, added)) return true;
  RefuseDuplicate(newPath, storedPath);
  return false;
}

std::string TanGeneralDirectoryInfo::AddFile(const std::string& path) {
  try {
    TanDicomFileObject file;
    const std::string error = file.LoadFromFile(path, false);
    if (!error.empty()) return error;
    TanStudyIE* study = nullptr;
    TanSeriesIE* series = nullptr;
    TanIEKind kind = ieNone;
    const std::string result = InsertFileObject(file, &study, &series, &kind);
    if (!result.empty()) return result;
    if (kind == iePresentation) {
      if (study != nullptr) study->OrganizeSeries();
    } else if (series != nullptr) {
      ReleaseItems();
      series->Stacks().Clear();  // formed again before the DICOMDIR is written
      if (series->GetInstanceCount() == 1 && study != nullptr) study->OrganizeSeries();
    }
    return result;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Internal error in the file " + Quoted(path) + ".";
  }
}

std::string TanGeneralDirectoryInfo::InsertFileObject(TanDicomFileObject& file, TanStudyIE** study,
                                                      TanSeriesIE** series, TanIEKind* kind) {
  ResetOnExit<std::function<void()>> resetCommit(FBeforeCommit);
  ResetOnExit<std::string> resetRefusal(FDuplicateRefusal);
  ResetOnExit<std::vector<TanTakeOver>> resetTakeOvers(FTakeOvers);
  ResetOnExit<bool> resetAdding(FAdding);
  FBeforeCommit = nullptr;
  FDuplicateRefusal.clear();
  FTakeOvers.clear();
  FAdding = true;
  const std::string path = file.FFileName;
  FAddingPath = TrimText(path);

  std::string mediaClass;
  if (iDDE* e = file.FMetaGroup.Find(kMediaStorageSOPClassUID)) mediaClass = e->GetString();
  if (TrimText(mediaClass) == kDicomDirClass) return "The file " + Quoted(path) + " is Dicom Directory File.";
  if (!HasDataSet(file)) return "A content of the file " + Quoted(path) + " is empty.";

  const TanReestrSOPClassUID registry(file);
  if (kind != nullptr) *kind = registry.kind;

  if (registry.kind == ieHangingProtocol) {
    try {
      AddHangingProtocol(file);
    } catch (const std::exception& e) {
      return e.what();
    } catch (...) {
      return "Internal error in the file" + Quoted(path) + ".";
    }
    return FDuplicateRefusal;
  }

  // Every refusal that needs no patient comes before the Patient ID, so that a refused file
  // is never rewritten.
  if (!IsAddableKind(registry.kind)) return "Unsupported Information Entity for the file " + Quoted(path) + ".";
  if (registry.kind == ieImage && !HasImagePixelModule(file))
    return "Some attributes of Image Pixel Macro Module in the file " + Quoted(path) + " are not correct.";

  std::string error;
  std::string assignedID;
  if (!EnsurePatientID(file, error, &assignedID))
    return error.empty() ? "Cannot define PatientID in the file " + Quoted(path) + "." : error;
  if (!assignedID.empty()) {
    // The file on disk gets the ID just before its record joins the tree.
    FBeforeCommit = [this, path, assignedID] {
      const std::string failure = RewritePatientID(path, assignedID);
      if (!failure.empty()) throw std::runtime_error(failure);
    };
  }

  int32_t patientIndex = -1;
  int32_t studyIndex = -1;
  int32_t seriesIndex = -1;
  const bool report = study != nullptr && series != nullptr;
  std::string result;
  try {
    if (registry.kind == ieHL7StrucDoc) {
      AddHL7StrucDoc(file, patientIndex);
    } else {
      TanPatientIE* patient = FindOrAddPatient(FPatients, file, patientIndex);
      TanStudyIE* foundStudy = FindOrAddStudy(patient->FStudies, file, studyIndex);
      if (report) *study = foundStudy;
      TanSeriesIE* foundSeries = FindOrAddSeries(foundStudy->FSeries, file, seriesIndex);
      if (report) *series = foundSeries;
      foundSeries->ForEachRecordSet([&](TanIEKind setKind, auto& set) {
        using Record = std::remove_pointer_t<decltype(set.At(0))>;
        if constexpr (std::is_base_of_v<TanInstatnceBasis, Record>) {
          if (setKind == registry.kind) AddInstance(set, file);
        }
      });
    }
    result = FDuplicateRefusal;
  } catch (const std::exception& e) {
    result = e.what();
  } catch (...) {
    result = "Internal error in the file " + Quoted(path) + ".";
  }
  if (!result.empty()) {
    RemoveEmptyBranch(patientIndex, studyIndex, seriesIndex);
    if (report) {
      *study = nullptr;
      *series = nullptr;
    }
  }
  return result;
}

bool TanGeneralDirectoryInfo::EnsurePatientID(TanDicomFileObject& file, std::string& error, std::string* assignedID) {
  try {
    // The Patient ID as the PATIENT record would take it from the file.
    if (iDDE* e = file.FDataSet.Find(kPatientID); e != nullptr && !TrimText(e->GetString()).empty()) return true;
    const TanStudyIE study(file);
    std::string id = TrimText(study.GetAccessionNumber());
    if (id.empty()) id = TrimText(study.GetStudyInstanceUID());
    if (id.empty()) return false;
    PutPatientID(file, id);
    if (assignedID != nullptr) *assignedID = id;
    return true;
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "Unexpected exception.";
  }
  return false;
}

std::string TanGeneralDirectoryInfo::RewritePatientID(const std::string& path, const std::string& patientID) {
  // Through a symbolic link the target is rewritten: the link stays a link.
  std::string target;
  if (!platform::ResolvedPath(path, &target)) target = path;
  TanDicomFileObject copy;
  std::string error = copy.LoadFromFile(target, false);
  if (!error.empty()) return error;
  try {
    PutPatientID(copy, patientID);
  } catch (const std::exception& e) {
    return e.what();
  }
  // The file object's writer writes a temporary beside the file and renames it into place.
  if (!copy.SaveToFile(std::string())) {
    return copy.FLastError.empty() ? "Cannot save the file " + Quoted(path) + "." : copy.FLastError;
  }
  return std::string();
}

bool TanGeneralDirectoryInfo::HasDataSet(TanDicomFileObject& file) {
  for (uint32_t i = 0; i < file.FDataSet.Count(); ++i)
    if (file.FDataSet.At(i)->Size() > 0) return true;
  return false;
}

bool TanGeneralDirectoryInfo::HasImagePixelModule(TanDicomFileObject& file) {
  ndl::TanImagePixelMacroModule module;
  return module.Initialize(file) && !module.IsEmpty();
}

template <class T>
void TanGeneralDirectoryInfo::AddByFileTime(TanIESet<T>& set, ntl::auto_ptr<T> record, const std::string& newPath) {
  const std::string uid = TrimText(record->GetReferencedSOPInstanceUID());
  int32_t same = -1;
  if (!uid.empty()) {
    for (int32_t i = 0; i < set.Count() && same < 0; ++i)
      if (TrimText(set.At(i)->GetReferencedSOPInstanceUID()) == uid) same = i;
  }
  if (same >= 0) {
    // The winner takes the stored record's position.
    const std::string storedPath = RecordFilePath(*set.At(same));
    if (!NewFileWins(newPath, storedPath)) return;
    Commit(storedPath);
    ReleaseItems();
    set.EraseAt(same);
    set.InsertAt(same, std::move(record));
    ReportDisplaced(storedPath, newPath);
    return;
  }
  // Otherwise in file-time order: before the first record whose file is later than the new one.
  const ORN_utility::TanFileDateTime added(newPath, 0);
  int32_t position = 0;
  while (position < set.Count() &&
         ORN_utility::TanFileDateTime::IsNotLater(ORN_utility::TanFileDateTime(RecordFilePath(*set.At(position)), 0),
                                                  added))
    ++position;
  Commit();
  ReleaseItems();
  if (position < set.Count())
    set.InsertAt(position, std::move(record));
  else
    set.Append(std::move(record));
}

void TanGeneralDirectoryInfo::AddHangingProtocol(TanDicomFileObject& file) {
  AddByFileTime(FHangingProtocols, ntl::auto_ptr<TanHangingProtocolIE>(new TanHangingProtocolIE(file)),
                TrimText(file.FFileName));
}

void TanGeneralDirectoryInfo::AddHL7StrucDoc(TanDicomFileObject& file, int32_t& patientIndex) {
  TanPatientIE* patient = FindOrAddPatient(FPatients, file, patientIndex);
  try {
    AddByFileTime(patient->FHL7StrucDocs, ntl::auto_ptr<TanHL7StrucDocIE>(new TanHL7StrucDocIE(file)),
                  TrimText(file.FFileName));
  } catch (const std::exception&) {
    throw;
  } catch (...) {
    throw std::runtime_error("Internal Erorr.");
  }
}

void TanGeneralDirectoryInfo::RemoveEmptyBranch(int32_t patientIndex, int32_t studyIndex, int32_t seriesIndex) {
  FUIDMemos.clear();
  if (patientIndex < 0 || patientIndex >= FPatients.Count()) return;
  bool released = false;
  const auto release = [&] {
    if (!released) ReleaseItems();
    released = true;
  };
  TanPatientIE* patient = FPatients.At(patientIndex);
  if (studyIndex >= 0 && studyIndex < patient->FStudies.Count()) {
    TanStudyIE* study = patient->FStudies.At(studyIndex);
    if (seriesIndex >= 0 && seriesIndex < study->FSeries.Count() && study->FSeries.At(seriesIndex)->IsEmpty()) {
      release();
      ForgetTakenFrom(study->FSeries.At(seriesIndex));
      study->FSeries.EraseAt(seriesIndex);
    }
    if (study->IsEmpty()) {
      release();
      ForgetTakenFrom(study);
      patient->FStudies.EraseAt(studyIndex);
    }
  }
  if (patient->FStudies.Count() == 0 && patient->FHL7StrucDocs.Count() == 0) {
    release();
    ForgetTakenFrom(patient);
    FPatients.EraseAt(patientIndex);
  }
}

}  // namespace ORN_dicom
