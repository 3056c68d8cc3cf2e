// Module kind 14: the image pixel macro, read from group 0028 of the top level when Samples
// per Pixel (0028,0002) is there; at most one element.
#pragma once

#include "dicom/modules/TanDICOMObjectModuleSet.h"
#include "dicom/modules/TanImagePixelMacro.h"

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<14> {
  using Interface = ndl::iIMAGE_PIXEL_MACRO;
  using Factory = ndl::TanImagePixelMacroFactory;
  static constexpr const char* FName = "DICOM-IMAGE-PIXEL-MACRO-MODULE";
};

bool ReadImagePixelMacro(ndl::DataSet& dataSet, std::vector<std::unique_ptr<ndl::iIMAGE_PIXEL_MACRO>>& vector);
bool WriteImagePixelMacro(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory,
                          const ndl::iIMAGE_PIXEL_MACRO& element);

template <class A>
class TanDICOMObjectModule<14, A> : public TanDICOMObjectModuleSetFromIOD<2, 0x00280002u, 14, A> {
 public:
  using typename TanDICOMObjectModuleSetFromIOD<2, 0x00280002u, 14, A>::Vector;
  bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject&, Vector& vector, uint32_t) override {
    return ReadImagePixelMacro(dataSet, vector);
  }
  bool WriteElement(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, uint16_t,
                    ndl::iIMAGE_PIXEL_MACRO& element) override {
    return WriteImagePixelMacro(dataSet, factory, element);
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanImagePixelMacroModule = ndl_impl::TanDICOMObjectModule<14>;
}
