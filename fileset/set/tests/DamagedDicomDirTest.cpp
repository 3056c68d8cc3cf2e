// DICOMDIRs whose record sequence is not a sequence: opening them is refused with the file
// set's error text (before, a value of another kind crashed the reader).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "fileset/set/TanDicomFileSet.h"

using namespace ORN_dicom;
namespace fs = std::filesystem;

namespace {

void Put16(std::string& s, uint16_t v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, static_cast<uint16_t>(v)), Put16(s, static_cast<uint16_t>(v >> 16)); }

bool LongForm(const std::string& vr) { return vr == "OB" || vr == "UN" || vr == "SQ" || vr == "UT"; }

// One explicit VR little-endian element; a value of odd length is padded as its VR wants.
std::string Element(uint16_t group, uint16_t element, const std::string& vr, std::string value,
                    uint32_t length = 0) {
  if (value.size() % 2 != 0) value += vr == "UI" ? '\0' : ' ';
  std::string s;
  Put16(s, group), Put16(s, element);
  s += vr;
  if (length == 0) length = static_cast<uint32_t>(value.size());
  if (LongForm(vr)) Put16(s, 0), Put32(s, length);
  else Put16(s, static_cast<uint16_t>(length));
  return s + value;
}

std::string Number32(uint32_t v) {
  std::string s;
  Put32(s, v);
  return s;
}

std::string Number16(uint16_t v) {
  std::string s;
  Put16(s, v);
  return s;
}

std::string Item(const std::string& content) {
  std::string s;
  Put16(s, 0xFFFE), Put16(s, 0xE000), Put32(s, static_cast<uint32_t>(content.size()));
  return s + content;
}

std::string PatientRecord(const std::string& id) {
  return Item(Element(0x0004, 0x1400, "UL", Number32(0)) + Element(0x0004, 0x1410, "US", Number16(0xFFFF)) +
              Element(0x0004, 0x1420, "UL", Number32(0)) + Element(0x0004, 0x1430, "CS", "PATIENT") +
              Element(0x0010, 0x0020, "LO", id));
}

// A DICOMDIR whose (0004,1220) has the VR given, over two patient records.
std::string DicomDir(const std::string& vr) {
  std::string meta = Element(0x0002, 0x0001, "OB", std::string("\0\1", 2)) +
                     Element(0x0002, 0x0002, "UI", "1.2.840.10008.1.3.10") +
                     Element(0x0002, 0x0003, "UI", "1.2.3.4") + Element(0x0002, 0x0010, "UI", "1.2.840.10008.1.2.1") +
                     Element(0x0002, 0x0012, "UI", "1.2.3.4.5");
  meta = Element(0x0002, 0x0000, "UL", Number32(static_cast<uint32_t>(meta.size()))) + meta;
  const std::string items = PatientRecord("ID1") + PatientRecord("ID2");
  return std::string(128, '\0') + "DICM" + meta + Element(0x0004, 0x1130, "CS", "TEST") +
         Element(0x0004, 0x1200, "UL", Number32(0)) + Element(0x0004, 0x1202, "UL", Number32(0)) +
         Element(0x0004, 0x1212, "US", Number16(0)) + Element(0x0004, 0x1220, vr, items);
}

class DamagedDicomDir : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("fileset_damaged_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

}  // namespace

TEST_P(DamagedDicomDir, RecordSequenceOfAnotherVRIsRefused) {
  const std::string vr = GetParam();
  const std::string path = (folder_ / "DICOMDIR").string();
  const std::string bytes = DicomDir(vr);
  std::ofstream(path, std::ios::binary) << bytes;
  TanDicomFileSet set;
  if (vr == "SQ") {
    // The same records as a sequence are read.
    ASSERT_TRUE(set.OpenDicomDir(path)) << set.GetLastError();
    EXPECT_EQ(set.GetDicomDir()->Patients().Count(), 2);
    return;
  }
  EXPECT_FALSE(set.OpenDicomDir(path));
  EXPECT_EQ(set.GetLastError(), "The file \"" + path + "\" isn't Dicom Directory File.");
  EXPECT_EQ(set.GetDicomDir(), nullptr);
  EXPECT_FALSE(set.OpenFromBlob(bytes.data(), static_cast<uint32_t>(bytes.size())));
  EXPECT_EQ(set.GetLastError(), "Cannot be initialized with the blob.");
}

INSTANTIATE_TEST_SUITE_P(VRs, DamagedDicomDir, ::testing::Values("SQ", "UN", "OB", "LO", "UT"));
