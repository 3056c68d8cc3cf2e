#include "dicom/modules/ModalityLUTModule.h"

#include "dicom/modules/AnsiText.h"
#include "dicom/modules/DecimalText.h"
#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/modules/LUTTable.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

bool WriteTextAttribute(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint32_t tag, const std::string& text) {
  if (iDDE* e = dataSet.Find(tag)) {
    e->SetString(text);
    return true;
  }
  iDDE* e = factory->MakeDDE(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag), 1, text.c_str());
  if (e == nullptr) return false;
  if (!dataSet.Insert(e)) {
    delete e;
    return false;
  }
  return true;
}

bool ReadModalityRescale(ndl::DataSet& dataSet, ModalityVector& vector) {
  TanCursorGuard cursor(dataSet);
  iDDE* e = dataSet.FindFromCursor(0x00281052u);
  if (e == nullptr) return false;
  const double intercept = static_cast<double>(ORN_utility::TanStr2Float(e->GetString()).ToFloat());
  if ((e = dataSet.FindFromCursor(0x00281053u)) == nullptr) return false;
  const double slope = static_cast<double>(ORN_utility::TanStr2Float(e->GetString()).ToFloat());
  uint8_t type = 0;
  if ((e = dataSet.FindFromCursor(0x00281054u)) != nullptr) type = RescaleTypeCode(e->GetString());
  std::unique_ptr<ndl::iDICOM_MODALITY_LUT> element(ndl::TanModalityLUTFactory().CreateRescale(type, slope, intercept));
  if (!element || element->IsEmpty()) return false;
  vector.push_back(std::move(element));
  return true;
}

bool WriteModalityRescale(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const ndl::iDICOM_MODALITY_LUT& e) {
  if (e.IsEmpty()) return false;
  if (e.GetDataKind() != 2) return true;
  try {
    TanCursorGuard cursor(dataSet);
    if (!WriteTextAttribute(dataSet, factory, 0x00281052u, DecimalText(static_cast<double>(e.GetLastMapped()))) ||
        !WriteTextAttribute(dataSet, factory, 0x00281053u, DecimalText(static_cast<double>(e.GetFirstMapped()))))
      return false;
    const std::string type = RescaleTypeText(e.GetRescaleType());
    if (type.empty()) return false;
    return WriteTextAttribute(dataSet, factory, 0x00281054u, type);
  } catch (...) {
    return false;
  }
}

bool ReadModalityTable(ndl::DataSet& item, bool pixelSigned, ModalityVector& vector) {
  TanCursorGuard cursor(item);
  TanLUTTable table;
  if (!ReadLUTTable(item, 0x00283002u, 0x00283006u, pixelSigned, table)) return false;
  if (iDDE* e = item.Find(0x00283003u); e != nullptr && !e->GetString().empty())
    table.Explanation = AnsiToWide(e->GetString());
  iDDE* typeElement = item.Find(0x00283004u);
  if (typeElement == nullptr) return false;
  const uint8_t type = RescaleTypeCode(typeElement->GetString());
  if (type == 0) return false;
  ndl::TanModalityLUTFactory factory;
  const char16_t* explanation = table.Explanation.c_str();
  std::unique_ptr<ndl::iDICOM_MODALITY_LUT> element(
      table.Bits == 8 ? factory.CreateTable8(type, table.Entries8.data(), table.Count, table.FirstMapped, explanation)
                      : factory.CreateTable16(type, table.Entries16.data(), table.Count, table.FirstMapped, explanation));
  if (!element || element->IsEmpty()) return false;
  vector.push_back(std::move(element));
  return true;
}

bool WriteModalityTable(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, const ndl::iDICOM_MODALITY_LUT& e) {
  if (e.IsEmpty()) return false;
  if (e.GetDataKind() != 1) return true;
  try {
    const int32_t first = static_cast<int32_t>(e.GetFirstMapped());
    const int32_t last = static_cast<int32_t>(e.GetLastMapped());
    const std::string type = RescaleTypeText(e.GetRescaleType());
    if (type.empty()) return false;
    if (!WriteLUTDescriptorAndData(item, factory, 0x00283002u, 0x00283006u, e, first, last, e.GetBytesPerEntry() * 8))
      return false;
    if (!WriteTextAttribute(item, factory, 0x00283004u, type)) return false;
    if (const char16_t* explanation = e.GetExplanation(); explanation != nullptr && *explanation != 0)
      return WriteTextAttribute(item, factory, 0x00283003u, WideToAnsi(explanation));
    return true;
  } catch (...) {
    item.Clear();
    return false;
  }
}

}  // namespace ndl_impl
