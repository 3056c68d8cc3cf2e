#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"

namespace ORN_dicom {

// Stack building belongs to the file set, which is not part of this library yet: until it is,
// a series without stacks stays without them and the caller is told so.
bool TanGeneralDirectoryInfo::BuildStacks(TanSeriesIE&) { return false; }

}  // namespace ORN_dicom
