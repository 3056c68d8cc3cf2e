// Module kind 10: the Presentation LUT Shape (2050,0020) at the top level and the tables of
// the Presentation LUT Sequence (2050,0010) items.
#pragma once

#include "dicom/modules/TanDICOMObjectModuleSet.h"
#include "dicom/modules/TanPresentationLUT.h"

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<10> {
  using Interface = ndl::iDICOM_PRESENTATION_LUT;
  using Factory = ndl::TanPresentationLUTFactory;
  static constexpr const char* FName = "DICOM-PRESENTATION-LUT-MODULE";
};

using PresentationVector = std::vector<std::unique_ptr<ndl::iDICOM_PRESENTATION_LUT>>;
bool ReadPresentationShape(ndl::DataSet& dataSet, PresentationVector& vector);
bool WritePresentationShape(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory,
                            const ndl::iDICOM_PRESENTATION_LUT& e);
bool ReadPresentationTable(ndl::DataSet& item, bool pixelSigned, PresentationVector& vector);
bool WritePresentationTable(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory,
                            const ndl::iDICOM_PRESENTATION_LUT& e);

template <class A>
class TanDICOMObjectModule<10, A> : public TanLUTModuleSet<0x20500020u, 0x20500010u, 10, A> {
 public:
  using typename TanLUTModuleSet<0x20500020u, 0x20500010u, 10, A>::Vector;
  bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject&, Vector& vector, uint32_t) override {
    return ReadPresentationShape(dataSet, vector);
  }
  bool WriteElement(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint16_t,
                    ndl::iDICOM_PRESENTATION_LUT& element) override {
    return WritePresentationShape(dataSet, factory, element);
  }
  bool ReadElement(ndl::DataSet& item, Vector& vector) override {
    return ReadPresentationTable(item, this->FPixelSigned, vector);
  }
  bool WriteElement(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory,
                    ndl::iDICOM_PRESENTATION_LUT& element) override {
    return WritePresentationTable(item, factory, element);
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanPresentationLUTModule = ndl_impl::TanDICOMObjectModule<10>;
}
