#include "dicom/modules/ImagePixelMacroModule.h"

#include <cmath>
#include <string>

#include "dicom/modules/DecimalText.h"
#include "dicom/modules/TanAttributeReplacement.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

namespace {

int32_t PaddingNumber(iDDE* e, uint8_t representation) {
  return representation == 1 ? static_cast<int32_t>(e->GetShort()) : static_cast<int32_t>(e->GetUShort());
}

// The aspect ratio as two integers t / n with n a power of ten up to 1000.
void RatioParts(double ratio, long long& t, long long& n) {
  const long double r = ratio;
  n = 1;
  t = static_cast<long long>(r);
  while (static_cast<long double>(t) != r * n && n != 1000) {
    n *= 10;
    t = static_cast<long long>(r * n);
  }
}

}  // namespace

bool ReadImagePixelMacro(ndl::DataSet& dataSet, std::vector<std::unique_ptr<ndl::iIMAGE_PIXEL_MACRO>>& vector) {
  TanCursorGuard cursor(dataSet);
  iDDE* e = dataSet.FindFromCursor(0x00280002u);
  if (e == nullptr) return false;
  const uint8_t samples = static_cast<uint8_t>(e->GetUShort());
  if ((e = dataSet.FindFromCursor(0x00280004u)) == nullptr) return false;
  const uint8_t photometric = PhotometricCode(e->GetString().c_str());
  uint8_t planar = 255;
  if ((e = dataSet.FindFromCursor(0x00280006u)) != nullptr) planar = static_cast<uint8_t>(e->GetUShort());
  if ((e = dataSet.FindFromCursor(0x00280010u)) == nullptr) return false;
  const int32_t rows = e->GetUShort();
  if ((e = dataSet.FindFromCursor(0x00280011u)) == nullptr) return false;
  const int32_t columns = e->GetUShort();
  double ratio = 1.0;
  if ((e = dataSet.FindFromCursor(0x00280034u)) != nullptr && e->GetCount() == 2) {
    std::string first, second;
    e->GetStringAt(first, 0);
    e->GetStringAt(second, 1);
    const int32_t a = IntegerOfText(first), b = IntegerOfText(second);
    ratio = a == 0 && b == 0 ? 1.0 : b != 0 ? static_cast<double>(a) / b : 0.0;
  }
  if ((e = dataSet.FindFromCursor(0x00280100u)) == nullptr) return false;
  const uint8_t bitsAllocated = static_cast<uint8_t>(e->GetUShort());
  if ((e = dataSet.FindFromCursor(0x00280101u)) == nullptr) return false;
  const int32_t bitsStored = e->GetUShort();
  if ((e = dataSet.FindFromCursor(0x00280102u)) == nullptr) return false;
  const int32_t highBit = e->GetUShort();
  if ((e = dataSet.FindFromCursor(0x00280103u)) == nullptr) return false;
  const uint8_t representation = static_cast<uint8_t>(e->GetUShort());
  // Later stages shift and allocate by these: a layout whose bits do not fit is refused here.
  if (bitsAllocated > 32 || bitsStored > bitsAllocated || highBit >= bitsAllocated || highBit + 1 < bitsStored)
    return false;

  std::unique_ptr<ndl::iIMAGE_PIXEL_MACRO> macro(ndl::TanImagePixelMacroFactory().Create(
      samples, photometric, representation, planar, bitsAllocated, bitsStored, columns, rows, highBit, ratio));
  if (!macro) return false;
  if ((e = dataSet.FindFromCursor(0x00280120u)) != nullptr && e->GetCount() >= 1) {
    const int32_t value = PaddingNumber(e, representation);
    int32_t limit = value;
    if ((e = dataSet.FindFromCursor(0x00280121u)) != nullptr && e->GetCount() >= 1)
      limit = PaddingNumber(e, representation);
    macro->PixelPadding.Set(value, limit);
  }
  vector.push_back(std::move(macro));
  return true;
}

bool WriteImagePixelMacro(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const ndl::iIMAGE_PIXEL_MACRO& m) {
  if (m.IsEmpty()) return false;
  TanAttributeReplacement replace(dataSet, {0x00280002u, 0x00280004u, 0x00280006u, 0x00280010u, 0x00280011u,
                                            0x00280034u, 0x00280100u, 0x00280101u, 0x00280102u, 0x00280103u,
                                            0x00280120u, 0x00280121u});
  if (!replace.Insert(factory->MakeDDE(0x0028, 0x0002, 1, static_cast<int>(m.GetSamplesPerPixel()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0004, 1, PhotometricText(m.GetPhotometricInterpretation()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0010, 1, static_cast<int>(m.GetRows()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0011, 1, static_cast<int>(m.GetColumns()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0100, 1, static_cast<int>(m.GetBitsAllocated()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0101, 1, static_cast<int>(m.GetBitsStored()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0102, 1, static_cast<int>(m.GetHighBit()))) ||
      !replace.Insert(factory->MakeDDE(0x0028, 0x0103, 1, static_cast<int>(m.GetPixelRepresentation()))))
    return false;
  if (m.GetPlanarConfiguration() != 255 &&
      !replace.Insert(factory->MakeDDE(0x0028, 0x0006, 1, static_cast<int>(m.GetPlanarConfiguration()))))
    return false;
  if (m.GetPixelAspectRatio() != 1.0) {
    long long t = 0, n = 1;
    RatioParts(m.GetPixelAspectRatio(), t, n);
    const std::string first = std::to_string(t), second = std::to_string(n);
    if (!replace.Insert(factory->MakeDDE(0x0028, 0x0034, 2, first.c_str(), second.c_str()))) return false;
  }
  if (!m.PixelPadding.IsEmpty()) {
    const bool isSigned = m.GetPixelRepresentation() == 1;
    const char* vr = isSigned ? "SS" : "US";
    if (!replace.Insert(factory->MakeDDEWithVR(0x0028, 0x0120, vr, 1, m.PixelPadding.GetValue())) ||
        !replace.Insert(factory->MakeDDEWithVR(0x0028, 0x0121, vr, 1, m.PixelPadding.GetRangeLimit())))
      return false;
  }
  replace.Commit();
  return true;
}

}  // namespace ndl_impl
