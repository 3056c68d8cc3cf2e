#include "fileset/stacks/StackIcon.h"

#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/elements/element/iDDE.h"
#include "imaging/TgbDicomIcon.h"

namespace ORN_dicom {

bool MakeStackIcon(TanDicomFileObject& file, int32_t width, int32_t height, int32_t frameNumber, iDDE*& out) {
  out = nullptr;
  try {
    ORN_image::TgbDisplayDicomIcon<ORN_std::TanMSVirtualMemoryAlloc> icon(&file.FDataSet);
    if (!icon.CreateIcon(width, height, frameNumber)) return false;
    if (icon.GetIconItem(&out, 2) && out != nullptr) return true;
  } catch (...) {
  }
  delete out;
  out = nullptr;
  return false;
}

}  // namespace ORN_dicom
