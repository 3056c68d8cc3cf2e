#include "dicom/modules/PresentationStateRelationshipModule.h"

#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/elements/dataset/TanTags.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

namespace {

bool ReadReferences(iDDE* sequence, ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references) {
  if (sequence->GetSequence() == nullptr || sequence->GetSequence()->IsEmpty()) return true;
  ndl::DataSet& items = *sequence->GetSequence();
  bool result = true;
  for (uint32_t i = 0; i < items.Count() && result; ++i) {
    iDDE* item = items.At(i);
    if (item->Tag() != 0xFFFEE000u || item->GetItem() == nullptr || item->GetItem()->IsEmpty()) continue;
    ORN_dicom::TanTags tags(*item->GetItem());
    iDDE* c = tags.Find(0x00081150u);
    iDDE* s = tags.Find(0x00081155u);
    if (c == nullptr || c->GetLength() == 0 || s == nullptr || s->GetLength() == 0) {
      result = false;
      break;
    }
    const std::string classUID = c->GetString(), instanceUID = s->GetString();
    iDDE* frames = tags.Find(0x00081160u);
    if (frames == nullptr) {
      result = references.InsertNew(-1).SetReference(classUID.c_str(), instanceUID.c_str(), 0);
    } else if (frames->GetLength() == 0) {
      result = false;
    } else {
      for (int32_t j = 0; j < frames->GetCount(); ++j) {
        std::string text;
        frames->GetStringAt(text, static_cast<uint32_t>(j));
        if (text.empty()) continue;
        if (!references.InsertNew(-1).SetReference(classUID.c_str(), instanceUID.c_str(),
                                                   ORN_utility::TanStr2Int(text).ToInt()))
          result = false;
      }
    }
  }
  if (!result) references.Clear();
  return result;
}

}  // namespace

bool ReadRelationship(ndl::DataSet& item, RelationshipVector& vector) {
  item.FCursor = 0;
  iDDE* images = item.FindFromCursor(0x00081140u);
  iDDE* series = item.FindFromCursor(0x0020000Eu);
  item.FCursor = 0;
  if (series == nullptr) return false;
  std::unique_ptr<ndl::iPRESENTATION_STATE_RELATIONSHIP> element(
      ndl::TanPresentationStateRelationshipFactory().Create(series->GetString().c_str()));
  if (!element || element->IsEmpty()) return false;
  if (images != nullptr && !ReadReferences(images, *element->FReferences)) return false;
  vector.push_back(std::move(element));
  return true;
}

bool WriteRelationship(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory,
                       const ndl::iPRESENTATION_STATE_RELATIONSHIP& element) {
  if (element.IsEmpty()) return false;
  bool result = false;
  try {
    iDDE* uid = factory->MakeDDE(0x0020, 0x000E, 1, element.GetSeriesInstanceUID());
    if (uid == nullptr) return false;
    if (!item.Insert(uid)) {
      delete uid;
      return false;
    }
    result = true;
    if (iDDE* references = MakeReferencedImageSequence(factory, *element.FReferences)) {
      if (!item.Insert(references)) delete references;
    }
  } catch (...) {
    item.Clear();
  }
  return result;
}

}  // namespace ndl_impl

namespace ndl {

using Object = ndl_impl::TanPresentationStateRelationship<>;

iPRESENTATION_STATE_RELATIONSHIP* TanPresentationStateRelationshipFactory::CreateDefault() const {
  try {
    return new Object();
  } catch (...) {
    return nullptr;
  }
}

iPRESENTATION_STATE_RELATIONSHIP* TanPresentationStateRelationshipFactory::Create(const char* uid) const {
  try {
    return new Object(uid != nullptr ? uid : "");
  } catch (...) {
    return nullptr;
  }
}

iPRESENTATION_STATE_RELATIONSHIP* TanPresentationStateRelationshipFactory::CreateCopy(
    const iPRESENTATION_STATE_RELATIONSHIP& other) const {
  try {
    return new Object(dynamic_cast<const Object&>(other));
  } catch (...) {
    return nullptr;
  }
}

}  // namespace ndl
