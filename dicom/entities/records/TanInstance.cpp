#include "dicom/entities/records/TanInstance.h"

#include <stdexcept>

#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

namespace {

// A Windows-style relative path as DICOM data holds it: components separated by "\".
std::string ToFileID(std::string name) {
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

}  // namespace

TanInstatnceBasis::TanInstatnceBasis(TanDicomFileObject& file) { TakeReferencedFileKeys(*this, file); }

void TakeReferencedFileKeys(TanDirectoryRecord& record, TanDicomFileObject& file) {
  record.SetReferencedFileID(ToFileID(file.FFileName));
  TanDDESet<iDDE>& meta = file.FMetaGroup;
  meta.FCursor = 0;
  struct Key {
    uint32_t tag;
    uint32_t recordTag;
    const char* message;
  } const keys[] = {
      {0x00020002u, record_tags::kReferencedSOPClassUID, "Cannot find SOP Class UID (0002,0002)."},
      {0x00020003u, record_tags::kReferencedSOPInstanceUID, "Cannot find SOP Instance UID (0002,0003)."},
      {0x00020010u, record_tags::kReferencedTransferSyntaxUID, "Cannot find Transfer Syntax UID (0002,0010)."},
  };
  for (const Key& k : keys) {
    iDDE* e = meta.FindFromCursor(k.tag);
    if (e == nullptr) throw std::invalid_argument(k.message);
    record.SetText(k.recordTag, e->GetString());
  }
}

TanInstatnceBasis::~TanInstatnceBasis() = default;

int32_t TanInstatnceBasis::GetNumberOfFrames() const {
  if (GetDataSet().Find(0x00280008u) == nullptr) return 1;
  return ORN_utility::TanStr2Int(GetText(0x00280008u)).ToInt();
}

void TanInstatnceBasis::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FPrivateRecords.ForEach(visit);
}

TanInstance::TanInstance(TanDicomFileObject& file) : TanInstatnceBasis(file) {
  TanRecordFiller fill(*this, file);
  for (uint32_t tag : {0x00080012u, 0x00080013u, 0x00080023u, 0x00080033u}) fill.CopyOrEmpty(tag);
}

int32_t TanInstance::GetInstanceNumber() const {
  const std::string text = GetText(0x00200013u);
  if (text.empty()) return -1;
  return ORN_utility::TanStr2Int(text).ToInt();
}

void TanInstance::SetInstanceNumber(int32_t number) { SetText(0x00200013u, std::to_string(number)); }

int32_t TanInstance::NumberOf(uint32_t tag) const {
  if (GetDataSet().Find(tag) == nullptr) return -1;
  return ORN_utility::TanStr2Int(GetText(tag)).ToInt();
}

void TanInstance::SetNumberOf(uint32_t tag, int32_t number) {
  if (iDDE* e = GetDataSet().Find(tag)) e->SetString(std::to_string(number));
}

}  // namespace ORN_dicom
