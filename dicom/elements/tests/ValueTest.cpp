#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "base/memory/TanMSMemoryHeapAllocator.h"
#include "dicom/elements/header/TagText.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/elements/values/TanCVArray.h"
#include "dicom/elements/values/TanCharArray.h"
#include "dicom/elements/values/TanValueSet.h"

namespace ORN_dicom {
namespace {

std::string Text(const TanValueBuffer& b) {
  const unsigned char* p = b.GetData();
  return p == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(p), b.Length());
}

// Records what a value reports through its change callback.
struct Listener {
  std::vector<uint32_t> heard;
  static void On(void* self, uint32_t n) { static_cast<Listener*>(self)->heard.push_back(n); }
  void Attach(TanValueBasis& v) { v.SetChangeCallback(&Listener::On, this); }
};

TEST(ValueBuffer, PaddingByVR) {
  struct Case {
    uint16_t vr;
    uint32_t length;
    char last;
  } cases[] = {
      {vr::AE, 4, ' '}, {vr::AS, 4, ' '}, {vr::CS, 4, ' '}, {vr::DA, 4, ' '}, {vr::DS, 4, ' '},
      {vr::DT, 4, ' '}, {vr::IS, 4, ' '}, {vr::LO, 4, ' '}, {vr::LT, 4, ' '}, {vr::PN, 4, ' '},
      {vr::SH, 4, ' '}, {vr::ST, 4, ' '}, {vr::TM, 4, ' '}, {vr::UC, 4, ' '}, {vr::UR, 4, ' '},
      {vr::UT, 4, ' '}, {vr::UI, 4, '\0'}, {vr::OB, 4, '\0'}, {vr::UN, 4, '\0'}, {vr::NO, 4, '\0'},
      {vr::no, 3, 'c'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VRText(c.vr));
    TanCVArray<char, TanLEV> v(c.vr, "abc", 3);
    EXPECT_TRUE(v.IsSuccess());
    ASSERT_EQ(v.Length(), c.length);
    EXPECT_EQ(Text(v).substr(0, 3), "abc");
    EXPECT_EQ(Text(v).back(), c.last);
  }
  // Null data: zero bytes but the padding byte.
  TanCharArray blank(vr::CS, static_cast<const void*>(nullptr), 3);
  EXPECT_EQ(Text(blank), std::string("\0\0\0 ", 4));
  // The exact forms keep an odd length.
  TanCharArray exact(vr::CS, 3u, "abc");
  EXPECT_EQ(exact.Length(), 3u);
}

TEST(ValueBuffer, StorageTiersAndStablePointersOfLargeValues) {
  TanCVArray<unsigned char, TanLEV> small(vr::OB, 0xFFFFu, static_cast<const void*>(nullptr));
  EXPECT_EQ(small.Length(), 0xFFFFu);
  EXPECT_NE(nalloc::TanMSMemoryHeapAllocator<0>::Heap(), nullptr);  // small values use the heap

  std::vector<unsigned char> bytes(0x30000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7);
  TanCVArray<unsigned char, TanLEV> large(vr::OB, static_cast<uint32_t>(bytes.size()), bytes.data());
  ASSERT_TRUE(large.IsSuccess());
  unsigned char* whole = large.GetData();
  unsigned char* middle = large.GetData(0x20000, 16);
  ASSERT_NE(whole, nullptr);
  // A pointer stays valid across later accesses: the value is wholly mapped.
  EXPECT_EQ(middle, whole + 0x20000);
  EXPECT_EQ(std::memcmp(whole, bytes.data(), bytes.size()), 0);
  std::string text = large.ToString();
  EXPECT_EQ(whole[5], bytes[5]);
  std::vector<unsigned char> out(bytes.size());
  large.CopyTo(out.data());
  EXPECT_EQ(out, bytes);
  std::ostringstream os;
  large.WriteTo(os);
  EXPECT_EQ(os.str().size(), bytes.size());
  // Copy construction of a large value.
  TanCVArray<unsigned char, TanLEV> copy(large);
  EXPECT_EQ(std::memcmp(copy.GetData(), bytes.data(), bytes.size()), 0);
}

TEST(ValueBuffer, GetDataRanges) {
  TanCVArray<unsigned char, TanLEV> v(vr::OB, 8u, "01234567");
  struct Case {
    uint32_t offset, count;
    bool found;
  } cases[] = {{0, 0xFFFFFFFF, true}, {7, 1, true}, {7, 0xFFFFFFFF, true}, {8, 0xFFFFFFFF, false},
               {7, 2, false},         {0, 8, true}, {4, 0xFFFFFFFC, false}};
  for (const Case& c : cases) EXPECT_EQ(v.GetData(c.offset, c.count) != nullptr, c.found) << c.offset;
  TanCVArray<unsigned char, TanLEV> empty(vr::OB, 0u, static_cast<const void*>(nullptr));
  EXPECT_EQ(empty.GetData(), nullptr);
  EXPECT_TRUE(empty.IsSuccess());
}

TEST(ValueBuffer, ResizeKeepsContentPadsAndReports) {
  TanCharArray v(vr::CS, std::string("ABCD"));
  Listener l;
  l.Attach(v);
  EXPECT_TRUE(v.Resize(5, false));
  EXPECT_EQ(Text(v), std::string("ABCD\0 ", 6));
  EXPECT_EQ(l.heard, std::vector<uint32_t>{6});
  EXPECT_TRUE(v.Resize(2, false));
  EXPECT_EQ(Text(v), "AB");
  EXPECT_TRUE(v.Resize(0, false));
  EXPECT_TRUE(v.Resize(0, false));  // already empty: no second notice
  EXPECT_EQ(l.heard, (std::vector<uint32_t>{6, 2, 0}));
  TanCVArray<unsigned char, TanLEV> raw(vr::no, 3u, "xyz");
  EXPECT_TRUE(raw.Resize(5, false));
  EXPECT_EQ(raw.Length(), 5u);  // "no" is never made even
}

TEST(ValueBuffer, FailedResizeKeepsTheOldContent) {
  TanCharArray v(vr::LO, std::string("KEEP"));
  v.SetLengthLimit(0xFFFF);
  Listener l;
  l.Attach(v);
  EXPECT_FALSE(v.Resize(0x10000, false));
  EXPECT_FALSE(v.IsSuccess());
  EXPECT_EQ(v.LastError(), TanValueBasis::kTooLongText);
  EXPECT_EQ(Text(v), "KEEP");
  EXPECT_TRUE(l.heard.empty());
  // SetText of a text too long for the field fails without throwing and keeps the text.
  EXPECT_NO_THROW(v.SetText(std::string(0x10000, 'x')));
  EXPECT_EQ(Text(v), "KEEP");
  // The next successful operation sets the flag again.
  v.SetText("NEW");
  EXPECT_TRUE(v.IsSuccess());
  EXPECT_EQ(Text(v), "NEW ");
}

TEST(ValueBuffer, StreamConstruction) {
  std::istringstream in("abcdef");
  TanCVArray<char, TanLEV> ok(vr::LT, 4u, in);
  EXPECT_TRUE(ok.IsSuccess());
  EXPECT_EQ(Text(ok), "abcd");
  TanCVArray<char, TanLEV> cut(vr::LT, 4u, in);  // only 2 bytes left
  EXPECT_FALSE(cut.IsSuccess());
  EXPECT_EQ(cut.Length(), 0u);
  EXPECT_EQ(cut.LastError(), "Incorrect file stream operation.");
  std::istringstream big(std::string(0x12345, 'q'));
  TanCVArray<unsigned char, TanLEV> large(vr::OB, 0x12345u, big);
  EXPECT_TRUE(large.IsSuccess());
  EXPECT_EQ(large.GetData()[0x12344], 'q');
}

TEST(CharArray, CountValueAndAppend) {
  struct Case {
    std::string stored;
    uint32_t count;
    std::vector<std::string> values;
  } cases[] = {
      {"", 0, {""}},
      {"A\\B\\C ", 3, {"A", "B", "C ", ""}},
      {"DERIVED\\PRIMARY ", 2, {"DERIVED", "PRIMARY ", ""}},
      {"\\", 2, {"", ""}},
      // "=" separates the component groups of one person name; it is not a value delimiter.
      {"Yamada^Tarou=\x1b$B;3ED\x1b(B^\x1b$BB@O:\x1b(B", 1, {"Yamada^Tarou=\x1b$B;3ED\x1b(B^\x1b$BB@O:\x1b(B", ""}},
      {"A^B=C^D\\E^F=G^H", 2, {"A^B=C^D", "E^F=G^H"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    TanCharArray v(vr::PN, static_cast<uint32_t>(c.stored.size()), c.stored.data());
    v.FDelimiter = '=';  // as the makers set it for PN
    EXPECT_EQ(v.Count(), c.count);
    for (uint32_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(v.Value(i), c.values[i]) << i;
  }
  struct Append {
    std::string before, add, after;
  } appends[] = {
      {"", "X", "X "}, {"A ", "X", "A\\X "}, {"AB", "CD", "AB\\CD "}, {"A^B=C^D ", "E^F", "A^B=C^D\\E^F "},
  };
  for (const Append& a : appends) {
    TanCharArray v(vr::PN, a.before);
    v.FDelimiter = '=';
    v.Append(a.add);
    EXPECT_EQ(Text(v), a.after);
  }
}

TEST(CVArray, EntriesInBothByteOrders) {
  const unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78};
  TanCVArray<uint16_t, TanLEV> le(vr::OW, 4u, bytes);
  TanCVArray<uint16_t, TanBEV> be(vr::OW, 4u, bytes);
  EXPECT_EQ(le.Count(), 2u);
  EXPECT_EQ(le.At(0), 0x3412);
  EXPECT_EQ(be.At(0), 0x1234);
  Listener l;
  l.Attach(be);
  EXPECT_TRUE(be.Append(0xABCD));
  EXPECT_EQ(be.GetData()[4], 0xAB);
  EXPECT_EQ(l.heard, std::vector<uint32_t>{6});
  TanCVArray<uint16_t, TanLEV> converted(be);
  EXPECT_EQ(converted.At(2), 0xABCD);
  EXPECT_EQ(converted.GetData()[4], 0xCD);
  EXPECT_FALSE(le.Set(2, 1));  // past the end: nothing written
  const unsigned char odd[] = {1, 2, 3};
  TanCVArray<uint32_t, TanLEV> longs(vr::OF, 3u, odd);
  EXPECT_EQ(longs.Count(), 0u);  // a trailing partial entry is not an entry
  TanCVArray<uint32_t, TanLEV> table(vr::OF, 0u, static_cast<const void*>(nullptr));
  EXPECT_TRUE(table.Append(7));
  EXPECT_TRUE(table.Append(9));
  EXPECT_TRUE(table.RemoveLast());
  EXPECT_EQ(table.Count(), 1u);
  EXPECT_EQ(table.At(0), 7u);
}

TEST(CVArray, TextForms) {
  TanCVArray<char, TanLEV> text(vr::LT, std::string("  hello world \0", 15));
  EXPECT_EQ(text.ToString(), "hello world");
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += static_cast<char>('A' + i % 26);
  TanCVArray<unsigned char, TanLEV> bytes(vr::OB, hundred);
  EXPECT_EQ(bytes.ToString(), hundred.substr(0, 70));
  EXPECT_TRUE(bytes.SetText("xy"));
  EXPECT_EQ(bytes.ToString(), "xy");
}

template <class T>
std::string SetText(std::initializer_list<T> values) {
  TanCVSingle<T, TanLEV> s(vr::US, 0);
  for (T v : values) s.Push(v);
  return s.ToString();
}

TEST(ValueSet, TextForms) {
  EXPECT_EQ(SetText<uint16_t>({1, 2, 3}), "1\\2\\3");
  EXPECT_EQ(SetText<int16_t>({-5}), "-5");
  EXPECT_EQ(SetText<uint32_t>({4294967295u}), "4294967295");
  EXPECT_EQ(SetText<double>({2.5, 1e-20, 1e20}), "2.5\\1e-20\\1e+20");
  EXPECT_EQ(SetText<float>({0.1f}), "0.100000001490116");
  EXPECT_EQ(SetText<uint16_t>({}), "");
  for (uint32_t n : {45u, 46u, 50u}) {
    TanCVSingle<uint16_t, TanLEV> s(vr::US, 0);
    std::string want;
    for (uint32_t i = 0; i < n; ++i) {
      s.Push(static_cast<uint16_t>(i));
      if (i < 46) want += std::to_string(i) + "\\";
    }
    if (n >= 46) want += "...";
    else want.pop_back();
    EXPECT_EQ(s.ToString(), want) << n;
  }
}

TEST(ValueSet, ByteOrderPushClearAndCheckedIndex) {
  Listener l;  // outlives the set, which reports length 0 when destroyed
  TanCVSingle<uint16_t, TanBEV> be(vr::US, 2);
  l.Attach(be);
  be.Push(0x0102);
  be.Push(3);
  EXPECT_EQ(be.At(0).Bytes()[0], 0x01);
  EXPECT_EQ(be.Get(1), 3);
  EXPECT_EQ(be.Length(), 4u);
  unsigned char out[4];
  be.CopyTo(out);
  EXPECT_EQ(out[0], 0x01);
  EXPECT_EQ(out[3], 0x03);
  TanCVSingle<uint16_t, TanLEV> le(be);
  EXPECT_EQ(le.Get(0), 0x0102);
  try {
    be.At(2);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "vector");
  }
  be.Clear();
  EXPECT_EQ(l.heard, (std::vector<uint32_t>{2, 4, 0}));
}

TEST(ValueSet, LengthNotAMultipleOfTheSizeKeepsEveryByte) {
  const unsigned char bytes[] = {1, 0, 2, 0, 0xEE};
  TanCVSingle<uint16_t, TanLEV> fromMemory(vr::US, 5u, bytes);
  std::istringstream in(std::string(reinterpret_cast<const char*>(bytes), 5) + "NEXT");
  TanCVSingle<uint16_t, TanLEV> fromStream(vr::US, 5u, in);
  for (auto* s : {&fromMemory, &fromStream}) {
    EXPECT_TRUE(s->IsSuccess());
    EXPECT_EQ(s->Count(), 2u);
    EXPECT_EQ(s->Length(), 5u);
    unsigned char out[5] = {};
    s->CopyTo(out);
    EXPECT_EQ(std::memcmp(out, bytes, 5), 0);
    std::ostringstream os;
    s->WriteTo(os);
    EXPECT_EQ(os.str(), std::string(reinterpret_cast<const char*>(bytes), 5));
  }
  std::string rest(4, '\0');
  in.read(rest.data(), 4);
  EXPECT_EQ(rest, "NEXT");  // the reader stays in step
}

TEST(ValueSet, StreamThatEndsEarlyFails) {
  std::istringstream in(std::string("\x01\x00\x02", 3));
  TanCVSingle<uint16_t, TanLEV> s(vr::US, 4u, in);
  EXPECT_FALSE(s.IsSuccess());
  EXPECT_EQ(s.Count(), 1u);
  // A damaged length far beyond the stream fails without reserving room for it.
  std::istringstream few(std::string(8, '\0'));
  TanCVSingle<double, TanLEV> huge(vr::FD, 0xFFFFFFF8u, few);
  EXPECT_FALSE(huge.IsSuccess());
  EXPECT_EQ(huge.Count(), 1u);
}

TEST(ValueSet, PushBeyondTheLengthLimitFails) {
  TanCVSingle<double, TanLEV> s(vr::FD, 0);
  s.SetLengthLimit(16);
  EXPECT_TRUE(s.Push(1));
  EXPECT_TRUE(s.Push(2));
  EXPECT_FALSE(s.Push(3));
  EXPECT_EQ(s.Count(), 2u);
  EXPECT_EQ(s.LastError(), TanValueBasis::kTooLongText);
}

}  // namespace
}  // namespace ORN_dicom
