#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/ElementClasses.h"

namespace ORN_dicom {
namespace {

// Encapsulated pixel data: an offset table item, fragments of the given value lengths, the
// sequence delimiter.
struct PixelData {
  dde::LongPixelData element{0x7FE0, 0x0010, vr::OB, kUndefinedLength};
  TanEPDValue& value = *element.GetEncapsulatedPixelData();
  TanFrames& frames = value.FFrames;

  explicit PixelData(std::vector<uint32_t> fragments, std::vector<uint32_t> table = {}) {
    auto* t = new dde::ImplicitLongs(0xFFFE, 0xE000, vr::no);
    for (uint32_t o : table) t->ValuePart().Append(o);
    value.Append(t);
    for (uint32_t n : fragments) {
      std::string bytes(n, static_cast<char>('a' + value.Count()));
      value.Append(new dde::ImplicitBytes(0xFFFE, 0xE000, vr::no, bytes.data(), n));
    }
    value.Append(new dde::ImplicitDelimiter(0xFFFE, 0xE0DD, vr::no));
  }
  std::vector<uint32_t> Table() const {
    std::vector<uint32_t> t;
    for (uint32_t i = 0; i < frames.Table()->Count(); ++i) t.push_back(frames.Offset(i));
    return t;
  }
};

TEST(Frames, CountWithAndWithoutATable) {
  EXPECT_EQ(PixelData({}).frames.Count(), 0u);
  EXPECT_EQ(PixelData({10}).frames.Count(), 1u);
  EXPECT_EQ(PixelData({10, 20}).frames.Count(), 1u);
  EXPECT_EQ(PixelData({10, 20}, {0, 18}).frames.Count(), 2u);
  EXPECT_FALSE(PixelData({10}).frames.HasOffsetTable());
  EXPECT_EQ(PixelData({10}).frames.Offset(0), 0u);
}

TEST(Frames, CheckFrameCount) {
  struct Case {
    std::vector<uint32_t> fragments, table;
    uint32_t frames;
    bool result;
    std::vector<uint32_t> tableAfter;
  } cases[] = {
      {{100, 200, 300}, {}, 3, true, {0, 108, 316}},  // one fragment per frame: table filled
      {{100, 200}, {}, 3, false, {}},
      {{100, 200}, {}, 1, true, {}},                  // a single frame needs no table
      {{100, 200}, {0, 108}, 2, true, {0, 108}},
      {{100, 200}, {0, 108}, 3, false, {0, 108}},
      // Tables read from files are checked: increasing, inside the fragments, from 0.
      {{100, 200}, {0, 500}, 2, false, {0, 500}},
      {{100, 200}, {0, 0}, 2, false, {0, 0}},
      {{100, 200}, {4, 108}, 2, false, {4, 108}},
  };
  for (const Case& c : cases) {
    PixelData p(c.fragments, c.table);
    EXPECT_EQ(p.value.CheckFrameCount(c.frames), c.result) << c.frames;
    EXPECT_EQ(p.Table(), c.tableAfter);
  }
  EXPECT_TRUE(PixelData({100, 200}, {0, 108}).frames.IsOffsetTableValid());
  EXPECT_FALSE(PixelData({100, 200}, {0, 500}).frames.IsOffsetTableValid());
}

TEST(Frame, FragmentsOfEachFrame) {
  // Frame 0: fragments of 10 and 20 bytes (encoded 18 + 28 = 46); frame 1: one of 30.
  PixelData p({10, 20, 30}, {0, 46});
  TanFrame f0(p.frames, 0), f1(p.frames, 1);
  EXPECT_EQ(f0.FragmentCount(), 2u);
  EXPECT_EQ(f0.Size(), 30u);
  EXPECT_EQ(f0.Fragment(1), p.value.At(2));
  EXPECT_EQ(f0.Fragment(2), nullptr);
  EXPECT_EQ(f1.FragmentCount(), 1u);
  EXPECT_EQ(f1.Fragment(0), p.value.At(3));
  EXPECT_EQ(f1.Size(), 30u);
  // Without a table every fragment belongs to the one frame.
  PixelData q({10, 20, 30});
  EXPECT_EQ(TanFrame(q.frames, 0).FragmentCount(), 3u);
  // A bad table never makes a view read outside the fragments.
  PixelData bad({10}, {0, 9999});
  EXPECT_EQ(TanFrame(bad.frames, 1).FragmentCount(), 0u);
  EXPECT_EQ(TanFrame(bad.frames, 1).Fragment(0), nullptr);
}

TEST(Frame, AViewOfAnExistingFrameNeverChangesTheTable) {
  PixelData p({}, {0});
  { TanFrame view(p.frames, 0); EXPECT_EQ(view.FragmentCount(), 0u); }
  EXPECT_EQ(p.Table(), std::vector<uint32_t>{0});
  PixelData q({10, 20}, {0, 18});
  { TanFrame view(q.frames, 1); }
  EXPECT_EQ(q.Table(), (std::vector<uint32_t>{0, 18}));
}

TEST(Frame, NewFramesAndFragments) {
  PixelData p({});
  {
    TanFrame unused(p.frames);  // started, no fragment: the entry goes again
    EXPECT_EQ(p.Table(), std::vector<uint32_t>{0});
  }
  EXPECT_TRUE(p.Table().empty());
  {
    TanFrame f(p.frames);
    EXPECT_TRUE(f.AddFragment(3, "abc", true));  // odd total: padded "NO" item
    EXPECT_TRUE(f.AddFragment(5, "defgh", false));
  }
  {
    TanFrame f(p.frames);
    EXPECT_TRUE(f.AddFragment(4, "ijkl", true));
  }
  EXPECT_EQ(p.Table(), (std::vector<uint32_t>{0, 25}));
  const iDDE* padded = p.value.At(1);
  EXPECT_EQ(padded->VR(), vr::NO);
  EXPECT_EQ(padded->Length(), 4u);
  EXPECT_EQ(padded->GetData()[3], '\0');
  EXPECT_EQ(p.value.At(2)->VR(), vr::no);
  EXPECT_EQ(p.value.At(2)->Length(), 5u);  // never padded
  EXPECT_EQ(p.value.Last()->Tag(), kSequenceDelimitationTag);
  // A fragment added to an earlier frame moves the offsets of the later ones.
  {
    TanFrame f0(p.frames, 0);
    EXPECT_TRUE(f0.AddFragment(2, "mn", false));
  }
  EXPECT_EQ(p.Table(), (std::vector<uint32_t>{0, 35}));
  EXPECT_EQ(TanFrame(p.frames, 0).FragmentCount(), 3u);
  EXPECT_EQ(TanFrame(p.frames, 1).Fragment(0)->GetString(), "ijkl");
  EXPECT_TRUE(p.value.CheckFrameCount(2));
  // The element's length follows: undefined stays undefined, the value grows.
  EXPECT_EQ(p.element.Length(), kUndefinedLength);
  EXPECT_EQ(p.element.GetLength(), p.value.Length());
}

}  // namespace
}  // namespace ORN_dicom
