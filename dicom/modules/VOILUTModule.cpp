#include "dicom/modules/VOILUTModule.h"

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/modules/AnsiText.h"
#include "dicom/modules/DecimalText.h"
#include "dicom/modules/LUTTable.h"
#include "dicom/modules/TanAttributeReplacement.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

namespace {

std::string ValueText(iDDE* e, int32_t i) {
  std::string text;
  if (e != nullptr && i < e->GetCount()) e->GetStringAt(text, static_cast<uint32_t>(i));
  return text;
}

}  // namespace

bool ReadVOIWindows(ndl::DataSet& dataSet, VOIVector& vector) {
  TanCursorGuard cursor(dataSet);
  const int32_t widthIndex = dataSet.IndexOfFromCursor(0x00281051u);
  if (widthIndex <= 0 || dataSet.At(static_cast<uint32_t>(widthIndex - 1))->Tag() != 0x00281050u) return false;
  iDDE* width = dataSet.At(static_cast<uint32_t>(widthIndex));
  iDDE* center = dataSet.At(static_cast<uint32_t>(widthIndex - 1));
  iDDE* explanation = dataSet.FindFromCursor(0x00281055u);
  iDDE* function = dataSet.FindFromCursor(0x00281056u);
  const bool sigmoid = function != nullptr && function->GetString() == "SIGMOID";
  int32_t bits = 0;
  if (sigmoid) {
    if (iDDE* stored = dataSet.Find(0x00280101u)) bits = stored->GetUShort();
  }
  const int32_t n = std::min(center->GetCount(), width->GetCount());
  ndl::TanVOILUTFactory factory;
  for (int32_t i = 0; i < n; ++i) {
    const double c = static_cast<double>(ORN_utility::TanStr2Float(ValueText(center, i)).ToFloat());
    const double w = static_cast<double>(ORN_utility::TanStr2Float(ValueText(width, i)).ToFloat());
    const std::u16string text = AnsiToWide(ValueText(explanation, i));
    std::unique_ptr<ndl::iDICOM_VOI_LUT> e(sigmoid ? factory.CreateSigmoid(bits, c, w, text.c_str())
                                                   : factory.CreateLinear(c, w, text.c_str()));
    if (e && !e->IsEmpty()) vector.push_back(std::move(e));
  }
  return !vector.empty();
}

bool ReadVOITable(ndl::DataSet& item, bool pixelSigned, VOIVector& vector) {
  TanCursorGuard cursor(item);
  TanLUTTable table;
  if (!ReadLUTTable(item, 0x00283002u, 0x00283006u, pixelSigned, table)) return false;
  if (iDDE* e = item.Find(0x00283003u); e != nullptr && !e->GetString().empty())
    table.Explanation = AnsiToWide(e->GetString());
  ndl::TanVOILUTFactory factory;
  const int32_t count = static_cast<int32_t>(table.Count);
  std::unique_ptr<ndl::iDICOM_VOI_LUT> e(
      table.Bits == 8
          ? factory.CreateTable8(table.Entries8.data(), count, table.FirstMapped, table.Explanation.c_str())
          : factory.CreateTable16(table.Entries16.data(), count, table.FirstMapped, table.Explanation.c_str()));
  if (!e || e->IsEmpty()) return false;
  vector.push_back(std::move(e));
  return true;
}

bool WriteVOIWindows(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const VOIVector& elements) {
  std::vector<const ndl::iDICOM_VOI_LUT*> windows;
  for (const auto& e : elements) {
    if (e->IsEmpty()) return false;
    if (e->GetDataKind() != 1) windows.push_back(e.get());
  }
  if (windows.empty()) return true;
  try {
    TanAttributeReplacement replace(dataSet, {0x00281050u, 0x00281051u, 0x00281055u, 0x00281056u});
    iDDE* centers = factory->MakeDDE(0x0028, 0x1050, 0);
    iDDE* widths = factory->MakeDDE(0x0028, 0x1051, 0);
    if (!replace.Insert(centers) || !replace.Insert(widths)) return false;
    std::string explanations;
    bool explained = false;
    for (size_t i = 0; i < windows.size(); ++i) {
      // Centre and width keep their fractions.
      const long double low = windows[i]->GetFirstMapped(), high = windows[i]->GetLastMapped();
      centers->AddString(DecimalText(static_cast<double>(low + (high - low) * 0.5L)));
      widths->AddString(DecimalText(static_cast<double>(high - low)));
      const char16_t* text = windows[i]->GetExplanation();
      const std::string narrow = text != nullptr ? WideToAnsi(text) : std::string();
      explained = explained || !narrow.empty();
      if (i > 0) explanations += '\\';
      explanations += narrow;
    }
    if (explained && !replace.Insert(factory->MakeDDE(0x0028, 0x1055, 1, explanations.c_str()))) return false;
    const char* function = windows.front()->GetDataKind() == 3 ? "SIGMOID" : "LINEAR";
    if (!replace.Insert(factory->MakeDDE(0x0028, 0x1056, 1, function))) return false;
    replace.Commit();
    return true;
  } catch (...) {
    return false;
  }
}

bool WriteVOITable(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, const ndl::iDICOM_VOI_LUT& e) {
  if (e.IsEmpty()) return false;
  if (e.GetDataKind() != 1) return true;
  try {
    const int32_t first = static_cast<int32_t>(e.GetFirstMapped());
    const int32_t last = static_cast<int32_t>(e.GetLastMapped());
    if (!WriteLUTDescriptorAndData(item, factory, 0x00283002u, 0x00283006u, e, first, last, e.GetBytesPerEntry() * 8))
      return false;
    if (const char16_t* explanation = e.GetExplanation(); explanation != nullptr && *explanation != 0) {
      iDDE* text = factory->MakeDDE(0x0028, 0x3003, 1, WideToAnsi(explanation).c_str());
      if (text == nullptr || !item.Insert(text)) {
        delete text;
        return false;
      }
    }
    return true;
  } catch (...) {
    item.Clear();
    return false;
  }
}

}  // namespace ndl_impl
