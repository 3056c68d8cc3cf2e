#include "fileset/stacks/StackIcon.h"

namespace ORN_dicom {

// The icon image of the imaging library is not available yet: no icon is made.
bool MakeStackIcon(TanDicomFileObject&, int32_t, int32_t, int32_t, iDDE*& out) {
  out = nullptr;
  return false;
}

}  // namespace ORN_dicom
