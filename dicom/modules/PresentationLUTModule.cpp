#include "dicom/modules/PresentationLUTModule.h"

#include "dicom/modules/AnsiText.h"
#include "dicom/modules/LUTTable.h"
#include "dicom/modules/ModalityLUTModule.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

bool ReadPresentationShape(ndl::DataSet& dataSet, PresentationVector& vector) {
  TanCursorGuard cursor(dataSet);
  iDDE* e = dataSet.FindFromCursor(0x20500020u);
  if (e == nullptr) return false;
  const std::string text = e->GetString();
  const int8_t code = text == "IDENTITY" ? 1 : text == "INVERSE" ? -1 : 0;
  if (code == 0) return false;
  std::unique_ptr<ndl::iDICOM_PRESENTATION_LUT> element(ndl::TanPresentationLUTFactory().CreateShape(code));
  if (!element || element->IsEmpty()) return false;
  vector.push_back(std::move(element));
  return true;
}

bool WritePresentationShape(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory,
                            const ndl::iDICOM_PRESENTATION_LUT& e) {
  if (e.IsEmpty()) return false;
  if (e.GetDataKind() == 1) return true;
  try {
    TanCursorGuard cursor(dataSet);
    const int8_t code = e.GetShape();
    if (code != 1 && code != -1) return false;
    return WriteTextAttribute(dataSet, factory, 0x20500020u, code == -1 ? "INVERSE" : "IDENTITY");
  } catch (...) {
    return false;
  }
}

bool ReadPresentationTable(ndl::DataSet& item, bool pixelSigned, PresentationVector& vector) {
  TanCursorGuard cursor(item);
  TanLUTTable table;
  if (!ReadLUTTable(item, 0x00283002u, 0x00283006u, pixelSigned, table)) return false;
  if (iDDE* e = item.Find(0x00283003u); e != nullptr && !e->GetString().empty())
    table.Explanation = AnsiToWide(e->GetString());
  ndl::TanPresentationLUTFactory factory;
  std::unique_ptr<ndl::iDICOM_PRESENTATION_LUT> element(
      table.Bits == 8
          ? factory.CreateTable8(table.Entries8.data(), table.Count, table.FirstMapped, table.Explanation.c_str())
          : factory.CreateTable16(table.Entries16.data(), table.Count, table.FirstMapped, table.Explanation.c_str()));
  if (!element || element->IsEmpty()) return false;
  vector.push_back(std::move(element));
  return true;
}

bool WritePresentationTable(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory,
                            const ndl::iDICOM_PRESENTATION_LUT& e) {
  if (e.IsEmpty()) return false;
  if (e.GetDataKind() != 1) return true;
  try {
    const int32_t first = static_cast<int32_t>(e.GetFirstMapped());
    const int32_t last = static_cast<int32_t>(e.GetLastMapped());
    if (!WriteLUTDescriptorAndData(item, factory, 0x00283002u, 0x00283006u, e, first, last, e.GetBytesPerEntry() * 8))
      return false;
    if (const char16_t* explanation = e.GetExplanation(); explanation != nullptr && *explanation != 0)
      return WriteTextAttribute(item, factory, 0x00283003u, WideToAnsi(explanation));
    return true;
  } catch (...) {
    item.Clear();
    return false;
  }
}

}  // namespace ndl_impl
