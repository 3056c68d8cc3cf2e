#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/tree/InstanceOrder.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {
namespace {

constexpr char kA[] = "1.2.840.10008.5.1.4.1.1.2";
constexpr char kB[] = "1.2.840.10008.5.1.4.1.1.7";
constexpr char kUS[] = "1.2.840.10008.5.1.4.1.1.6.1";
constexpr char kUSMulti[] = "1.2.840.10008.5.1.4.1.1.3.1";

TanInstanceKey Key(const std::string& sopClass, int32_t number, const std::string& uid = "1.1",
                   const std::string& date = "", const std::string& time = "") {
  TanInstanceKey k;
  k.sopClass = sopClass;
  k.ultrasound = IsUltrasoundSOPClass(sopClass);
  k.number = number;
  k.uid = uid;
  k.date = date;
  k.time = time;
  k.parsedTime = TryParseDicomTime(time);
  return k;
}

// "A1 A2 B1 B5": class letter and number; U and V are the two ultrasound classes.
std::vector<TanInstanceKey> Set(const std::string& text) {
  std::vector<TanInstanceKey> keys;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    const char letter = word[0];
    const char* sopClass = letter == 'A' ? kA : letter == 'B' ? kB : letter == 'U' ? kUS : kUSMulti;
    keys.push_back(Key(sopClass, std::stoi(word.substr(1))));
  }
  return keys;
}

TEST(InstanceOrder, StoredRecordOfTheSameNumberRanksLater) {
  struct Case {
    TanInstanceKey stored, added;
    bool later;
    const char* why;
  } cases[] = {
      {Key(kA, 1, "1.1", "20200102"), Key(kA, 1, "1.1", "20200101"), true, "later date"},
      {Key(kA, 1, "1.1", "20200101"), Key(kA, 1, "1.1", ""), true, "an empty date ranks first"},
      {Key(kA, 1, "1.1", ""), Key(kA, 1, "1.1", "20200101"), false, "an empty date ranks first"},
      {Key(kA, 1, "1.1", "d", "101500"), Key(kA, 1, "1.1", "d", "10:14:59.9"), true, "parsed time"},
      {Key(kA, 1, "1.1", "d", "101500"), Key(kA, 1, "1.1", "d", "10:15"), false, "equal parsed times"},
      {Key(kA, 1, "1.1", "d", "1:15"), Key(kA, 1, "1.1", "d", "235959"), true, "a malformed time ranks last"},
      {Key(kA, 1, "1.2.10"), Key(kA, 1, "1.2.9"), true, "UID component by component"},
      {Key(kA, 1, "1.2.9.1"), Key(kA, 1, "1.2.9"), true, "a UID that extends another"},
      {Key(kA, 1, "1.2"), Key(kA, 1, "1.2"), false, "equal keys"},
  };
  for (const Case& c : cases) EXPECT_EQ(RanksLater(c.stored, c.added), c.later) << c.why;
}

TEST(InstanceOrder, PositionByNumberAndClassRuns) {
  struct Case {
    const char* set;
    TanInstanceKey added;
    int32_t position;
  } cases[] = {
      {"", Key(kA, 1), 0},
      {"A1 A2 B1 B5", Key(kA, 3), 2},  // at the end of the A run
      {"A1 A2 B1 B5", Key(kB, 3), 3},
      {"A1 A2 B1 B5", Key(kB, 0), 0},
      {"A1 A2 B1 B5", Key(kA, 0), 0},
      {"A1 A5", Key(kB, 2), 1},
      {"A1 A2", Key(kA, 9), 2},        // a run that ends the set: appended
      {"A1 B2 A3", Key(kA, 5), 1},     // the first run of the class ends the scan
      {"U1 V3", Key(kUS, 2), 1},       // ultrasound classes mix by number
      {"U1 V3", Key(kUS, 4), 2},
      {"A1 B3", Key(kUS, 2), 1},
      // Equal numbers, as REGISTRATION, FIDUCIAL and VALUE MAP records (-1) have: date, time and
      // UID decide, the run rule still applies.
      {"A-1 A-1 B-1", Key(kA, -1), 2},
      {"A-1 B-1", Key(kB, -1, "1.0"), 0},  // the stored A ranks later by UID, whatever its class
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InstancePosition(Set(c.set), c.added), c.position) << c.set << " + " << c.added.number;
  }
  // Same number: in front of the record that ranks later.
  std::vector<TanInstanceKey> dated = {Key(kA, 1, "1.1", "20200101"), Key(kA, 1, "1.2", "20200103")};
  EXPECT_EQ(InstancePosition(dated, Key(kA, 1, "1.3", "20200102")), 1);
  EXPECT_EQ(InstancePosition(dated, Key(kA, 1, "1.3", "")), 0);
  EXPECT_EQ(InstancePosition(dated, Key(kA, 1, "1.1.5", "20200101")), 1);
}

TEST(InstanceOrder, KeysOfARecord) {
  EnsureDDERegistry();
  TanDirectoryRecord us, record;
  us.SetReferencedSOPClassUID(kUSMulti);
  EXPECT_TRUE(TanInstanceKey::Of(us, true, 2).ultrasound);
  record.SetReferencedSOPClassUID(kA);
  record.SetText(0x00080012u, "20200101");
  record.SetText(0x00080013u, "101500");
  record.SetText(0x00080033u, "120000");
  const TanInstanceKey key = TanInstanceKey::Of(record, true, 7);
  EXPECT_FALSE(key.ultrasound);
  EXPECT_EQ(key.number, 7);
  EXPECT_EQ(key.date, "20200101");  // no Content Date: the creation date
  EXPECT_EQ(key.time, "120000");    // the time falls back on its own
  EXPECT_EQ(TanInstanceKey::Of(record, false, 7).number, 0);
}

}  // namespace
}  // namespace ORN_dicom
