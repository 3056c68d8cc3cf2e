// The data-set readers: order test, byte accounting, stop tags, messages, byte order of tags.
#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/tests/Bytes.h"

namespace ORN_dicom {
namespace {

using testing::Bytes;

struct Read {
  bool ok;
  uint32_t count;
  std::string message;
  uint32_t elements;
};

// Reads b into a fresh set of the kind, from memory or a stream, whole or up to a stop tag.
Read ReadSet(uint8_t kind, const Bytes& b, bool stream, bool skip, uint32_t stop = 0) {
  TanIODFactory f(kind, 50);
  TanIOD set;
  set.SetTransferSyntaxKind(kind);
  uint32_t count = b.size();
  bool ok;
  if (stream) {
    auto in = b.stream();
    ok = stop != 0 ? f->ReadFromStreamUntilTag(set, in, count, stop >> 16, stop & 0xFFFF, skip)
                   : f->ReadFromStream(set, in, count, skip);
  } else {
    auto buf = b.copy();
    ok = stop != 0 ? f->ReadFromMemoryUntilTag(set, buf.get(), count, stop >> 16, stop & 0xFFFF, skip)
                   : f->ReadFromMemory(set, buf.get(), count, skip);
  }
  return {ok, count, f->GetLastMessage(), set.Count()};
}

class IODFactory : public ::testing::Test {
 protected:
  void SetUp() override { EnsureDDERegistry(); }
};

TEST_F(IODFactory, OrderOfElements) {
  Bytes inOrder;
  inOrder.expl(0x0008, 0x0060, "CS", "CT").expl(0x0008, 0x0060, "CS", "MR").expl(0x0010, 0x0010, "PN", "AB");
  Bytes outOfOrder;
  outOfOrder.expl(0x0010, 0x0010, "PN", "AB").expl(0x0008, 0x0060, "CS", "CT").expl(0x0008, 0x0070, "LO", "XY")
      .expl(0x0010, 0x0020, "LO", "42");
  for (bool stream : {false, true}) {
    Read r = ReadSet(2, inOrder, stream, false);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.elements, 3u);  // a repeated tag is in order
    EXPECT_EQ(r.count, inOrder.size());
    Read kept = ReadSet(2, outOfOrder, stream, false);
    EXPECT_FALSE(kept.ok);
    EXPECT_EQ(kept.elements, 2u);
    EXPECT_EQ(kept.message, "Unrecognized or unexpected DDE[0008,0060]");
    Read skipped = ReadSet(2, outOfOrder, stream, true);
    EXPECT_TRUE(skipped.ok);
    EXPECT_EQ(skipped.elements, 2u);
    EXPECT_EQ(skipped.count, outOfOrder.size());
  }
  // Reading up to a tag from a stream refuses a repeated tag.
  Read repeated = ReadSet(2, inOrder, true, false, 0x7FE00000);
  EXPECT_FALSE(repeated.ok);
  EXPECT_EQ(repeated.message, "Unrecognized or unexpected DDE[0008,0060]");
}

TEST_F(IODFactory, StopTagsAndByteCounts) {
  Bytes b;
  b.expl(0x0008, 0x0060, "CS", "CT").expl(0x0028, 0x0010, "US", "\1\0");
  const uint32_t pixelAt = b.size();
  b.expl(0x7FE0, 0x0010, "OW", "\1\2\3\4");
  for (bool stream : {false, true}) {
    Read header = ReadSet(2, b, stream, false, 0x7FE00000);
    EXPECT_TRUE(header.ok);
    EXPECT_EQ(header.count, pixelAt);
    EXPECT_EQ(header.elements, 2u);
    Read whole = ReadSet(2, b, stream, false);
    EXPECT_TRUE(whole.ok);
    EXPECT_EQ(whole.count, b.size());
  }
  // Data that ends inside an element header (one to seven bytes after the last element) is
  // cut off: a read error from memory and from a stream, as dcmdump has it.
  for (bool stream : {false, true}) {
    for (const std::string& rest : {std::string("\x09"), std::string("\x09\x09\x09"), std::string("\x10\0\x10\0", 4),
                                    std::string("\x10\0\x10\0PN\x04", 7)}) {
      SCOPED_TRACE(::testing::Message() << (stream ? "stream " : "memory ") << rest.size());
      Bytes tail = b;
      tail.str(rest);
      EXPECT_FALSE(ReadSet(2, tail, stream, false).ok);
      EXPECT_FALSE(ReadSet(1, Bytes().str(rest), stream, false).ok);
    }
  }
}

TEST_F(IODFactory, DataEndingInsideAnElement) {
  Bytes b;
  b.expl(0x0008, 0x0060, "CS", "CT").tag(0x0010, 0x0010).str("PN").u16(40).str("cut");
  // From memory the element is not made; from a stream it is made, reports its failed read
  // and is kept as the invalid element that ended the reading.
  for (bool stream : {false, true}) {
    Read header = ReadSet(2, b, stream, true, 0x7FE00000);
    EXPECT_FALSE(header.ok);
    EXPECT_EQ(header.elements, stream ? 2u : 1u);
    Read whole = ReadSet(2, b, stream, true);
    EXPECT_FALSE(whole.ok);
    EXPECT_EQ(whole.count, 10u);
    EXPECT_EQ(whole.message, stream ? "DDE[0010,0010] cannot be initialized with error (Incorrect file stream operation.)"
                                    : "Unable to make DDE[0010,0010]");
  }
  // Memory up to a tag: the element does not fit, no message.
  EXPECT_EQ(ReadSet(2, b, false, true, 0x7FE00000).message, "");
}

TEST_F(IODFactory, BigEndianTargetsReadTagsBigEndian) {
  Bytes b;
  b.big = true;
  b.tag(0x0008, 0x0060).str("CS").u16(2).str("CT").tag(0x7FE0, 0x0010).str("OW").u16(0).u32(2).raw({1, 2});
  for (bool stream : {false, true}) {
    Read header = ReadSet(3, b, stream, false, 0x7FE00000);
    EXPECT_TRUE(header.ok);
    EXPECT_EQ(header.elements, 1u);
    Read whole = ReadSet(3, b, stream, false);
    EXPECT_TRUE(whole.ok);
    EXPECT_EQ(whole.elements, 2u);
  }
}

TEST_F(IODFactory, StreamStates) {
  TanIODFactory f(2, 50);
  TanIOD set;
  set.SetTransferSyntaxKind(2);
  std::istringstream atEnd;
  atEnd.get();
  atEnd.clear(std::ios::eofbit);
  uint32_t count = 100;
  EXPECT_TRUE(f->ReadFromStream(set, atEnd, count, false));
  EXPECT_EQ(count, 0u);
  std::istringstream failed;
  failed.setstate(std::ios::failbit);
  count = 100;
  EXPECT_FALSE(f->ReadFromStream(set, failed, count, false));
}

}  // namespace
}  // namespace ORN_dicom
