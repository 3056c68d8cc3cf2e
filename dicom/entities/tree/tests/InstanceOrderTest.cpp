#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/tree/InstanceOrder.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {
namespace {

TanInstanceKey Key(const std::string& group, int32_t number, const std::string& uid, const std::string& date = "",
                   const std::string& time = "") {
  TanInstanceKey k;
  k.group = group;
  k.number = number;
  k.uid = uid;
  k.date = date;
  k.time = time;
  k.parsedTime = TryParseDicomTime(time);
  return k;
}

constexpr char kA[] = "1.2.840.10008.5.1.4.1.1.2";
constexpr char kB[] = "1.2.840.10008.5.1.4.1.1.7";

TEST(InstanceOrder, RanksByClassNumberDateTimeAndUID) {
  struct Case {
    TanInstanceKey a, b;
    bool after;
    const char* why;
  } cases[] = {
      {Key(kA, 2, "1.1"), Key(kA, 1, "1.9"), true, "number"},
      {Key(kA, 1, "1.9"), Key(kA, 2, "1.1"), false, "number"},
      {Key(kB, 1, "1.1"), Key(kA, 9, "1.1"), true, "classes stand together, in UID order"},
      {Key(kA, 1, "1.1", "20200102"), Key(kA, 1, "1.1", "20200101"), true, "date"},
      {Key(kA, 1, "1.1", "20200101"), Key(kA, 1, "1.1", ""), true, "an empty date ranks first"},
      {Key(kA, 1, "1.1", "d", "101500"), Key(kA, 1, "1.1", "d", "10:14:59.9"), true, "parsed time"},
      {Key(kA, 1, "1.1", "d", "1:15"), Key(kA, 1, "1.1", "d", "235959"), true, "a malformed time ranks last"},
      {Key(kA, 1, "1.2.10"), Key(kA, 1, "1.2.9"), true, "UID component by component"},
      {Key(kA, 1, "1.2.9.1"), Key(kA, 1, "1.2.9"), true, "a UID that extends another"},
      {Key(kA, -1, "1.2"), Key(kA, -1, "1.2"), false, "equal keys"},
  };
  for (const Case& c : cases) EXPECT_EQ(RanksAfter(c.a, c.b), c.after) << c.why;
}

TEST(InstanceOrder, UltrasoundClassesShareOneGroup) {
  EnsureDDERegistry();
  TanDirectoryRecord single, multi, ct;
  single.SetReferencedSOPClassUID("1.2.840.10008.5.1.4.1.1.6.1");
  multi.SetReferencedSOPClassUID("1.2.840.10008.5.1.4.1.1.3.1");
  ct.SetReferencedSOPClassUID(kA);
  const TanInstanceKey a = TanInstanceKey::Of(single, true, 2);
  const TanInstanceKey b = TanInstanceKey::Of(multi, true, 1);
  EXPECT_EQ(a.group, b.group);
  EXPECT_TRUE(RanksAfter(a, b));  // by number, the classes mixed
  EXPECT_NE(TanInstanceKey::Of(ct, true, 1).group, a.group);
  EXPECT_EQ(TanInstanceKey::Of(ct, false, 7).number, 0);  // no number for records without one
}

TEST(InstanceOrder, AnyInsertionOrderGivesOneSequence) {
  std::vector<TanInstanceKey> keys = {Key(kA, 1, "1.1"), Key(kA, 2, "1.2"), Key(kB, 1, "1.3"), Key(kB, 5, "1.4"),
                                      Key(kA, 3, "1.5"), Key(kB, 3, "1.6"), Key(kB, 0, "1.7"), Key(kA, 0, "1.8")};
  std::vector<size_t> order(keys.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<std::string> first;
  int permutations = 0;
  do {
    std::vector<TanInstanceKey> set;
    for (size_t i : order) {
      auto at = std::find_if(set.begin(), set.end(), [&](const TanInstanceKey& r) { return RanksAfter(r, keys[i]); });
      set.insert(at, keys[i]);
    }
    std::vector<std::string> uids;
    for (const auto& k : set) uids.push_back(k.uid);
    if (first.empty()) first = uids;
    EXPECT_EQ(uids, first);
    ++permutations;
  } while (std::next_permutation(order.begin(), order.end()) && permutations < 200);
  EXPECT_EQ(first, (std::vector<std::string>{"1.8", "1.1", "1.2", "1.5", "1.7", "1.3", "1.6", "1.4"}));
}

}  // namespace
}  // namespace ORN_dicom
