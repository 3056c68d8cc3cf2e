#include "dicom/modules/FunctionalGroupsModule.h"

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/modules/DecimalText.h"
#include "dicom/modules/ModalityLUTModule.h"
#include "dicom/modules/VOILUTModule.h"

namespace ndl_impl {

using ORN_dicom::iDDE;
using Macro = ndl::iFUNCTIONAL_GROUP_MACRO;

namespace {

// Item 0 of a sequence when there is one and it holds an element.
ndl::DataSet* FirstItem(ndl::DataSet& set, uint32_t tag) {
  iDDE* sq = set.Find(tag);
  if (sq == nullptr || sq->GetSequence() == nullptr) return nullptr;
  ORN_dicom::TanItems items(*sq->GetSequence());
  if (items.IsEmpty()) return nullptr;
  ndl::DataSet* item = items.Item(0);
  if (item == nullptr || ORN_dicom::TanTags(*item).IsEmpty()) return nullptr;
  return item;
}

std::string TextOf(iDDE* e) { return e != nullptr && e->GetLength() > 0 ? e->GetString() : std::string(); }

bool ReadAnatomy(ndl::DataSet& item, Macro& m) {
  ndl::DataSet* anatomy = FirstItem(item, 0x00209071u);
  if (anatomy == nullptr) return false;
  const std::string text = TextOf(anatomy->Find(0x00209072u));
  if (text.empty() || std::string("LRBU").find(text[0]) == std::string::npos) return false;
  m.SetFrameLaterality(text[0]);
  return true;
}

bool ReadFrameType(ndl::DataSet& item, Macro& m) {
  for (uint32_t tag : {0x00189226u, 0x00189227u, 0x00189329u, 0x00189504u}) {
    if (item.Find(tag) == nullptr) continue;
    ndl::DataSet* first = FirstItem(item, tag);
    if (first == nullptr) return false;
    const std::string text = TextOf(first->Find(0x00089007u));
    if (text.empty()) return false;
    m.SetFrameType(text.c_str());
    return true;
  }
  return false;
}

bool ReadPixelValueTransformation(ndl::DataSet& item, ORN_dicom::TanDicomFileObject& file, Macro& m) {
  ndl::DataSet* first = FirstItem(item, 0x00289145u);
  if (first == nullptr) return false;
  ndl::TanModalityLUTModule set;
  if (!set.InitializeFromDataSet(file, *first)) return false;
  return m.ModalityLUT.Assign(*set.Front());
}

bool ReadFrameVOI(ndl::DataSet& item, ORN_dicom::TanDicomFileObject& file, Macro& m) {
  ndl::DataSet* first = FirstItem(item, 0x00289132u);
  if (first == nullptr) return false;
  ndl::TanVOILUTModule set;
  if (set.InitializeFromDataSet(file, *first)) {
    for (int32_t i = 0; i < set.GetCount(); ++i)
      if (!m.FrameVOILUTs.InsertNew(-1).Assign(*set.At(static_cast<uint32_t>(i)))) m.FrameVOILUTs.Erase(-1);
  }
  return !m.FrameVOILUTs.IsEmpty();
}

bool Values(iDDE* e, int32_t count, double* out) {
  if (e == nullptr || e->GetCount() != count) return false;
  for (int32_t i = 0; i < count; ++i) {
    std::string text;
    e->GetStringAt(text, static_cast<uint32_t>(i));
    out[i] = static_cast<double>(ORN_utility::TanStr2Float(text).ToFloat());
  }
  return true;
}

bool ReadPlane(ndl::DataSet& item, Macro& m) {
  const auto& p = m.ImagePlane;
  double spacing[2] = {p.PixelSpacing.GetRowSpacing(), p.PixelSpacing.GetColumnSpacing()};
  double orientation[6] = {p.ImageOrientation.RowDirection.GetX(),    p.ImageOrientation.RowDirection.GetY(),
                           p.ImageOrientation.RowDirection.GetZ(),    p.ImageOrientation.ColumnDirection.GetX(),
                           p.ImageOrientation.ColumnDirection.GetY(), p.ImageOrientation.ColumnDirection.GetZ()};
  double position[3] = {p.ImagePosition.GetX(), p.ImagePosition.GetY(), p.ImagePosition.GetZ()};
  double thickness = p.Slice.GetThickness();
  bool any = false;
  if (ndl::DataSet* measures = FirstItem(item, 0x00289110u)) {
    double s[2];
    if (Values(measures->Find(0x00280030u), 2, s)) {
      spacing[0] = s[0];
      spacing[1] = s[1];
      any = true;
    }
    const std::string t = TextOf(measures->Find(0x00180050u));
    if (!t.empty()) {
      thickness = static_cast<double>(ORN_utility::TanStr2Float(t).ToFloat());
      any = true;
    }
  }
  if (ndl::DataSet* position_ = FirstItem(item, 0x00209113u)) any = Values(position_->Find(0x00200032u), 3, position) || any;
  if (ndl::DataSet* orient = FirstItem(item, 0x00209116u)) any = Values(orient->Find(0x00200037u), 6, orientation) || any;
  if (any)
    m.ImagePlane.Set(spacing[0], spacing[1], orientation[0], orientation[1], orientation[2], orientation[3],
                     orientation[4], orientation[5], position[0], position[1], position[2], thickness, 0.0);
  return any;
}

bool ReadFrameContent(ndl::DataSet& item, Macro& m) {
  ndl::DataSet* content = FirstItem(item, 0x00209111u);
  if (content == nullptr) return false;
  if (iDDE* e = content->Find(0x00209128u); e != nullptr && e->GetLength() > 0)
    m.FrameContent.SetTemporalPositionIndex(static_cast<int32_t>(e->GetULong()));
  if (iDDE* e = content->Find(0x00209057u); e != nullptr && e->GetLength() > 0)
    m.FrameContent.SetInStackPositionNumber(static_cast<int32_t>(e->GetULong()));
  const std::string stack = TextOf(content->Find(0x00209056u));
  if (!stack.empty()) m.FrameContent.SetStackID(stack.c_str());
  return !m.FrameContent.IsEmpty();
}

bool ReadMacro(ndl::DataSet& item, ORN_dicom::TanDicomFileObject& file, Macro& m) {
  bool any = ReadAnatomy(item, m);
  any = ReadFrameType(item, m) || any;
  any = ReadPixelValueTransformation(item, file, m) || any;
  any = ReadFrameVOI(item, file, m) || any;
  any = ReadPlane(item, m) || any;
  any = ReadFrameContent(item, m) || any;
  return any;
}

}  // namespace

bool ReadFunctionalGroups(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file,
                          std::vector<std::unique_ptr<ndl::iDICOM_FUNCTIONAL_GROUPS>>& vector) {
  TanCursorGuard cursor(dataSet);
  std::unique_ptr<ndl::iDICOM_FUNCTIONAL_GROUPS> element(ndl::TanFunctionalGroupsFactory().CreateDefault());
  if (!element) return false;
  std::string text = TextOf(dataSet.FindFromCursor(0x00080023u));
  if (!text.empty()) element->SetContentDate(text.c_str());
  text = TextOf(dataSet.FindFromCursor(0x00080033u));
  if (!text.empty()) element->SetContentTime(text.c_str());
  iDDE* instance = dataSet.FindFromCursor(0x00200013u);
  if (instance == nullptr || instance->GetLength() == 0) return false;
  text = instance->GetString();
  if (!text.empty()) element->SetInstanceNumber(ORN_utility::TanStr2Int(text).ToInt());
  text = TextOf(dataSet.FindFromCursor(0x00209161u));
  if (!text.empty()) {
    int16_t number = -1, total = -1;
    int32_t offset = -1;
    if (iDDE* e = dataSet.FindFromCursor(0x00209162u)) number = static_cast<int16_t>(e->GetUShort());
    if (iDDE* e = dataSet.FindFromCursor(0x00209163u)) total = static_cast<int16_t>(e->GetUShort());
    if (iDDE* e = dataSet.FindFromCursor(0x00209228u)) offset = static_cast<int32_t>(e->GetULong());
    element->Concatenation.SetConcatenation(text.c_str(), offset, number, total);
  }
  text = TextOf(dataSet.FindFromCursor(0x00280008u));
  if (text.empty()) return false;
  const int32_t n = ORN_utility::TanStr2Int(text).ToInt();
  // The frame count is checked before any macro is made.
  if (n <= 0 || n > kMaxFunctionalGroupFrames) return false;
  element->SetNumberOfFrames(static_cast<int16_t>(n));
  auto& macros = element->Macros;
  for (int32_t i = 0; i < n; ++i) macros.InsertNew(-1);

  iDDE* shared = dataSet.FindFromCursor(0x52009229u);
  if (shared != nullptr && shared->GetLength() > 0) {
    if (ndl::DataSet* item = FirstItem(dataSet, 0x52009229u)) {
      macros.Front().SetFrameNumber(1);
      if (ReadMacro(*item, file, macros.Front())) {
        for (uint32_t i = 1; i < macros.GetCount(); ++i) {
          macros.At(i) = macros.Front();
          macros.At(i).SetFrameNumber(static_cast<int32_t>(i + 1));
        }
      }
    }
  }
  iDDE* perFrame = dataSet.FindFromCursor(0x52009230u);
  if (perFrame != nullptr && perFrame->GetLength() > 0 && perFrame->GetSequence() != nullptr) {
    ORN_dicom::TanItems items(*perFrame->GetSequence());
    if (items.Count() == macros.GetCount()) {
      for (uint32_t i = 0; i < items.Count(); ++i) {
        ndl::DataSet* item = items.Item(i);
        if (item == nullptr || ORN_dicom::TanTags(*item).IsEmpty()) continue;
        macros.At(i).SetFrameNumber(static_cast<int32_t>(i + 1));
        ReadMacro(*item, file, macros.At(i));
      }
    }
  }
  if (element->IsEmpty()) return false;
  vector.push_back(std::move(element));
  return true;
}

}  // namespace ndl_impl

namespace ndl {

iDICOM_FUNCTIONAL_GROUPS* TanFunctionalGroupsFactory::CreateDefault() const {
  try {
    return new ndl_impl::TanFunctionalGroups<>();
  } catch (...) {
    return nullptr;
  }
}

iDICOM_FUNCTIONAL_GROUPS* TanFunctionalGroupsFactory::CreateCopy(const iDICOM_FUNCTIONAL_GROUPS& other) const {
  try {
    auto* copy = new ndl_impl::TanFunctionalGroups<>();
    *copy = other;
    return copy;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace ndl
