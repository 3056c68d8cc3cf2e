#include "fileset/dicomdir/TanDirRecSequence.h"

#include <string>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "fileset/dicomdir/DirectoryRecordWriter.h"

namespace ORN_dicom {

namespace {

constexpr uint32_t kSequenceTag = 0x00041220u;

iDDE* NewSequence() {
  TanDDEFactory factory(2);
  iDDE* sequence = factory->MakeSequence(0x0004, 0x1220, 0);
  if (sequence == nullptr || sequence->GetSequence() == nullptr) {
    delete sequence;
    throw std::runtime_error("bad-allocation");
  }
  return sequence;
}

}  // namespace

// One pass over the items of a read sequence.
class TanDirRecSequence::Reader {
 public:
  Reader(TanDirRecSequence& owner, TanDDESet<iDDE>& items)
      : FOwner(owner), FItems(items), FCount(static_cast<int32_t>(TanItems(items).Count())), FTaken(FCount, false) {}

  void Run() {
    for (int32_t i = 0; i < FCount; ++i) {
      const std::string type = TypeOf(i);
      iDDE* item = FItems.At(static_cast<uint32_t>(i));
      TanDirectoryRecord* record = nullptr;
      if (type == "PATIENT") record = FOwner.FTree.FPatients.AppendFromItem(item);
      else if (type == "HANGING PROTOCOL") record = FOwner.FTree.FHangingProtocols.AppendFromItem(item);
      else if (type == "TOPIC") record = FOwner.FTree.FTopics.AppendFromItem(item);
      else if (type == "PRIVATE") record = FOwner.FTree.FPrivateRecords.AppendFromItem(item);
      if (record == nullptr) continue;
      FTaken[static_cast<size_t>(i)] = true;
      ReadChildren(*record, i, 1);
    }
  }

  // Items that became no record: the sequence owned them and nobody else will.
  std::vector<iDDE*> Leftovers() const {
    std::vector<iDDE*> left;
    for (int32_t i = 0; i < FCount; ++i)
      if (!FTaken[static_cast<size_t>(i)] && FItems.At(static_cast<uint32_t>(i))->Tag() == kItemTag)
        left.push_back(FItems.At(static_cast<uint32_t>(i)));
    return left;
  }

  int32_t Count() const { return FCount; }

 private:
  std::string TypeOf(int32_t i) const {
    iDDE* item = FItems.At(static_cast<uint32_t>(i));
    if (item->Tag() != kItemTag || item->GetItem() == nullptr) return std::string();
    iDDE* type = TanTags(*item->GetItem()).Find(0x00041430u);
    return type == nullptr ? std::string() : type->GetString();
  }

  static uint32_t OffsetOf(iDDE* item, uint32_t tag) {
    if (item->Tag() != kItemTag || item->GetItem() == nullptr) return 0;
    iDDE* e = TanTags(*item->GetItem()).Find(tag);
    return e == nullptr ? 0 : e->GetULong();
  }

  void Progress(int32_t position) {
    if (FOwner.FProgress) FOwner.FProgress(0, position, FCount);
  }

  // The records below the record at item i; leaves i on the last item consumed.
  void ReadChildren(TanDirectoryRecord& parent, int32_t& i, int depth) {
    if (parent.GetItem() == nullptr || OffsetOf(parent.GetItem(), 0x00041420u) == 0) {
      Progress(i);
      return;
    }
    bool more = true;
    while (true) {
      ++i;
      if (i >= FCount || !more) {
        --i;
        return;
      }
      iDDE* item = FItems.At(static_cast<uint32_t>(i));
      more = OffsetOf(item, 0x00041400u) != 0;
      const std::string type = TypeOf(i);
      TanDirectoryRecord* child =
          depth < kMaxDepth ? record_tree::AppendChildFromItem(parent, type, item) : nullptr;
      if (child != nullptr) {
        FTaken[static_cast<size_t>(i)] = true;
        ReadChildren(*child, i, depth + 1);
        continue;
      }
      // A patient passes over what it does not take; so does a PRIVATE record over a PRIVATE
      // item below it. Any other record hands the item back to its parent's reader.
      if (record_tree::IsPatient(parent) || (record_tree::IsPrivate(parent) && type == "PRIVATE")) continue;
      --i;
      return;
    }
  }

  TanDirRecSequence& FOwner;
  TanDDESet<iDDE>& FItems;
  const int32_t FCount;
  std::vector<bool> FTaken;
};

TanDirRecSequence::TanDirRecSequence(TanGeneralDirectoryInfo& tree) : FTree(tree), FSequence(NewSequence()) {
  FTree.FReleaseItems = [this] { ReleaseItems(); };
}

TanDirRecSequence::TanDirRecSequence(TanGeneralDirectoryInfo& tree, TanDicomFileObject& file,
                                     TProgressHandler progress)
    : FTree(tree), FProgress(std::move(progress)) {
  FTree.FReleaseItems = [this] { ReleaseItems(); };
  const int32_t index = file.FDataSet.IndexOf(kSequenceTag);
  if (index >= 0 && file.FDataSet.At(static_cast<uint32_t>(index))->GetSequence() != nullptr)
    FSequence.reset(file.FDataSet.Remove(static_cast<uint32_t>(index)));
  else
    FSequence.reset(NewSequence());
  Reader reader(*this, Items());
  std::vector<iDDE*> leftovers;
  try {
    reader.Run();
    leftovers = reader.Leftovers();
  } catch (...) {
    // The records own the items they took; give them up before the sets delete them.
    leftovers = reader.Leftovers();
    ReleaseItems();
    for (iDDE* item : leftovers) delete item;
    FTree.FReleaseItems = nullptr;
    throw;
  }
  ReleaseItems();
  for (iDDE* item : leftovers) delete item;
  if (FProgress) FProgress(0, reader.Count(), reader.Count());
}

TanDirRecSequence::~TanDirRecSequence() {
  // The tree outlives the sequence: it must not call back into it.
  ReleaseItems();
  FTree.FReleaseItems = nullptr;
}

TanDDESet<iDDE>& TanDirRecSequence::Items() const { return *FSequence->GetSequence(); }

void TanDirRecSequence::ReleaseItems() { TanItems(Items()).Clear(); }

void TanDirRecSequence::Clear() {
  ReleaseItems();
  FTree.FPatients.Clear();
  FTree.FHangingProtocols.Clear();
  FTree.FTopics.Clear();
  FTree.FPrivateRecords.Clear();
}

bool TanDirRecSequence::IsEmpty() const {
  return FTree.FPatients.IsEmpty() && FTree.FHangingProtocols.IsEmpty() && FTree.FTopics.IsEmpty() &&
         FTree.FPrivateRecords.IsEmpty();
}

uint32_t TanDirRecSequence::GetFirstItemOffset(TanDicomFileObject& file) const {
  return 132 + file.FMetaGroup.Length() + file.FDataSet.Length() + FSequence->HeaderSize();
}

void TanDirRecSequence::WriteTo(TanDicomFileObject& file) {
  ReleaseItems();
  if (!IsEmpty()) {
    // One chain through every root record, so that a reader following the next offsets from
    // (0004,1200) meets the hanging-protocol, topic and private roots too.
    std::vector<TanDirectoryRecord*> roots;
    for (TanPatientIE* r : FTree.FPatients) roots.push_back(r);
    for (TanHangingProtocolIE* r : FTree.FHangingProtocols) roots.push_back(r);
    for (TanTopicIE* r : FTree.FTopics) roots.push_back(r);
    for (TanPrivateIE* r : FTree.FPrivateRecords) roots.push_back(r);
    uint32_t offset = GetFirstItemOffset(file);
    directory_writer::TanQuietSet quiet(Items());
    FLastRootOffset = directory_writer::WriteChain(roots, offset, Items());
  } else {
    FLastRootOffset = 0;
  }
  file.FDataSet.Append(FSequence.get());
}

}  // namespace ORN_dicom
