// The helpers of the stack building of a series (TanStacks<TanSeriesIE>, whose operations
// TanStackBuilder.cpp defines): the series' IMAGE set as the temporary stacks read it, the
// stack keys, and the presentation pairs, which series ordering renews with the same rule.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fileset/stacks/StackRules.h"
#include "fileset/stacks/TanTempraryStack.h"

namespace ORN_dicom {

class TanSeriesIE;
class TanStudyIE;
class TanPrivateIE;
class TanImageIE;
template <class T>
class TanIESet;

// The series' IMAGE set as the temporary stacks read it.
class TanImageSetView : public iSTACK_IMAGES {
 public:
  explicit TanImageSetView(const TanIESet<TanImageIE>& images) : FImages(images) {}
  int32_t Count() const override;
  TanStackImage At(int32_t index) const override;
  std::unique_ptr<iSTACK_IMAGES> Clone() const override { return std::make_unique<TanImageSetView>(FImages); }

 private:
  const TanIESet<TanImageIE>& FImages;
};

// The stacks of the series rebuilt (TanStacks<TanSeriesIE>::RebuildStacks).
bool RebuildSeriesStacks(TanSeriesIE& series);

// A new UUID as 36 lower-case hexadecimal characters in groups of 8, 4, 4, 4 and 12.
std::string CreateGuidString();

// Whether the presentation state's referenced-series item applies to entry v of the stack:
// it lists no image, or one of its images matches the entry's image and frame.
bool PresentationApplies(const ndl::iCOLLECTION<ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>& references,
                         const TanIESet<TanImageIE>& images, const TanPrivateIE& stack, int32_t v);

// Appends to every stack record of the series the pair (seriesIndex, presentationIndex) of each
// presentation state of the study that applies to one of its entries. False when a pair could
// not be appended.
bool AttachPresentationPairs(TanStudyIE& study, TanSeriesIE& series, bool stopOnFailure);

}  // namespace ORN_dicom
