// Module kind 7: the VOI LUT windows at the top level (present with Window Center
// (0028,1050)) and the tables of the VOI LUT Sequence (0028,3010) items.
#pragma once

#include "dicom/modules/TanDICOMObjectModuleSet.h"
#include "dicom/modules/TanVOILUT.h"

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<7> {
  using Interface = ndl::iDICOM_VOI_LUT;
  using Factory = ndl::TanVOILUTFactory;
  static constexpr const char* FName = "DICOM-VOI-LUT-MODULE";
};

using VOIVector = std::vector<std::unique_ptr<ndl::iDICOM_VOI_LUT>>;
bool ReadVOIWindows(ndl::DataSet& dataSet, VOIVector& vector);
bool ReadVOITable(ndl::DataSet& item, bool pixelSigned, VOIVector& vector);
bool WriteVOITable(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, const ndl::iDICOM_VOI_LUT& e);
// Replaces the window attributes of the data set by the windows among the elements; leaves
// them as they were when there is none, and when an element is empty or a factory fails.
bool WriteVOIWindows(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory, const VOIVector& elements);

template <class A>
class TanDICOMObjectModule<7, A> : public TanLUTModuleSet<0x00281050u, 0x00283010u, 7, A> {
 public:
  using Base = TanLUTModuleSet<0x00281050u, 0x00283010u, 7, A>;
  using typename Base::Vector;
  using Base::Write;
  bool Write(ndl::DataSet& dataSet, ORN_dicom::iDDEFactory* factory) override {
    if (this->IsEmpty()) return true;
    return WriteVOIWindows(dataSet, factory, *this->FModules) && this->WriteSQ(dataSet, factory);
  }
  bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject&, Vector& vector, uint32_t) override {
    return ReadVOIWindows(dataSet, vector);
  }
  // The windows are written together by Write.
  bool WriteElement(ndl::DataSet&, ORN_dicom::iDDEFactory*, uint16_t, ndl::iDICOM_VOI_LUT& element) override {
    return !element.IsEmpty();
  }
  bool ReadElement(ndl::DataSet& item, Vector& vector) override { return ReadVOITable(item, this->FPixelSigned, vector); }
  bool WriteElement(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory, ndl::iDICOM_VOI_LUT& element) override {
    return WriteVOITable(item, factory, element);
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanVOILUTModule = ndl_impl::TanDICOMObjectModule<7>;
}
