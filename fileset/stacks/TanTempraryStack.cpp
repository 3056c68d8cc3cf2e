#include "fileset/stacks/TanTempraryStack.h"

#include <cmath>
#include <stdexcept>

#include "base/files/FolderContainment.h"
#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/records/ReferencedFileID.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/stacks/StackIcon.h"

namespace ORN_dicom {

namespace {

std::string Trim(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

// The "\"-separated values of an Image Type, each trimmed.
std::vector<std::string> ValuesOf(const std::string& text) {
  std::vector<std::string> values;
  size_t start = 0;
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return values;
  while (true) {
    const size_t bar = trimmed.find('\\', start);
    values.push_back(Trim(trimmed.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return values;
}

double Length(const double d[3]) { return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]); }

void PositionOf(const ndl::iIMAGE_PLANE& plane, double out[3]) {
  out[0] = plane.ImagePosition.GetX();
  out[1] = plane.ImagePosition.GetY();
  out[2] = plane.ImagePosition.GetZ();
}

bool Near(double a, double b, double tolerance) { return a == b || std::fabs(a - b) < tolerance; }

bool IsTextVR(const std::string& vr) {
  static const char* const kText[] = {"AE", "AT", "CS", "DA", "DT", "LO", "PN", "SH", "TM", "UI"};
  for (const char* t : kText)
    if (vr == t) return true;
  return false;
}

bool IsNumberVR(const std::string& vr) {
  static const char* const kNumber[] = {"DS", "IS", "FD", "FL", "SL", "SS", "UL", "US"};
  for (const char* t : kNumber)
    if (vr == t) return true;
  return false;
}

bool MatchesText(const TanStackCondition& condition, const std::string& text) {
  for (const std::string& value : condition.values)
    if (text.find(value) != std::string::npos) return true;
  return false;
}

bool MatchesNumber(const TanStackCondition& condition, double number) {
  for (const std::string& value : condition.values) {
    try {
      if (static_cast<double>(ORN_utility::TanStr2Float(value).ToFloat()) == number) return true;
    } catch (const std::exception&) {
    }
  }
  return false;
}

// Value i of a number element as a double; false when it has none.
bool NumberAt(iDDE& e, const std::string& vr, uint32_t i, double& out) {
  if (vr == "DS" || vr == "IS") {
    std::string text;
    if (!e.GetStringAt(text, i)) return false;
    text = Trim(text);
    try {
      out = vr == "DS" ? static_cast<double>(ORN_utility::TanStr2Float(text).ToFloat())
                       : static_cast<double>(ORN_utility::TanStr2Int(text).ToInt());
    } catch (const std::exception&) {
      return false;
    }
    return true;
  }
  if (vr == "FD" || vr == "FL") {
    if (vr == "FD") return e.GetDoubleAt(out, i);
    float f = 0;
    if (!e.GetFloatAt(f, i)) return false;
    out = f;
    return true;
  }
  if (vr == "SL") {
    int32_t v = 0;
    if (!e.GetLongAt(v, i)) return false;
    out = v;
    return true;
  }
  if (vr == "UL") {
    uint32_t v = 0;
    if (!e.GetULongAt(v, i)) return false;
    out = v;
    return true;
  }
  if (vr == "SS") {
    int16_t v = 0;
    if (!e.GetShortAt(v, i)) return false;
    out = v;
    return true;
  }
  uint16_t v = 0;
  if (!e.GetUShortAt(v, i)) return false;
  out = v;
  return true;
}

}  // namespace

std::string PathOfFileID(const std::string& fileID) {
  // The stacks are built with the file-set folder as the current folder: an ID that could
  // leave it, or a link out of it, names no file, and the image is one that cannot be read.
  const std::string path = SafePathOfFileID(fileID);
  if (path.empty() || !ORN_std::IsRegularFileInside(ORN_std::ResolvedFolder(std::string()), path)) return std::string();
  return path;
}

bool ConditionHolds(const TanStackCondition& condition, TanDicomFileObject& file) {
  iDDE* e = file.FDataSet.Find(condition.tag);
  if (e == nullptr) return false;
  if (condition.index == 0) return MatchesText(condition, Trim(e->GetString()));
  if (condition.index < 0) return false;
  // The VR decides first: counting values asks a value class that fits.
  const std::string vr = e->VRText();
  if (!IsTextVR(vr) && !IsNumberVR(vr)) return false;
  if (e->GetCount() < condition.index) return false;
  const uint32_t i = static_cast<uint32_t>(condition.index - 1);
  if (IsTextVR(vr)) {
    std::string text;
    if (!e->GetStringAt(text, i)) return false;
    return MatchesText(condition, Trim(text));
  }
  double number = 0;
  return NumberAt(*e, vr, i, number) && MatchesNumber(condition, number);
}

std::string TanTempraryStack::ModalityOf(TanDicomFileObject& file) {
  iDDE* e = file.FDataSet.Find(0x00080060u);
  return e == nullptr ? std::string() : e->GetString();
}

void TanTempraryStack::OpenFrom(const TanStackImage& image, int32_t index) {
  SOPClassUID = image.sopClassUID;
  ImageType = Trim(image.imageType);
  NumberOfFrames = image.numberOfFrames;
  LastInstanceNumber = image.instanceNumber;
  FirstImageIndex = index;
}

void TanTempraryStack::ReadFirstFile(const TanStackImage& image, TanDicomFileObject& file) {
  if (!file.LoadHeaderFromFile(PathOfFileID(image.fileID), true).empty()) throw std::runtime_error(kInitializationError);
  Modality = ModalityOf(file);
}

TanTempraryStack::TanTempraryStack(const iSTACK_IMAGES& images, int32_t index, const TanStackRules& rules)
    : FImagesView(images.Clone()), Images(*FImagesView), FRules(rules) {
  const TanStackImage image = images.At(index);
  OpenFrom(image, index);
  const int32_t n = NumberOfFrames;
  // A frame count that cannot be right sizes nothing: the stack stays without members.
  if (n <= 0 || n > kMaxFrames) return;
  for (int32_t f = 0; f < n; ++f) {
    ImageIndexes.push_back(index);
    FrameNumbers.push_back(f);
  }
  if (n != 1) return;
  TanDicomFileObject file;
  ReadFirstFile(image, file);
  ImagePlanes.Initialize(file);
  if (!ImagePlanes.IsEmpty()) PositionOf(*ImagePlanes.Front(), LastPosition);
  ImagePixels.Initialize(file);
}

TanTempraryStack::TanTempraryStack(const iSTACK_IMAGES& images, int32_t index, int32_t position,
                                   const FunctionalGroupsSet& groups, const TanStackRules& rules)
    : FImagesView(images.Clone()), Images(*FImagesView), FRules(rules) {
  const TanStackImage image = images.At(index);
  OpenFrom(image, index);
  FunctionalGroups = std::make_unique<ndl::TanFunctionalGroupsModule>();
  if (position < 0 || groups.IsEmpty() || !FunctionalGroups->Assign(groups) || FunctionalGroups->IsEmpty())
    throw std::runtime_error(kInitializationError);
  const ndl::iDICOM_FUNCTIONAL_GROUPS& copy = *FunctionalGroups->Front();
  if (static_cast<uint32_t>(position) >= copy.Macros.GetCount()) throw std::runtime_error(kInitializationError);
  const ndl::iFUNCTIONAL_GROUP_MACRO& entry = copy.Macros.At(static_cast<uint32_t>(position));
  ImageIndexes.push_back(index);
  FrameNumbers.push_back(entry.GetFrameNumber() - 1);
  FirstFramePosition = position;
  TanDicomFileObject file;
  ReadFirstFile(image, file);
  ImagePixels.Initialize(file);
  const char* concatenation = copy.Concatenation.GetConcatenationUID();
  ConcatenationUID = concatenation != nullptr ? concatenation : "";
  const char* stackID = entry.FrameContent.GetStackID();
  StackID = stackID != nullptr ? stackID : "";
  LastInStackPosition = entry.FrameContent.GetInStackPositionNumber();
  if (!entry.ImagePlane.IsEmpty()) PositionOf(entry.ImagePlane, LastPosition);
}

TanTempraryStack::~TanTempraryStack() = default;

bool TanTempraryStack::CheckInstanceNumberStep(int32_t n, bool strict) const {
  const int64_t m = LastInstanceNumber, d = NumberStep;
  if ((n > m && (d == 0 || n - m == d)) || (m == 0 && n == 0)) return true;
  return !strict && n > m;
}

bool TanTempraryStack::IsSecondaryCapture() const {
  return SOPClassUID.find("1.2.840.10008.5.1.4.1.1.7") != std::string::npos;
}

bool TanTempraryStack::IsLocalizer(const std::string& candidateImageType) const {
  const std::vector<std::string> own = ValuesOf(ImageType);
  const std::vector<std::string> other = ValuesOf(candidateImageType);
  return own.size() >= 3 && other.size() >= 3 && own[2] == "LOCALIZER" && other[2] == "LOCALIZER" &&
         !IsSecondaryCapture();
}

bool TanTempraryStack::IsDerivedSecondary(const std::string& candidateImageType) const {
  return ImageType.find("DERIVED\\SECONDARY") != std::string::npos &&
         candidateImageType.find("DERIVED\\SECONDARY") != std::string::npos;
}

bool TanTempraryStack::EqualsPixelSpacing(const ndl::iIMAGE_PLANE& p, const ndl::iIMAGE_PLANE& q) {
  return Near(p.PixelSpacing.GetRowSpacing(), q.PixelSpacing.GetRowSpacing(), 0.001) &&
         Near(p.PixelSpacing.GetColumnSpacing(), q.PixelSpacing.GetColumnSpacing(), 0.001);
}

bool TanTempraryStack::EqualsSliceThickness(const ndl::iIMAGE_PLANE& p, const ndl::iIMAGE_PLANE& q) {
  return Near(p.Slice.GetThickness(), q.Slice.GetThickness(), 0.001);
}

bool TanTempraryStack::EqualsOrientation(const ndl::iIMAGE_PLANE& p, const ndl::iIMAGE_PLANE& q) {
  const ndl::i3D_POINT* a[2] = {&p.ImageOrientation.RowDirection, &p.ImageOrientation.ColumnDirection};
  const ndl::i3D_POINT* b[2] = {&q.ImageOrientation.RowDirection, &q.ImageOrientation.ColumnDirection};
  for (int k = 0; k < 2; ++k)
    if (!Near(a[k]->GetX(), b[k]->GetX(), 0.0001) || !Near(a[k]->GetY(), b[k]->GetY(), 0.0001) ||
        !Near(a[k]->GetZ(), b[k]->GetZ(), 0.0001))
      return false;
  return true;
}

bool TanTempraryStack::CheckStepContinuity(const ndl::iIMAGE_PLANE& p) {
  double position[3];
  PositionOf(p, position);
  const double d[3] = {position[0] - LastPosition[0], position[1] - LastPosition[1], position[2] - LastPosition[2]};
  if (!(Length(d) > 0.1)) return false;
  const bool noStep = Step[0] == 0 && Step[1] == 0 && Step[2] == 0;
  if (!noStep) {
    const double change[3] = {Step[0] - d[0], Step[1] - d[1], Step[2] - d[2]};
    if (!(Length(change) < 0.3)) return false;
  }
  for (int k = 0; k < 3; ++k) {
    Step[k] = d[k];
    LastPosition[k] = position[k];
  }
  return true;
}

bool TanTempraryStack::CheckDistanceContinuity(const ndl::iIMAGE_PLANE& p) {
  if (Step[0] != 0 || Step[1] != 0 || Step[2] != 0) return false;
  double position[3];
  PositionOf(p, position);
  const double d[3] = {position[0] - LastPosition[0], position[1] - LastPosition[1], position[2] - LastPosition[2]};
  const double distance = Length(d);
  if (distance == 0) return false;
  if (LastDistance != 0 && !(std::fabs(LastDistance - distance) < 1.0)) return false;
  LastDistance = distance;
  for (int k = 0; k < 3; ++k) LastPosition[k] = position[k];
  return true;
}

bool TanTempraryStack::MatchesIgnoreStackIdConditions(TanDicomFileObject* file) const {
  if (file == nullptr || FRules.conditions.empty()) return false;
  for (const TanStackCondition& condition : FRules.conditions)
    if (!ConditionHolds(condition, *file)) return false;
  return true;
}

bool TanTempraryStack::AcceptsImage(const TanStackImage& image, TanDicomFileObject* file) {
  if (NumberOfFrames != 1 || image.numberOfFrames != 1 || ImageIndexes.empty()) return false;
  if (Modality == "US" || Modality == "MG") return false;
  if (image.sopClassUID != SOPClassUID) return false;
  const int32_t n = image.instanceNumber;
  const std::string candidateType = Trim(image.imageType);
  const bool sameType = candidateType == ImageType;
  const bool member = ((sameType || IsSecondaryCapture()) && CheckInstanceNumberStep(n, true)) ||
                      IsLocalizer(candidateType) ||
                      (sameType && !ImagePlanes.IsEmpty() && (CheckInstanceNumberStep(n, false) || n == LastInstanceNumber));
  if (!member) return false;
  TanDicomFileObject own;
  if (file == nullptr) {
    if (!own.LoadHeaderFromFile(PathOfFileID(image.fileID), false).empty()) return false;
    file = &own;
  }
  // A file without Modality compares as the empty text.
  if (ModalityOf(*file) != Modality) return false;
  ndl::TanImagePixelMacroModule pixels;
  pixels.Initialize(*file);
  if (pixels.IsEmpty() != ImagePixels.IsEmpty()) return false;
  if (!pixels.IsEmpty() && !pixels.Front()->IsEqual(*ImagePixels.Front())) return false;
  ndl::TanImagePlaneModule planes;
  planes.Initialize(*file);
  bool accepted = planes.IsEmpty() && ImagePlanes.IsEmpty();
  if (!accepted) {
    bool e = !planes.IsEmpty() && !ImagePlanes.IsEmpty() &&
             EqualsPixelSpacing(*planes.Front(), *ImagePlanes.Front()) &&
             EqualsSliceThickness(*planes.Front(), *ImagePlanes.Front());
    if (e && !SpatialTestsOff && FRules.regular_spatial_stack_discernment)
      e = EqualsOrientation(*planes.Front(), *ImagePlanes.Front()) ? CheckStepContinuity(*planes.Front())
                                                                    : CheckDistanceContinuity(*planes.Front());
    accepted = e || IsDerivedSecondary(candidateType) || IsLocalizer(candidateType);
  }
  if (!accepted) return false;
  NumberStep = n - LastInstanceNumber;
  LastInstanceNumber = n;
  return true;
}

bool TanTempraryStack::AcceptsFrame(int32_t index, int32_t position, FunctionalGroupsSet& groups,
                                    TanDicomFileObject* file) {
  if (!FunctionalGroups || FirstFramePosition < 0 || position < 0 || groups.IsEmpty()) return false;
  if (index != FirstImageIndex && ConcatenationUID.empty()) return false;
  const ndl::iDICOM_FUNCTIONAL_GROUPS& candidate = *groups.Front();
  if (static_cast<uint32_t>(position) >= candidate.Macros.GetCount()) return false;
  const ndl::iFUNCTIONAL_GROUP_MACRO& entry = candidate.Macros.At(static_cast<uint32_t>(position));
  const char* stackID = entry.FrameContent.GetStackID();
  if ((stackID != nullptr ? stackID : "") != StackID && !MatchesIgnoreStackIdConditions(file)) return false;
  const char* concatenation = candidate.Concatenation.GetConcatenationUID();
  if ((concatenation != nullptr ? concatenation : "") != ConcatenationUID) return false;
  const int32_t p = entry.FrameContent.GetInStackPositionNumber();
  const bool enhanced = FRules.enhanced_spatial_stack_discernment;
  if (enhanced && NumberStep != 0 && static_cast<int64_t>(p) - LastInStackPosition != NumberStep) return false;
  // The reference plane is the first member's own entry in the sorted copy.
  const ndl::iIMAGE_PLANE& plane = entry.ImagePlane;
  const ndl::iIMAGE_PLANE& reference =
      FunctionalGroups->Front()->Macros.At(static_cast<uint32_t>(FirstFramePosition)).ImagePlane;
  if (!(plane.IsEmpty() && reference.IsEmpty())) {
    if (plane.IsEmpty() || reference.IsEmpty()) return false;
    if (!EqualsPixelSpacing(plane, reference) || !EqualsSliceThickness(plane, reference)) return false;
    if (!SpatialTestsOff && enhanced) {
      const bool e = EqualsOrientation(plane, reference) ? CheckStepContinuity(plane) : CheckDistanceContinuity(plane);
      if (!e) return false;
    }
  }
  NumberStep = p - LastInStackPosition;
  LastInStackPosition = p;
  return true;
}

bool TanTempraryStack::MakeIcon(iDDE*& out, int32_t width, int32_t height, int32_t frameNumber) const {
  out = nullptr;
  if (ImageIndexes.empty()) return false;
  const size_t n = ImageIndexes.size();
  const size_t h = n == 1 ? 0 : (n - 1) / 2;
  const TanStackImage image = Images.At(ImageIndexes[h]);
  TanDicomFileObject file;
  if (!file.LoadFromFile(PathOfFileID(image.fileID), false).empty()) return false;
  return MakeStackIcon(file, width, height, frameNumber, out);
}

}  // namespace ORN_dicom
