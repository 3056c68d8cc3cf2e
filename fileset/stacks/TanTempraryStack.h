// One candidate display stack while the stacks of a series are formed. It keeps the attributes
// of its first member and the geometry of its last one and decides, test by test, whether a
// further single-frame image (AcceptsImage) or a further frame of an enhanced multi-frame image
// (AcceptsFrame) continues it. A regular stack is opened by an image without functional groups,
// a frame stack by one frame of an image with them.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "dicom/modules/FunctionalGroupsModule.h"
#include "dicom/modules/ImagePixelMacroModule.h"
#include "dicom/modules/ImagePlaneModule.h"
#include "fileset/stacks/StackRules.h"
#include "fileset/stacks/iSTACK_IMAGES.h"

namespace ORN_dicom {

class iDDE;
class TanDicomFileObject;

class TanTempraryStack {
 public:
  static constexpr const char* kInitializationError = "temprary-stack-initializetion-error";
  // Frame counts above this are refused before they size anything.
  static constexpr int32_t kMaxFrames = 65535;

  using FunctionalGroupsSet = ndl::DICOM_OBJECT_MODULE_SET_INTERFACE<ndl::iDICOM_FUNCTIONAL_GROUPS>;

  // A regular stack with the image at the index. A multi-frame image takes one member per
  // frame and reads nothing; a single-frame image's header is read (std::runtime_error
  // "temprary-stack-initializetion-error" when it cannot be). An image whose frame count is 0
  // or out of range opens a stack without members, which takes nothing.
  TanTempraryStack(const iSTACK_IMAGES& images, int32_t index, const TanStackRules& rules = CurrentStackRules());
  // A frame stack with the frame at the position among the set's (sorted) per-frame entries.
  TanTempraryStack(const iSTACK_IMAGES& images, int32_t index, int32_t position, const FunctionalGroupsSet& groups,
                   const TanStackRules& rules = CurrentStackRules());
  ~TanTempraryStack();
  TanTempraryStack(const TanTempraryStack&) = delete;
  TanTempraryStack& operator=(const TanTempraryStack&) = delete;

  // Whether the single-frame image continues the stack; file is its header, or null to read it.
  bool AcceptsImage(const TanStackImage& image, TanDicomFileObject* file);
  // Whether the frame at the position of the image's functional groups continues the stack.
  bool AcceptsFrame(int32_t index, int32_t position, FunctionalGroupsSet& groups, TanDicomFileObject* file);

  // The icon of the middle member into out; false when none was made.
  bool MakeIcon(iDDE*& out, int32_t width, int32_t height, int32_t frameNumber) const;

  bool IsEmpty() const { return ImageIndexes.empty(); }

  // The tests, exposed for the builder and tests.
  bool CheckInstanceNumberStep(int32_t n, bool strict) const;
  bool IsSecondaryCapture() const;
  bool IsLocalizer(const std::string& candidateImageType) const;
  bool IsDerivedSecondary(const std::string& candidateImageType) const;
  static bool EqualsPixelSpacing(const ndl::iIMAGE_PLANE& p, const ndl::iIMAGE_PLANE& q);
  static bool EqualsSliceThickness(const ndl::iIMAGE_PLANE& p, const ndl::iIMAGE_PLANE& q);
  static bool EqualsOrientation(const ndl::iIMAGE_PLANE& p, const ndl::iIMAGE_PLANE& q);
  bool CheckStepContinuity(const ndl::iIMAGE_PLANE& p);
  bool CheckDistanceContinuity(const ndl::iIMAGE_PLANE& p);
  bool MatchesIgnoreStackIdConditions(TanDicomFileObject* file) const;

  // The stack's own view of the series' IMAGE records.
  const std::unique_ptr<iSTACK_IMAGES> FImagesView;
  const iSTACK_IMAGES& Images;
  std::string SOPClassUID;
  std::string Modality;
  std::string ImageType;
  int32_t NumberOfFrames = 1;
  int32_t LastInstanceNumber = 0;
  ndl::TanImagePlaneModule ImagePlanes;
  ndl::TanImagePixelMacroModule ImagePixels;
  std::deque<int32_t> ImageIndexes;
  std::deque<int32_t> FrameNumbers;
  double LastPosition[3] = {0, 0, 0};
  double Step[3] = {0, 0, 0};
  double LastDistance = 0;
  int32_t NumberStep = 0;
  int32_t LastInStackPosition = -1;
  bool SpatialTestsOff = false;
  std::string ConcatenationUID;
  std::string StackID;
  int32_t FirstImageIndex = 0;
  std::unique_ptr<ndl::TanFunctionalGroupsModule> FunctionalGroups;
  // The first member frame's position in the sorted per-frame entries of the copy: the entry
  // whose plane later frames are compared with.
  int32_t FirstFramePosition = -1;

 private:
  void OpenFrom(const TanStackImage& image, int32_t index);
  void ReadFirstFile(const TanStackImage& image, TanDicomFileObject& file);
  static std::string ModalityOf(TanDicomFileObject& file);

  const TanStackRules FRules;
};

// Whether one condition holds for a data set: the element at top level, its whole value or
// value number index tested against the condition's texts or numbers.
bool ConditionHolds(const TanStackCondition& condition, TanDicomFileObject& file);

}  // namespace ORN_dicom
