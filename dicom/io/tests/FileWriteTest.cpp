// Writing Part 10 files: the default meta group, the four writers agreeing byte for byte, a
// failed write leaving the old file alone, the private pixel-data index, and loading through
// memory agreeing with reading the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/dataset/TanFrames.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanPrivatePixelDataInfo.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "platform/files/FileAttributes.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

uint32_t U32(const std::string& s, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

void Signature(const TanDDESet<iDDE>& set, std::string& out) {
  for (uint32_t i = 0; i < set.Count(); ++i) {
    iDDE* e = set.At(i);
    out += e->TagText() + " " + e->VRText() + " " + std::to_string(e->Length()) + " " + std::to_string(e->Size());
    if (const unsigned char* d = e->GetData()) out += " " + std::string(reinterpret_cast<const char*>(d), e->GetLength());
    else out += " " + e->GetString();
    out += "\n";
    if (auto* s = e->ValueAs<TanDDEItemValue>()) Signature(*s, out);
    if (auto* s = e->ValueAs<TanDDESequenceValue>()) Signature(*s, out);
    if (auto* s = e->ValueAs<TanEPDValue>()) Signature(*s, out);
  }
}

std::string DataSignature(const TanDicomFileObject& f) {
  std::string s;
  Signature(f.FDataSet, s);
  return s;
}

std::string FullSignature(const TanDicomFileObject& f) {
  std::string s;
  Signature(f.FMetaGroup, s);
  return s + "--\n" + DataSignature(f);
}

std::vector<fs::path> PydicomFiles() {
  std::vector<fs::path> files;
  const fs::path folder = DICOM_IO_PYDICOM_FILES;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".dcm") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Every file left in the folder, to show that no temporary stays behind.
std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class FileWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDDERegistry();
    dir = fs::temp_directory_path() /
          ("vistrel_write_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
           std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    TanDicomFileObject::FWriteFaultHook = nullptr;
    fs::remove_all(dir);
  }

  // A small explicit little-endian data set, optionally without its SOP UIDs.
  static void MakeDataSet(TanDicomFileObject& f, bool uids = true, uint32_t pixelBytes = 8) {
    TanDDEFactory factory(2);
    f.FDataSet.SetTransferSyntaxKind(2);
    if (uids) {
      f.FDataSet.Insert(factory->MakeDDE(0x0008, 0x0016, 1, "1.2.840.10008.5.1.4.1.1.7"));
      f.FDataSet.Insert(factory->MakeDDE(0x0008, 0x0018, 1, "1.2.3.4.5"));
    }
    f.FDataSet.Insert(factory->MakeDDE(0x0010, 0x0010, 1, "Doe^John"));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0010, 1, 2));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0011, 1, 2));
    std::vector<unsigned char> pixels(pixelBytes);
    for (uint32_t i = 0; i < pixelBytes; ++i) pixels[i] = static_cast<unsigned char>(i * 7 + 1);
    f.FDataSet.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, pixelBytes, static_cast<const void*>(pixels.data())));
  }

  fs::path dir;
};

TEST_F(FileWrite, DefaultMetaGroupFromBufferAndMappedWriters) {
  for (bool asynchronous : {true, false}) {
    for (bool uids : {true, false}) {
      TanDicomFileObject f;
      MakeDataSet(f, uids);
      const uint32_t dataSize = f.FDataSet.Length();
      const fs::path out = dir / "default.dcm";
      ASSERT_TRUE(asynchronous ? f.WriteAsynchronous(out.string()) : f.WriteMapped(out.string())) << f.FLastError;
      EXPECT_EQ(f.FLastError, "");
      const std::string b = Bytes(out);
      ASSERT_EQ(b.size(), 132u + f.FMetaGroup.Length() + dataSize);
      EXPECT_EQ(b.size(), f.GetEncodedSize());
      EXPECT_EQ(b.substr(0, 128), std::string(128, '\0'));
      EXPECT_EQ(b.substr(128, 4), "DICM");
      EXPECT_EQ(b.substr(132, 6), std::string("\x02\x00\x00\x00UL", 6));
      // The group length counts the bytes from the end of (0002,0000) to the data set.
      EXPECT_EQ(U32(b, 140), f.FMetaGroup.Length() - 12);
      EXPECT_EQ(f.FMetaGroup.At(0)->Tag(), 0x00020000u);
      EXPECT_EQ(f.FMetaGroup.Find(0x00020010)->GetString(), "1.2.840.10008.1.2.1");
      EXPECT_EQ(f.FMetaGroup.Find(0x00020012)->GetString(), "2.25.40263187551.0.20041017");
      EXPECT_EQ(f.FMetaGroup.Find(0x00020013)->GetString(), "ORN_V3");
      EXPECT_EQ(f.FMetaGroup.Find(0x00020016)->GetString(), "No AETitle");
      EXPECT_EQ(f.FMetaGroup.Find(0x00020002)->GetLength(), uids ? 26u : 0u);
      EXPECT_EQ(f.FMetaGroup.Find(0x00020003)->GetLength(), uids ? 10u : 0u);

      TanDicomFileObject back;
      ASSERT_EQ(back.LoadFromFile(out.string(), false), "");
      EXPECT_EQ(FullSignature(back), FullSignature(f));
      EXPECT_EQ(Listing(dir), std::vector<std::string>{"default.dcm"});
    }
  }
}

TEST_F(FileWrite, EmptyMetaGroupOrUnknownKindIsRefused) {
  const fs::path out = dir / "old.dcm";
  Put(out, "old content");
  TanDicomFileObject noMeta;
  MakeDataSet(noMeta);
  EXPECT_FALSE(noMeta.SaveToFile(out.string()));
  EXPECT_EQ(noMeta.FLastError, "The file has no file meta information.");
  std::ostringstream sink;
  EXPECT_FALSE(noMeta.SaveToStream(sink));
  EXPECT_EQ(sink.str(), "");
  std::vector<unsigned char> block(noMeta.GetEncodedSize());
  EXPECT_FALSE(noMeta.WriteToMemory(block.data()));

  TanDicomFileObject noKind;
  MakeDataSet(noKind);
  noKind.FDataSet.SetTransferSyntaxKind(0);
  for (int writer = 0; writer < 3; ++writer) {
    const bool ok = writer == 0 ? noKind.SaveToFile(out.string())
                    : writer == 1 ? noKind.WriteAsynchronous(out.string())
                                  : noKind.WriteMapped(out.string());
    EXPECT_FALSE(ok);
    EXPECT_EQ(noKind.FLastError, "The data set has no transfer syntax the file can be written in.");
    EXPECT_TRUE(noKind.FMetaGroup.IsEmpty());
  }
  EXPECT_EQ(Bytes(out), "old content");
  EXPECT_EQ(Listing(dir), std::vector<std::string>{"old.dcm"});
}

TEST_F(FileWrite, EmptyObjectAndStreamErrors) {
  TanDicomFileObject f;
  EXPECT_EQ(f.GetEncodedSize(), 132u);
  EXPECT_FALSE(f.SaveToFile("   "));
  EXPECT_FALSE(f.Save(true));
  std::ostringstream bad;
  bad.setstate(std::ios::badbit);
  EXPECT_FALSE(f.SaveToStream(bad));
  EXPECT_EQ(f.FLastError, "Output stream is not good.");
  MakeDataSet(f);
  f.WriteToMemory(nullptr);
  EXPECT_FALSE(f.WriteMapped((dir / "no" / "such" / "folder.dcm").string()));
  EXPECT_EQ(f.FLastError, "The system cannot find the path specified.\r\n");
  EXPECT_FALSE(fs::exists(dir / "no"));
}

// Every file the reader takes is written alike by all four writers, and reads back as it was.
TEST_F(FileWrite, PydicomFilesWrittenAlikeByEveryWriterAndReadBack) {
  const auto files = PydicomFiles();
  if (files.empty()) GTEST_SKIP() << "pydicom's test files are not installed";
  int written = 0;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    TanDicomFileObject f;
    if (!f.LoadFromFile(path.string(), false).empty() || f.FMetaGroup.IsEmpty()) continue;
    const std::string before = FullSignature(f);
    const fs::path a = dir / "stream.dcm", b = dir / "async.dcm", c = dir / "mapped.dcm";
    ASSERT_TRUE(f.SaveToFile(a.string())) << f.FLastError;
    ASSERT_TRUE(f.WriteAsynchronous(b.string())) << f.FLastError;
    ASSERT_TRUE(f.WriteMapped(c.string())) << f.FLastError;
    std::string memory(f.GetEncodedSize(), '\x55');
    ASSERT_TRUE(f.WriteToMemory(memory.data()));
    const std::string bytes = Bytes(a);
    EXPECT_EQ(bytes.size(), f.GetEncodedSize());
    EXPECT_EQ(Bytes(b), bytes);
    EXPECT_EQ(Bytes(c), bytes);
    EXPECT_EQ(memory, bytes);
    EXPECT_EQ(FullSignature(f), before);
    TanDicomFileObject back;
    ASSERT_EQ(back.LoadFromFile(a.string(), false), "");
    EXPECT_EQ(FullSignature(back), before);
    ++written;
  }
  EXPECT_GT(written, 20);
}

// A write that fails at any piece leaves the old file byte-identical and no temporary behind.
TEST_F(FileWrite, FailedWriteLeavesTheOldFileAlone) {
  TanDicomFileObject f;
  MakeDataSet(f, true, 3 * 1024 * 1024);
  const fs::path out = dir / "target.dcm";
  const std::string old = "an older file that must survive";
  struct Case {
    const char* name;
    int writer;
    uint64_t failAt;
    const char* message;
  };
  const Case cases[] = {
      {"stream", 0, 0, "Error occured while saving."},
      {"buffer, first piece", 1, 0, "There is not enough space on the disk."},
      {"buffer, third piece", 1, 2 * 1024 * 1024, "There is not enough space on the disk."},
      {"mapped", 2, 0, "There is not enough space on the disk."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(out, old);
    TanDicomFileObject::FWriteFaultHook = [&](uint64_t offset) { return offset < c.failAt; };
    if (c.writer == 0) f.WriteAsynchronous((dir / "meta.dcm").string());  // gives f a meta group
    fs::remove(dir / "meta.dcm");
    const bool ok = c.writer == 0   ? f.SaveToFile(out.string())
                    : c.writer == 1 ? f.WriteAsynchronous(out.string())
                                    : f.WriteMapped(out.string());
    EXPECT_FALSE(ok);
    EXPECT_EQ(f.FLastError, c.message);
    EXPECT_EQ(Bytes(out), old);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"target.dcm"});
  }
  // Without the fault the same writes replace the file.
  TanDicomFileObject::FWriteFaultHook = nullptr;
  ASSERT_TRUE(f.WriteAsynchronous(out.string()));
  EXPECT_EQ(Bytes(out).size(), f.GetEncodedSize());
}

// A read-only target is refused by every writer: the old file stays as it was and no
// temporary is left beside it.
TEST_F(FileWrite, ReadOnlyTargetIsLeftAlone) {
  TanDicomFileObject f;
  MakeDataSet(f);
  ASSERT_TRUE(f.WriteAsynchronous((dir / "meta.dcm").string()));  // gives f a meta group
  fs::remove(dir / "meta.dcm");
  const fs::path out = dir / "target.dcm";
  const std::string old = "a read-only file that must survive";
  Put(out, old);
  ASSERT_TRUE(platform::SetFileAttributes(out.string(), platform::attr::ReadOnly));
  for (int writer = 0; writer < 3; ++writer) {
    SCOPED_TRACE(writer);
    const bool ok = writer == 0   ? f.SaveToFile(out.string())
                    : writer == 1 ? f.WriteAsynchronous(out.string())
                                  : f.WriteMapped(out.string());
    EXPECT_FALSE(ok);
    EXPECT_FALSE(f.FLastError.empty());
    EXPECT_EQ(Bytes(out), old);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"target.dcm"});
  }
  ASSERT_TRUE(platform::SetFileAttributes(out.string(), platform::attr::Normal));
}

TEST_F(FileWrite, BufferWriterWritesPiecesOfOneMebibyte) {
  TanDicomFileObject f;
  MakeDataSet(f, true, 8);
  f.WriteAsynchronous((dir / "meta.dcm").string());
  // Grow the pixel data so that the file is 3 MiB and one byte long... or as near as even
  // values allow: 3 MiB + 2 gives four pieces, the last of two bytes.
  const uint32_t rest = f.GetEncodedSize() - 8;
  f.FDataSet.DeleteByTag(0x7FE00010);
  TanDDEFactory factory(2);
  const uint32_t pixels = 3 * 1024 * 1024 + 2 - (rest - 0);
  std::vector<unsigned char> zeros(pixels);
  f.FDataSet.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, pixels, static_cast<const void*>(zeros.data())));
  ASSERT_EQ(f.GetEncodedSize(), 3u * 1024 * 1024 + 2);
  std::vector<uint64_t> offsets;
  TanDicomFileObject::FWriteFaultHook = [&](uint64_t offset) {
    offsets.push_back(offset);
    return true;
  };
  ASSERT_TRUE(f.WriteAsynchronous((dir / "big.dcm").string()));
  EXPECT_EQ(offsets, (std::vector<uint64_t>{0, 0x100000, 0x200000, 0x300000}));
  EXPECT_EQ(fs::file_size(dir / "big.dcm"), 3u * 1024 * 1024 + 2);
}

TEST_F(FileWrite, SaveAsCreatesMissingFoldersFromTheRoot) {
  TanDicomFileObject f;
  MakeDataSet(f);
  // An absolute name: the leading "/" stands for the root, which exists.
  const fs::path absolute = fs::absolute(dir / "a" / "b" / "c" / "x.dcm");
  ASSERT_TRUE(TanDicomFileObject::CreateFolders(absolute.string()));
  EXPECT_TRUE(fs::is_directory(dir / "a" / "b" / "c"));
  ASSERT_TRUE(f.SaveAs((dir / "d" / "e" / "y.dcm").string(), false)) << f.FLastError;
  EXPECT_TRUE(fs::exists(dir / "d" / "e" / "y.dcm"));
  // A folder that is a file cannot be created; the write is still tried and fails.
  Put(dir / "file", "x");
  EXPECT_FALSE(TanDicomFileObject::CreateFolders((dir / "file" / "sub" / "z.dcm").string()));
  EXPECT_FALSE(f.SaveAs((dir / "file" / "sub" / "z.dcm").string(), true));
  EXPECT_EQ(Bytes(dir / "file"), "x");
  EXPECT_TRUE(TanDicomFileObject::CreateFolders("no_folder.dcm"));
  // Save uses the name the file was loaded from.
  TanDicomFileObject loaded;
  ASSERT_EQ(loaded.LoadFromFile((dir / "d" / "e" / "y.dcm").string(), false), "");
  ASSERT_TRUE(loaded.Save(true));
  EXPECT_TRUE(loaded.SaveToFile("  "));
}

// ---- the private pixel-data index ----

void ExpectFragmentsAt(const TanDicomFileObject& f, const std::string& bytes, const TanPrivatePixelDataInfo& index) {
  iDDE* pixels = f.FDataSet.Find(0x7FE00010);
  ASSERT_NE(pixels, nullptr);
  if (auto* epd = pixels->ValueAs<TanEPDValue>()) {
    for (uint32_t i = 0; i < index.FFrameSet.GetCount(); ++i) {
      TanFrame frame(epd->FFrames, static_cast<int32_t>(i));
      const auto& recorded = index.FFrameSet.FFrames[i];
      ASSERT_EQ(recorded.FOffsets.size(), frame.FragmentCount());
      for (uint32_t j = 0; j < frame.FragmentCount(); ++j) {
        iDDE* fragment = frame.Fragment(j);
        ASSERT_EQ(recorded.FLengths[j], fragment->Length());
        EXPECT_EQ(bytes.substr(recorded.FOffsets[j], recorded.FLengths[j]),
                  std::string(reinterpret_cast<const char*>(fragment->GetData()), fragment->Length()));
      }
    }
  } else {
    const auto& first = index.FFrameSet.FFrames[0];
    EXPECT_EQ(bytes.substr(first.FOffsets[0], pixels->Length()),
              std::string(reinterpret_cast<const char*>(pixels->GetData()), pixels->Length()));
  }
}

TEST_F(FileWrite, IndexOfNativeAndEncapsulatedFilesPointsAtTheirBytes) {
  struct Case {
    const char* file;
    uint32_t frames;
    uint32_t valueLength;  // 0: not checked
  };
  const Case cases[] = {{"CT_small.dcm", 1, 42}, {"MR_small_RLE.dcm", 1, 0}, {"SC_rgb_rle_2frame.dcm", 2, 52},
                        {"rtdose.dcm", 15, 32 + 150}, {"emri_small_RLE.dcm", 10, 0}, {"JPEG-lossy.dcm", 1, 0}};
  const fs::path folder = DICOM_IO_PYDICOM_FILES;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    if (!fs::exists(folder / c.file)) continue;
    TanDicomFileObject f;
    ASSERT_EQ(f.LoadFromFile((folder / c.file).string(), false), "");
    ASSERT_TRUE(f.HasPixelData());
    ASSERT_TRUE(f.BuildPrivatePixelDataInfo()) << f.FLastError;
    ASSERT_TRUE(f.BuildPrivatePixelDataInfo()) << f.FLastError;  // twice: one of each element
    EXPECT_EQ(f.FLastError, "");
    EXPECT_EQ(f.FMetaGroup.At(0)->Tag(), 0x00020000u);
    EXPECT_EQ(f.FMetaGroup.At(0)->GetULong(), f.FMetaGroup.Length() - 12);
    int indexElements = 0;
    for (uint32_t i = 0; i < f.FMetaGroup.Count(); ++i) {
      const uint32_t tag = f.FMetaGroup.At(i)->Tag();
      indexElements += tag == 0x00020000 || tag == 0x00020100 || tag == 0x00020102;
    }
    EXPECT_EQ(indexElements, 3);
    EXPECT_EQ(f.FMetaGroup.Find(0x00020100)->GetString(), "2.25.40263187551.0.20041017");
    if (c.valueLength != 0) {
      EXPECT_EQ(f.FMetaGroup.Find(0x00020102)->GetLength(), c.valueLength);
    }

    const fs::path out = dir / "indexed.dcm";
    ASSERT_TRUE(f.SaveToFile(out.string())) << f.FLastError;
    TanDicomFileObject back;
    ASSERT_EQ(back.LoadFromFile(out.string(), false), "");
    TanPrivatePixelDataInfo index(back);
    ASSERT_EQ(index.FFrames.GetCount(), c.frames);
    EXPECT_EQ(index.FTitle, "ORN_PRIVATE_PIXEL_DATA_TITLE");
    ExpectFragmentsAt(back, Bytes(out), index);
    EXPECT_THROW(index.FFrames.Frame(c.frames), std::out_of_range);
  }
}

TEST_F(FileWrite, IndexRefusals) {
  TanDicomFileObject empty;
  EXPECT_FALSE(empty.BuildPrivatePixelDataInfo());
  EXPECT_EQ(empty.FLastError, "Cannot build Private Pixel Data Info because Pixel Data Tag does not exist.");

  TanDDEFactory factory(2);
  TanDicomFileObject second;  // pixel data as the second element
  second.FDataSet.SetTransferSyntaxKind(2);
  second.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0010, 1, 2));
  second.FDataSet.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, uint32_t{2}, static_cast<const void*>("ab")));
  EXPECT_FALSE(second.BuildPrivatePixelDataInfo());
  EXPECT_EQ(second.FLastError, "Cannot build Private Pixel Data Info because Pixel Data Tag does not exist.");

  for (const char* frames : {"0", "x"}) {
    TanDicomFileObject f;
    MakeDataSet(f);
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0008, 1, frames));
    EXPECT_FALSE(f.BuildPrivatePixelDataInfo());
    EXPECT_EQ(f.FLastError, "Cannot build Private Pixel Data Info.");
    EXPECT_TRUE(f.FMetaGroup.IsEmpty());
  }
  TanDicomFileObject noPixels;
  MakeDataSet(noPixels, true, 0);
  EXPECT_FALSE(noPixels.BuildPrivatePixelDataInfo());
  EXPECT_EQ(noPixels.FLastError, "Cannot build Private Pixel Data Info.");
}

// An element that claims a size it does not hold: places the pixel data beyond 4 GiB.
class HugeElement : public iDDE {
 public:
  HugeElement() : iDDE(nullptr) {}
  uint16_t Group() const override { return 0x0019; }
  std::string GroupText() const override { return "0019"; }
  uint16_t Element() const override { return 0x1000; }
  std::string ElementText() const override { return "1000"; }
  uint32_t Tag() const override { return 0x00191000u; }
  std::string TagText() const override { return "0019,1000"; }
  uint16_t VR() const override { return 0; }
  std::string VRText() const override { return "OB"; }
  uint32_t Length() const override { return 0xFFFFFF00u - 12; }
  std::string LengthText() const override { return ""; }
  bool IsHeaderValid() const override { return true; }
  uint32_t HeaderSize() const override { return 12; }
  void Assign(const void*) override {}
  bool IsValid() const override { return true; }
  uint32_t Size() const override { return 0xFFFFFF00u; }
  std::string Description() const override { return ""; }
  iDDE* CopyTo(void*) override { return this; }
  iDDE* WriteTo(std::ostream&) override { return this; }
};

TEST_F(FileWrite, IndexRefusesWhatItsFieldsCannotHold) {
  TanDDEFactory factory(2);
  // 65536 frames: the 16-bit frame count would wrap to 0.
  TanDicomFileObject frames;
  MakeDataSet(frames, true, 65536 * 2);
  frames.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0008, 1, "65536"));
  EXPECT_FALSE(frames.BuildPrivatePixelDataInfo());
  EXPECT_EQ(frames.FLastError, "Cannot build Private Pixel Data Info.");
  EXPECT_TRUE(frames.FMetaGroup.IsEmpty());
  frames.FDataSet.DeleteByTag(0x00280008u);
  frames.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0008, 1, "65535"));
  EXPECT_TRUE(frames.BuildPrivatePixelDataInfo()) << frames.FLastError;

  // Pixel data whose bytes end beyond 4 GiB: the 32-bit offsets would wrap.
  for (bool encapsulated : {false, true}) {
    SCOPED_TRACE(encapsulated);
    TanDicomFileObject huge;
    if (encapsulated) {
      ASSERT_EQ(huge.LoadFromFile((fs::path(DICOM_IO_PYDICOM_FILES) / "MR_small_RLE.dcm").string(), false), "");
    } else {
      MakeDataSet(huge, true, 512);
    }
    huge.FDataSet.Insert(new HugeElement);
    std::string meta, after;
    Signature(huge.FMetaGroup, meta);
    EXPECT_FALSE(huge.BuildPrivatePixelDataInfo());
    EXPECT_EQ(huge.FLastError, "Cannot build Private Pixel Data Info.");
    Signature(huge.FMetaGroup, after);
    EXPECT_EQ(after, meta);
    // Without it the same object is indexed.
    huge.FDataSet.DeleteByTag(0x00191000u);
    EXPECT_TRUE(huge.BuildPrivatePixelDataInfo()) << huge.FLastError;
  }
}

TEST_F(FileWrite, NativeIndexBytesAndMalformedIndexesReadEmpty) {
  TanDicomFileObject f;
  MakeDataSet(f, true, 12);
  TanDDEFactory factory(2);
  f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0008, 1, "3 "));
  ASSERT_TRUE(f.BuildPrivatePixelDataInfo());
  iDDE* value = f.FMetaGroup.Find(0x00020102);
  ASSERT_EQ(value->GetLength(), 62u);
  const std::string bytes(reinterpret_cast<const char*>(value->GetData()), 62);
  const uint32_t base = 132 + f.FMetaGroup.Length() + f.FDataSet.Length() - 12;
  EXPECT_EQ(bytes.substr(0, 29), std::string("ORN_PRIVATE_PIXEL_DATA_TITLE\0", 29));
  EXPECT_EQ(bytes[29], 3);
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(bytes[31 + 10 * i], 1);
    EXPECT_EQ(U32(bytes, 33 + 10 * i), base + 4 * i);
    EXPECT_EQ(U32(bytes, 37 + 10 * i), 4u);
  }
  EXPECT_EQ(bytes.substr(61), std::string(1, '\0'));

  auto emptied = [](std::string b) {
    TanPrivatePixelDataInfo info(reinterpret_cast<const unsigned char*>(b.data()), static_cast<uint32_t>(b.size()));
    return info.FFrames.IsEmpty() && info.FTitle.empty();
  };
  EXPECT_FALSE(emptied(bytes));
  std::string other = bytes;
  other[0] = 'X';
  EXPECT_TRUE(emptied(other));
  std::string noFrames = bytes;
  noFrames[29] = 0;
  EXPECT_TRUE(emptied(noFrames));
  std::string noFragments = bytes;
  noFragments[41] = 0;  // n of the second frame
  EXPECT_TRUE(emptied(noFragments));
  for (std::size_t cut : {10u, 29u, 30u, 35u, 50u}) EXPECT_TRUE(emptied(bytes.substr(0, cut))) << cut;
}

// ---- loading through memory ----

TEST_F(FileWrite, LoadingThroughMemoryReadsAsTheFileDoes) {
  const auto files = PydicomFiles();
  if (files.empty()) GTEST_SKIP() << "pydicom's test files are not installed";
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    TanDicomFileObject byFile, byHeader;
    const std::string result = byFile.LoadFromFile(path.string(), false);
    const std::string header = byHeader.LoadHeaderFromFile(path.string(), false);
    for (bool virtualMemory : {true, false}) {
      TanDicomFileObject whole, head;
      const std::string r = whole.LoadFromFileInMemory(path.string(), virtualMemory, false);
      EXPECT_EQ(r.empty(), result.empty()) << r << " / " << result;
      if (r.empty() && result.empty()) {
        EXPECT_EQ(FullSignature(whole), FullSignature(byFile));
        EXPECT_EQ(whole.FFileName, path.string());
      }
      const std::string h = head.LoadHeaderFromFileInMemory(path.string(), virtualMemory, false);
      EXPECT_EQ(h.empty(), header.empty()) << h << " / " << header;
      if (h.empty() && header.empty()) {
        EXPECT_EQ(FullSignature(head), FullSignature(byHeader));
      }
    }
  }
}

TEST_F(FileWrite, HeaderLoadRetriesUpToTheIndexedPixelData) {
  TanDicomFileObject f;
  MakeDataSet(f, true, 4096);
  TanDDEFactory factory(2);
  const std::string big(150000, 'a');
  f.FDataSet.Insert(factory->MakeDDE(0x0040, 0xA160, 1, big.c_str()));
  for (bool indexed : {false, true}) {
    SCOPED_TRACE(indexed);
    if (indexed) {
      ASSERT_TRUE(f.BuildPrivatePixelDataInfo());
    }
    const fs::path out = dir / "big_header.dcm";
    ASSERT_TRUE(f.WriteMapped(out.string()));
    TanDicomFileObject head;
    ASSERT_EQ(head.LoadHeaderFromFileViaMemory(out.string(), false), "");
    EXPECT_EQ(head.FDataSet.Find(0x0040A160)->GetLength(), 150000u);
    EXPECT_EQ(head.FDataSet.Find(0x7FE00010), nullptr);
    TanDicomFileObject whole;
    ASSERT_EQ(whole.LoadFromFileViaMemory(out.string(), false), "");
    EXPECT_EQ(DataSignature(whole), DataSignature(f));
  }
}

TEST_F(FileWrite, LoadingThroughMemoryErrorTexts) {
  TanDicomFileObject f;
  const std::string missing = (dir / "missing.dcm").string();
  EXPECT_EQ(f.LoadFromFileViaMemory(missing, false), "The system cannot find the file specified. (" + missing + ").");
  Put(dir / "zero.dcm", "");
  const std::string zero = (dir / "zero.dcm").string();
  EXPECT_EQ(f.LoadFromFileViaMemoryAlt(zero, false), "Unable to open the file \"" + zero + "\" to read.");
  EXPECT_NE(f.LoadHeaderFromFileViaMemory(zero, false), "");
  Put(dir / "short.dcm", std::string(131, '\0'));
  const std::string shortName = (dir / "short.dcm").string();
  EXPECT_EQ(f.LoadFromFileViaMemory(shortName, false),
            "Preamble of the file \"" + shortName + "\" does not correspond with DICOM 3.0.");
  const fs::path noTs = fs::path(DICOM_IO_PYDICOM_FILES) / "meta_missing_tsyntax.dcm";
  if (fs::exists(noTs)) {
    EXPECT_EQ(f.LoadFromFileViaMemory(noTs.string(), false),
              "Transfer Syntax UID is not presented for the file \"" + noTs.string() + "\" .");
  }
}

}  // namespace

// A real full disk: VISTREL_FULL_DISK names the folder of a small file system (the ctest entry
// mounts a 1 MiB tmpfs there). Every file writer fails with the disk's text, no process ends
// with SIGBUS, the old file stays byte-identical and no temporary is left.
TEST_F(FileWrite, FullDiskFailsCleanlyInEveryWriter) {
  const char* folder = std::getenv("VISTREL_FULL_DISK");
  if (folder == nullptr) GTEST_SKIP() << "no small file system given (VISTREL_FULL_DISK)";
  TanDicomFileObject f;
  MakeDataSet(f, true, 3 * 1024 * 1024);
  ASSERT_TRUE(f.WriteAsynchronous((dir / "meta.dcm").string()));  // gives f a meta group
  const fs::path out = fs::path(folder) / "target.dcm";
  const std::string old = "an older file that must survive";
  for (int writer = 0; writer < 3; ++writer) {
    SCOPED_TRACE(writer);
    Put(out, old);
    const bool ok = writer == 0   ? f.SaveToFile(out.string())
                    : writer == 1 ? f.WriteAsynchronous(out.string())
                                  : f.WriteMapped(out.string());
    EXPECT_FALSE(ok);
    EXPECT_EQ(f.FLastError, writer == 0 ? "Error occured while saving." : "There is not enough space on the disk.");
    EXPECT_EQ(Bytes(out), old);
    EXPECT_EQ(Listing(folder), std::vector<std::string>{"target.dcm"});
  }
}

}  // namespace ORN_dicom
