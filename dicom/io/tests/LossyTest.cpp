// The lossy JPEG factory (kind 7): native grey, palette and colour pixel data compressed with
// the image attributes rewritten so that stored values keep their real values; failures that
// leave the target as it was; icons that change only their item; copies of lossy JPEG whose
// frames hold colour; and what dcmtk reads back from the files it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanLossyDDEFactory.h"
#include "dicom/io/pixel/TanPixelDataCompressor.h"
#include "dicom/io/tests/TestFileWriter.h"
#include "dicom/io/tests/FactoryBinding.h"
#include "imaging/TsgImageConverter.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;
const fs::path kPydicom = "/usr/lib/python3/dist-packages/pydicom/data/test_files";

int Shell(const std::string& command) { return std::system(command.c_str()); }

using test_support::BindFactory;

// A native image: the attributes given, then the pixel data.
struct Native {
  TanExplicitLEFactory f;
  TanIOD set;
  Native(int32_t columns, int32_t rows, int32_t frames, int32_t bitsAllocated, int32_t bitsStored,
         int32_t representation, const char* photometric, int32_t samples) {
    set.SetTransferSyntaxKind(2);
    set.Insert(f.MakeDDE(0x0008, 0x0016, 1, "1.2.840.10008.5.1.4.1.1.7"));
    set.Insert(f.MakeDDE(0x0008, 0x0018, 1, "1.2.826.0.1.3680043.2.1125.9.1"));
    set.Insert(f.MakeDDE(0x0028, 0x0002, 1, samples));
    set.Insert(f.MakeDDE(0x0028, 0x0004, 1, photometric));
    if (frames > 1) set.Insert(f.MakeDDE(0x0028, 0x0008, 1, std::to_string(frames).c_str()));
    set.Insert(f.MakeDDE(0x0028, 0x0010, 1, rows));
    set.Insert(f.MakeDDE(0x0028, 0x0011, 1, columns));
    set.Insert(f.MakeDDE(0x0028, 0x0100, 1, bitsAllocated));
    set.Insert(f.MakeDDE(0x0028, 0x0101, 1, bitsStored));
    set.Insert(f.MakeDDE(0x0028, 0x0102, 1, bitsStored - 1));
    set.Insert(f.MakeDDE(0x0028, 0x0103, 1, representation));
  }
  void Text(uint16_t g, uint16_t e, const char* text) { set.Insert(f.MakeDDE(g, e, 1, text)); }
  void Pixels(const std::vector<uint8_t>& bytes, uint16_t code) {
    set.Insert(f.MakePixelData(code, 1, uint32_t(bytes.size()), bytes.data()));
  }
};

std::vector<uint8_t> Words(const std::vector<int32_t>& v) {
  std::vector<uint8_t> out;
  for (int32_t x : v) {
    out.push_back(uint8_t(x));
    out.push_back(uint8_t(uint32_t(x) >> 8));
  }
  return out;
}

std::string TextOf(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* e = set.Find(tag);
  if (e == nullptr) return "(none)";
  std::string s = e->GetString();
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

double NumberOf(TanDDESet<iDDE>& set, uint32_t tag, double absent) {
  iDDE* e = set.Find(tag);
  return e == nullptr ? absent : double(ORN_utility::TanStr2Float(e->GetString()).ToFloat());
}

// Real values of the stored grey samples of a native set: slope × stored + intercept.
std::vector<double> RealValues(TanDDESet<iDDE>& set) {
  iDDE* e = set.Find(0x7FE00010u);
  const bool wide = set.Find(0x00280100u)->GetUShort() > 8;
  const bool isSigned = set.Find(0x00280103u) != nullptr && set.Find(0x00280103u)->GetUShort() == 1;
  const int32_t stored = set.Find(0x00280101u)->GetUShort();
  const double slope = NumberOf(set, 0x00281053u, 1.0), intercept = NumberOf(set, 0x00281052u, 0.0);
  std::vector<double> out;
  const uint8_t* p = e->GetData();
  const uint32_t n = e->GetLength() / (wide ? 2 : 1);
  for (uint32_t i = 0; i < n; ++i) {
    int64_t v = wide ? (p[2 * i] | p[2 * i + 1] << 8) : p[i];
    if (wide && stored < 16) v &= (1 << stored) - 1;
    if (isSigned) v = wide ? int16_t(v) : int8_t(v);
    out.push_back(slope * double(v) + intercept);
  }
  return out;
}

// All attributes of a set as text, for before/after comparisons.
std::string Dump(TanDDESet<iDDE>& set) {
  std::string s;
  for (uint32_t i = 0; i < set.Count(); ++i) {
    iDDE* e = set.At(i);
    s += e->TagText() + "=" + (e->Tag() == 0x7FE00010u ? "" : e->GetString()) + "\n";
  }
  return s;
}

// Converts source with the data-set factory of the kind.
std::unique_ptr<TanIOD> ConvertWith(uint8_t kind, uint8_t quality, TanIOD& source, std::string* message = nullptr) {
  TanIODFactory factory(kind, quality);
  std::unique_ptr<TanIOD> target(factory->MakeIOD());
  if (!factory->ConvertIOD(*target, source, false)) {
    if (message != nullptr) *message = factory->GetLastMessage();
    return nullptr;
  }
  return target;
}

TEST(Lossy, GreyImagesKeepTheirRealValues) {
  EnsureDDERegistry();
  struct Case {
    const char* name;
    int32_t bitsAllocated, bitsStored, representation, frames;
    const char* slope;
    const char* intercept;
    std::vector<int32_t> frameLow, frameHigh;  // stored value range of each frame
    int32_t wantBits;
  } cases[] = {
      // CT: signed stored values with a rescale; the 12-bit range takes them whole.
      {"ct", 16, 16, 1, 1, "1", "-1024", {-1024}, {3000}, 12},
      // A slope above 2^(16 - 12): kept in the attributes, windows untouched.
      {"slope100", 16, 12, 0, 1, "100", "0", {0}, {4095}, 12},
      {"stored8", 16, 8, 0, 1, "100", "-5", {0}, {255}, 12},
      // Frames of different ranges share one mapping into 12 bits.
      {"frames", 16, 16, 0, 3, "0.5", "10", {0, 20000, 100}, {1000, 60000, 200}, 12},
      {"signed8", 8, 8, 1, 1, "2", "0", {-100}, {100}, 8},
      {"plain8", 8, 8, 0, 2, nullptr, nullptr, {0, 50}, {255, 60}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t columns = 64, rows = 48;
    Native image(columns, rows, c.frames, c.bitsAllocated, c.bitsStored, c.representation, "MONOCHROME2", 1);
    if (c.slope != nullptr) {
      image.Text(0x0028, 0x1052, c.intercept);
      image.Text(0x0028, 0x1053, c.slope);
    }
    image.Text(0x0028, 0x1050, "40\\400");
    image.Text(0x0028, 0x1051, "400");
    std::vector<int32_t> values;
    for (int32_t z = 0; z < c.frames; ++z)
      for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x)
          values.push_back(c.frameLow[z] + (c.frameHigh[z] - c.frameLow[z]) * (x + y) / (columns + rows - 2));
    std::vector<uint8_t> bytes;
    if (c.bitsAllocated == 8) {
      for (int32_t v : values) bytes.push_back(uint8_t(v));
    } else {
      bytes = Words(values);
    }
    image.Pixels(bytes, c.bitsAllocated == 8 ? vr::OB : vr::OW);
    const std::vector<double> before = RealValues(image.set);

    std::string message;
    auto lossy = ConvertWith(7, 95, image.set, &message);
    ASSERT_NE(lossy, nullptr) << message;
    EXPECT_EQ(lossy->GetTransferSyntaxKind(), 7);
    EXPECT_EQ(lossy->Find(0x00280101u)->GetUShort(), c.wantBits);
    EXPECT_EQ(lossy->Find(0x00280102u)->GetUShort(), c.wantBits - 1);
    EXPECT_EQ(lossy->Find(0x00280103u)->GetUShort(), 0);
    EXPECT_EQ(TextOf(*lossy, 0x00282110u), "01");
    EXPECT_EQ(TextOf(*lossy, 0x00281050u), "40\\400");
    EXPECT_EQ(TextOf(*lossy, 0x00281051u), "400");
    if (c.slope == nullptr) {
      EXPECT_EQ(lossy->Find(0x00281053u), nullptr);  // none where none was needed
    }
    EXPECT_LE(TextOf(*lossy, 0x00281052u).size(), 16u);
    EXPECT_LE(TextOf(*lossy, 0x00281053u).size(), 16u);
    EXPECT_EQ(lossy->Find(0x7FE00010u)->ValueAs<TanEPDValue>()->FFrames.Count(), uint32_t(c.frames));

    auto back = ConvertWith(2, 50, *lossy, &message);
    ASSERT_NE(back, nullptr) << message;
    const std::vector<double> after = RealValues(*back);
    ASSERT_EQ(after.size(), before.size());
    // The error allowed: the JPEG's own plus half a step of the mapping, in real units.
    const double slope = NumberOf(*lossy, 0x00281053u, 1.0);
    double worst = 0;
    for (size_t i = 0; i < before.size(); ++i) worst = std::max(worst, std::fabs(after[i] - before[i]));
    EXPECT_LE(worst, slope * 4 + 1e-6) << "slope " << slope;
  }
}

// A palette image of 8-bit indices over 16-bit tables.
std::unique_ptr<Native> PaletteImage(bool withDescriptor) {
  auto made = std::make_unique<Native>(16, 8, 1, 8, 8, 0, "PALETTE COLOR", 1);
  Native& image = *made;
  std::vector<int32_t> red, green, blue;
  for (int32_t i = 0; i < 256; ++i) {
    red.push_back(i * 257);
    green.push_back((255 - i) * 257);
    blue.push_back(128 * 257);
  }
  std::vector<uint8_t> r = Words(red), g = Words(green), b = Words(blue);
  if (withDescriptor) {
    for (uint16_t e : {0x1101, 0x1102, 0x1103}) image.set.Insert(image.f.MakeDDEWithVR(0x0028, e, "US", 3, 256, 0, 16));
  }
  image.set.Insert(image.f.MakeDDEWithVR(0x0028, 0x1199, "UI", 1, "1.2.3.4"));
  image.set.Insert(image.f.MakeDDEWithVR(0x0028, 0x1201, "OW", 1, uint32_t(r.size()), r.data()));
  image.set.Insert(image.f.MakeDDEWithVR(0x0028, 0x1202, "OW", 1, uint32_t(g.size()), g.data()));
  image.set.Insert(image.f.MakeDDEWithVR(0x0028, 0x1203, "OW", 1, uint32_t(b.size()), b.data()));
  std::vector<uint8_t> indices;
  for (int32_t i = 0; i < 16 * 8; ++i) indices.push_back(uint8_t(i * 2));
  image.Pixels(indices, vr::OB);
  return made;
}

TEST(Lossy, PaletteColourBecomesRGB) {
  EnsureDDERegistry();
  auto image = PaletteImage(true);
  std::string message;
  auto lossy = ConvertWith(7, 95, image->set, &message);
  ASSERT_NE(lossy, nullptr) << message;
  EXPECT_EQ(lossy->Find(0x00280002u)->GetUShort(), 3);
  EXPECT_EQ(TextOf(*lossy, 0x00280004u), "YBR_FULL_422");
  EXPECT_EQ(lossy->Find(0x00280006u)->GetUShort(), 0);
  EXPECT_EQ(lossy->Find(0x00280100u)->GetUShort(), 8);
  EXPECT_EQ(lossy->Find(0x00280101u)->GetUShort(), 8);
  EXPECT_EQ(lossy->Find(0x00280102u)->GetUShort(), 7);
  for (uint32_t tag : {0x00281101u, 0x00281102u, 0x00281103u, 0x00281199u, 0x00281201u, 0x00281202u, 0x00281203u,
                       0x00281052u, 0x00281053u})
    EXPECT_EQ(lossy->Find(tag), nullptr) << std::hex << tag;
  auto back = ConvertWith(2, 50, *lossy, &message);
  ASSERT_NE(back, nullptr) << message;
  iDDE* pixels = back->Find(0x7FE00010u);
  ASSERT_EQ(pixels->GetLength(), 16u * 8u * 3u);
  const uint8_t* p = pixels->GetData();
  int worst = 0;
  for (int32_t i = 0; i < 16 * 8; ++i) {
    const int index = (i * 2) & 0xFF;
    worst = std::max({worst, std::abs(p[3 * i] - index), std::abs(p[3 * i + 1] - (255 - index)),
                      std::abs(p[3 * i + 2] - 128)});
  }
  EXPECT_LE(worst, 24);  // colour is subsampled 4:2:2 by the baseline coder
}

TEST(Lossy, FailuresLeaveTheTargetAsItWas) {
  EnsureDDERegistry();
  struct Case {
    const char* name;
    std::function<std::unique_ptr<Native>()> make;
  } cases[] = {
      {"palette without descriptor", [] { return PaletteImage(false); }},
      {"empty modality LUT sequence",
       [] {
         auto image = std::make_unique<Native>(8, 8, 1, 16, 12, 0, "MONOCHROME2", 1);
         image->set.Insert(image->f.MakeSequence(0x0028, 0x3000, 1));
         image->Pixels(std::vector<uint8_t>(128, 1), vr::OW);
         return image;
       }},
      {"modality LUT without data",
       [] {
         auto image = std::make_unique<Native>(8, 8, 1, 16, 12, 0, "MONOCHROME2", 1);
         iDDE* sequence = image->f.MakeSequence(0x0028, 0x3000, 1);
         iDDE* item = image->f.MakeItem(1);
         item->GetItem()->Insert(image->f.MakeDDEWithVR(0x0028, 0x3002, "US", 3, 4096, 0, 16));
         sequence->GetSequence()->Insert(item);
         image->set.Insert(sequence);
         image->Pixels(std::vector<uint8_t>(128, 1), vr::OW);
         return image;
       }},
      {"frame of the wrong size",
       [] {
         auto image = std::make_unique<Native>(3, 3, 1, 8, 8, 0, "MONOCHROME2", 1);
         image->Pixels(std::vector<uint8_t>(12, 1), vr::OB);
         return image;
       }},
      {"32 bits allocated",
       [] {
         auto image = std::make_unique<Native>(2, 2, 1, 32, 32, 0, "MONOCHROME2", 1);
         image->Pixels(std::vector<uint8_t>(16, 1), vr::OB);
         return image;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto image = c.make();
    TanLossyDDEFactory f;
    TanDDESet<iDDE> target;
    BindFactory(f, image->set, target, 2, 50);
    for (uint32_t i = 0; i + 1 < image->set.Count(); ++i)
      ASSERT_TRUE(target.Insert(f.MakeDDEFromDDE(image->set.At(i))));
    const std::string before = Dump(target);
    std::unique_ptr<iDDE> made(f.MakeDDEFromDDE(image->set.Find(0x7FE00010u)));
    EXPECT_EQ(made, nullptr);
    EXPECT_FALSE(f.FLastMessage.empty());
    EXPECT_EQ(Dump(target), before);
  }
}

TEST(Lossy, ModalityLUTIsApplied) {
  EnsureDDERegistry();
  Native image(16, 16, 1, 16, 12, 0, "MONOCHROME2", 1);
  std::vector<int32_t> table;
  for (int32_t i = 0; i < 4096; ++i) table.push_back(i / 2 + 100);
  const std::vector<uint8_t> data = Words(table);
  iDDE* sequence = image.f.MakeSequence(0x0028, 0x3000, 1);
  iDDE* item = image.f.MakeItem(1);
  item->GetItem()->Insert(image.f.MakeDDEWithVR(0x0028, 0x3002, "US", 3, 4096, 0, 16));
  item->GetItem()->Insert(image.f.MakeDDEWithVR(0x0028, 0x3006, "OW", 1, uint32_t(data.size()), data.data()));
  sequence->GetSequence()->Insert(item);
  image.set.Insert(sequence);
  std::vector<int32_t> stored;
  for (int32_t i = 0; i < 256; ++i) stored.push_back(i * 16);
  image.Pixels(Words(stored), vr::OW);
  std::string message;
  auto lossy = ConvertWith(7, 95, image.set, &message);
  ASSERT_NE(lossy, nullptr) << message;
  EXPECT_EQ(lossy->Find(0x00283000u), nullptr);
  auto back = ConvertWith(2, 50, *lossy, &message);
  ASSERT_NE(back, nullptr) << message;
  const std::vector<double> real = RealValues(*back);
  for (size_t i = 0; i < real.size(); ++i) EXPECT_NEAR(real[i], stored[i] / 2 + 100, 8) << i;
}

TEST(Lossy, IconsChangeOnlyTheirItem) {
  EnsureDDERegistry();
  TanExplicitLEFactory le;
  TanDDESet<iDDE> top, item;
  for (TanDDESet<iDDE>* s : {&top, &item}) {
    s->Insert(le.MakeDDE(0x0028, 0x0002, 1, 1));
    s->Insert(le.MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
    s->Insert(le.MakeDDE(0x0028, 0x0010, 1, 8));
    s->Insert(le.MakeDDE(0x0028, 0x0011, 1, 8));
    s->Insert(le.MakeDDE(0x0028, 0x0100, 1, 16));
    s->Insert(le.MakeDDE(0x0028, 0x0101, 1, 16));
    s->Insert(le.MakeDDE(0x0028, 0x0102, 1, 15));
    s->Insert(le.MakeDDE(0x0028, 0x0103, 1, 1));
    s->Insert(le.MakeDDE(0x0028, 0x0120, 1, -2000));
    s->Insert(le.MakeDDE(0x0028, 0x1052, 1, "-1024"));
    s->Insert(le.MakeDDE(0x0028, 0x1053, 1, "1"));
  }
  const std::string topBefore = Dump(top);
  TanLossyDDEFactory f;
  TanDDESet<iDDE> source;
  BindFactory(f, source, top, 2, 50);
  f.FCurrentSet = &item;
  f.FPixelDataInItem = 1;
  std::vector<int32_t> values;
  for (int32_t i = 0; i < 64; ++i) values.push_back(i * 50 - 1000);
  std::unique_ptr<iDDE> icon(le.MakePixelData(vr::OW, 1, uint32_t(128), Words(values).data()));
  std::unique_ptr<iDDE> made(f.MakeDDEFromDDE(icon.get()));
  ASSERT_NE(made, nullptr) << f.FLastMessage;
  EXPECT_EQ(made->Length(), 0xFFFFFFFFu);
  EXPECT_EQ(item.Find(0x00280101u)->GetUShort(), 12);
  EXPECT_EQ(TextOf(item, 0x00282110u), "01");
  EXPECT_EQ(item.Find(0x00280120u), nullptr);
  EXPECT_EQ(Dump(top), topBefore);
}

TEST(Lossy, IconSequencesOfWholeDataSets) {
  // An 8-bit image without a rescale whose icon is a signed 16-bit image with one: converting
  // the data set changes the icon's item, and the image's attributes follow its own pixels.
  EnsureDDERegistry();
  Native image(32, 32, 1, 8, 8, 0, "MONOCHROME2", 1);
  Native icon(8, 8, 1, 16, 16, 1, "MONOCHROME2", 1);
  icon.Text(0x0028, 0x1052, "-1024");
  icon.Text(0x0028, 0x1053, "1");
  std::vector<int32_t> values;
  for (int32_t i = 0; i < 64; ++i) values.push_back(i * 50 - 3000);
  icon.Pixels(Words(values), vr::OW);
  iDDE* sequence = image.f.MakeSequence(0x0088, 0x0200, 1);
  iDDE* item = image.f.MakeItem(1);
  for (uint32_t i = 0; i < icon.set.Count(); ++i)
    if (icon.set.At(i)->Group() == 0x0028 || icon.set.At(i)->Group() == 0x7FE0)
      item->GetItem()->Insert(image.f.MakeDDEFromDDE(icon.set.At(i)));
  sequence->GetSequence()->Insert(item);
  image.set.Insert(sequence);
  image.Pixels(std::vector<uint8_t>(32 * 32, 77), vr::OB);
  std::string message;
  auto lossy = ConvertWith(7, 90, image.set, &message);
  ASSERT_NE(lossy, nullptr) << message;
  EXPECT_EQ(lossy->Find(0x00281052u), nullptr);
  EXPECT_EQ(lossy->Find(0x00281053u), nullptr);
  EXPECT_EQ(lossy->Find(0x00280101u)->GetUShort(), 8);
  TanDDESet<iDDE>* converted = lossy->Find(0x00880200u)->GetSequence()->At(0)->GetItem();
  EXPECT_EQ(converted->Find(0x00280101u)->GetUShort(), 12);
  EXPECT_EQ(converted->Find(0x7FE00010u)->Length(), 0xFFFFFFFFu);
  EXPECT_EQ(TextOf(*converted, 0x00281052u), "-4024");  // -1024 + the lowest stored value, -3000
}

TEST(Lossy, CopiedJpegWhoseFramesHoldColourIsMarkedRGB) {
  EnsureDDERegistry();
  std::vector<uint8_t> rgb(16 * 16 * 3, 90), jpeg(8192);
  TsgImageConverter c;
  jpeg.resize(c.CompressJpegLossyRGB(16, 16, rgb.data(), jpeg.data(), 0, 80, uint32_t(jpeg.size())));
  ASSERT_FALSE(jpeg.empty());
  TanLossyDDEFactory f;
  TanIOD source;
  source.SetTransferSyntaxKind(7);
  source.Insert(f.MakeDDE(0x0028, 0x0002, 1, 1));
  source.Insert(f.MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
  source.Insert(f.MakeDDE(0x0028, 0x0010, 1, 16));
  source.Insert(f.MakeDDE(0x0028, 0x0011, 1, 16));
  source.Insert(f.MakeDDE(0x0028, 0x0100, 1, 8));
  source.Insert(f.MakePixelData(vr::OB, 1, uint32_t(jpeg.size()), jpeg.data()));
  std::string message;
  auto copy = ConvertWith(7, 50, source, &message);
  ASSERT_NE(copy, nullptr) << message;
  EXPECT_EQ(TextOf(*copy, 0x00280004u), "RGB");
  EXPECT_EQ(copy->Find(0x00280002u)->GetUShort(), 3);
  EXPECT_EQ(copy->Find(0x00280006u)->GetUShort(), 0);
  iDDE* fragment = copy->Find(0x7FE00010u)->ValueAs<TanEPDValue>()->At(1);
  ASSERT_GE(fragment->GetLength(), jpeg.size());
  EXPECT_EQ(std::vector<uint8_t>(fragment->GetData(), fragment->GetData() + jpeg.size()), jpeg);
}

TEST(Lossy, NumberTextsAreDecimalStrings) {
  EXPECT_EQ(TanLossyDDEFactory::SlopeText(16), "16.0");
  EXPECT_EQ(TanLossyDDEFactory::SlopeText(1.5), "1.5");
  EXPECT_EQ(TanLossyDDEFactory::SlopeText(0.000123456), "0.000123456");
  EXPECT_EQ(TanLossyDDEFactory::InterceptText(-1024), "-1024");
  EXPECT_LE(TanLossyDDEFactory::InterceptText(-1024.123456789012345).size(), 16u);
  EXPECT_LE(TanLossyDDEFactory::SlopeText(1.0 / 3.0).size(), 16u);
}

TEST(Lossy, FrameSizesOfTheCompressors) {
  // Exact size or that rounded up to even; anything else is refused and out left alone.
  TanPixelDataCompressor c;
  std::vector<uint8_t> frame(524290, 7), out{1, 2, 3};
  EXPECT_TRUE(c.CompressJpegLossless(512, 512, 16, frame.data(), 524288, out));
  out = {1, 2, 3};
  EXPECT_FALSE(c.CompressJpegLossless(512, 512, 16, frame.data(), 524289, out));
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_TRUE(c.CompressRle(3, 3, 8, frame.data(), 9, out));
  EXPECT_TRUE(c.CompressRle(3, 3, 8, frame.data(), 10, out));
  EXPECT_FALSE(c.CompressRle(3, 3, 8, frame.data(), 11, out));
  EXPECT_TRUE(c.CompressRleRGB(3, 3, 0, frame.data(), 27, out));
  EXPECT_TRUE(c.CompressJpegLosslessRGB(3, 3, frame.data(), 28, out, 0));
  // Noise does not shrink: still compressed, into exactly the bytes written.
  std::mt19937 noise(1);
  for (auto& b : frame) b = uint8_t(noise());
  EXPECT_TRUE(c.CompressRle(512, 512, 16, frame.data(), 524288, out));
  EXPECT_GT(out.size(), 524288u);
}

TEST(Lossy, BigEndianWordsAreCompressedInHostOrder) {
  if (!fs::exists(kPydicom / "MR_small_bigendian.dcm")) GTEST_SKIP() << "pydicom's files missing";
  EnsureDDERegistry();
  TanDicomFileObject big, little;
  ASSERT_EQ(big.LoadFromFile((kPydicom / "MR_small_bigendian.dcm").string(), false), "");
  ASSERT_EQ(little.LoadFromFile((kPydicom / "MR_small.dcm").string(), false), "");
  ASSERT_EQ(big.GetTransferSyntaxKind(), 3);
  std::string message;
  auto lossy = ConvertWith(7, 95, big.FDataSet, &message);
  ASSERT_NE(lossy, nullptr) << message;
  auto back = ConvertWith(2, 50, *lossy, &message);
  ASSERT_NE(back, nullptr) << message;
  const std::vector<double> got = RealValues(*back), want = RealValues(little.FDataSet);
  ASSERT_EQ(got.size(), want.size());
  double worst = 0;
  for (size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::fabs(got[i] - want[i]));
  EXPECT_LE(worst, 40);
}

// ---- the frame check after reading encapsulated pixel data ----

void Item(std::string& out, uint16_t element, const std::vector<uint8_t>& bytes) {
  const uint32_t n = uint32_t(bytes.size());
  const uint8_t h[8] = {0xFE, 0xFF, uint8_t(element), uint8_t(element >> 8),
                        uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  out.append(reinterpret_cast<const char*>(h), 8);
  out.append(bytes.begin(), bytes.end());
}

TEST(Lossy, FramesAreFoundInTheFragmentsWhenConverted) {
  EnsureDDERegistry();
  // Three 8 x 8 JPEG frames of different grey levels.
  std::vector<std::vector<uint8_t>> jpegs;
  TsgImageConverter c;
  for (uint8_t level : {20, 120, 220}) {
    std::vector<uint8_t> grey(64, level), out(4096);
    int32_t representation = 0;
    double slope = 1, intercept = 0;
    out.resize(c.CompressJpegLossy(8, 8, grey.data(), out.data(), 8, &representation, &slope, &intercept, 90,
                                   uint32_t(out.size())));
    ASSERT_FALSE(out.empty());
    if (out.size() % 2 != 0) out.push_back(0);
    jpegs.push_back(out);
  }
  std::vector<uint8_t> joined;
  for (const auto& j : jpegs) joined.insert(joined.end(), j.begin(), j.end());
  auto table = [&](uint32_t entries) {
    std::vector<uint8_t> t;
    uint32_t offset = 0;
    for (uint32_t i = 0; i < entries; ++i) {
      for (int b = 0; b < 4; ++b) t.push_back(uint8_t(offset >> (8 * b)));
      if (i < jpegs.size()) offset += uint32_t(jpegs[i].size()) + 8;  // past the last: the end
    }
    return t;
  };
  struct Case {
    const char* name;
    const char* frames;
    std::vector<std::vector<uint8_t>> items;  // offset table, then the fragments
    const char* error;                        // of the conversion; empty: it converts
  } cases[] = {
      {"three streams in one fragment", "3", {{}, joined}, ""},
      {"one fragment per frame", "3", {{}, jpegs[0], jpegs[1], jpegs[2]}, ""},
      {"a stream too few", "4", {{}, joined}, "Frame 4 cannot be found in the encapsulated pixel data."},
      {"a table of two entries for three frames", "3", {table(2), jpegs[0], jpegs[1], jpegs[2]}, ""},
      {"a table of four entries for three frames", "3", {table(4), jpegs[0], jpegs[1], jpegs[2]}, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TanExplicitLEFactory le;
    TanDDESet<iDDE> attributes;
    attributes.Insert(le.MakeDDE(0x0028, 0x0002, 1, 1));
    attributes.Insert(le.MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
    attributes.Insert(le.MakeDDE(0x0028, 0x0008, 1, k.frames));
    attributes.Insert(le.MakeDDE(0x0028, 0x0010, 1, 8));
    attributes.Insert(le.MakeDDE(0x0028, 0x0011, 1, 8));
    attributes.Insert(le.MakeDDE(0x0028, 0x0100, 1, 8));
    attributes.Insert(le.MakeDDE(0x0028, 0x0101, 1, 8));
    attributes.Insert(le.MakeDDE(0x0028, 0x0102, 1, 7));
    attributes.Insert(le.MakeDDE(0x0028, 0x0103, 1, 0));
    std::ostringstream encoded;
    attributes.WriteTo(encoded);
    std::string bytes = encoded.str();
    bytes.append("\xE0\x7F\x10\x00OB\0\0\xFF\xFF\xFF\xFF", 12);
    for (const auto& item : k.items) Item(bytes, 0xE000, item);
    Item(bytes, 0xE0DD, {});

    TanIODFactory factory(7, 50);
    TanIOD fromMemory, fromStream;
    fromMemory.SetTransferSyntaxKind(7);
    fromStream.SetTransferSyntaxKind(7);
    uint32_t count = uint32_t(bytes.size());
    // Every shape is read; the element stays as it was read and its frames are found when it
    // is decoded.
    EXPECT_TRUE(factory->ReadFromMemory(fromMemory, bytes.data(), count, false));
    std::istringstream in(bytes);
    count = uint32_t(bytes.size());
    EXPECT_TRUE(factory->ReadFromStream(fromStream, in, count, false));
    for (TanIOD* set : {&fromMemory, &fromStream}) {
      ASSERT_NE(set->Find(0x7FE00010u), nullptr);
      EXPECT_EQ(set->Find(0x7FE00010u)->ValueAs<TanEPDValue>()->Count(), k.items.size() + 1);
      std::string message;
      auto native = ConvertWith(2, 50, *set, &message);
      if (*k.error) {
        EXPECT_EQ(native, nullptr);
        EXPECT_NE(message.find(k.error), std::string::npos) << message;
        continue;
      }
      ASSERT_NE(native, nullptr) << message;
      iDDE* pixels = native->Find(0x7FE00010u);
      ASSERT_EQ(pixels->GetLength(), 3u * 64u);
      for (int f = 0; f < 3; ++f) EXPECT_NEAR(pixels->GetData()[f * 64 + 27], 20 + 100 * f, 3);
    }
  }
}

// ---- dcmtk reads what the factory writes ----

std::vector<std::string> Errors(const fs::path& file, const fs::path& log) {
  Shell("dciodvfy '" + file.string() + "' >'" + log.string() + "' 2>&1");
  std::ifstream in(log);
  std::vector<std::string> errors;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Error", 0) == 0) errors.push_back(line);
  return errors;
}

class LossyFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDDERegistry();
    dir = fs::temp_directory_path() / ("vistrel_lossy_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

// Native secondary-capture files of our own: grey 8-bit, and 16-bit (12 stored) multi-frame.
void WriteNativeFiles(const fs::path& dir) {
  TanDicomFileObject mr;
  ASSERT_EQ(mr.LoadFromFile((kPydicom / "MR_small.dcm").string(), false), "");
  Native grey(128, 96, 1, 8, 8, 0, "MONOCHROME2", 1);
  grey.Text(0x0008, 0x0064, "WSD");
  std::vector<uint8_t> bytes;
  for (int32_t y = 0; y < 96; ++y)
    for (int32_t x = 0; x < 128; ++x) bytes.push_back(uint8_t((x * 2 + y) & 0xFF));
  grey.Pixels(bytes, vr::OB);
  ASSERT_TRUE(testing::WritePart10((dir / "grey8.dcm").string(), mr.FMetaGroup, grey.set, "1.2.840.10008.1.2.1"));
  Native frames(64, 64, 3, 16, 12, 0, "MONOCHROME2", 1);
  frames.Text(0x0008, 0x0064, "WSD");
  std::vector<int32_t> values;
  for (int32_t z = 0; z < 3; ++z)
    for (int32_t y = 0; y < 64; ++y)
      for (int32_t x = 0; x < 64; ++x) values.push_back((x * 40 + y * 20 + z * 700) % 4096);
  frames.Pixels(Words(values), vr::OW);
  ASSERT_TRUE(
      testing::WritePart10((dir / "frames16.dcm").string(), mr.FMetaGroup, frames.set, "1.2.840.10008.1.2.1"));
}

// The samples of the native pixel data of a set (8 or 16 bits as allocated).
std::vector<int32_t> Samples(TanDDESet<iDDE>& set) {
  iDDE* e = set.Find(0x7FE00010u);
  const bool wide = set.Find(0x00280100u)->GetUShort() > 8;
  std::vector<int32_t> out;
  const uint8_t* p = e->GetData();
  for (uint32_t i = 0; i + (wide ? 1 : 0) < e->GetLength(); i += wide ? 2 : 1)
    out.push_back(wide ? p[i] | p[i + 1] << 8 : p[i]);
  return out;
}

TEST_F(LossyFiles, DcmtkLossyFilesDecodeLikeDcmdjpeg) {
  if (!fs::exists("/usr/bin/dcmcjpeg") || !fs::exists(kPydicom)) GTEST_SKIP() << "dcmtk or pydicom's files missing";
  WriteNativeFiles(dir);
  struct Case {
    std::string file;
    const char* make;  // dcmtk command making lossy JPEG of the file; empty: the file is lossy JPEG
  } cases[] = {
      {(dir / "grey8.dcm").string(), "dcmcjpeg +eb"},
      {(dir / "frames16.dcm").string(), "dcmcjpeg +ee"},
      {(kPydicom / "JPEG-lossy.dcm").string(), ""},
      {(kPydicom / "JPGExtended.dcm").string(), ""},
      {(kPydicom / "SC_rgb_jpeg_dcmtk.dcm").string(), ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    if (!fs::exists(c.file)) continue;
    const std::string k = std::to_string(n++);
    const fs::path lossy = dir / ("l" + k + ".dcm"), reference = dir / ("r" + k + ".dcm"),
                   copy = dir / ("c" + k + ".dcm"), copyBack = dir / ("cb" + k + ".dcm");
    if (*c.make) {
      ASSERT_EQ(Shell(std::string(c.make) + " '" + c.file + "' '" + lossy.string() + "'"), 0);
    } else {
      fs::copy_file(c.file, lossy);
    }
    ASSERT_EQ(Shell("dcmdjpeg +te '" + lossy.string() + "' '" + reference.string() + "' >/dev/null 2>&1"), 0);
    TanDicomFileObject from, want;
    ASSERT_EQ(from.LoadFromFile(lossy.string(), false), "");
    ASSERT_EQ(from.GetTransferSyntaxKind(), 7);
    ASSERT_EQ(want.LoadFromFile(reference.string(), false), "");
    const std::vector<int32_t> expected = Samples(want.FDataSet);

    // Decoded to explicit VR little endian: within 1 of dcmdjpeg.
    std::string message;
    auto native = ConvertWith(2, 50, from.FDataSet, &message);
    ASSERT_NE(native, nullptr) << message;
    const std::vector<int32_t> got = Samples(*native);
    ASSERT_EQ(got.size(), expected.size());
    int worst = 0;
    for (size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::abs(got[i] - expected[i]));
    EXPECT_LE(worst, 1);

    // Copied as lossy JPEG: the same frames, so dcmdjpeg decodes the same pixels.
    auto same = ConvertWith(7, 50, from.FDataSet, &message);
    ASSERT_NE(same, nullptr) << message;
    ASSERT_TRUE(testing::WritePart10(copy.string(), from.FMetaGroup, *same, TextOf(from.FMetaGroup, 0x00020010u)));
    ASSERT_EQ(Shell("dcmdjpeg +te '" + copy.string() + "' '" + copyBack.string() + "' >/dev/null 2>&1"), 0);
    TanDicomFileObject again;
    ASSERT_EQ(again.LoadFromFile(copyBack.string(), false), "");
    EXPECT_EQ(Samples(again.FDataSet), expected);
  }
}

TEST_F(LossyFiles, DcmtkDecodesWhatTheFactoryWrites) {
  if (!fs::exists("/usr/bin/dcmdjpeg") || !fs::exists(kPydicom)) GTEST_SKIP() << "dcmtk or pydicom's files missing";
  const bool dciodvfy = fs::exists("/usr/bin/dciodvfy");
  WriteNativeFiles(dir);
  struct Case {
    std::string file;
    const char* make;  // command making a native file from the file; empty: the file as it is
    double tolerance;  // largest difference of real (grey) or RGB sample values
  } cases[] = {
      {(dir / "grey8.dcm").string(), "", 12},
      {(kPydicom / "CT_small.dcm").string(), "", 40},
      {(kPydicom / "MR_small.dcm").string(), "", 40},
      {(dir / "frames16.dcm").string(), "", 40},
      {(kPydicom / "SC_rgb_rle_2frame.dcm").string(), "dcmdrle", 40},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    if (!fs::exists(c.file)) continue;
    const std::string k = std::to_string(n++);
    const fs::path native = dir / ("n" + k + ".dcm"), made = dir / ("m" + k + ".dcm"), back = dir / ("b" + k + ".dcm");
    if (*c.make) {
      ASSERT_EQ(Shell(std::string(c.make) + " '" + c.file + "' '" + native.string() + "'"), 0);
    } else {
      fs::copy_file(c.file, native);
    }
    TanDicomFileObject from;
    ASSERT_EQ(from.LoadFromFile(native.string(), false), "");
    TanIOD* source = &from.FDataSet;
    std::string message;
    auto lossy = ConvertWith(7, 90, *source, &message);
    ASSERT_NE(lossy, nullptr) << message;
    ASSERT_TRUE(testing::WritePart10(made.string(), from.FMetaGroup, *lossy, "1.2.840.10008.1.2.4.51"));
    ASSERT_EQ(Shell("dcmdjpeg +te '" + made.string() + "' '" + back.string() + "' >/dev/null 2>&1"), 0);
    TanDicomFileObject decoded;
    ASSERT_EQ(decoded.LoadFromFile(back.string(), false), "");
    double worst = 0;
    if (source->Find(0x00280002u)->GetUShort() == 1) {
      // Padding pixels became their nearest real value: compared only where the source has none.
      const iDDE* padding = source->Find(0x00280120u);
      const double pad = padding != nullptr ? double(padding->GetShort()) * NumberOf(*source, 0x00281053u, 1.0) +
                                                  NumberOf(*source, 0x00281052u, 0.0)
                                            : NAN;
      const std::vector<double> want = RealValues(*source), got = RealValues(decoded.FDataSet);
      ASSERT_EQ(got.size(), want.size());
      for (size_t i = 0; i < want.size(); ++i)
        if (!(want[i] == pad)) worst = std::max(worst, std::fabs(got[i] - want[i]));
    } else {
      iDDE *a = source->Find(0x7FE00010u), *b = decoded.FDataSet.Find(0x7FE00010u);
      ASSERT_EQ(a->GetLength(), b->GetLength());
      for (uint32_t i = 0; i < a->GetLength(); ++i) worst = std::max(worst, double(std::abs(a->GetData()[i] - b->GetData()[i])));
    }
    EXPECT_LE(worst, c.tolerance);
    if (dciodvfy) {
      const std::vector<std::string> before = Errors(native, dir / "before.txt"), after = Errors(made, dir / "after.txt");
      for (const std::string& e : after)
        EXPECT_NE(std::find(before.begin(), before.end(), e), before.end()) << "new dciodvfy error: " << e;
    }
  }
}

}  // namespace
}  // namespace ORN_dicom
