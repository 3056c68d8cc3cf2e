#include "fileset/stacks/FileSetSeriesWork.h"

#include "dicom/entities/records/SeriesWork.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/stacks/SeriesOrder.h"

namespace ORN_dicom {

namespace {

class TanFileSetSeriesWork : public iSERIES_WORK {
 public:
  bool RebuildStacks(TanSeriesIE& series) override { return series.FStackBuilder.RebuildStacks(); }
  void OrganizeSeries(TanStudyIE& study) override { series_order::OrganizeSeries(study); }
};

}  // namespace

void InstallFileSetSeriesWork() {
  static TanFileSetSeriesWork work;  // lives as long as the process
  InstallSeriesWork(&work);
}

}  // namespace ORN_dicom
