// Test fixture of the record tree: a scratch folder that is the current directory (as the file
// set makes it), Part 10 files written by make_files.py, and a text picture of the tree.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"

namespace tree_test {

class TreeFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the files the lines describe ("path|key=value|..."); false when python fails.
  bool MakeFiles(const std::vector<std::string>& lines);
  // Patients, studies, series and every record of each series set, one per line.
  static std::string Describe(const ORN_dicom::TanGeneralDirectoryInfo& tree);
  // The bytes of every file below the folder, by path.
  std::map<std::string, std::string> Snapshot() const;
  static std::string Read(const std::string& path);

  std::filesystem::path FDir;
  std::filesystem::path FPrevious;
};

}  // namespace tree_test
