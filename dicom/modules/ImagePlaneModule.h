// Module kind 16: the image plane, read from the top level when Pixel Spacing (0028,0030) is
// there: one element for an ordinary image, one per frame for a multi-frame image whose
// position and orientation stand in the Detector Information Sequence (0054,0022).
#pragma once

#include "dicom/modules/TanDICOMObjectModuleSet.h"
#include "dicom/modules/TanImagePlane.h"

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<16> {
  using Interface = ndl::iIMAGE_PLANE;
  using Factory = ndl::TanImagePlaneFactory;
  static constexpr const char* FName = "DICOM-IMAGE-PLANE-MODULE";
};

// The most frames the detector-described form makes planes for.
inline constexpr int32_t kMaxPlaneFrames = 65535;

bool ReadImagePlane(ndl::DataSet& dataSet, std::vector<std::unique_ptr<ndl::iIMAGE_PLANE>>& vector);
bool ReadDetectorImagePlanes(ndl::DataSet& dataSet, std::vector<std::unique_ptr<ndl::iIMAGE_PLANE>>& vector);
bool WriteImagePlane(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const ndl::iIMAGE_PLANE& element);

template <class A>
class TanDICOMObjectModule<16, A> : public TanDICOMObjectModuleSetFromIOD<2, 0x00280030u, 16, A> {
 public:
  using typename TanDICOMObjectModuleSetFromIOD<2, 0x00280030u, 16, A>::Vector;
  bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject&, Vector& vector, uint32_t) override {
    return ReadImagePlane(dataSet, vector);
  }
  bool WriteElement(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint16_t,
                    ndl::iIMAGE_PLANE& element) override {
    return WriteImagePlane(dataSet, factory, element);
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanImagePlaneModule = ndl_impl::TanDICOMObjectModule<16>;
}
