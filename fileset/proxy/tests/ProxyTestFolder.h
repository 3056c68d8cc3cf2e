// Test-only: a scratch folder per test, small images in it, and a file set built from them
// with its DICOMDIR saved, as the workstation's open-folder command leaves it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "fileset/set/TanDicomFileSet.h"
#include "fileset/testing/TestImages.h"

namespace proxy_test {

namespace fs = std::filesystem;

inline fs::path ScratchFolder(const std::string& what) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  fs::path root = fs::temp_directory_path() / (what + "_" + name + "_" + std::to_string(std::random_device{}()));
  fs::remove_all(root);
  fs::create_directories(root);
  return root;
}

inline std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// One CT image of the series `series` (instance `number`) at `path`.
inline void WriteImage(const fs::path& path, const std::string& series, int number,
                       const std::string& patient = "PID1") {
  ORN_dicom::testing::TestImage image;
  image.patientID = patient;
  image.seriesUID = series;
  image.sopInstance = series + "." + std::to_string(number);
  image.instanceNumber = number;
  image.position = std::vector<double>{0, 0, static_cast<double>(number)};
  fs::create_directories(path.parent_path());
  ASSERT_TRUE(ORN_dicom::testing::WriteTestImage(path.string(), image)) << path;
}

// Builds the file set of the folder and saves its DICOMDIR there.
inline void SaveDicomDir(const fs::path& folder) {
  ORN_dicom::TanDicomFileSet fileSet;
  ASSERT_TRUE(fileSet.BuildFromFolder(folder.string(), false)) << fileSet.GetLastError();
  ASSERT_TRUE(fileSet.SaveDicomDir(false)) << fileSet.GetLastError();
}

}  // namespace proxy_test
