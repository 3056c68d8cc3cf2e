// The Part 10 file object: every error text, kinds and UIDs, header reads, and memory and
// stream reads that agree on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/tests/Bytes.h"

namespace ORN_dicom {
namespace {

using testing::Bytes;
using testing::Part10;

std::string FromStream(TanDicomFileObject& f, const Bytes& b, bool header = false) {
  auto in = b.stream();
  return header ? f.ReadHeaderFromStream(in, false) : f.ReadFromStream(in, false);
}

std::string FromMemory(TanDicomFileObject& f, const Bytes& b, bool header = false) {
  auto buf = b.copy();
  return header ? f.ReadHeaderFromMemory(buf.get(), b.size(), false) : f.ReadFromMemory(buf.get(), b.size(), false);
}

// Tag, VR, length and size of every element, nested sets included.
void Signature(const TanDDESet<iDDE>& set, std::string& out) {
  for (uint32_t i = 0; i < set.Count(); ++i) {
    iDDE* e = set.At(i);
    out += e->TagText() + " " + e->VRText() + " " + std::to_string(e->Length()) + " " + std::to_string(e->Size()) + "\n";
    if (auto* s = e->ValueAs<TanDDEItemValue>()) Signature(*s, out);
    if (auto* s = e->ValueAs<TanDDESequenceValue>()) Signature(*s, out);
    if (auto* s = e->ValueAs<TanEPDValue>()) Signature(*s, out);
  }
}

std::string Signature(const TanDicomFileObject& f) {
  std::string s;
  Signature(f.FMetaGroup, s);
  s += "--\n";
  Signature(f.FDataSet, s);
  return s;
}

class FileObject : public ::testing::Test {
 protected:
  void SetUp() override { EnsureDDERegistry(); }
  TanDicomFileObject f;
};

TEST_F(FileObject, ErrorTexts) {
  Bytes shortBlock;
  shortBlock.b.assign(131, 0);
  EXPECT_EQ(FromMemory(f, shortBlock), "Preamble does not correspond with DICOM 3.0.");
  Bytes onlyPrefix;
  onlyPrefix.b.assign(128, 0);
  onlyPrefix.str("DICM");
  EXPECT_EQ(FromMemory(f, onlyPrefix), "Transfer Syntax UID is not presented.");
  Bytes lower;
  lower.b.assign(128, 0);
  lower.str("dicm");
  EXPECT_EQ(FromMemory(f, lower), "Preamble does not correspond with DICOM 3.0.");
  EXPECT_EQ(FromStream(f, lower), "Preamble does not correspond with DICOM 3.0.");
  std::istringstream bad;
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(f.ReadFromStream(bad, false), "Input stream is not good.");

  const Bytes j2k = Part10("1.2.840.10008.1.2.4.90", Bytes().expl(0x0008, 0x0060, "CS", "CT"));
  EXPECT_EQ(FromStream(f, j2k), "Unsupported representation type (1.2.840.10008.1.2.4.90).");
  EXPECT_EQ(FromMemory(f, j2k), "Unsupported representation type (1.2.840.10008.1.2.4.90) .");
  EXPECT_EQ(f.GetTransferSyntaxKind(), 0);

  // The meta group ends inside an element.
  Bytes cutMeta = Part10("1.2.840.10008.1.2.1", Bytes());
  cutMeta.b.resize(cutMeta.b.size() - 3);
  EXPECT_EQ(FromStream(f, cutMeta).rfind("Unable to read a header (", 0), 0u);
  // The data set ends inside an element.
  Bytes cutData = Part10("1.2.840.10008.1.2.1", Bytes().expl(0x0008, 0x0060, "CS", "CT").expl(0x0010, 0x0010, "PN", "Doe^John"));
  cutData.b.resize(cutData.b.size() - 3);
  EXPECT_EQ(FromMemory(f, cutData), "Unable to read a content (Unable to make DDE[0010,0010]).");
  EXPECT_EQ(FromStream(f, cutData).rfind("Unable to read a content (", 0), 0u);

  const std::string missing = "/nonexistent/file.dcm";
  EXPECT_EQ(f.LoadFromFile(missing, false), "Cannot open the file \"" + missing + "\".");
}

TEST_F(FileObject, KindsUIDsAndHeaderReads) {
  Bytes data;
  data.expl(0x0008, 0x0060, "CS", "MR").expl(0x7FE0, 0x0010, "OW", "\1\2");
  const Bytes jpeg = Part10("1.2.840.10008.1.2.4.50", data);
  for (bool stream : {false, true}) {
    EXPECT_EQ(stream ? FromStream(f, jpeg) : FromMemory(f, jpeg), "");
    EXPECT_EQ(f.GetTransferSyntaxKind(), 7);
    EXPECT_EQ(f.FDataSet.GetTransferSyntaxUID(), "1.2.840.10008.1.2.4.50");
    EXPECT_EQ(f.FDataSet.Count(), 2u);
    EXPECT_EQ(f.GetModality(), "MR");
    EXPECT_TRUE(f.HasContent());
    EXPECT_EQ(stream ? FromStream(f, jpeg, true) : FromMemory(f, jpeg, true), "");
    EXPECT_EQ(f.FDataSet.Count(), 1u);  // header reads stop before the pixel data
  }
  // A UID padded with NUL.
  EXPECT_EQ(TanDicomFileObject::KindFromTransferSyntax(std::string("1.2.840.10008.1.2\0", 18)), 1);
  // Big endian is decoded from the first data-set tag on.
  Bytes be;
  be.big = true;
  be.tag(0x0008, 0x0060).str("CS").u16(2).str("CT");
  EXPECT_EQ(FromStream(f, Part10("1.2.840.10008.1.2.2", be)), "");
  EXPECT_EQ(f.GetModality(), "CT");
  f.Clear();
  EXPECT_FALSE(f.HasContent());
}

TEST_F(FileObject, AnElementBelowGroup2AfterTheMetaGroupStartsTheDataSet) {
  Bytes data;
  data.implicit(0x0001, 0x0001, "ab").implicit(0x0008, 0x0060, "CT");
  const Bytes file = Part10("1.2.840.10008.1.2", data);
  for (bool stream : {false, true}) {
    EXPECT_EQ(stream ? FromStream(f, file) : FromMemory(f, file), "");
    EXPECT_EQ(f.FMetaGroup.Count(), 3u);
    EXPECT_EQ(f.FDataSet.Count(), 2u);
  }
}

TEST_F(FileObject, MemoryReadStartsWhereTheMetaReadStopped) {
  // A meta group holding an out-of-order element that the skip flag drops: the data set
  // starts after it all the same.
  Bytes file = Part10("1.2.840.10008.1.2.1", Bytes());
  file.expl(0x0002, 0x0001, "OB", std::string("\0\1", 2));
  file.expl(0x0008, 0x0060, "CS", "CT");
  auto buf = file.copy();
  EXPECT_EQ(f.ReadFromMemory(buf.get(), file.size(), true), "");
  const std::string memory = Signature(f);
  auto in = file.stream();
  EXPECT_EQ(f.ReadFromStream(in, true), "");
  EXPECT_EQ(Signature(f), memory);
  EXPECT_EQ(f.GetModality(), "CT");
}

// Every file of pydicom's test set reads alike from memory and from a stream, whole and
// header only, and a truncated file gives the read error.
TEST_F(FileObject, PydicomTestFilesReadAlikeFromMemoryAndStream) {
  const std::filesystem::path folder = DICOM_IO_PYDICOM_FILES;
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "pydicom's test files are not installed";
  int read = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string name = entry.path().filename().string();
    for (bool header : {false, true}) {
      std::vector<uint8_t> copy(bytes.begin(), bytes.end());
      const std::string fromMemory = header ? f.ReadHeaderFromMemory(copy.data(), copy.size(), false)
                                            : f.ReadFromMemory(copy.data(), copy.size(), false);
      const std::string memory = fromMemory.empty() ? Signature(f) : std::string();
      const std::string fromFile = header ? f.LoadHeaderFromFile(entry.path().string(), false)
                                          : f.LoadFromFile(entry.path().string(), false);
      EXPECT_EQ(fromFile.empty(), fromMemory.empty()) << name << ": " << fromFile << " / " << fromMemory;
      if (fromFile.empty() && fromMemory.empty()) {
        EXPECT_EQ(Signature(f), memory) << name;
        ++read;
      }
    }
    if (name == "MR_truncated.dcm" || name == "rtplan_truncated.dcm") {
      EXPECT_EQ(f.LoadFromFile(entry.path().string(), false).rfind("Unable to read a content (", 0), 0u) << name;
    }
  }
  EXPECT_GT(read, 50);
}

}  // namespace
}  // namespace ORN_dicom
