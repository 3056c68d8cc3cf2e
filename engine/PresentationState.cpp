#include "engine/PresentationState.h"

#include <algorithm>
#include <exception>

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"

using ORN_dicom::iDDE;
using ORN_dicom::TanDDESet;

namespace ORN_engine {
namespace {

constexpr const char* kGrayscaleSoftcopyPresentationState = "1.2.840.10008.5.1.4.1.1.11.1";
constexpr uint32_t kSopClassUid = 0x00080016u, kMediaSopClassUid = 0x00020002u, kReferencedSeries = 0x00081115u,
                   kReferencedImages = 0x00081140u, kReferencedSopInstance = 0x00081155u,
                   kContentLabel = 0x00700080u, kSoftcopyVoiLut = 0x00283110u, kWindowCenter = 0x00281050u,
                   kWindowWidth = 0x00281051u, kVoiLutSequence = 0x00283010u, kLutDescriptor = 0x00283002u,
                   kLutData = 0x00283006u, kRescaleIntercept = 0x00281052u, kRescaleSlope = 0x00281053u,
                   kPresentationLutShape = 0x20500020u, kImageRotation = 0x00700042u,
                   kImageHorizontalFlip = 0x00700041u, kDisplayedAreaSelection = 0x0070005Au,
                   kDisplayedAreaTlhc = 0x00700052u, kDisplayedAreaBrhc = 0x00700053u,
                   kPresentationSizeMode = 0x00700100u, kMagnificationRatio = 0x00700103u,
                   kGraphicAnnotation = 0x00700001u, kTextObjects = 0x00700008u, kGraphicObjects = 0x00700009u,
                   kBoundingBoxUnits = 0x00700003u, kAnchorUnits = 0x00700004u, kGraphicUnits = 0x00700005u,
                   kUnformattedText = 0x00700006u, kBoxTlhc = 0x00700010u, kBoxBrhc = 0x00700011u,
                   kAnchorPoint = 0x00700014u, kAnchorVisibility = 0x00700015u, kGraphicDimensions = 0x00700020u,
                   kNumberOfGraphicPoints = 0x00700021u, kGraphicData = 0x00700022u, kGraphicType = 0x00700023u;

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  size_t b = 0;
  while (b < s.size() && s[b] == ' ') ++b;
  return s.substr(b);
}

std::string TextOf(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* e = set.Find(tag);
  return e != nullptr ? Trimmed(e->GetString()) : std::string();
}

std::vector<double> RealsOf(TanDDESet<iDDE>& set, uint32_t tag) {
  std::vector<double> out;
  std::string text = TextOf(set, tag);
  if (text.empty()) return out;
  text.push_back('\\');
  size_t start = 0;
  for (size_t cut = text.find('\\'); cut != std::string::npos; start = cut + 1, cut = text.find('\\', start)) {
    try {
      out.push_back(double(ORN_utility::TanStr2Float(Trimmed(text.substr(start, cut - start))).ToFloat()));
    } catch (const std::exception&) {
      return {};
    }
  }
  return out;
}

std::vector<TanDDESet<iDDE>*> ItemsOf(TanDDESet<iDDE>& set, uint32_t tag) {
  std::vector<TanDDESet<iDDE>*> out;
  iDDE* sequence = set.Find(tag);
  if (sequence == nullptr) return out;
  auto* items = sequence->ValueAs<ORN_dicom::TanDDESequenceValue>();
  if (items == nullptr) return out;
  ORN_dicom::TanItems view(*items);
  try {
    for (uint32_t i = 0; i < view.Count(); ++i)
      if (auto* item = view.Item(i)) out.push_back(item);
  } catch (const std::exception&) {
  }
  return out;
}

std::vector<std::string> ReferencedImages(TanDDESet<iDDE>& set) {
  std::vector<std::string> out;
  for (auto* item : ItemsOf(set, kReferencedImages)) {
    const std::string uid = TextOf(*item, kReferencedSopInstance);
    if (!uid.empty()) out.push_back(uid);
  }
  return out;
}

std::vector<float> FloatsOf(TanDDESet<iDDE>& set, uint32_t tag) {
  std::vector<float> out;
  iDDE* e = set.Find(tag);
  if (e == nullptr) return out;
  float f = 0;
  for (uint32_t i = 0; i < 100000 && e->GetFloatAt(f, i); ++i) out.push_back(f);
  return out;
}

std::vector<int32_t> LongsOf(TanDDESet<iDDE>& set, uint32_t tag) {
  std::vector<int32_t> out;
  iDDE* e = set.Find(tag);
  if (e == nullptr) return out;
  int32_t v = 0;
  for (uint32_t i = 0; i < 16 && e->GetLongAt(v, i); ++i) out.push_back(v);
  return out;
}

bool Applies(const std::vector<std::string>& images, const std::string& uid) {
  return images.empty() || std::find(images.begin(), images.end(), uid) != images.end();
}

void ReadAnnotations(TanDDESet<iDDE>& set, PresentationState& ps) {
  for (auto* item : ItemsOf(set, kGraphicAnnotation)) {
    PsAnnotation a;
    a.Images = ReferencedImages(*item);
    for (auto* t : ItemsOf(*item, kTextObjects)) {
      PsText text;
      text.Text = TextOf(*t, kUnformattedText);
      const std::vector<float> tl = FloatsOf(*t, kBoxTlhc), br = FloatsOf(*t, kBoxBrhc), anchor = FloatsOf(*t, kAnchorPoint);
      if (tl.size() == 2 && br.size() == 2) {
        text.HasBox = true;
        text.BoxDisplay = TextOf(*t, kBoundingBoxUnits) == "DISPLAY";
        text.BoxTopLeft = {tl[0], tl[1]};
        text.BoxBottomRight = {br[0], br[1]};
      }
      if (anchor.size() == 2) {
        text.HasAnchor = true;
        text.AnchorDisplay = TextOf(*t, kAnchorUnits) == "DISPLAY";
        text.AnchorVisible = TextOf(*t, kAnchorVisibility) == "Y";
        text.Anchor = {anchor[0], anchor[1]};
      }
      if (text.HasBox || text.HasAnchor) a.Texts.push_back(text);
    }
    for (auto* g : ItemsOf(*item, kGraphicObjects)) {
      PsGraphic graphic;
      const std::string type = TextOf(*g, kGraphicType);
      if (type == "POINT") graphic.Shape = PsGraphic::kPoint;
      else if (type == "POLYLINE") graphic.Shape = PsGraphic::kPolyline;
      else if (type == "INTERPOLATED") graphic.Shape = PsGraphic::kInterpolated;
      else if (type == "CIRCLE") graphic.Shape = PsGraphic::kCircle;
      else if (type == "ELLIPSE") graphic.Shape = PsGraphic::kEllipse;
      else continue;
      graphic.Display = TextOf(*g, kGraphicUnits) == "DISPLAY";
      const std::vector<float> data = FloatsOf(*g, kGraphicData);
      for (size_t i = 0; i + 1 < data.size(); i += 2) graphic.Points.push_back({data[i], data[i + 1]});
      const size_t need = graphic.Shape == PsGraphic::kCircle ? 2 : graphic.Shape == PsGraphic::kEllipse ? 4 : 1;
      if (graphic.Points.size() >= need) a.Graphics.push_back(graphic);
    }
    ps.Annotations.push_back(std::move(a));
  }
}

}  // namespace

bool PresentationState::References(const std::string& uid) const {
  return std::find(Images.begin(), Images.end(), uid) != Images.end();
}

const PsVoi* PresentationState::VoiFor(const std::string& uid) const {
  for (const PsVoi& v : Vois)
    if (Applies(v.Images, uid)) return &v;
  return nullptr;
}

const PsArea* PresentationState::AreaFor(const std::string& uid) const {
  for (const PsArea& a : Areas)
    if (Applies(a.Images, uid)) return &a;
  return nullptr;
}

bool ReadPresentationState(const std::string& path, PresentationState& ps, std::string& error) {
  ORN_dicom::TanDicomFileObject file;
  error = file.LoadFromFile(path, false);
  if (!error.empty()) return false;
  TanDDESet<iDDE>& set = file.FDataSet;
  std::string sopClass = TextOf(set, kSopClassUid);
  if (sopClass.empty()) sopClass = TextOf(file.FMetaGroup, kMediaSopClassUid);
  if (sopClass != kGrayscaleSoftcopyPresentationState) {
    error = "The file is no grayscale softcopy presentation state.";
    return false;
  }
  ps = PresentationState{};
  ps.Path = path;
  ps.Label = TextOf(set, kContentLabel);
  for (auto* series : ItemsOf(set, kReferencedSeries))
    for (const std::string& uid : ReferencedImages(*series)) ps.Images.push_back(uid);

  const std::vector<double> slope = RealsOf(set, kRescaleSlope), intercept = RealsOf(set, kRescaleIntercept);
  if (!slope.empty() && !intercept.empty() && slope[0] != 0) {
    ps.HasRescale = true;
    ps.Slope = slope[0];
    ps.Intercept = intercept[0];
  }
  for (auto* item : ItemsOf(set, kSoftcopyVoiLut)) {
    PsVoi voi;
    voi.Images = ReferencedImages(*item);
    const std::vector<double> c = RealsOf(*item, kWindowCenter), w = RealsOf(*item, kWindowWidth);
    if (!c.empty() && !w.empty() && w[0] >= 1) {
      voi.HasWindow = true;
      voi.Centre = c[0];
      voi.Width = w[0];
    }
    const auto luts = ItemsOf(*item, kVoiLutSequence);
    // The table's first input is signed where the modality values can be negative.
    if (!luts.empty())
      voi.Lut = ReadLut(luts[0]->Find(kLutDescriptor), luts[0]->Find(kLutData), ps.HasRescale && ps.Intercept < 0);
    if (voi.HasWindow || !voi.Lut.Empty()) ps.Vois.push_back(std::move(voi));
  }
  const std::string shape = TextOf(set, kPresentationLutShape);
  ps.Shape = shape == "INVERSE" ? 1 : shape == "IDENTITY" ? 0 : -1;
  if (iDDE* rotation = set.Find(kImageRotation)) {
    uint16_t degrees = 0;
    if (rotation->GetUShortAt(degrees, 0)) ps.Rotation = (degrees / 90) & 3;
  }
  ps.Flip = TextOf(set, kImageHorizontalFlip) == "Y";
  for (auto* item : ItemsOf(set, kDisplayedAreaSelection)) {
    const std::vector<int32_t> tl = LongsOf(*item, kDisplayedAreaTlhc), br = LongsOf(*item, kDisplayedAreaBrhc);
    if (tl.size() != 2 || br.size() != 2 || br[0] < tl[0] || br[1] < tl[1]) continue;
    PsArea area;
    area.Images = ReferencedImages(*item);
    // 1-based pixel indexes, both corners inclusive.
    area.Left = tl[0] - 1;
    area.Top = tl[1] - 1;
    area.Right = br[0];
    area.Bottom = br[1];
    area.Mode = TextOf(*item, kPresentationSizeMode);
    const std::vector<double> ratio = RealsOf(*item, kMagnificationRatio);
    if (!ratio.empty() && ratio[0] > 0) area.Magnification = ratio[0];
    ps.Areas.push_back(area);
  }
  ReadAnnotations(set, ps);
  return true;
}

}  // namespace ORN_engine
