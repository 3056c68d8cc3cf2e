#include "dicom/modules/ImagePlaneModule.h"

#include <string>

#include "dicom/modules/DecimalText.h"
#include "dicom/modules/TanAttributeReplacement.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

namespace {

// The values of a multi-valued number text, exactly count of them.
bool Values(iDDE* e, int32_t count, double* out) {
  if (e == nullptr || e->GetCount() != count) return false;
  for (int32_t i = 0; i < count; ++i) {
    std::string text;
    if (!e->GetStringAt(text, static_cast<uint32_t>(i))) return false;
    out[i] = DoubleOfText(text);
  }
  return true;
}

double OptionalValue(iDDE* e) { return e != nullptr && e->GetLength() > 0 ? DoubleOfText(e->GetString()) : 0.0; }

bool RequiredValue(iDDE* e, double& out) {
  if (e == nullptr || e->GetLength() == 0) return false;
  out = DoubleOfText(e->GetString());
  return true;
}

iDDE* MakeNumbers(ORN_dicom::iDDEFactory* factory, uint16_t g, uint16_t el, std::initializer_list<double> values) {
  iDDE* e = factory->MakeDDE(g, el, 0);
  if (e != nullptr)
    for (double v : values) e->AddString(DecimalText(v));
  return e;
}

}  // namespace

bool ReadImagePlane(ndl::DataSet& dataSet, std::vector<std::unique_ptr<ndl::iIMAGE_PLANE>>& vector) {
  {
    TanCursorGuard cursor(dataSet);
    const double thickness = OptionalValue(dataSet.FindFromCursor(0x00180050u));
    double position[3], orientation[6], spacing[2];
    const bool hasPosition = Values(dataSet.FindFromCursor(0x00200032u), 3, position);
    const bool hasOrientation = hasPosition && Values(dataSet.FindFromCursor(0x00200037u), 6, orientation);
    const double location = OptionalValue(dataSet.FindFromCursor(0x00201041u));
    const bool hasSpacing = hasOrientation && Values(dataSet.FindFromCursor(0x00280030u), 2, spacing);
    if (hasSpacing) {
      if (spacing[0] == 0.0) spacing[0] = spacing[1];
      if (spacing[1] == 0.0) spacing[1] = spacing[0];
      std::unique_ptr<ndl::iIMAGE_PLANE> plane(ndl::TanImagePlaneFactory().Create(
          spacing[0], spacing[1], orientation[0], orientation[1], orientation[2], orientation[3], orientation[4],
          orientation[5], position[0], position[1], position[2], thickness, location));
      if (plane && !plane->IsEmpty()) {
        vector.push_back(std::move(plane));
        return true;
      }
    }
  }
  return ReadDetectorImagePlanes(dataSet, vector);
}

bool ReadDetectorImagePlanes(ndl::DataSet& dataSet, std::vector<std::unique_ptr<ndl::iIMAGE_PLANE>>& vector) {
  TanCursorGuard cursor(dataSet);
  double thickness = 0.0, step = 0.0, spacing[2], position[3], orientation[6];
  if (!RequiredValue(dataSet.FindFromCursor(0x00180050u), thickness)) return false;
  if (!RequiredValue(dataSet.FindFromCursor(0x00180088u), step) || step == 0.0) return false;
  iDDE* frames = dataSet.FindFromCursor(0x00280008u);
  if (frames == nullptr || frames->GetLength() == 0) return false;
  const int32_t n = IntegerOfText(frames->GetString());
  if (!Values(dataSet.FindFromCursor(0x00280030u), 2, spacing) || n <= 1 || n > kMaxPlaneFrames) return false;
  iDDE* detector = dataSet.FindFromCursor(0x00540022u);
  if (detector == nullptr || detector->GetLength() == 0 || detector->GetSequence() == nullptr) return false;
  ndl::DataSet& items = *detector->GetSequence();
  if (items.IsEmpty() || items.At(0)->GetItem() == nullptr) return false;
  ndl::DataSet& first = *items.At(0)->GetItem();
  if (first.IsEmpty()) return false;
  {
    TanCursorGuard itemCursor(first);
    if (!Values(first.FindFromCursor(0x00200032u), 3, position)) return false;
    if (!Values(first.FindFromCursor(0x00200037u), 6, orientation)) return false;
  }
  int axis = -1;
  for (int a = 0; a < 3 && axis < 0; ++a)
    if (orientation[a] == 0.0 && orientation[3 + a] == 0.0) axis = a;
  if (axis < 0) return false;
  std::vector<std::unique_ptr<ndl::iIMAGE_PLANE>> planes;
  for (int32_t i = 0; i < n; ++i) {
    double p[3] = {position[0], position[1], position[2]};
    p[axis] += i * step;
    std::unique_ptr<ndl::iIMAGE_PLANE> plane(ndl::TanImagePlaneFactory().Create(
        spacing[0], spacing[1], orientation[0], orientation[1], orientation[2], orientation[3], orientation[4],
        orientation[5], p[0], p[1], p[2], thickness, 0.0));
    if (!plane || plane->IsEmpty()) break;
    planes.push_back(std::move(plane));
  }
  if (static_cast<int32_t>(planes.size()) != n) return false;
  vector = std::move(planes);
  return true;
}

bool WriteImagePlane(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const ndl::iIMAGE_PLANE& plane) {
  if (plane.IsEmpty()) return false;
  TanAttributeReplacement replace(dataSet, {0x00280030u, 0x00200037u, 0x00200032u, 0x00180050u, 0x00201041u});
  const auto& row = plane.ImageOrientation.RowDirection;
  const auto& column = plane.ImageOrientation.ColumnDirection;
  const auto& position = plane.ImagePosition;
  const double thickness = plane.Slice.GetThickness(), location = plane.Slice.GetLocation();
  if (!replace.Insert(MakeNumbers(factory, 0x0028, 0x0030,
                                  {plane.PixelSpacing.GetRowSpacing(), plane.PixelSpacing.GetColumnSpacing()})) ||
      !replace.Insert(MakeNumbers(factory, 0x0020, 0x0037,
                                  {row.GetX(), row.GetY(), row.GetZ(), column.GetX(), column.GetY(), column.GetZ()})) ||
      !replace.Insert(MakeNumbers(factory, 0x0020, 0x0032, {position.GetX(), position.GetY(), position.GetZ()})))
    return false;
  iDDE* slice = thickness != 0.0 ? MakeNumbers(factory, 0x0018, 0x0050, {thickness}) : factory->MakeDDE(0x0018, 0x0050, 0);
  if (!replace.Insert(slice)) return false;
  if (location != 0.0 && !replace.Insert(MakeNumbers(factory, 0x0020, 0x1041, {location}))) return false;
  replace.Commit();
  return true;
}

}  // namespace ndl_impl
