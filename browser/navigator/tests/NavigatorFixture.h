// A file set of three patients built from generated images in a scratch folder:
//   patient 0 "Alpha^Ann" (PID-A): one study with a CT series of 3 slices and an MR series
//     of 2 slices;
//   patient 1 "Bravo^Bob" (PID-B): two studies (the later one first in the file set), each
//     with one CT series of 2 slices;
//   patient 2 "Charlie^Cy" (PID-C): one study with one 4-frame MR image.
#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "fileset/set/TanDicomFileSet.h"
#include "fileset/testing/TestImages.h"

namespace browser_testing {

class ThreePatientFileSet {
 public:
  ThreePatientFileSet() {
    namespace fs = std::filesystem;
    root_ = fs::temp_directory_path() / ("navigator_" + std::to_string(std::random_device{}()));
    fs::create_directories(root_ / "set");
    using ORN_dicom::testing::TestImage;
    int file = 0;
    auto add = [&](const std::string& pid, const std::string& name, const std::string& study,
                   const std::string& series, const std::string& modality, int slices, const char* date,
                   const char* time, const char* seriesNumber, const char* frames = nullptr) {
      for (int i = 1; i <= slices; ++i) {
        TestImage image;
        image.patientID = pid;
        image.patientName = name;
        image.studyUID = study;
        image.seriesUID = series;
        image.sopInstance = series + "." + std::to_string(i);
        image.instanceNumber = i;
        image.modality = modality;
        if (modality == "MR") image.sopClass = "1.2.840.10008.5.1.4.1.1.4";
        image.position = std::vector<double>{0, 0, double(i) * 5};
        image.studyDate = date;
        image.studyTime = time;
        image.seriesNumber = seriesNumber;
        if (frames) image.numberOfFrames = frames;
        const std::string path = (root_ / "set" / ("im" + std::to_string(++file) + ".dcm")).string();
        ORN_dicom::testing::WriteTestImage(path, image);
      }
    };
    add("PID-A", "Alpha^Ann", "1.2.9.1", "1.2.9.1.1", "CT", 3, "20240102", "101530", "1");
    add("PID-A", "Alpha^Ann", "1.2.9.1", "1.2.9.1.2", "MR", 2, "20240102", "101530", "2");
    add("PID-B", "Bravo^Bob", "1.2.9.2", "1.2.9.2.1", "CT", 2, "2023.11.05", "0830", "1");
    add("PID-B", "Bravo^Bob", "1.2.9.3", "1.2.9.3.1", "CT", 2, "20231231", "235959", "1");
    add("PID-C", "Charlie^Cy", "1.2.9.4", "1.2.9.4.1", "MR", 1, "19991301", "24", "7", "4");
    set_ = std::make_unique<ORN_dicom::TanDicomFileSet>((root_ / "reject").string());
    set_->BuildFromFolder((root_ / "set").string(), true);
    set_->BuildStacks(true);
    set_->SaveDicomDir(false);
    opened_ = std::make_unique<ORN_dicom::TanDicomFileSet>((root_ / "reject").string());
    opened_->OpenDicomDir((root_ / "set" / "DICOMDIR").string());
  }
  ~ThreePatientFileSet() {
    opened_.reset();
    set_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  // The file set as read back from the DICOMDIR that was written.
  ORN_dicom::TanDicomFileSet& Set() { return *opened_; }

 private:
  std::filesystem::path root_;
  std::unique_ptr<ORN_dicom::TanDicomFileSet> set_, opened_;
};

}  // namespace browser_testing
