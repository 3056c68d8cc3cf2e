#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/stacks/TanTempraryStack.h"
#include "fileset/testing/TestImages.h"

using namespace ORN_dicom;
using ORN_dicom::testing::TestImage;
namespace fs = std::filesystem;

namespace {

class FakeImages : public iSTACK_IMAGES {
 public:
  int32_t Count() const override { return static_cast<int32_t>(images.size()); }
  TanStackImage At(int32_t i) const override {
    if (i < 0 || i >= Count()) throw std::out_of_range("vector");
    return images[static_cast<size_t>(i)];
  }
  std::unique_ptr<iSTACK_IMAGES> Clone() const override { return std::make_unique<FakeImages>(*this); }
  std::vector<TanStackImage> images;
};

iDDE* Sequence(iDDEFactory& f, uint16_t g, uint16_t e, std::vector<iDDE*> itemElements) {
  iDDE* sq = f.MakeSequence(g, e, 0);
  iDDE* item = f.MakeItem(0);
  for (iDDE* x : itemElements) item->GetItem()->Insert(x);
  sq->GetSequence()->Append(item);
  return sq;
}

struct Frame {
  const char* stackID;
  int inStack;
  double z;
  const char* spacing;
};

// An enhanced image whose per-frame items are given in file order.
void AddFunctionalGroups(TestImage& image, std::vector<Frame> frames, const char* concatenation = nullptr) {
  image.position.reset();
  image.numberOfFrames = std::to_string(frames.size());
  image.extra = [frames, concatenation](TanDDESet<iDDE>& data, iDDEFactory& f) {
    data.Insert(f.MakeDDE(0x0008, 0x0023, 1, "20240101"));
    data.Insert(f.MakeDDE(0x0008, 0x0033, 1, "101010"));
    if (concatenation) data.Insert(f.MakeDDE(0x0020, 0x9161, 1, concatenation));
    data.Insert(Sequence(
        f, 0x5200, 0x9229,
        {Sequence(f, 0x0020, 0x9116, {f.MakeDDE(0x0020, 0x0037, 1, "1\\0\\0\\0\\1\\0")}),
         Sequence(f, 0x0020, 0x9071, {f.MakeDDE(0x0020, 0x9072, 1, "U")}),
         Sequence(f, 0x0018, 0x9329, {f.MakeDDE(0x0008, 0x9007, 1, "ORIGINAL\\PRIMARY\\AXIAL\\NONE")}),
         Sequence(f, 0x0028, 0x9145,
                  {f.MakeDDE(0x0028, 0x1052, 1, "0"), f.MakeDDE(0x0028, 0x1053, 1, "1"),
                   f.MakeDDE(0x0028, 0x1054, 1, "US")})}));
    iDDE* perFrame = f.MakeSequence(0x5200, 0x9230, 0);
    for (const Frame& fr : frames) {
      iDDE* item = f.MakeItem(0);
      iDDE* content = Sequence(f, 0x0020, 0x9111,
                               {f.MakeDDE(0x0020, 0x9056, 1, fr.stackID), f.MakeDDE(0x0020, 0x9057, 1, fr.inStack)});
      item->GetItem()->Insert(content);
      const std::string position = "0\\0\\" + std::to_string(fr.z);
      item->GetItem()->Insert(Sequence(f, 0x0020, 0x9113, {f.MakeDDE(0x0020, 0x0032, 1, position.c_str())}));
      const std::string spacing = std::string(fr.spacing) + "\\" + fr.spacing;
      item->GetItem()->Insert(Sequence(f, 0x0028, 0x9110, {f.MakeDDE(0x0028, 0x0030, 1, spacing.c_str())}));
      perFrame->GetSequence()->Append(item);
    }
    data.Insert(perFrame);
  };
}

class TempraryStack : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("fileset_stacks_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                                             std::to_string(std::random_device{}()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    // Referenced File IDs are relative to the file-set folder, the current folder while stacks
    // are built.
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    if (!getenv("KEEP")) fs::remove_all(folder_);
  }

  // Writes the image and adds its record to the fake set; returns its index.
  int32_t Add(TestImage image, int32_t frames = 1) {
    const std::string name = "img" + std::to_string(images_.images.size()) + ".dcm";
    const std::string path = (folder_ / name).string();
    EXPECT_TRUE(ORN_dicom::testing::WriteTestImage(path, image));
    TanStackImage record;
    record.sopClassUID = image.sopClass;
    record.fileID = name;
    record.imageType = image.imageType;
    record.numberOfFrames = frames;
    record.instanceNumber = image.instanceNumber.value_or(0);
    images_.images.push_back(record);
    return static_cast<int32_t>(images_.images.size() - 1);
  }
  bool Offer(TanTempraryStack& stack, int32_t i) {
    TanDicomFileObject file;
    EXPECT_EQ(file.LoadHeaderFromFile(images_.images[static_cast<size_t>(i)].fileID, false), "");
    return stack.AcceptsImage(images_.images[static_cast<size_t>(i)], &file);
  }
  static TestImage At(double z, int32_t number) {
    TestImage image;
    image.position = std::vector<double>{0, 0, z};
    image.instanceNumber = number;
    return image;
  }

  fs::path folder_, previous_;
  FakeImages images_;
  TanStackRules rules_;
};

}  // namespace

TEST_F(TempraryStack, StepContinuityAlongOneAxis) {
  const int32_t first = Add(At(0, 1));
  TanTempraryStack stack(images_, first, rules_);
  EXPECT_EQ(stack.Modality, "CT");
  EXPECT_TRUE(Offer(stack, Add(At(5, 2))));
  EXPECT_TRUE(Offer(stack, Add(At(10, 3))));
  EXPECT_FALSE(Offer(stack, Add(At(15.4, 4))));  // step 5.4 against 5
  EXPECT_TRUE(Offer(stack, Add(At(15.2, 4))));   // step 5.2 against 5
  EXPECT_FALSE(Offer(stack, Add(At(15.2, 5))));  // same position as the last member
  EXPECT_EQ(stack.LastInstanceNumber, 4);
  EXPECT_EQ(stack.NumberStep, 1);
}

TEST_F(TempraryStack, MembershipByInstanceNumbers) {
  // With image planes, numbers may skip (rule c); without them the step must hold (rule a).
  TanTempraryStack planes(images_, Add(At(0, 1)), rules_);
  EXPECT_TRUE(Offer(planes, Add(At(5, 2))));
  EXPECT_TRUE(Offer(planes, Add(At(10, 3))));
  EXPECT_TRUE(Offer(planes, Add(At(15, 5))));
  EXPECT_FALSE(Offer(planes, Add(At(20, 4))));

  TestImage flat = At(0, 1);
  flat.position.reset();
  TanTempraryStack noPlanes(images_, Add(flat), rules_);
  flat.instanceNumber = 2;
  EXPECT_TRUE(Offer(noPlanes, Add(flat)));
  flat.instanceNumber = 4;
  EXPECT_FALSE(Offer(noPlanes, Add(flat)));
  flat.instanceNumber = 3;
  EXPECT_TRUE(Offer(noPlanes, Add(flat)));

  // Instance Number 0 twice satisfies the step rule.
  TestImage zero = flat;
  zero.instanceNumber = 0;
  TanTempraryStack zeros(images_, Add(zero), rules_);
  EXPECT_TRUE(Offer(zeros, Add(zero)));
}

TEST_F(TempraryStack, UltrasoundMammographyAndOtherClassesNeverJoin) {
  for (const char* modality : {"US", "MG"}) {
    TestImage image = At(0, 1);
    image.modality = modality;
    TanTempraryStack stack(images_, Add(image), rules_);
    image = At(5, 2);
    image.modality = modality;
    EXPECT_FALSE(Offer(stack, Add(image))) << modality;
  }
  TanTempraryStack ct(images_, Add(At(0, 1)), rules_);
  TestImage mr = At(5, 2);
  mr.sopClass = "1.2.840.10008.5.1.4.1.1.4";
  EXPECT_FALSE(Offer(ct, Add(mr)));
  TestImage other = At(5, 2);
  other.modality = "MR";
  EXPECT_FALSE(Offer(ct, Add(other)));
}

TEST_F(TempraryStack, PixelSpacingAndSpatialSwitch) {
  TanTempraryStack stack(images_, Add(At(0, 1)), rules_);
  TestImage near = At(5, 2);
  near.spacing = {0.5009, 0.5009};
  EXPECT_TRUE(Offer(stack, Add(near)));
  TestImage far = At(10, 3);
  far.spacing = {0.501, 0.501};
  EXPECT_FALSE(Offer(stack, Add(far)));

  // Without the spatial tests any position passes.
  rules_.regular_spatial_stack_discernment = false;
  TanTempraryStack loose(images_, Add(At(0, 1)), rules_);
  EXPECT_TRUE(Offer(loose, Add(At(100, 2))));
  EXPECT_TRUE(Offer(loose, Add(At(-3, 3))));
}

TEST_F(TempraryStack, MultiFrameImagesAndBadFrameCounts) {
  TestImage image = At(0, 1);
  image.numberOfFrames = "3";
  const int32_t three = Add(image, 3);
  images_.images[static_cast<size_t>(three)].fileID = (folder_ / "missing.dcm").string();  // nothing is read
  TanTempraryStack stack(images_, three, rules_);
  EXPECT_EQ(std::vector<int32_t>(stack.ImageIndexes.begin(), stack.ImageIndexes.end()),
            (std::vector<int32_t>{three, three, three}));
  EXPECT_EQ(std::vector<int32_t>(stack.FrameNumbers.begin(), stack.FrameNumbers.end()), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_FALSE(Offer(stack, Add(At(5, 2))));

  for (int32_t frames : {0, -1, 70000, 2147483647}) {
    const int32_t i = Add(At(0, 1), frames);
    TanTempraryStack bad(images_, i, rules_);
    EXPECT_TRUE(bad.IsEmpty()) << frames;
    iDDE* icon = reinterpret_cast<iDDE*>(1);
    EXPECT_FALSE(bad.MakeIcon(icon, 128, 128, 0));
    EXPECT_EQ(icon, nullptr);
    EXPECT_FALSE(Offer(bad, Add(At(5, 2))));
  }
}

TEST_F(TempraryStack, UnreadableFirstImageThrows) {
  const int32_t i = Add(At(0, 1));
  images_.images[static_cast<size_t>(i)].fileID = (folder_ / "missing.dcm").string();
  try {
    TanTempraryStack stack(images_, i, rules_);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "temprary-stack-initializetion-error");
  }
  EXPECT_THROW(TanTempraryStack(images_, 99, rules_), std::out_of_range);
}

TEST_F(TempraryStack, TextTests) {
  TestImage image = At(0, 1);
  image.sopClass = "1.2.840.10008.5.1.4.1.1.77.1.4";
  image.imageType = "DERIVED\\SECONDARY\\LOCALIZER";
  TanTempraryStack stack(images_, Add(image), rules_);
  EXPECT_TRUE(stack.IsSecondaryCapture());
  EXPECT_FALSE(stack.IsLocalizer("ORIGINAL\\PRIMARY\\LOCALIZER"));
  EXPECT_TRUE(stack.IsDerivedSecondary("DERIVED\\SECONDARY"));
  EXPECT_FALSE(stack.IsDerivedSecondary("DERIVED\\PRIMARY"));

  TestImage scout = At(0, 1);
  scout.imageType = "ORIGINAL\\PRIMARY\\ LOCALIZER ";
  TanTempraryStack localizer(images_, Add(scout), rules_);
  EXPECT_TRUE(localizer.IsLocalizer("ORIGINAL\\PRIMARY\\LOCALIZER\\X"));
  EXPECT_FALSE(localizer.IsLocalizer("ORIGINAL\\LOCALIZER"));
  // A localizer joins whatever its number and position.
  scout.instanceNumber = 0;
  EXPECT_TRUE(Offer(localizer, Add(scout)));
}

TEST_F(TempraryStack, ConditionsCheckTheVRBeforeCountingValues) {
  TestImage image = At(0, 1);
  image.extra = [](TanDDESet<iDDE>& data, iDDEFactory& f) {
    data.Insert(f.MakeDDE(0x0018, 0x0088, 1, "2.5"));  // DS
    data.Insert(f.MakeDDE(0x0028, 0x0034, 1, "1\\1"));  // IS pixel aspect ratio
    data.Insert(Sequence(f, 0x0008, 0x1140, {}));      // SQ
    const unsigned char bytes[4] = {1, 2, 3, 4};
    data.Insert(f.MakeDDEWithVR(0x0009, 0x0010, "OB", 1, uint32_t{4}, static_cast<const void*>(bytes)));
  };
  const int32_t i = Add(image);
  TanDicomFileObject file;
  ASSERT_EQ(file.LoadHeaderFromFile(images_.images[static_cast<size_t>(i)].fileID, false), "");
  struct Case {
    uint32_t tag;
    int32_t index;
    std::vector<std::string> values;
    bool holds;
  } cases[] = {
      {0x00080008, 0, {"PRIMARY\\AX"}, true},  {0x00080008, 3, {"SAG", "AXIAL"}, true},
      {0x00080008, 4, {"AXIAL"}, false},       {0x00080008, 2, {"ORIGINAL"}, false},
      {0x00180088, 1, {"2.50"}, true},         {0x00180088, 1, {"2.4"}, false},
      {0x00280010, 1, {"4"}, true},            {0x00081140, 1, {"x"}, false},
      {0x00090010, 1, {"1"}, false},           {0x00200013, 0, {"1"}, true},
      {0x00201041, 0, {"1"}, false},
  };
  for (const Case& c : cases) {
    TanStackCondition condition{c.values, c.tag, c.index};
    EXPECT_EQ(ConditionHolds(condition, file), c.holds) << std::hex << c.tag << " " << c.index;
  }
}

TEST_F(TempraryStack, FramesComparedWithTheFirstMembersOwnEntryAfterSorting) {
  // File order: in-stack 3, 1, 2; sorted: the frames numbered 2, 3, 1. The frame numbered 3
  // has another pixel spacing than the first member (frame 2).
  TestImage image = At(0, 1);
  AddFunctionalGroups(image, {{"1", 3, 10, "0.5"}, {"1", 1, 0, "0.5"}, {"1", 2, 5, "0.7"}});
  const int32_t i = Add(image, 3);
  TanDicomFileObject file;
  ASSERT_EQ(file.LoadHeaderFromFile(images_.images[static_cast<size_t>(i)].fileID, false), "");
  ndl::TanFunctionalGroupsModule groups;
  ASSERT_TRUE(groups.Initialize(file));
  groups.Front()->SortFrames();
  TanTempraryStack stack(images_, i, 0, groups, rules_);
  EXPECT_EQ(stack.FrameNumbers.front(), 1);
  EXPECT_EQ(stack.StackID, "1");
  EXPECT_EQ(stack.LastInStackPosition, 1);
  EXPECT_FALSE(stack.AcceptsFrame(i, 1, groups, &file));  // 0.7 against the first member's 0.5
  EXPECT_TRUE(stack.AcceptsFrame(i, 2, groups, &file));
  EXPECT_EQ(stack.LastInStackPosition, 3);
}

TEST_F(TempraryStack, FramesOfOtherStackIDsAndImages) {
  TestImage image = At(0, 1);
  AddFunctionalGroups(image, {{"1", 1, 0, "0.5"}, {"2", 1, 0, "0.5"}});
  const int32_t i = Add(image, 2);
  TanDicomFileObject file;
  ASSERT_EQ(file.LoadHeaderFromFile(images_.images[static_cast<size_t>(i)].fileID, false), "");
  ndl::TanFunctionalGroupsModule groups;
  ASSERT_TRUE(groups.Initialize(file));
  groups.Front()->SortFrames();
  TanTempraryStack strict(images_, i, 0, groups, rules_);
  EXPECT_FALSE(strict.AcceptsFrame(i, 1, groups, &file));
  rules_.conditions.push_back({{"CT"}, 0x00080060, 0});
  TanTempraryStack stack(images_, i, 0, groups, rules_);
  EXPECT_TRUE(stack.AcceptsFrame(i, 1, groups, &file));

  // A frame of another image needs the same non-empty Concatenation UID.
  TestImage second = At(0, 2);
  second.sopInstance = "1.2.3.4.100.2";
  AddFunctionalGroups(second, {{"1", 2, 0, "0.5"}});
  const int32_t j = Add(second, 1);
  TanDicomFileObject other;
  ASSERT_EQ(other.LoadHeaderFromFile(images_.images[static_cast<size_t>(j)].fileID, false), "");
  ndl::TanFunctionalGroupsModule otherGroups;
  ASSERT_TRUE(otherGroups.Initialize(other));
  EXPECT_FALSE(stack.AcceptsFrame(j, 0, otherGroups, &other));
}
