#include "fileset/stacks/TanStackBuilder.h"

#include <string>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStacks.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/PresentationStateRelationshipModule.h"
#include "platform/com/Uuid.h"

namespace ORN_dicom {

namespace {

constexpr const char* kKeyImageDescription = "Key Image Series";
constexpr const char* kOwnUIDRoot = "2.25.40263187551.0";

}  // namespace

int32_t TanImageSetView::Count() const { return FImages.Count(); }

TanStackImage TanImageSetView::At(int32_t index) const {
  const TanImageIE* record = FImages.At(index);
  TanStackImage image;
  image.sopClassUID = record->GetReferencedSOPClassUID();
  image.fileID = record->GetReferencedFileID();
  image.imageType = record->GetImageType();
  image.numberOfFrames = record->GetNumberOfFrames();
  image.instanceNumber = record->GetInstanceNumber();
  return image;
}

// A new UUID text for a stack key; empty when no UUID can be made (every status but success,
// a local-only one included, counts as failure).
std::string CreateGuidString() {
  using namespace platform::com;
  UUID uuid;
  if (UuidCreate(&uuid) != RPC_S_OK) return std::string();
  unsigned char* text = nullptr;
  if (UuidToStringA(&uuid, &text) != RPC_S_OK || text == nullptr) return std::string();
  std::string copy(reinterpret_cast<const char*>(text));
  RpcStringFreeA(&text);
  return copy;
}

std::string TanStacks<TanSeriesIE>::CreateGuidString() { return ORN_dicom::CreateGuidString(); }

bool TanStacks<TanSeriesIE>::RebuildStacks() {
  const bool keyImages = FSeries.GetSeriesDescription() == kKeyImageDescription &&
                         FSeries.GetSeriesInstanceUID().find(kOwnUIDRoot) != std::string::npos;
  return keyImages ? BuildKeyImageStacks() : BuildRegularStacks();
}

bool TanStacks<TanSeriesIE>::BuildKeyImageStacks() {
  FSeries.FPrivateRecords.Clear();
  const int32_t n = FSeries.FImages.Count();
  if (n == 0) return true;
  try {
    TanDicomFileObject none;
    TanPrivateIE* stack = FSeries.FPrivateRecords.AppendNew(none);
    stack->SetStackKey(CreateGuidString());
    stack->SetPrivateRecordUID(TanPrivateIE::kPrivateRecordUID);
    for (int32_t i = 0; i < n; ++i) {
      stack->SetStackImageIndex(i, static_cast<uint16_t>(i));
      stack->SetStackFrameNumber(i, 0);
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool TanStacks<TanSeriesIE>::GroupImagesIntoStacks(TTemporaryStacks& list, bool spatialTestsOff) {
  const TanImageSetView images(FSeries.FImages);
  const TanStackRules& rules = CurrentStackRules();
  try {
    for (int32_t i = 0; i < FSeries.FImages.Count(); ++i) {
      const TanStackImage image = images.At(i);
      TanDicomFileObject file;
      if (!file.LoadHeaderFromFile(PathOfFileID(image.fileID), false).empty()) continue;
      ndl::TanFunctionalGroupsModule groups;
      groups.Initialize(file);
      if (groups.IsEmpty()) {
        bool taken = false;
        for (auto& stack : list)
          if (stack->AcceptsImage(image, &file)) {
            stack->ImageIndexes.push_back(i);
            stack->FrameNumbers.push_back(0);
            taken = true;
            break;
          }
        if (!taken) {
          list.push_back(std::make_unique<TanTempraryStack>(images, i, rules));
          list.back()->SpatialTestsOff = spatialTestsOff;
        }
        continue;
      }
      ndl::iDICOM_FUNCTIONAL_GROUPS& element = *groups.Front();
      element.SortFrames();
      // The module made one entry per frame; a count read otherwise sizes nothing.
      const int32_t frames = static_cast<int32_t>(element.Macros.GetCount());
      for (int32_t j = 0; j < frames; ++j) {
        bool taken = false;
        for (auto& stack : list)
          if (stack->AcceptsFrame(i, j, groups, &file)) {
            stack->ImageIndexes.push_back(i);
            stack->FrameNumbers.push_back(element.Macros.At(static_cast<uint32_t>(j)).GetFrameNumber() - 1);
            taken = true;
            break;
          }
        if (!taken) {
          list.push_back(std::make_unique<TanTempraryStack>(images, i, j, groups, rules));
          list.back()->SpatialTestsOff = spatialTestsOff;
        }
      }
    }
  } catch (...) {
    return false;
  }
  return !list.empty();
}

bool TanStacks<TanSeriesIE>::FormTemporaryStacks(TTemporaryStacks& list) {
  if (!GroupImagesIntoStacks(list, false)) return false;
  if (list.size() <= 1) return true;
  for (const auto& stack : list)
    if (stack->ImageIndexes.size() != 2) return true;
  list.clear();
  return GroupImagesIntoStacks(list, true);
}

bool TanStacks<TanSeriesIE>::BuildRegularStacks() {
  FSeries.FPrivateRecords.Clear();
  if (FSeries.FImages.Count() == 0) return true;
  // The temporary stacks read the series' images through this view, so it outlives them.
  TTemporaryStacks list;
  if (!FormTemporaryStacks(list)) return false;
  try {
    int32_t made = 0;
    for (const auto& temporary : list) {
      // A stack without members (an image whose frame count cannot be right) makes no record.
      if (temporary->IsEmpty()) continue;
      TanDicomFileObject none;
      TanPrivateIE* stack = FSeries.FPrivateRecords.AppendNew(none);
      ++made;
      stack->SetStackKey(CreateGuidString());
      stack->SetPrivateRecordUID(TanPrivateIE::kPrivateRecordUID);
      const int32_t n = static_cast<int32_t>(temporary->ImageIndexes.size());
      for (int32_t i = 0; i < n; ++i) {
        stack->SetStackImageIndex(i, static_cast<uint16_t>(temporary->ImageIndexes[static_cast<size_t>(i)]));
        stack->SetStackFrameNumber(i, temporary->FrameNumbers[static_cast<size_t>(i)]);
      }
      iDDE* icon = nullptr;
      if (temporary->MakeIcon(icon, 128, 128, temporary->FrameNumbers[static_cast<size_t>((n - 1) / 2)]) && icon)
        stack->SetIconImageSequence(icon);
    }
    if (made == 0 || FSeries.FPrivateRecords.Count() != made) return false;
    return AttachPresentationStates();
  } catch (...) {
    return false;
  }
}

bool PresentationApplies(const ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references,
                         const TanIESet<TanImageIE>& images, const TanPrivateIE& stack, int32_t v) {
  if (references.IsEmpty()) return true;
  const int32_t index = stack.GetStackImageIndex(v);
  const int32_t frame = stack.GetStackFrameNumber(v);
  if (index < 0 || index >= images.Count() || frame < 0) return false;
  const TanImageIE* image = images.At(index);
  const std::string classUID = image->GetReferencedSOPClassUID();
  const std::string instanceUID = image->GetReferencedSOPInstanceUID();
  try {
    ndl_impl::TanImageSOPInstanceReferenceMacro reference(0, classUID.c_str(), instanceUID.c_str(), frame + 1);
    return references.Contains(&reference);
  } catch (...) {
    return false;
  }
}

bool AttachPresentationPairs(TanStudyIE& study, TanSeriesIE& series, bool stopOnFailure) {
  if (series.FPrivateRecords.IsEmpty()) return true;
  const std::string uid = series.GetSeriesInstanceUID();
  bool result = true;
  for (int32_t s = 0; s < study.FSeries.Count(); ++s) {
    TanSeriesIE& owner = *study.FSeries.At(s);
    for (int32_t p = 0; p < owner.FPresentations.Count(); ++p) {
      TanDicomFileObject none;
      ndl::TanPresentationStateRelationshipModule module;
      module.InitializeFrame(none, owner.FPresentations.At(p)->GetDataSet());
      if (module.IsEmpty()) continue;
      for (int32_t k = 0; k < module.GetCount(); ++k) {
        const ndl::iPRESENTATION_STATE_RELATIONSHIP& item = *module.At(static_cast<uint32_t>(k));
        const char* itemUID = item.GetSeriesInstanceUID();
        if (itemUID == nullptr || uid != itemUID) continue;
        for (TanPrivateIE* stack : series.FPrivateRecords) {
          const int32_t entries = stack->GetStackImageCount();
          for (int32_t v = 0; v < entries; ++v) {
            if (!PresentationApplies(*item.FReferences, series.FImages, *stack, v)) continue;
            if (stack->FindPresentationRef(s, p, nullptr)) continue;
            if (!stack->AddPresentationRef(s, p)) {
              result = false;
              if (stopOnFailure) return false;
            }
          }
        }
      }
    }
  }
  return result;
}

bool TanStacks<TanSeriesIE>::AttachPresentationStates() {
  TanStudyIE* study = GetStudy();
  if (study == nullptr) return true;
  return AttachPresentationPairs(*study, FSeries, true);
}

bool RebuildSeriesStacks(TanSeriesIE& series) { return series.FStackBuilder.RebuildStacks(); }

}  // namespace ORN_dicom
