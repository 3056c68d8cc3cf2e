#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/files/FileAttributes.h"
#include "platform/files/FileHandle.h"
#include "platform/files/FileIo.h"
#include "platform/files/FileOperations.h"
#include "platform/files/FileTime.h"
#include "platform/files/FindFiles.h"
#include "platform/files/MappingOnFile.h"
#include "platform/files/tests/TempFolder.h"

namespace platform {
namespace {

using vistrel_test::ReadAll;
using vistrel_test::TempFolder;

constexpr uint32_t kReadWrite = access::GenericRead | access::GenericWrite;

// Runs a check in a child process and returns its exit code: what another process sees.
template <class Check>
int InChildProcess(Check check) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(check());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A handle closed when the test ends.
struct Handle {
  FileHandle value;
  explicit Handle(FileHandle h) : value(h) {}
  ~Handle() {
    if (value != kInvalidFileHandle) CloseFile(value);
  }
  operator FileHandle() const { return value; }
};

TEST(FileHandleTest, DispositionsAndTheirErrors) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "hello");
  {
    Handle h(CreateFile(path, kReadWrite, 0, Disposition::CreateNew, 0));
    EXPECT_EQ(h.value, kInvalidFileHandle);
    EXPECT_EQ(GetLastError(), err::FileExists);
  }
  {
    Handle h(CreateFile(dir / "missing", access::GenericRead, 0, Disposition::OpenExisting, 0));
    EXPECT_EQ(h.value, kInvalidFileHandle);
    EXPECT_EQ(GetLastError(), err::FileNotFound);
  }
  {
    Handle h(
        CreateFile(dir / "no/such/folder", access::GenericWrite, 0, Disposition::CreateAlways, 0));
    EXPECT_EQ(h.value, kInvalidFileHandle);
    EXPECT_EQ(GetLastError(), err::PathNotFound);
  }
  {
    Handle h(CreateFile(dir.Path(), 0, 0, Disposition::OpenExisting, 0));
    EXPECT_EQ(h.value, kInvalidFileHandle);
    EXPECT_EQ(GetLastError(), err::AccessDenied);
  }
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  for (const uint32_t access : {0u, access::GenericRead}) {
    Handle h(CreateFile(dir / "fifo", access, 0, Disposition::OpenExisting, 0));
    EXPECT_EQ(h.value, kInvalidFileHandle) << "a FIFO is refused, not waited for";
    EXPECT_EQ(GetLastError(), err::AccessDenied);
  }
  {
    Handle h(CreateFile(path, kReadWrite, 0, Disposition::CreateAlways, 0));
    ASSERT_NE(h.value, kInvalidFileHandle);
    EXPECT_EQ(GetLastError(), err::AlreadyExists);
    int64_t size = -1;
    ASSERT_TRUE(GetFileSize(h, &size));
    EXPECT_EQ(size, 0);
  }
  EXPECT_FALSE(CloseFile(kInvalidFileHandle));
  EXPECT_EQ(GetLastError(), err::InvalidHandle);
}

TEST(FileHandleTest, ShareModesRefuseConflictingOpens) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "content");
  Handle exclusive(CreateFile(path, kReadWrite, share::None, Disposition::OpenExisting, 0));
  ASSERT_NE(exclusive.value, kInvalidFileHandle);

  Handle second(CreateFile(path, access::GenericRead, share::Read | share::Write,
                           Disposition::OpenExisting, 0));
  EXPECT_EQ(second.value, kInvalidFileHandle);
  EXPECT_EQ(GetLastError(), err::SharingViolation);

  // A refused "create always" leaves the content alone.
  Handle truncating(CreateFile(path, kReadWrite, 0, Disposition::CreateAlways, 0));
  EXPECT_EQ(truncating.value, kInvalidFileHandle);
  EXPECT_EQ(ReadAll(path), "content");

  // Opens without data access (sizes, times) are not checked against share modes.
  Handle query(CreateFile(path, 0, share::None, Disposition::OpenExisting, 0));
  EXPECT_NE(query.value, kInvalidFileHandle);
}

TEST(FileHandleTest, SharedReadersMayOpenTogether) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "content");
  Handle a(CreateFile(path, access::GenericRead, share::Read, Disposition::OpenExisting, 0));
  Handle b(CreateFile(path, access::GenericRead, share::Read, Disposition::OpenExisting, 0));
  EXPECT_NE(a.value, kInvalidFileHandle);
  EXPECT_NE(b.value, kInvalidFileHandle);
  // A writer is refused: the readers did not share writing.
  Handle w(CreateFile(path, access::GenericWrite, share::Read, Disposition::OpenExisting, 0));
  EXPECT_EQ(w.value, kInvalidFileHandle);
  EXPECT_EQ(GetLastError(), err::SharingViolation);
}

TEST(FileIoTest, ReadsAndWritesMoveThePosition) {
  TempFolder dir;
  Handle h(CreateFile(dir / "a.bin", kReadWrite, 0, Disposition::CreateAlways, 0));
  ASSERT_NE(h.value, kInvalidFileHandle);
  uint32_t moved = 0;
  ASSERT_TRUE(WriteFile(h, "0123456789", 10, &moved, nullptr));
  EXPECT_EQ(moved, 10u);
  int64_t pos = -1;
  ASSERT_TRUE(SetFilePointer(h, 2, MoveMethod::Begin, &pos));
  char buf[16] = {};
  ASSERT_TRUE(ReadFile(h, buf, 4, &moved, nullptr));
  EXPECT_EQ(std::string(buf, moved), "2345");
  ASSERT_TRUE(SetFilePointer(h, 0, MoveMethod::Current, &pos));
  EXPECT_EQ(pos, 6);
  // At the end a plain read succeeds with 0 bytes.
  ASSERT_TRUE(SetFilePointer(h, 0, MoveMethod::End, &pos));
  ASSERT_TRUE(ReadFile(h, buf, 4, &moved, nullptr));
  EXPECT_EQ(moved, 0u);
}

TEST(FileIoTest, OverlappedTransfersUseTheRecordsOffset) {
  TempFolder dir;
  Handle h(
      CreateFile(dir / "a.bin", kReadWrite, 0, Disposition::CreateAlways, kFileFlagOverlapped));
  ASSERT_NE(h.value, kInvalidFileHandle);
  Overlapped record;
  record.offset = 4;
  uint32_t moved = 0;
  ASSERT_TRUE(WriteFile(h, "abcdef", 6, &moved, &record));
  EXPECT_EQ(moved, 6u);
  int64_t pos = -1;
  ASSERT_TRUE(SetFilePointer(h, 0, MoveMethod::Current, &pos));
  EXPECT_EQ(pos, 0) << "an overlapped transfer leaves the file position";
  ASSERT_TRUE(GetOverlappedResult(h, &record, &moved, true));
  EXPECT_EQ(moved, 6u);

  char buf[16] = {};
  Overlapped read;
  read.offset = 6;
  EXPECT_FALSE(ReadFile(h, buf, 10, &moved, &read));
  EXPECT_EQ(GetLastError(), err::HandleEof);
  EXPECT_EQ(std::string(buf, moved), "cdef");
  EXPECT_FALSE(GetOverlappedResult(h, &read, &moved, true));
  EXPECT_EQ(GetLastError(), err::HandleEof);

  read.offset = 10;
  EXPECT_FALSE(ReadFile(h, buf, 10, &moved, &read));
  EXPECT_EQ(GetLastError(), err::HandleEof);
  EXPECT_EQ(moved, 0u);
}

TEST(FileIoTest, SeekFromEveryOrigin) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", std::string(100, 'x'));
  Handle h(CreateFile(path, kReadWrite, 0, Disposition::OpenExisting, 0));
  const struct {
    int64_t distance;
    MoveMethod method;
    int64_t expected;
  } cases[] = {
      {30, MoveMethod::Begin, 30}, {-10, MoveMethod::Current, 20}, {-10, MoveMethod::End, 90},
      {10, MoveMethod::End, 110},  {5, MoveMethod::Current, 115},  {0, MoveMethod::Begin, 0},
  };
  for (const auto& c : cases) {
    int64_t pos = -1;
    ASSERT_TRUE(SetFilePointer(h, c.distance, c.method, &pos)) << c.distance;
    EXPECT_EQ(pos, c.expected) << c.distance;
  }
  int64_t pos = -1;
  EXPECT_FALSE(SetFilePointer(h, -101, MoveMethod::End, &pos));
  EXPECT_EQ(GetLastError(), err::NegativeSeek);
  EXPECT_FALSE(SetFilePointer(h, -1, MoveMethod::Begin, &pos));
  EXPECT_EQ(GetLastError(), err::NegativeSeek);
}

TEST(FileIoTest, TruncateAtThePosition) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "0123456789");
  Handle h(CreateFile(path, kReadWrite, 0, Disposition::OpenExisting, 0));
  ASSERT_TRUE(SetFilePointer(h, 4, MoveMethod::Begin, nullptr));
  ASSERT_TRUE(SetEndOfFile(h));
  ASSERT_TRUE(FlushFileBuffers(h));
  EXPECT_EQ(ReadAll(path), "0123");
}

TEST(FileIoTest, LocksConflictBetweenHandlesAndProcesses) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", std::string(100, 'x'));
  const uint32_t shareAll = share::Read | share::Write;
  Handle a(CreateFile(path, kReadWrite, shareAll, Disposition::OpenExisting, 0));
  Handle b(CreateFile(path, kReadWrite, shareAll, Disposition::OpenExisting, 0));
  Handle readOnly1(CreateFile(path, access::GenericRead, shareAll, Disposition::OpenExisting, 0));
  Handle readOnly2(CreateFile(path, access::GenericRead, shareAll, Disposition::OpenExisting, 0));

  ASSERT_TRUE(LockFile(a, 10, 20));
  EXPECT_FALSE(LockFile(b, 25, 10));
  EXPECT_EQ(GetLastError(), err::LockViolation);
  EXPECT_FALSE(LockFile(a, 29, 1)) << "a handle's own range is locked against it too";
  EXPECT_EQ(GetLastError(), err::LockViolation);
  EXPECT_TRUE(LockFile(b, 30, 10)) << "adjacent ranges do not overlap";
  EXPECT_EQ(InChildProcess([&] {
              const auto h = CreateFile(path, kReadWrite, shareAll, Disposition::OpenExisting, 0);
              const bool locked = LockFile(h, 0, 15);
              return locked ? 0 : static_cast<int>(GetLastError());
            }),
            static_cast<int>(err::LockViolation));

  EXPECT_FALSE(UnlockFile(a, 10, 5));
  EXPECT_EQ(GetLastError(), err::NotLocked);
  ASSERT_TRUE(UnlockFile(a, 10, 20));
  EXPECT_TRUE(LockFile(b, 10, 5));

  // Handles without write access still lock exclusively.
  ASSERT_TRUE(LockFile(readOnly1, 60, 10));
  EXPECT_FALSE(LockFile(readOnly2, 65, 1));
  EXPECT_EQ(GetLastError(), err::LockViolation);
  // Closing a handle releases its locks.
  CloseFile(readOnly1.value);
  readOnly1.value = kInvalidFileHandle;
  EXPECT_TRUE(LockFile(readOnly2, 65, 1));
}

TEST(FileAttributesTest, WordPersistsForOtherProcesses) {
  TempFolder dir;
  const std::string path = dir.Write("a.dcm", "x");
  EXPECT_EQ(GetFileAttributes(path), attr::Archive) << "a new file is marked for archiving";
  ASSERT_TRUE(
      SetFileAttributes(path, attr::Hidden | attr::System | attr::ReadOnly | attr::Offline));
  EXPECT_EQ(GetFileAttributes(path), attr::Hidden | attr::System | attr::ReadOnly | attr::Offline);
  const uint32_t expected = attr::Hidden | attr::System | attr::ReadOnly | attr::Offline;
  EXPECT_EQ(InChildProcess([&] { return GetFileAttributes(path) == expected ? 0 : 1; }), 0);

  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u) << "read-only is the absence of write permission";
  Handle writer(CreateFile(path, access::GenericWrite, 0, Disposition::OpenExisting, 0));
  EXPECT_EQ(writer.value, kInvalidFileHandle);
  EXPECT_EQ(GetLastError(), err::AccessDenied);

  ASSERT_TRUE(SetFileAttributes(path, 0));
  EXPECT_EQ(GetFileAttributes(path), attr::Normal);
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
}

TEST(FileAttributesTest, FoldersAndMissingPaths) {
  TempFolder dir;
  EXPECT_EQ(GetFileAttributes(dir.Path()), attr::Directory);
  ASSERT_TRUE(SetFileAttributes(dir.Path(), attr::ReadOnly | attr::Hidden));
  EXPECT_EQ(GetFileAttributes(dir.Path()), attr::Directory | attr::ReadOnly | attr::Hidden);
  EXPECT_NE(dir.Write("new.txt", "still writable"), "");
  EXPECT_EQ(ReadAll(dir / "new.txt"), "still writable");

  EXPECT_EQ(GetFileAttributes(dir / "missing"), kInvalidFileAttributes);
  EXPECT_EQ(GetLastError(), err::FileNotFound);
  EXPECT_FALSE(SetFileAttributes(dir / "missing", attr::Hidden));
}

// Local time by the zone rules in force at that moment: winter and summer in Berlin, and a
// fixed zone west of UTC. The zone is set for this test and put back afterwards.
TEST(FileTimeTest, LocalTimeFollowsTheZoneAtThatMoment) {
  const char* before = std::getenv("TZ");
  const std::string saved = before != nullptr ? before : "";
  constexpr uint64_t kHour = 36'000'000'000ull;
  const uint64_t january = 133'485'408'000'000'000ull;  // 2024-01-01 00:00 UTC
  const uint64_t july = january + 182ull * 24 * kHour;   // 2024-07-01 00:00 UTC
  const struct {
    const char* zone;
    uint64_t utc;
    int64_t offsetHours;
  } cases[] = {
      {"Europe/Berlin", january, 1}, {"Europe/Berlin", july, 2}, {"UTC", july, 0}, {"EST5", january, -5}};
  for (const auto& c : cases) {
    ::setenv("TZ", c.zone, 1);
    ::tzset();
    FileTime local;
    ASSERT_TRUE(FileTimeToLocalFileTime(FileTime{c.utc}, &local)) << c.zone;
    EXPECT_EQ(static_cast<int64_t>(local.ticks - c.utc), c.offsetHours * static_cast<int64_t>(kHour)) << c.zone;
  }
  if (before != nullptr)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  FileTime ignored;
  EXPECT_FALSE(FileTimeToLocalFileTime(FileTime{uint64_t{1} << 63}, &ignored));
  EXPECT_EQ(GetLastError(), err::InvalidParameter);
}

TEST(FileTimeTest, CalendarConversions) {
  const struct {
    uint64_t ticks;
    SystemTime time;
  } cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
      {116444736000000000ull, {1970, 1, 4, 1, 0, 0, 0, 0}},
      {125911584000000000ull + 10'000ull * (13 * 3600'000ull + 14 * 60'000 + 15'000 + 16),
       {2000, 1, 6, 1, 13, 14, 15, 16}},
      {125962560000000000ull, {2000, 2, 2, 29, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SystemTime out;
    ASSERT_TRUE(FileTimeToSystemTime(FileTime{c.ticks}, &out)) << c.ticks;
    EXPECT_EQ(out.year, c.time.year);
    EXPECT_EQ(out.month, c.time.month);
    EXPECT_EQ(out.day, c.time.day);
    EXPECT_EQ(out.dayOfWeek, c.time.dayOfWeek) << c.ticks;
    EXPECT_EQ(out.hour, c.time.hour);
    EXPECT_EQ(out.minute, c.time.minute);
    EXPECT_EQ(out.second, c.time.second);
    EXPECT_EQ(out.milliseconds, c.time.milliseconds);
    FileTime back;
    ASSERT_TRUE(SystemTimeToFileTime(c.time, &back));
    EXPECT_EQ(back.ticks, c.ticks);
  }
  FileTime ignored;
  for (const SystemTime bad :
       {SystemTime{2001, 2, 0, 29, 0, 0, 0, 0}, SystemTime{1600, 12, 0, 31, 0, 0, 0, 0},
        SystemTime{2000, 13, 0, 1, 0, 0, 0, 0}, SystemTime{2000, 1, 0, 1, 24, 0, 0, 0},
        SystemTime{2000, 1, 0, 1, 0, 0, 0, 1000}}) {
    EXPECT_FALSE(SystemTimeToFileTime(bad, &ignored)) << bad.year << "-" << bad.month;
    EXPECT_EQ(GetLastError(), err::InvalidParameter);
  }
  EXPECT_EQ(CompareFileTime(FileTime{1}, FileTime{2}), -1);
  EXPECT_EQ(CompareFileTime(FileTime{2}, FileTime{2}), 0);
  EXPECT_EQ(CompareFileTime(FileTime{3}, FileTime{2}), 1);
}

TEST(FileTimeTest, SetAndReadBackTheThreeTimes) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "x");
  SystemTime t{2011, 3, 0, 14, 9, 26, 53, 589};
  FileTime creation, access, write;
  ASSERT_TRUE(SystemTimeToFileTime(t, &creation));
  access.ticks = creation.ticks + 10'000'000;
  write.ticks = creation.ticks + 20'000'000;
  {
    Handle h(CreateFile(path, access::GenericWrite, 0, Disposition::OpenExisting, 0));
    ASSERT_TRUE(SetFileTime(h, &creation, &access, &write));
  }
  Handle reader(CreateFile(path, 0, 0, Disposition::OpenExisting, 0));
  FileTime c, a, w;
  ASSERT_TRUE(GetFileTime(reader, &c, &a, &w));
  EXPECT_EQ(c.ticks, creation.ticks);
  EXPECT_EQ(a.ticks, access.ticks);
  EXPECT_EQ(w.ticks, write.ticks);
  EXPECT_FALSE(SetFileTime(reader, nullptr, nullptr, &write)) << "needs write access";
  EXPECT_EQ(GetLastError(), err::AccessDenied);

  FindData found;
  const auto search = FindFirstFile(path, &found);
  ASSERT_NE(search, kInvalidFindHandle);
  FindClose(search);
  EXPECT_EQ(found.creationTime.ticks, creation.ticks);
  EXPECT_EQ(found.lastWriteTime.ticks, write.ticks);
}

TEST(FileOperationsTest, CopyKeepsContentAttributesAndRefusesExisting) {
  TempFolder dir;
  const std::string from = dir.Write("a.bin", "data");
  const std::string to = dir.Write("b.bin", "old");
  ASSERT_TRUE(SetFileAttributes(from, attr::Hidden | attr::Archive));
  EXPECT_FALSE(CopyFile(from, to, true));
  EXPECT_EQ(GetLastError(), err::FileExists);
  EXPECT_EQ(ReadAll(to), "old");
  ASSERT_TRUE(CopyFile(from, to, false));
  EXPECT_EQ(ReadAll(to), "data");
  EXPECT_EQ(GetFileAttributes(to), attr::Hidden | attr::Archive);
  EXPECT_FALSE(CopyFile(dir / "missing", dir / "c.bin", false));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
  // No temporary copy is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(FileOperationsTest, MoveWithAndWithoutReplacing) {
  TempFolder dir;
  const std::string a = dir.Write("a.bin", "A");
  const std::string b = dir.Write("b.bin", "B");
  EXPECT_FALSE(MoveFile(a, b, 0));
  EXPECT_EQ(GetLastError(), err::AlreadyExists);
  EXPECT_EQ(ReadAll(b), "B");
  ASSERT_TRUE(MoveFile(a, b, move_flags::ReplaceExisting));
  EXPECT_EQ(ReadAll(b), "A");
  EXPECT_FALSE(std::filesystem::exists(a));
  ASSERT_TRUE(MoveFile(b, dir / "c.bin", 0));
  EXPECT_EQ(ReadAll(dir / "c.bin"), "A");
}

TEST(FileOperationsTest, MoveAcrossFileSystemsNeedsCopying) {
  TempFolder dir;
  const std::string a = dir.Write("a.bin", "A");
  FileId here, shm;
  if (!GetFileId("/dev/shm", &shm) || !GetFileId(dir.Path(), &here) || here.device == shm.device)
    GTEST_SKIP() << "no second file system at /dev/shm";
  const std::string target = "/dev/shm/vistrel-move-" + std::to_string(::getpid());
  EXPECT_FALSE(MoveFile(a, target, 0));
  EXPECT_EQ(GetLastError(), err::NotSameDevice);
  ASSERT_TRUE(MoveFile(a, target, move_flags::CopyAllowed));
  EXPECT_EQ(ReadAll(target), "A");
  EXPECT_FALSE(std::filesystem::exists(a));
  ::unlink(target.c_str());
}

TEST(FileOperationsTest, DeleteRefusesFoldersReadOnlyAndOpenFiles) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "x");
  EXPECT_FALSE(DeleteFile(dir.Path()));
  EXPECT_EQ(GetLastError(), err::AccessDenied);
  ASSERT_TRUE(SetFileAttributes(path, attr::ReadOnly));
  EXPECT_FALSE(DeleteFile(path));
  EXPECT_EQ(GetLastError(), err::AccessDenied);
  ASSERT_TRUE(SetFileAttributes(path, 0));
  {
    Handle open(CreateFile(path, access::GenericRead, share::Read, Disposition::OpenExisting, 0));
    EXPECT_FALSE(DeleteFile(path));
    EXPECT_EQ(GetLastError(), err::SharingViolation);
  }
  {
    Handle open(CreateFile(path, access::GenericRead, share::Read | share::Delete,
                           Disposition::OpenExisting, 0));
    EXPECT_TRUE(DeleteFile(path));
  }
  EXPECT_FALSE(DeleteFile(path));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
}

TEST(FileOperationsTest, CreateDirectoryMakesOneLevel) {
  TempFolder dir;
  EXPECT_TRUE(CreateDirectory(dir / "one"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "one"));
  EXPECT_FALSE(CreateDirectory(dir / "one"));
  EXPECT_EQ(GetLastError(), err::FileExists);
  EXPECT_FALSE(CreateDirectory(dir / "missing/two"));
  EXPECT_EQ(GetLastError(), err::PathNotFound);
  EXPECT_FALSE(CreateDirectory(""));
}

TEST(FileOperationsTest, FullPathResolvesDotsByText) {
  char* cwdText = ::getcwd(nullptr, 0);
  const std::string cwd = cwdText;
  std::free(cwdText);
  const std::string parent = cwd.substr(0, cwd.rfind('/'));
  const struct {
    std::string in, out;
  } cases[] = {
      {"./sub/", cwd + "/sub/"},
      {"./a/../b", cwd + "/b"},
      {"../x/", (parent.empty() ? "" : parent) + "/x/"},
      {"/abs/./p/../q", "/abs/q"},
      {"/", "/"},
      {".", cwd},
  };
  for (const auto& c : cases) {
    std::string out;
    ASSERT_TRUE(FullPath(c.in, &out)) << c.in;
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(FindFilesTest, MasksMatchLikeWindows) {
  const struct {
    const char* mask;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.*", "noext", true},       {"*.*", "a.b.c", true},       {"*", ".hidden", true},
      {"*.dcm", "A.DCM", true},     {"*.dcm", "a.dcmx", false},   {"?.txt", "a.txt", true},
      {"?.txt", "ab.txt", false},   {"a*b*c", "aXbYc", true},     {"a*b*c", "aXbY", false},
      {"IM_????", "IM_0001", true}, {"IM_????", "IM_001", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MaskMatches(c.mask, c.name), c.matches) << c.mask << " " << c.name;
}

TEST(FindFilesTest, ListsSortedEntriesWithAttributesAndSizes) {
  TempFolder dir;
  dir.Write("b.dcm", "bb");
  dir.Write("a.dcm", "a");
  dir.Write("c.txt", "ccc");
  dir.MakeFolder("sub");
  ASSERT_TRUE(SetFileAttributes(dir / "a.dcm", attr::Hidden));

  std::vector<FindData> entries;
  FindData data;
  const auto search = FindFirstFile(dir / "*.*", &data);
  ASSERT_NE(search, kInvalidFindHandle);
  do entries.push_back(data);
  while (FindNextFile(search, &data));
  EXPECT_EQ(GetLastError(), err::NoMoreFiles);
  EXPECT_TRUE(FindClose(search));

  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.dcm", "b.dcm", "c.txt", "sub"}));
  EXPECT_EQ(entries[2].attributes, attr::Hidden);
  EXPECT_EQ(entries[3].size, 2u);
  EXPECT_EQ(entries[5].attributes & attr::Directory, attr::Directory);

  EXPECT_EQ(FindFirstFile(dir / "*.none", &data), kInvalidFindHandle);
  EXPECT_EQ(GetLastError(), err::FileNotFound);
  EXPECT_EQ(FindFirstFile(dir / "missing/*.*", &data), kInvalidFindHandle);
  EXPECT_EQ(GetLastError(), err::PathNotFound);
}

TEST(FindFilesTest, SizesAreSixtyFourBit) {
  TempFolder dir;
  const std::string path = dir / "big.bin";
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  const int64_t threeGiB = int64_t{3} << 30;
  ASSERT_EQ(::ftruncate(fd, threeGiB), 0);  // sparse: no disk use
  ::close(fd);
  FindData data;
  const auto search = FindFirstFile(path, &data);
  ASSERT_NE(search, kInvalidFindHandle);
  FindClose(search);
  EXPECT_EQ(data.size, static_cast<uint64_t>(threeGiB));
  Handle h(CreateFile(path, 0, 0, Disposition::OpenExisting, 0));
  int64_t size = 0;
  ASSERT_TRUE(GetFileSize(h, &size));
  EXPECT_EQ(size, threeGiB);
}

TEST(MappingOnFileTest, ViewsReadAndWriteTheFile) {
  TempFolder dir;
  std::string content(0x20000, '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i % 251);
  const std::string path = dir.Write("a.bin", content);
  Handle h(CreateFile(path, kReadWrite, 0, Disposition::OpenExisting, 0));

  const auto readOnly = CreateMappingOnFile(h, page::ReadOnly, 0);
  ASSERT_NE(readOnly, kNoMappingOnFile);
  EXPECT_EQ(MapViewOnFile(readOnly, view_access::ReadWrite, 0, 16), nullptr);
  EXPECT_EQ(GetLastError(), err::AccessDenied);
  EXPECT_EQ(MapViewOnFile(readOnly, view_access::Read, 100, 16), nullptr);
  EXPECT_EQ(GetLastError(), err::MappedAlignment);
  auto* view = static_cast<const char*>(MapViewOnFile(readOnly, view_access::Read, 0x10000, 16));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::memcmp(view, content.data() + 0x10000, 16), 0);
  EXPECT_TRUE(CloseMappingOnFile(readOnly));
  EXPECT_EQ(view[3], content[0x10003]) << "a view outlives its mapping";
  EXPECT_TRUE(UnmapViewOnFile(const_cast<char*>(view) + 5)) << "any address inside the view";
  EXPECT_FALSE(UnmapViewOnFile(const_cast<char*>(view)));
  EXPECT_EQ(GetLastError(), err::InvalidAddress);

  EXPECT_EQ(CreateMappingOnFile(h, page::ReadOnly, 0x30000), kNoMappingOnFile);
  const auto writable = CreateMappingOnFile(h, page::ReadWrite, 0x30000);
  ASSERT_NE(writable, kNoMappingOnFile);
  int64_t size = 0;
  ASSERT_TRUE(GetFileSize(h, &size));
  EXPECT_EQ(size, 0x30000) << "a larger writable mapping grows the file";
  auto* out = static_cast<char*>(MapViewOnFile(writable, view_access::ReadWrite, 0x20000, 4));
  ASSERT_NE(out, nullptr);
  std::memcpy(out, "MAPS", 4);
  EXPECT_TRUE(FlushViewOnFile(out, 0));
  EXPECT_TRUE(UnmapViewOnFile(out));
  EXPECT_TRUE(CloseMappingOnFile(writable));
  EXPECT_EQ(ReadAll(path).substr(0x20000, 4), "MAPS");
}

TEST(MappingOnFileTest, RefusesWhatTheHandleCannotDo) {
  TempFolder dir;
  const std::string path = dir.Write("a.bin", "abc");
  Handle reader(CreateFile(path, access::GenericRead, share::Read, Disposition::OpenExisting, 0));
  EXPECT_EQ(CreateMappingOnFile(reader, page::ReadWrite, 0), kNoMappingOnFile);
  EXPECT_EQ(GetLastError(), err::AccessDenied);
  const std::string empty = dir.Write("empty.bin", "");
  Handle e(CreateFile(empty, access::GenericRead, share::Read, Disposition::OpenExisting, 0));
  EXPECT_EQ(CreateMappingOnFile(e, page::ReadOnly, 0), kNoMappingOnFile);
  EXPECT_EQ(GetLastError(), err::FileInvalid);
}

}  // namespace
}  // namespace platform
