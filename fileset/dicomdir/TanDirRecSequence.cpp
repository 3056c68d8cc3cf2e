#include "fileset/dicomdir/TanDirRecSequence.h"

#include <string>
#include <unordered_map>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "fileset/dicomdir/DirectoryRecordWriter.h"
#include "fileset/stacks/FileSetSeriesWork.h"

namespace ORN_dicom {

namespace {

constexpr uint32_t kSequenceTag = 0x00041220u;

bool IsSequenceValue(iDDE* e) {
  try {
    return e->GetSequence() != nullptr;
  } catch (...) {
    return false;  // the value interface throws for a value of another kind
  }
}

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

  // Follows the offsets from the first root record when every offset met names an item of the
  // sequence (the items' positions follow from their encoded sizes); false, with nothing read,
  // when one does not. Producers that do not write each record's children right after it
  // (records of a level first, then the next level) are read this way.
  bool RunByOffsets(uint32_t firstItemPosition, uint32_t firstRecordOffset) {
    if (firstItemPosition == 0 || firstRecordOffset == 0 || FCount == 0) return false;
    uint32_t position = firstItemPosition;
    for (int32_t i = 0; i < FCount; ++i) {
      FIndexOf[position] = i;
      position += FItems.At(static_cast<uint32_t>(i))->Size();
    }
    std::vector<bool> seen(static_cast<size_t>(FCount), false);
    if (!Resolves(firstRecordOffset, seen, 0)) return false;
    ReadRootChain(firstRecordOffset);
    return true;
  }

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
  // The item at a file offset, or -1.
  int32_t IndexAt(uint32_t offset) const {
    const auto it = FIndexOf.find(offset);
    return it == FIndexOf.end() ? -1 : it->second;
  }

  // Whether the chain from the offset and everything below it names items, each once.
  bool Resolves(uint32_t offset, std::vector<bool>& seen, int depth) const {
    for (uint32_t at = offset; at != 0;) {
      const int32_t i = IndexAt(at);
      if (i < 0 || seen[static_cast<size_t>(i)]) return false;
      seen[static_cast<size_t>(i)] = true;
      iDDE* item = FItems.At(static_cast<uint32_t>(i));
      const uint32_t lower = OffsetOf(item, 0x00041420u);
      if (lower != 0 && depth < kMaxDepth && !Resolves(lower, seen, depth + 1)) return false;
      at = OffsetOf(item, 0x00041400u);
    }
    return true;
  }

  void ReadRootChain(uint32_t offset) {
    for (uint32_t at = offset; at != 0;) {
      const int32_t i = IndexAt(at);
      iDDE* item = FItems.At(static_cast<uint32_t>(i));
      const std::string type = TypeOf(i);
      TanDirectoryRecord* record = nullptr;
      if (type == "PATIENT") record = FOwner.FTree.FPatients.AppendFromItem(item);
      else if (type == "HANGING PROTOCOL") record = FOwner.FTree.FHangingProtocols.AppendFromItem(item);
      else if (type == "TOPIC") record = FOwner.FTree.FTopics.AppendFromItem(item);
      else if (type == "PRIVATE") record = FOwner.FTree.FPrivateRecords.AppendFromItem(item);
      at = OffsetOf(item, 0x00041400u);
      if (record == nullptr) continue;
      FTaken[static_cast<size_t>(i)] = true;
      ReadChildChain(*record, OffsetOf(item, 0x00041420u), i, 1);
    }
  }

  // The records of the chain below a record; a type the parent does not take is passed over
  // with everything below it.
  void ReadChildChain(TanDirectoryRecord& parent, uint32_t offset, int32_t parentIndex, int depth) {
    if (offset == 0 || depth >= kMaxDepth) {
      Progress(parentIndex);
      return;
    }
    for (uint32_t at = offset; at != 0;) {
      const int32_t i = IndexAt(at);
      iDDE* item = FItems.At(static_cast<uint32_t>(i));
      TanDirectoryRecord* child = record_tree::AppendChildFromItem(parent, TypeOf(i), item);
      at = OffsetOf(item, 0x00041400u);
      if (child == nullptr) continue;
      FTaken[static_cast<size_t>(i)] = true;
      ReadChildChain(*child, OffsetOf(item, 0x00041420u), i, depth + 1);
    }
  }

 public:

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
  std::unordered_map<uint32_t, int32_t> FIndexOf;
};

TanDirRecSequence::TanDirRecSequence(TanGeneralDirectoryInfo& tree) : FTree(tree), FSequence(NewSequence()) {
  InstallFileSetSeriesWork();
  FTree.FReleaseItems = [this] { ReleaseItems(); };
}

TanDirRecSequence::TanDirRecSequence(TanGeneralDirectoryInfo& tree, TanDicomFileObject& file,
                                     TProgressHandler progress, uint32_t firstItemPosition)
    : FTree(tree), FProgress(std::move(progress)) {
  InstallFileSetSeriesWork();
  const int32_t index = file.FDataSet.IndexOf(kSequenceTag);
  // Another VR (OB, LO, UN of a defined length) holds bytes, not items; an undefined-length
  // UN was read as items and is a sequence.
  FIsRecordSequence = index < 0 || IsSequenceValue(file.FDataSet.At(static_cast<uint32_t>(index)));
  if (index >= 0 && FIsRecordSequence)
    FSequence.reset(file.FDataSet.Remove(static_cast<uint32_t>(index)));
  else
    FSequence.reset(NewSequence());
  // Installed once the sequence exists: the tree calls it from its destructor.
  FTree.FReleaseItems = [this] { ReleaseItems(); };
  // The first record as (0004,1200) names it; the data set still holds that element here.
  iDDE* first = file.FDataSet.Find(0x00041200u);
  const uint32_t firstRecord = first != nullptr ? first->GetULong() : 0;
  Reader reader(*this, Items());
  std::vector<iDDE*> leftovers;
  try {
    if (!reader.RunByOffsets(firstItemPosition, firstRecord)) reader.Run();
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

namespace ORN_dicom {

uint32_t TanDirRecSequence::FirstItemPosition(TanDicomFileObject& file) {
  const int32_t index = file.FDataSet.IndexOf(kSequenceTag);
  if (index < 0) return 0;
  uint64_t position = 132 + static_cast<uint64_t>(file.FMetaGroup.Length());
  for (int32_t i = 0; i < index; ++i) position += file.FDataSet.At(static_cast<uint32_t>(i))->Size();
  position += file.FDataSet.At(static_cast<uint32_t>(index))->HeaderSize();
  return position > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(position);
}

}  // namespace ORN_dicom
