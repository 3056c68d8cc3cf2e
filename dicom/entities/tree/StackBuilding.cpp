#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"

namespace ORN_dicom {

// Stack building is the file set's (it defines the series' stack builder).
bool TanGeneralDirectoryInfo::BuildStacks(TanSeriesIE& series) { return series.FStackBuilder.RebuildStacks(); }

}  // namespace ORN_dicom
