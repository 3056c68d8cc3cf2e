#include "dicom/entities/records/SeriesWork.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"

namespace ORN_dicom {

// Stack building is the file set's, through the series work it installs.
bool TanGeneralDirectoryInfo::BuildStacks(TanSeriesIE& series) {
  iSERIES_WORK* work = InstalledSeriesWork();
  return work != nullptr && work->RebuildStacks(series);
}

}  // namespace ORN_dicom
