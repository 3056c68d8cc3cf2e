#include "dicom/entities/tree/tests/TreeFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <random>

#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"

namespace tree_test {

namespace fs = std::filesystem;

void TreeFixture::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  FDir = fs::temp_directory_path() / ("tree_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                                      std::to_string(std::random_device{}()));
  fs::remove_all(FDir);
  fs::create_directories(FDir);
  FPrevious = fs::current_path();
  fs::current_path(FDir);
}

void TreeFixture::TearDown() {
  fs::current_path(FPrevious);
  fs::remove_all(FDir);
}

bool TreeFixture::MakeFiles(const std::vector<std::string>& lines) {
  const std::string listing = (FDir / "files.txt").string();
  {
    std::ofstream out(listing);
    for (const std::string& line : lines) out << line << "\n";
  }
  const std::string command = std::string("/usr/bin/python3 '") + TREE_TEST_SCRIPT + "' '" + listing + "'";
  const bool ok = std::system(command.c_str()) == 0;
  fs::remove(listing);
  return ok;
}

std::string TreeFixture::Describe(const ORN_dicom::TanGeneralDirectoryInfo& tree) {
  std::ostringstream out;
  for (auto* hp : tree.FHangingProtocols) out << "HP " << hp->GetReferencedSOPInstanceUID() << "\n";
  for (auto* patient : tree.FPatients) {
    out << "P " << patient->GetPatientID() << " " << patient->GetPatientName() << "\n";
    for (auto* doc : patient->FHL7StrucDocs) out << " H " << doc->GetReferencedSOPInstanceUID() << "\n";
    for (auto* study : patient->FStudies) {
      out << " S " << study->GetStudyInstanceUID() << " " << study->GetStudyDate() << " " << study->GetStudyTime()
          << "\n";
      for (auto* series : study->FSeries) {
        out << "  R " << series->GetSeriesInstanceUID() << " " << series->GetModality() << " "
            << series->GetSeriesNumber() << " stacks " << series->Stacks().Count() << "\n";
        series->ForEachRecordSet([&](ORN_dicom::TanIEKind kind, auto& set) {
          for (auto* record : set)
            out << "   " << int(kind) << " " << record->GetReferencedSOPInstanceUID() << " "
                << record->GetReferencedFileID() << "\n";
        });
      }
    }
  }
  return out.str();
}

std::map<std::string, std::string> TreeFixture::Snapshot() const {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(FDir))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), FDir).string()] = Read(entry.path().string());
  return files;
}

std::string TreeFixture::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace tree_test
