// Module kind 9: the modality LUT, as rescale attributes at the top level (present with
// Rescale Intercept (0028,1052)) and as tables in the items of (0028,3000).
#pragma once

#include "dicom/modules/TanDICOMObjectModuleSet.h"
#include "dicom/modules/TanModalityLUT.h"

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<9> {
  using Interface = ndl::iDICOM_MODALITY_LUT;
  using Factory = ndl::TanModalityLUTFactory;
  static constexpr const char* FName = "DICOM-MODALUTY-LUT-MODULE";
};

using ModalityVector = std::vector<std::unique_ptr<ndl::iDICOM_MODALITY_LUT>>;
bool ReadModalityRescale(ndl::DataSet& dataSet, ModalityVector& vector);
bool WriteModalityRescale(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const ndl::iDICOM_MODALITY_LUT& e);
bool ReadModalityTable(ndl::DataSet& item, bool pixelSigned, ModalityVector& vector);
bool WriteModalityTable(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, const ndl::iDICOM_MODALITY_LUT& e);

// Puts a text into an attribute: the value of an existing one is replaced, a missing one is
// made and inserted.
bool WriteTextAttribute(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint32_t tag, const std::string& text);

template <class A>
class TanDICOMObjectModule<9, A> : public TanLUTModuleSet<0x00281052u, 0x00283000u, 9, A> {
 public:
  using typename TanLUTModuleSet<0x00281052u, 0x00283000u, 9, A>::Vector;
  bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject&, Vector& vector, uint32_t) override {
    return ReadModalityRescale(dataSet, vector);
  }
  bool WriteElement(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint16_t,
                    ndl::iDICOM_MODALITY_LUT& element) override {
    return WriteModalityRescale(dataSet, factory, element);
  }
  bool ReadElement(ndl::DataSet& item, Vector& vector) override {
    return ReadModalityTable(item, this->FPixelSigned, vector);
  }
  bool WriteElement(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, ndl::iDICOM_MODALITY_LUT& element) override {
    return WriteModalityTable(item, factory, element);
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanModalityLUTModule = ndl_impl::TanDICOMObjectModule<9>;
}
