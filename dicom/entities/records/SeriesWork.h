// The work on series that the file set does, above this library: building a series' display
// stacks and putting a study's series in order. The file set installs its implementation and
// the record tree calls through it, so that this library never links the file set. Without
// one installed no stack is built and series stay in the order they were added.
#pragma once

namespace ORN_dicom {

class TanSeriesIE;
class TanStudyIE;

class iSERIES_WORK {
 public:
  virtual ~iSERIES_WORK() = default;
  virtual bool RebuildStacks(TanSeriesIE& series) = 0;
  virtual void OrganizeSeries(TanStudyIE& study) = 0;
};

// One implementation for the process (the caller keeps it alive); null takes it away.
void InstallSeriesWork(iSERIES_WORK* work);
iSERIES_WORK* InstalledSeriesWork();

}  // namespace ORN_dicom
