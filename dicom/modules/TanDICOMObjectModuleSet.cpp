#include "dicom/modules/TanDICOMObjectModuleSet.h"

#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

iDDE* MakeReferencedImageSequence(ORN_dicom::iDDEFactory* factory,
                                  const ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references) {
  std::unique_ptr<iDDE> sequence(factory->MakeSequence(0x0008, 0x1140, 0));
  if (!sequence || sequence->GetSequence() == nullptr) return nullptr;
  if (!references.IsEmpty()) {
    for (uint32_t i = 0; i < references.GetCount(); ++i) {
      const auto& reference = references.At(i);
      if (reference.IsEmpty()) continue;
      const std::string classUID = reference.GetSOPClassUID();
      const std::string instanceUID = reference.GetSOPInstanceUID();
      const std::string frame = std::to_string(reference.GetFrameNumber());
      std::unique_ptr<iDDE> item(factory->MakeItem(0));
      if (!item || item->GetItem() == nullptr || classUID.empty() || instanceUID.empty()) break;
      std::unique_ptr<iDDE> e1(factory->MakeDDE(0x0008, 0x1150, 1, classUID.c_str()));
      std::unique_ptr<iDDE> e2(factory->MakeDDE(0x0008, 0x1155, 1, instanceUID.c_str()));
      // Frame 0 stands for every frame: written without (0008,1160), as it is read, since
      // frame numbers count from 1 and a "0" would name a frame no image has.
      std::unique_ptr<iDDE> e3(reference.GetFrameNumber() > 0 ? factory->MakeDDE(0x0008, 0x1160, 1, frame.c_str())
                                                              : nullptr);
      if (!e1 || !e2 || (!e3 && reference.GetFrameNumber() > 0)) break;
      item->GetItem()->Append(e1.release());
      item->GetItem()->Append(e2.release());
      if (e3) item->GetItem()->Append(e3.release());
      sequence->GetSequence()->Append(item.release());
    }
  }
  if (sequence->GetSequence()->GetValueLength() == 0) return nullptr;
  return sequence.release();
}

bool ReadReferencedImageSequence(ndl::DataSet& dataSet,
                                 ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references) {
  iDDE* sq = dataSet.Find(0x00081140u);
  if (sq == nullptr || sq->GetSequence() == nullptr) return false;
  ndl::DataSet& items = *sq->GetSequence();
  for (uint32_t i = 0; i < items.Count(); ++i) {
    iDDE* item = items.At(i);
    if (item->Tag() != 0xFFFEE000u || item->GetItem() == nullptr) continue;
    ORN_dicom::TanTags tags(*item->GetItem());
    iDDE* classUID = tags.Find(0x00081150u);
    iDDE* instanceUID = tags.Find(0x00081155u);
    if (classUID == nullptr || instanceUID == nullptr) {
      references.Clear();
      return false;
    }
    int32_t frame = 0;
    if (iDDE* frames = tags.Find(0x00081160u); frames != nullptr && frames->GetLength() > 0) {
      std::string first;
      frames->GetStringAt(first, 0);
      frame = ORN_utility::TanStr2Int(first).ToInt();
    }
    if (!references.InsertNew(-1).SetReference(classUID->GetString().c_str(), instanceUID->GetString().c_str(), frame)) {
      references.Clear();
      return false;
    }
  }
  return !references.IsEmpty();
}

bool WriteWithKindFactory(ndl::DataSet& dataSet, const std::function<bool(ORN_dicom::iDDEFactory*)>& write) {
  try {
    ORN_dicom::TanDDEFactory facade(dataSet.GetTransferSyntaxKind());
    if (facade.Get() == nullptr) return false;
    return write(facade.Get());
  } catch (const std::runtime_error&) {
    return false;
  }
}

}  // namespace ndl_impl
