// Test-only: small Part 10 images written with the system's own writer, with the attributes the
// file set reads (patient, study, series, instance, plane, pixel layout, frames).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom::testing {

struct TestImage {
  std::string sopClass = "1.2.840.10008.5.1.4.1.1.2";
  std::string sopInstance = "1.2.3.4.100.1";
  std::string studyUID = "1.2.3.4.1";
  std::string seriesUID = "1.2.3.4.1.1";
  std::string patientID = "PID1";
  std::string patientName = "Doe^John";
  std::string modality = "CT";
  std::string imageType = "ORIGINAL\\PRIMARY\\AXIAL";
  std::string seriesDescription;
  std::string seriesNumber = "1";
  std::string studyDate = "20240101";
  std::string studyTime = "101010";
  std::optional<int32_t> instanceNumber = 1;
  std::optional<std::vector<double>> position = std::vector<double>{0, 0, 0};
  std::vector<double> orientation{1, 0, 0, 0, 1, 0};
  std::vector<double> spacing{0.5, 0.5};
  std::optional<double> thickness;
  std::optional<std::string> numberOfFrames;
  uint16_t rows = 4, columns = 4;
  // Further elements, inserted last.
  std::function<void(TanDDESet<iDDE>&, iDDEFactory&)> extra;
};

inline std::string Joined(const std::vector<double>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", values[i]);
    if (i) text += '\\';
    text += buffer;
  }
  return text;
}

// The image's data set (and no meta group) in the file object.
inline void BuildTestImage(TanDicomFileObject& file, const TestImage& image) {
  TanDDEFactory factory(2);
  file.FDataSet.SetTransferSyntax(2);
  TanDDESet<iDDE>& data = file.FDataSet;
  auto text = [&](uint16_t g, uint16_t e, const std::string& value) {
    data.Insert(factory->MakeDDE(g, e, 1, value.c_str()));
  };
  auto us = [&](uint16_t g, uint16_t e, int value) { data.Insert(factory->MakeDDE(g, e, 1, value)); };
  text(0x0008, 0x0008, image.imageType);
  text(0x0008, 0x0016, image.sopClass);
  text(0x0008, 0x0018, image.sopInstance);
  text(0x0008, 0x0020, image.studyDate);
  text(0x0008, 0x0030, image.studyTime);
  text(0x0008, 0x0060, image.modality);
  if (!image.seriesDescription.empty()) text(0x0008, 0x103E, image.seriesDescription);
  text(0x0010, 0x0010, image.patientName);
  text(0x0010, 0x0020, image.patientID);
  text(0x0010, 0x0030, "19700101");
  text(0x0010, 0x0040, "M");
  if (image.thickness) text(0x0018, 0x0050, Joined({*image.thickness}));
  text(0x0020, 0x000D, image.studyUID);
  text(0x0020, 0x000E, image.seriesUID);
  text(0x0020, 0x0010, "1");
  text(0x0020, 0x0011, image.seriesNumber);
  if (image.instanceNumber) text(0x0020, 0x0013, std::to_string(*image.instanceNumber));
  if (image.position) {
    text(0x0020, 0x0032, Joined(*image.position));
    text(0x0020, 0x0037, Joined(image.orientation));
    text(0x0028, 0x0030, Joined(image.spacing));
  }
  us(0x0028, 0x0002, 1);
  text(0x0028, 0x0004, "MONOCHROME2");
  if (image.numberOfFrames) text(0x0028, 0x0008, *image.numberOfFrames);
  us(0x0028, 0x0010, image.rows);
  us(0x0028, 0x0011, image.columns);
  us(0x0028, 0x0100, 16);
  us(0x0028, 0x0101, 12);
  us(0x0028, 0x0102, 11);
  us(0x0028, 0x0103, 0);
  int frames = 1;
  if (image.numberOfFrames) frames = std::max(1, std::atoi(image.numberOfFrames->c_str()));
  std::vector<unsigned char> pixels(static_cast<size_t>(image.rows) * image.columns * 2 * frames);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
  data.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, static_cast<uint32_t>(pixels.size()),
                               static_cast<const void*>(pixels.data())));
  if (image.extra) image.extra(data, *factory);
}

inline bool WriteTestImage(const std::string& path, const TestImage& image) {
  TanDicomFileObject file;
  BuildTestImage(file, image);
  return file.SaveAs(path, false);
}

}  // namespace ORN_dicom::testing
