#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/files/TanFilesObject.h"
#include "base/files/TiaFileManager.h"
#include "base/memory/TanMSMemoryHeapAllocator.h"
#include "platform/memory/MemoryFaults.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/files/tests/TempFolder.h"

namespace ORN_std {
namespace {

using vistrel_test::TempFolder;
using Listing = TanFilesObject<>;

std::vector<std::string> Names(const iFILES& files, const std::string& root) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < files.GetCount(); ++i) {
    const std::string& path = files.At(i).GetPath();
    names.push_back(path.substr(0, root.size()) == root ? path.substr(root.size() + 1) : path);
  }
  return names;
}

std::vector<std::string> Items(const TStringList& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Strings[i]);
  return items;
}

void MakeSparse(const std::string& path, int64_t size) {
  { std::ofstream create(path); }
  std::filesystem::resize_file(path, static_cast<uintmax_t>(size));  // no disk blocks are used
}

class ListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("a.dcm", "a");
    dir.Write("b.dcm", "bb");
    dir.Write("c.txt", "ccc");
    dir.Write("sub/d.dcm", "dddd");
    dir.Write("sub/deeper/e.dcm", "eeeee");
    dir.Write("sub2/f.dcm", "ffffff");
  }
  TempFolder dir;
};

TEST_F(ListingTest, FilesInOrderOrReversedWithTheFrontFlag) {
  Listing plain(dir.Path(), "*.*", false, false);
  EXPECT_EQ(Names(plain, dir.Path()), (std::vector<std::string>{"a.dcm", "b.dcm", "c.txt"}));
  Listing front(dir.Path(), "*.*", false, true);
  EXPECT_EQ(Names(front, dir.Path()), (std::vector<std::string>{"c.txt", "b.dcm", "a.dcm"}));
  Listing masked(dir.Path(), "*.dcm", false, false);
  EXPECT_EQ(Names(masked, dir.Path()), (std::vector<std::string>{"a.dcm", "b.dcm"}));
}

TEST_F(ListingTest, RecursionListsFilesBeforeSubfolders) {
  Listing all(dir.Path(), "*.dcm", true, false);
  EXPECT_EQ(Names(all, dir.Path()), (std::vector<std::string>{"a.dcm", "b.dcm", "sub/d.dcm",
                                                              "sub/deeper/e.dcm", "sub2/f.dcm"}));
  Listing reversed(dir.Path(), "*.dcm", true, true);
  EXPECT_EQ(Names(reversed, dir.Path()), (std::vector<std::string>{"sub2/f.dcm", "sub/deeper/e.dcm",
                                                                   "sub/d.dcm", "b.dcm", "a.dcm"}));
}

TEST_F(ListingTest, FileObjectsLiveOnTheirPrivateHeap) {
  using Heap = nalloc::TanMSMemoryHeapAllocator<sizeof(TanFileImpl)>;
  ASSERT_EQ(Heap::UseCount(), 0);
  {
    Listing plain(dir.Path(), "*.*", false, false);
    EXPECT_NE(Heap::Heap(), nullptr);
    EXPECT_EQ(Heap::UseCount(), plain.GetCount());
  }
  EXPECT_EQ(Heap::Heap(), nullptr);
  EXPECT_EQ(Heap::UseCount(), 0);

  // A full heap makes no file object: the listing leaves those files out and goes on.
  platform::testing::ScopedMemoryFaults faults;
  platform::testing::SetHeapAllocFails(true);
  Listing starved(dir.Path(), "*.*", false, false);
  EXPECT_TRUE(starved.IsEmpty());
}

TEST_F(ListingTest, HiddenFilesAreIncludedAndMissingFoldersGiveNothing) {
  TanFileImpl(dir / "a.dcm").GetAttributes()->SetHidden(true).SetSystem(true);
  EXPECT_EQ(Listing(dir.Path(), "a.dcm", false, false).GetCount(), 1);
  Listing missing(dir / "missing", "*.*", true, false);
  EXPECT_TRUE(missing.IsEmpty());
  EXPECT_EQ(missing.GetLastErrorText(), "");
}

TEST_F(ListingTest, SymbolicLinkLoopsAreNotFollowed) {
  std::filesystem::create_directory_symlink(dir.Path(), dir / "sub/loop");
  std::filesystem::create_directory_symlink(dir / "sub2", dir / "sub/to-sub2");
  Listing all(dir.Path(), "*.dcm", true, false);
  EXPECT_EQ(Names(all, dir.Path()),
            (std::vector<std::string>{"a.dcm", "b.dcm", "sub/d.dcm", "sub/deeper/e.dcm",
                                      "sub/to-sub2/f.dcm", "sub2/f.dcm"}));

  TStringList list;
  TiaFileManager manager;
  EXPECT_EQ(manager.GetFileList(list, dir.Path()), 1 + 2 + 3 + 4 + 5 + 6 + 6);
  EXPECT_EQ(list.Count(), 7);
}

TEST_F(ListingTest, FindComparesWholePathsWithCase) {
  Listing files(dir.Path(), "*.*", false, false);
  EXPECT_EQ(files.Find(dir / "b.dcm"), 1);
  EXPECT_EQ(files.Find(dir / "B.DCM"), -1);
  EXPECT_EQ(files.Find("b.dcm"), -1);
}

TEST_F(ListingTest, RescanReplacesTheContent) {
  Listing files(dir.Path());
  EXPECT_TRUE(files.IsEmpty());
  files.Rescan("*.txt", false, false);
  EXPECT_EQ(Names(files, dir.Path()), (std::vector<std::string>{"c.txt"}));
  files.Rescan("*.dcm", true, false);
  EXPECT_EQ(files.GetCount(), 5);
}

TEST_F(ListingTest, EraseReverseAndRelease) {
  Listing files(dir.Path(), "*.*", false, false);
  files.Reverse();
  EXPECT_EQ(Names(files, dir.Path()), (std::vector<std::string>{"c.txt", "b.dcm", "a.dcm"}));
  files.Erase(1, false);
  EXPECT_EQ(Names(files, dir.Path()), (std::vector<std::string>{"c.txt", "a.dcm"}));

  // Released files belong to the caller afterwards.
  std::unique_ptr<iFILE> taken(&files.Front());
  files.PopFront(true);
  EXPECT_EQ(taken->GetName(), "c.txt");
  std::unique_ptr<iFILE> last(&files.At(0));
  files.Erase(0, true);
  EXPECT_EQ(last->GetName(), "a.dcm");
  EXPECT_TRUE(files.IsEmpty());
}

TEST_F(ListingTest, EmptyListingAndBadIndicesThrowDeque) {
  Listing empty(dir / "missing");
  Listing one(dir.Path(), "a.dcm", false, false);
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"Front", [&] { empty.Front(); }},
      {"Back", [&] { empty.Back(); }},
      {"At", [&] { empty.At(0); }},
      {"const Front", [&] { static_cast<const Listing&>(empty).Front(); }},
      {"PopFront", [&] { empty.PopFront(false); }},
      {"PopBack", [&] { empty.PopBack(true); }},
      {"Erase", [&] { empty.Erase(0, false); }},
      {"At 1", [&] { one.At(1); }},
      {"At -1", [&] { one.At(-1); }},
      {"Erase 1", [&] { one.Erase(1, false); }},
      {"Erase 1 released", [&] { one.Erase(1, true); }},
  };
  for (const auto& [name, call] : calls) {
    try {
      call();
      ADD_FAILURE() << name << " did not throw";
    } catch (const std::out_of_range& e) {
      EXPECT_STREQ(e.what(), "deque") << name;
    }
  }
  EXPECT_EQ(one.GetCount(), 1);
}

TEST_F(ListingTest, AppendMovesEveryFile) {
  const struct {
    bool back;
    bool flag;
    std::vector<std::string> expected;
  } cases[] = {
      {true, false, {"c.txt", "a.dcm", "b.dcm"}},
      {true, true, {"c.txt", "b.dcm", "a.dcm"}},
      {false, false, {"a.dcm", "b.dcm", "c.txt"}},
      {false, true, {"b.dcm", "a.dcm", "c.txt"}},
  };
  for (const auto& c : cases) {
    Listing mine(dir.Path(), "*.txt", false, false);
    Listing other(dir.Path(), "*.dcm", false, false);
    const iFILE* first = &other.Front();
    if (c.back)
      mine.AppendBack(other, c.flag);
    else
      mine.AppendFront(other, c.flag);
    EXPECT_TRUE(other.IsEmpty());
    EXPECT_EQ(Names(mine, dir.Path()), c.expected) << c.back << c.flag;
    EXPECT_NE(mine.Find(first->GetPath()), -1);
    EXPECT_EQ(&mine.At(mine.Find(first->GetPath())), first) << "moved, not copied";
  }
  Listing self(dir.Path(), "*.*", false, false);
  self.AppendBack(self, false).AppendFront(self, true);
  EXPECT_EQ(self.GetCount(), 3);
}

TEST_F(ListingTest, TotalSizeOrTheFirstUnreadableFile) {
  Listing empty(dir / "missing");
  EXPECT_EQ(empty.GetTotalSize(), 0);
  EXPECT_EQ(empty.GetLastErrorText(), "");

  Listing files(dir.Path(), "*.*", true, false);
  EXPECT_EQ(files.GetTotalSize(), 1 + 2 + 3 + 4 + 5 + 6);
  EXPECT_EQ(files.GetLastErrorText(), "");

  std::filesystem::remove(dir / "sub/d.dcm");
  EXPECT_EQ(files.GetTotalSize(), -1);
  EXPECT_EQ(files.GetLastErrorText(), platform::SystemMessage(platform::err::FileNotFound));
}

TEST(TiaFileManagerTest, RelativePathsWithOrWithoutTheSeparator) {
  TempFolder dir;
  dir.Write("a.dcm", "12");
  dir.Write("sub/b.dcm", "345");
  dir.Write("sub/inner/c.dcm", "6");
  dir.Write("z.dcm", "78");
  for (const std::string& folder : {dir.Path(), dir.Path() + "/"}) {
    TStringList list;
    TiaFileManager manager;
    EXPECT_EQ(manager.GetFileList(list, folder), 8);
    EXPECT_EQ(Items(list),
              (std::vector<std::string>{"a.dcm", "sub/b.dcm", "sub/inner/c.dcm", "z.dcm"}))
        << folder;
  }
}

TEST(TiaFileManagerTest, EmptyFolderTextListsTheCurrentFolder) {
  TempFolder dir;
  dir.Write("a.dcm", "1");
  dir.Write("sub/b.dcm", "22");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  TStringList list;
  const int64_t total = TiaFileManager().GetFileList(list, "");
  std::filesystem::current_path(previous);
  EXPECT_EQ(total, 3);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a.dcm", "sub/b.dcm"}));
}

// The listing of a file set's build: links are taken only when they resolve inside the folder,
// a FIFO is passed over (reading it would block), and a dangling link is named as unreadable.
TEST(TiaFileManagerTest, ContainedListingStaysInsideTheFolder) {
  TempFolder outside, dir;
  outside.Write("secret.dcm", "outside");
  outside.Write("deep/other.dcm", "outside");
  dir.Write("a.dcm", "12");
  dir.Write("sub/b.dcm", "345");
  std::filesystem::create_symlink(outside / "secret.dcm", dir / "link_out.dcm");
  std::filesystem::create_symlink(outside / "deep", dir / "folder_out");
  std::filesystem::create_symlink("../sub", dir / "sub/loop");
  std::filesystem::create_symlink("sub/b.dcm", dir / "link_in.dcm");
  std::filesystem::create_symlink("missing.dcm", dir / "dangling.dcm");
  ASSERT_EQ(std::system(("mkfifo '" + (dir / "pipe.dcm") + "'").c_str()), 0);
  TStringList list, unreadable;
  EXPECT_EQ(TiaFileManager().GetContainedFileList(list, dir.Path(), unreadable), 2 + 3 + 3);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a.dcm", "link_in.dcm", "sub/b.dcm"}));
  EXPECT_EQ(Items(unreadable), (std::vector<std::string>{"dangling.dcm"}));
  // The plain listing still lists what it always did.
  TStringList all;
  TiaFileManager().GetFileList(all, dir.Path());
  EXPECT_EQ(all.Count(), 7);
}

TEST(LargeFilesTest, SizesAreSixtyFourBit) {
  TempFolder dir;
  const int64_t threeGiB = int64_t{3} << 30;
  MakeSparse(dir / "big.bin", threeGiB);
  dir.Write("small.bin", "abc");

  TStringList list;
  EXPECT_EQ(TiaFileManager().GetFileList(list, dir.Path()), threeGiB + 3);
  Listing files(dir.Path(), "*.*", false, false);
  EXPECT_EQ(files.GetTotalSize(), threeGiB + 3);
  EXPECT_EQ(files.Front().GetSize(3), 3);
}

}  // namespace
}  // namespace ORN_std
