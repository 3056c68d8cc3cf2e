// The stack builder every series record carries. It holds the series and the series' own
// parent-link slot, so it always sees the link the study's series set handed the series.
// Building the stacks is the file set's work: the operations below are defined with it
// (fileset/); this header only fixes the member's shape.
#pragma once

#include <string>
#include <vector>

#include "dicom/entities/records/AutoPtr.h"
#include "dicom/entities/records/TanDirectoryRecord.h"

namespace ORN_dicom {

class TanSeriesIE;
class TanStudyIE;
class TanTempraryStack;

template <class S>
class TanStacks;

template <>
class TanStacks<TanSeriesIE> {
 public:
  using TTemporaryStacks = std::vector<ntl::auto_ptr<TanTempraryStack>>;

  TanStacks(TanSeriesIE& series, const TParentLink& parentLink) : FSeries(series), FParentLink(parentLink) {}
  TanStacks(const TanStacks&) = delete;
  TanStacks& operator=(const TanStacks&) = delete;

  TanSeriesIE& GetSeries() const { return FSeries; }
  // The study that holds the series; null while the series is in no study's series set.
  TanStudyIE* GetStudy() const;
  // Deletes every stack record of the series.
  void ClearStacks();

  // Stack building (defined in fileset/).
  bool RebuildStacks();
  bool BuildKeyImageStacks();
  bool BuildRegularStacks();
  bool FormTemporaryStacks(TTemporaryStacks& stacks);
  bool GroupImagesIntoStacks(TTemporaryStacks& stacks, bool spatialTestsOff);
  bool AttachPresentationStates();
  static std::string CreateGuidString();

 private:
  TanSeriesIE& FSeries;
  const TParentLink& FParentLink;
};

}  // namespace ORN_dicom
