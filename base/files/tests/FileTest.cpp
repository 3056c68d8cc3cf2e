#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/files/TanFileImpl.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/files/tests/TempFolder.h"

namespace ORN_std {
namespace {

using vistrel_test::ReadAll;
using vistrel_test::TempFolder;

constexpr uint32_t kRead = 0x80000000;
constexpr uint32_t kReadWrite = 0xC0000000;
constexpr uint8_t kShareReadWrite = 0x3;
const std::string kEofText =
    "The operation completed successfully.\r\nHowever EOF has been reached.";

std::string Message(uint32_t code) { return platform::SystemMessage(code); }

template <class F>
std::string ThrownText(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "nothing thrown";
}

TEST(TanFileImplTest, SplitsThePath) {
  const struct {
    std::string path, name, folder, extension;
  } cases[] = {
      {"/data/sub/a.dcm", "a.dcm", "/data/sub/", ".dcm"},
      {"/data/sub/IM0001", "IM0001", "/data/sub/", ""},
      {"/data.d/file", "file", "/data.d/", ""},
      {"/data/archive.tar.gz", "archive.tar.gz", "/data/", ".gz"},
      {"sub/a.dcm", "a.dcm", "sub/", ".dcm"},
      {"a.dcm", "a.dcm", "", ".dcm"},
  };
  for (const auto& c : cases) {
    TanFileImpl file(c.path);
    EXPECT_EQ(file.GetPath(), c.path);
    EXPECT_EQ(file.GetName(), c.name) << c.path;
    EXPECT_EQ(file.GetFolder(), c.folder) << c.path;
    EXPECT_EQ(file.GetExtension(), c.extension) << c.path;
  }
  EXPECT_EQ(ThrownText([] { TanFileImpl file(""); }), "invalid-argument-value");
}

TEST(TanFileImplTest, FolderBeginningWithDotBecomesAbsolute) {
  const std::string cwd = std::filesystem::current_path().string();
  const std::string parent = std::filesystem::current_path().parent_path().string();
  TanFileImpl here("./sub/a.dcm");
  EXPECT_EQ(here.GetFolder(), cwd + "/sub/");
  EXPECT_EQ(here.GetPath(), cwd + "/sub/a.dcm");
  EXPECT_EQ(here.GetName(), "a.dcm");
  TanFileImpl up("../b.dcm");
  EXPECT_EQ(up.GetPath(), (parent == "/" ? "" : parent) + "/b.dcm");
}

TEST(TanFileImplTest, SizeInUnitsAndUnknownSize) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", std::string(3000, 'x')));
  EXPECT_EQ(file.GetSize(0), 3000);
  EXPECT_EQ(file.GetSize(1), 2);
  EXPECT_EQ(file.GetSize(2), 0);
  EXPECT_EQ(file.GetLastErrorText(), "");

  // A file that cannot be opened has no size: -1 with the reason.
  TanFileImpl missing(dir / "missing.bin");
  EXPECT_EQ(missing.GetSize(0), -1);
  EXPECT_EQ(missing.GetLastErrorText(), Message(platform::err::FileNotFound));
}

TEST(TanFileImplTest, SizeOfAClosedFileKeepsTheAttachedObjects) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "abc");
  TanFileImpl file(path);
  iFILEATTR* attributes = file.GetAttributes();
  EXPECT_EQ(file.GetSize(0), 3);
  EXPECT_EQ(file.GetAttributes(), attributes);
  EXPECT_TRUE(attributes->IsArchive());
  // And the file is closed again: an exclusive open elsewhere succeeds.
  TanFileImpl other(path);
  EXPECT_TRUE(other.General.Open(false));
}

TEST(TanFileImplTest, ExistsOnlyForFilesThatOpen) {
  TempFolder dir;
  EXPECT_TRUE(TanFileImpl(dir.Write("a.bin", "")).Exists());
  EXPECT_FALSE(TanFileImpl(dir / "missing").Exists());
  EXPECT_FALSE(TanFileImpl(dir.Path()).Exists());
}

TEST(TanFileImplTest, ServicesNeedAnOpenFile) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", "abc"));
  EXPECT_EQ(ThrownText([&] { file.Service.GetIOService(); }), "invalid-handle-value");
  EXPECT_EQ(ThrownText([&] { file.Service.GetMappingService(); }), "invalid-handle-value");
  ASSERT_TRUE(file.General.Open(false));
  EXPECT_NE(file.Service.GetIOService(), nullptr);
  EXPECT_EQ(file.Service.GetIOService(), file.Service.GetIOService());
  // The const slots of each pair hand out the same objects.
  const iFILE& constant = file;
  EXPECT_EQ(constant.GetIOService(), file.GetIOService());
  EXPECT_EQ(constant.GetMappingService(), file.GetMappingService());
  EXPECT_EQ(constant.GetAttributes(), file.GetAttributes());
  EXPECT_FALSE(TanFileImpl(dir / "missing").General.Open(false));
}

TEST(TanFileImplTest, DestroyingAnOpenFileClosesIt) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "abc");
  {
    auto file = std::make_unique<TanFileImpl>(path);
    ASSERT_TRUE(file->Open(false));
    TanFileImpl second(path);
    EXPECT_FALSE(second.Open(false));
    EXPECT_EQ(second.GetLastErrorText(), Message(platform::err::SharingViolation));
  }
  EXPECT_TRUE(TanFileImpl(path).Open(false));
}

class FileIoTest : public ::testing::TestWithParam<bool> {
 protected:
  bool Overlapped() const { return GetParam(); }
  TempFolder dir;
};

TEST_P(FileIoTest, WritesAndReadsWholeRequests) {
  TanFileImpl file(dir / "a.bin");
  ASSERT_TRUE(file.General.Create(Overlapped()));
  iFILE_IO* io = file.Service.GetIOService();
  std::string data(300000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  EXPECT_EQ(io->Write(data.data(), static_cast<uint32_t>(data.size()), Overlapped()), 300000);
  EXPECT_EQ(file.GetLastErrorText(), "");
  EXPECT_EQ(io->GetPosition(), 300000);
  EXPECT_EQ(io->Seek(0, 0), 0);
  std::string back(data.size(), '\0');
  EXPECT_EQ(io->Read(back.data(), static_cast<uint32_t>(back.size()), Overlapped()), 300000);
  EXPECT_EQ(back, data);
  EXPECT_EQ(io->GetPosition(), 300000);
}

TEST_P(FileIoTest, ShortReadAtTheEndIsNotAnError) {
  TanFileImpl file(dir.Write("a.bin", std::string(1000, 'x')));
  ASSERT_TRUE(file.General.Open(Overlapped()));
  iFILE_IO* io = file.Service.GetIOService();
  ASSERT_EQ(io->Seek(-40, 2), 960);
  char buffer[100];
  EXPECT_EQ(io->Read(buffer, 100, Overlapped()), 40);
  EXPECT_EQ(file.GetLastErrorText(), kEofText);
  io->Seek(0, 2);
  EXPECT_EQ(io->Read(buffer, 100, Overlapped()), 0);
  EXPECT_EQ(file.GetLastErrorText(), kEofText);
  EXPECT_EQ(io->Seek(0, 0), 0);
  EXPECT_EQ(io->Read(buffer, 100, Overlapped()), 100);
  EXPECT_EQ(file.GetLastErrorText(), "");
}

TEST_P(FileIoTest, WriteWithoutWriteAccessFails) {
  TanFileImpl file(dir.Write("a.bin", "abc"));
  ASSERT_TRUE(file.General.Open(kRead, 0, Overlapped()));
  EXPECT_EQ(file.Service.GetIOService()->Write("xyz", 3, Overlapped()), -1);
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::AccessDenied));
  EXPECT_EQ(ReadAll(file.GetPath()), "abc");
}

INSTANTIATE_TEST_SUITE_P(PlainAndOverlapped, FileIoTest, ::testing::Bool());

TEST(TanFileIOServiceTest, SeekFromEveryOrigin) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", std::string(100, 'x')));
  ASSERT_TRUE(file.Open(false));
  iFILE_IO* io = file.GetIOService();
  const struct {
    int64_t distance;
    uint8_t origin;
    int64_t position;
    int64_t remaining;
  } cases[] = {
      {30, 0, 30, 70},   {-10, 1, 20, 80}, {-10, 2, 90, 10},
      {10, 2, 110, -10}, {-5, 7, 105, -5}, {0, 0, 0, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(io->Seek(c.distance, c.origin), c.position) << c.distance << " " << int(c.origin);
    EXPECT_EQ(io->GetPosition(), c.position);
    EXPECT_EQ(io->GetRemainingSize(), c.remaining);
  }
  EXPECT_EQ(io->Seek(-1, 1), -1);
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::NegativeSeek));
  ASSERT_EQ(io->Seek(25, 0), 25);
  EXPECT_TRUE(io->Truncate());
  EXPECT_EQ(file.GetSize(0), 25);
}

TEST(TanFileIOServiceTest, LocksBetweenTwoFiles) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", std::string(100, 'x'));
  TanFileImpl first(path), second(path);
  ASSERT_TRUE(first.Open(kReadWrite, kShareReadWrite, false));
  ASSERT_TRUE(second.Open(kReadWrite, kShareReadWrite, false));
  ASSERT_TRUE(first.GetIOService()->Lock(10, 20));
  EXPECT_FALSE(second.GetIOService()->Lock(29, 5));
  EXPECT_EQ(second.GetLastErrorText(), Message(platform::err::LockViolation));
  EXPECT_TRUE(second.GetIOService()->Lock(30, 5));
  EXPECT_FALSE(first.GetIOService()->Unlock(10, 10));
  EXPECT_EQ(first.GetLastErrorText(), Message(platform::err::NotLocked));
  EXPECT_TRUE(first.GetIOService()->Unlock(10, 20));
  EXPECT_TRUE(second.GetIOService()->Lock(10, 20));
  EXPECT_EQ(second.GetLastErrorText(), "");
}

TEST(TabFileAttrubutesTest, BitsPersistAndAreSeenByOtherObjects) {
  TempFolder dir;
  const std::string path = dir.Write("a.dcm", "x");
  TanFileImpl file(path);
  iFILEATTR* attributes = file.GetAttributes();
  EXPECT_TRUE(attributes->IsArchive());
  EXPECT_FALSE(attributes->HasNoAttributes());
  attributes->SetHidden(true).SetSystem(true).SetOffline(true).SetArchive(false);
  TabFileAttrubutes fresh(path);
  EXPECT_TRUE(fresh.IsHidden());
  EXPECT_TRUE(fresh.IsSystem());
  EXPECT_TRUE(fresh.IsOffline());
  EXPECT_FALSE(fresh.IsArchive());
  EXPECT_FALSE(fresh.IsReadOnly());
  fresh.SetReadOnly(true);
  EXPECT_TRUE(attributes->IsReadOnly());
  EXPECT_FALSE(file.Open(false)) << "a read-only file opens for reading only";
  EXPECT_TRUE(file.Open(kRead, 0, false));
  file.Close();
  TabFileAttrubutes clearing(path);
  clearing.ClearAttributes();
  EXPECT_TRUE(clearing.HasNoAttributes());
  EXPECT_FALSE(TabFileAttrubutes(path).HasNoAttributes()) << "a cleared word reads back as normal";
  EXPECT_FALSE(TabFileAttrubutes(path).IsReadOnly());
}

TEST(TabFileAttrubutesTest, UnreadablePathChangesNothing) {
  TempFolder dir;
  TabFileAttrubutes missing(dir / "missing");
  EXPECT_FALSE(missing.HasNoAttributes());
  missing.SetHidden(true);
  EXPECT_FALSE(missing.IsHidden());
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(TanFileDateTimeTest, SetAndReadTheFields) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", "x"));
  iFILETIME* modified = file.GetFileTime(2);
  const uint16_t year = 2011, month = 3, day = 14, hour = 9, minute = 26, second = 53, ms = 589;
  ASSERT_TRUE(modified->SetDateTime(&year, &month, &day, &hour, &minute, &second, &ms));
  EXPECT_EQ(file.GetLastErrorText(), "");
  uint16_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, m = 0;
  ASSERT_TRUE(modified->GetDateTime(&y, &mo, &d, &h, &mi, &s, &m));
  EXPECT_EQ((std::vector<uint16_t>{y, mo, d, h, mi, s, m}),
            (std::vector<uint16_t>{2011, 3, 14, 9, 26, 53, 589}));
  EXPECT_EQ(modified->GetDayOfWeek(), 1);  // a Monday
  EXPECT_TRUE(modified->GetDateTime(nullptr, nullptr, &d, nullptr, nullptr, nullptr, nullptr));

  EXPECT_FALSE(modified->SetHour(0xFFFF));
  EXPECT_EQ(modified->GetHour(), 9);
  EXPECT_TRUE(modified->SetHour(23));
  EXPECT_EQ(modified->GetHour(), 23);
  EXPECT_FALSE(modified->SetMonth(13));
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::InvalidParameter));
  EXPECT_EQ(modified->GetMonth(), 3);

  // The creation time is kept apart from the others.
  iFILETIME* created = file.GetFileTime(0);
  ASSERT_TRUE(created->SetYear(2001));
  EXPECT_EQ(file.GetFileTime(0)->GetYear(), 2001);
  EXPECT_EQ(file.GetFileTime(2)->GetYear(), 2011);
}

TEST(TanFileDateTimeTest, ComparesTimesOfTwoFiles) {
  TempFolder dir;
  TanFileImpl older(dir.Write("old.bin", "x")), newer(dir.Write("new.bin", "y"));
  ASSERT_TRUE(older.GetFileTime(2)->SetYear(2005));
  ASSERT_TRUE(newer.GetFileTime(2)->SetYear(2006));
  iFILETIME* a = older.GetFileTime(2);
  iFILETIME* b = newer.GetFileTime(2);
  EXPECT_TRUE(a->IsEarlier(*b));
  EXPECT_TRUE(a->IsNotLater(*b));
  EXPECT_TRUE(a->IsNotEqual(*b));
  EXPECT_FALSE(a->IsLater(*b));
  EXPECT_FALSE(a->IsNotEarlier(*b));
  EXPECT_TRUE(b->IsLater(*a));
  EXPECT_TRUE(a->IsEqual(*a));
  EXPECT_TRUE(a->IsNotEarlier(*a));

  TanFileImpl gone(dir / "gone.bin");
  iFILETIME* missing = gone.GetFileTime(2);
  EXPECT_EQ(ThrownText([&] { missing->IsEqual(*a); }), "invalid-own-object");
  EXPECT_EQ(ThrownText([&] { a->IsEqual(*missing); }), "invalid-smb-object");
  EXPECT_EQ(missing->GetYear(), 0);
  EXPECT_EQ(missing->GetHour(), 0xFFFF);
  EXPECT_EQ(gone.GetLastErrorText(), Message(platform::err::FileNotFound));
}

TEST(TanFileDateTimeTest, UsesTheOpenHandleOfItsFile) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", "x"));
  ASSERT_TRUE(file.Open(kRead, 0, false));
  // The file's own handle has no write access, so the time cannot be written through it.
  EXPECT_FALSE(file.GetFileTime(2)->SetYear(2003));
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::AccessDenied));
  EXPECT_NE(file.GetFileTime(2)->GetYear(), 0);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(TanFileDateTimeDeathTest, SecondTimeObjectDestroysTheFirst) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", "x"));
  iFILETIME* first = file.GetFileTime(2);
  file.GetFileTime(1);
  EXPECT_DEATH(first->GetYear(), "heap-use-after-free");
}
#endif

TEST(TanFileMappingServiceTest, MapsViewsAtTheAlignedOffset) {
  TempFolder dir;
  std::string content(0x30000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i % 253);
  TanFileImpl file(dir.Write("a.bin", content));
  ASSERT_TRUE(file.Open(false));
  iFILE_MAPPING* mapping = file.GetMappingService();

  auto* p = static_cast<const char*>(mapping->MapForReading(70000, 10));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(file.GetLastErrorText(), "");
  EXPECT_EQ(std::memcmp(p, content.data() + 70000, 10), 0);
  EXPECT_EQ(std::memcmp(p - 4464, content.data() + 65536, 4474), 0)
      << "the view begins at 65536 and holds 4474 bytes";

  // A later, larger range is served by a new, larger mapping.
  auto* far = static_cast<const char*>(mapping->MapForReading(0x28000, 0x100));
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(std::memcmp(far, content.data() + 0x28000, 0x100), 0);
  EXPECT_EQ(p[0], content[70000]) << "earlier views stay valid";

  // Writing needs a writable mapping, made when first asked for.
  auto* w = static_cast<char*>(mapping->MapForWriting(100, 4));
  ASSERT_NE(w, nullptr);
  std::memcpy(w, "MAPS", 4);
  mapping->UnmapWritten(w, false);
  mapping->Unmap(const_cast<char*>(p), false).Unmap(const_cast<char*>(far), true);
  mapping->Unmap(nullptr, false);
  file.Close();
  EXPECT_EQ(ReadAll(file.GetPath()).substr(100, 4), "MAPS");
}

TEST(TanFileMappingServiceTest, ReadingBeyondTheFileFails) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.bin", std::string(100, 'x')));
  ASSERT_TRUE(file.Open(kRead, 0, false));
  EXPECT_EQ(file.GetMappingService()->MapForReading(0, 200), nullptr);
  EXPECT_NE(file.GetLastErrorText(), "");
  EXPECT_EQ(file.GetMappingService()->MapForWriting(0, 10), nullptr);
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::AccessDenied));
  EXPECT_NE(file.GetMappingService()->MapForReading(0, 100), nullptr);
}

TEST(TanFileImplTest, CopyMoveRenameDelete) {
  TempFolder dir;
  TanFileImpl file(dir.Write("a.dcm", "data"));
  const std::string other = dir.Write("b.dcm", "other");

  EXPECT_FALSE(file.CopyTo(other.c_str(), true));
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::FileExists));
  EXPECT_TRUE(file.CopyTo(other.c_str(), false));
  EXPECT_EQ(ReadAll(other), "data");

  EXPECT_FALSE(file.MoveTo(other.c_str(), false));
  EXPECT_EQ(file.GetLastErrorText(), Message(platform::err::AlreadyExists));
  EXPECT_TRUE(file.MoveTo((dir / "c.dcm").c_str(), false));
  EXPECT_EQ(file.GetPath(), dir / "a.dcm") << "the object keeps its own path";
  EXPECT_FALSE(file.Exists());

  TanFileImpl c(dir / "c.dcm");
  EXPECT_TRUE(c.Rename("d.dcm"));
  EXPECT_EQ(ReadAll(dir / "d.dcm"), "data");
  EXPECT_FALSE(c.Rename(nullptr));
  EXPECT_NE(c.GetLastErrorText(), "");

  TanFileImpl d(dir / "d.dcm");
  EXPECT_TRUE(d.Delete());
  EXPECT_FALSE(d.Exists());
  EXPECT_FALSE(d.Delete());
  EXPECT_EQ(d.GetLastErrorText(), Message(platform::err::FileNotFound));
}

TEST(TanFileImplTest, AssignTakesTheOtherPath) {
  TempFolder dir;
  TanFileImpl a(dir.Write("a.dcm", "a")), b(dir.Write("sub/b.txt", "b"));
  ASSERT_TRUE(a.Open(false));
  a.Assign(b);
  EXPECT_EQ(a.GetPath(), b.GetPath());
  EXPECT_EQ(a.GetName(), "b.txt");
  EXPECT_EQ(a.GetFolder(), dir.Path() + "/sub/");
  EXPECT_EQ(a.GetExtension(), ".txt");
  EXPECT_EQ(ThrownText([&] { a.GetIOService(); }), "invalid-handle-value") << "Assign closes";
  a.Assign(a);
  EXPECT_EQ(a.GetName(), "b.txt");
}

}  // namespace
}  // namespace ORN_std
