// Module sets read from files that dcmtk and pydicom make at test time (dcmmklut tables,
// dcmpsmk presentation states, an enhanced multi-frame image, sigmoid windows) must give what
// pydicom gives: the LUT outputs of apply_modality_lut and apply_voi_lut at and beyond both
// ends of each table, windows, shapes, references, per-frame groups. Written back and saved,
// the files must read back alike, and dciodvfy must find no error the fixture did not have.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/FunctionalGroupsModule.h"
#include "dicom/modules/ModalityLUTModule.h"
#include "dicom/modules/PresentationLUTModule.h"
#include "dicom/modules/PresentationStateRelationshipModule.h"
#include "dicom/modules/VOILUTModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

namespace fs = std::filesystem;

struct Fact {
  std::string file, place;
  int kind = 0;
  uint32_t index = 0;
  std::string text;
};

std::string G(long double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
  return text;
}

std::string Window(const ndl::iDICOM_VOI_LUT& voi) {
  const long double low = voi.GetFirstMapped(), high = voi.GetLastMapped();
  return "window " + G((low + high) / 2) + " " + G(high - low);
}

// "map X=Y": the output for X by the element's Map, in the fact's form.
std::string MapFact(const std::string& fact, const std::function<int32_t(int32_t)>& map, const char* word = "map") {
  const int32_t x = std::stoi(fact.substr(fact.find(' ') + 1));
  return std::string(word) + " " + std::to_string(x) + "=" + std::to_string(map(x));
}

// The module sets of one place of a file.
struct Modules {
  Modules(ORN_dicom::TanDicomFileObject& file, ndl::DataSet& set) {
    modality.InitializeFromDataSet(file, set);
    voi.InitializeFromDataSet(file, set);
    presentation.InitializeFromDataSet(file, set);
    relationship.InitializeFromDataSet(file, set);
    groups.InitializeFromDataSet(file, set);
  }

  std::string Answer(const Fact& f) {
    const std::string word = f.text.substr(0, f.text.find(' '));
    switch (f.kind) {
      case 9:
        if (f.index >= static_cast<uint32_t>(modality.GetCount())) return "no modality LUT";
        return MapFact(f.text, [&](int32_t x) { return modality.At(f.index)->Map(x); });
      case 7: {
        if (f.index >= static_cast<uint32_t>(voi.GetCount())) return "no VOI LUT";
        const ndl::iDICOM_VOI_LUT& e = *voi.At(f.index);
        if (word == "window") return Window(e);
        return MapFact(f.text, [&](int32_t x) { return e.Map(x); });
      }
      case 10: {
        if (presentation.GetCount() == 0) return "no presentation LUT";
        const auto& e = *presentation.Front();
        if (word == "shape") return e.GetDataKind() != 2 ? "no shape" : e.GetShape() < 0 ? "shape INVERSE" : "shape IDENTITY";
        return MapFact(f.text, [&](int32_t x) { return e.Map(x); });
      }
      case 20: {
        if (f.index >= static_cast<uint32_t>(relationship.GetCount())) return "no relationship";
        const auto& e = *relationship.At(f.index);
        if (word == "series") return std::string("series ") + (e.GetSeriesInstanceUID() ? e.GetSeriesInstanceUID() : "");
        for (uint32_t i = 0; i < e.FReferences->GetCount(); ++i) {
          const auto& r = e.FReferences->At(i);
          const std::string text = std::string("image ") + r.GetSOPClassUID() + " " + r.GetSOPInstanceUID() + " " +
                                   std::to_string(r.GetFrameNumber());
          if (text == f.text) return text;
        }
        return "image not referenced";
      }
      case 28: {
        if (groups.GetCount() != 1) return std::string("no functional groups: ") + groups.GetErrorText();
        const auto& g = *groups.Front();
        if (word == "frames") return "frames " + std::to_string(g.GetNumberOfFrames());
        if (f.index >= g.Macros.GetCount()) return "no macro";
        const auto& m = g.Macros.At(f.index);
        if (word == "laterality") return std::string("laterality ") + m.GetFrameLaterality();
        if (word == "type") return std::string("type ") + m.GetFrameType();
        if (word == "stack") return "stack " + std::to_string(m.FrameContent.GetInStackPositionNumber());
        if (word == "temporal") return "temporal " + std::to_string(m.FrameContent.GetTemporalPositionIndex());
        if (word == "z") return "z " + G(m.ImagePlane.ImagePosition.GetZ());
        if (word == "spacing")
          return "spacing " + G(m.ImagePlane.PixelSpacing.GetRowSpacing()) + " " +
                 G(m.ImagePlane.PixelSpacing.GetColumnSpacing());
        if (word == "modality") return MapFact(f.text, [&](int32_t x) { return m.ModalityLUT.Map(x); }, "modality");
        if (word == "window") return m.FrameVOILUTs.GetCount() == 0 ? "no window" : Window(m.FrameVOILUTs.At(0));
        return "unknown fact";
      }
      default:
        return "unknown kind";
    }
  }

  bool WriteBack(ndl::DataSet& set, ORN_dicom::iDDEFactory* factory, std::string& error) {
    ndl::iDICOM_OBJECT_MODULE_SET_GENERAL* sets[] = {&modality, &voi, &presentation, &relationship};
    for (auto* s : sets) {
      if (s->IsEmpty()) continue;
      if (!s->Write(set, factory)) {
        error = s->GetErrorText();
        return false;
      }
    }
    return true;
  }

  ndl::TanModalityLUTModule modality;
  ndl::TanVOILUTModule voi;
  ndl::TanPresentationLUTModule presentation;
  ndl::TanPresentationStateRelationshipModule relationship;
  ndl::TanFunctionalGroupsModule groups;
};

ndl::DataSet* Place(ORN_dicom::TanDicomFileObject& file, const std::string& place) {
  if (place == "top") return &file.FDataSet;
  ORN_dicom::iDDE* sq = file.FDataSet.Find(0x00283110u);  // Softcopy VOI LUT Sequence
  if (sq == nullptr || sq->GetSequence() == nullptr || sq->GetSequence()->Count() == 0) return nullptr;
  return sq->GetSequence()->At(0)->GetItem();
}

std::set<std::string> DciodvfyErrors(const std::string& path) {
  std::set<std::string> errors;
  const std::string out = path + ".dciodvfy";
  if (std::system(("dciodvfy '" + path + "' > '" + out + "' 2>&1").c_str()) < 0) return errors;
  std::ifstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Error", 0) == 0) errors.insert(line);
  return errors;
}

class PeerFixtures : public ModulesTest {
 protected:
  void SetUp() override {
    ModulesTest::SetUp();
    dir = fs::temp_directory_path() /
          ("vistrel_module_fixtures_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
           std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string command = std::string("/usr/bin/python3 '") + DICOM_MODULES_SOURCE_DIR +
                                "/tests/pydicom_lut_fixtures.py' '" + dir.string() + "' '" + (dir / "facts.txt").string() +
                                "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pydicom, dcmmklut or dcmpsmk is not available";
    std::ifstream in(dir / "facts.txt");
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> p;
      std::stringstream s(line);
      for (std::string field; std::getline(s, field, '|');) p.push_back(field);
      if (p.size() != 5) continue;
      facts.push_back({p[0], p[1], std::stoi(p[2]), static_cast<uint32_t>(std::stoul(p[3])), p[4]});
    }
  }
  void TearDown() override { fs::remove_all(dir); }

  // Every fact of one file answered by the module sets of the file at path.
  void ExpectFacts(const std::string& name, const std::string& path) {
    ORN_dicom::TanDicomFileObject file;
    ASSERT_EQ(file.LoadFromFile(path, false), "") << path;
    std::map<std::string, std::unique_ptr<Modules>> places;
    int checked = 0;
    for (const Fact& f : facts) {
      if (f.file != name) continue;
      auto& m = places[f.place];
      if (!m) {
        ndl::DataSet* set = Place(file, f.place);
        ASSERT_NE(set, nullptr) << f.place;
        m = std::make_unique<Modules>(file, *set);
      }
      EXPECT_EQ(m->Answer(f), f.text) << name << " " << f.place << " kind " << f.kind << " #" << f.index;
      ++checked;
    }
    EXPECT_GT(checked, 0) << name;
  }

  fs::path dir;
  std::vector<Fact> facts;
};

TEST_F(PeerFixtures, ModuleSetsGiveWhatPydicomGives) {
  std::set<std::string> files;
  for (const Fact& f : facts) files.insert(f.file);
  ASSERT_GE(files.size(), 9u);
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    ExpectFacts(name, (dir / name).string());
  }
}

TEST_F(PeerFixtures, WrittenBackReadsAlikeAndDciodvfyFindsNothingNew) {
  std::set<std::string> files;
  for (const Fact& f : facts) files.insert(f.file);
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    const std::string source = (dir / name).string();
    ORN_dicom::TanDicomFileObject file;
    ASSERT_EQ(file.LoadFromFile(source, false), "");
    ORN_dicom::TanDDEFactory factory(file.FDataSet.GetTransferSyntaxKind());
    ASSERT_NE(factory.Get(), nullptr);
    // Each place's sets are read first, then written back over what they were read from.
    std::set<std::string> placeNames;
    for (const Fact& f : facts)
      if (f.file == name) placeNames.insert(f.place);
    for (const std::string& place : placeNames) {
      ndl::DataSet* set = Place(file, place);
      ASSERT_NE(set, nullptr);
      Modules modules(file, *set);
      std::string error;
      EXPECT_TRUE(modules.WriteBack(*set, factory.Get(), error)) << place << ": " << error;
    }
    const std::string written = (dir / ("written_" + name)).string();
    ASSERT_TRUE(file.SaveToFile(written)) << file.FLastError;
    // A 12-bit table keeps its depth; a reference to a single-frame image names no frame 0.
    if (name == "presentation_table.dcm") {
      ORN_dicom::iDDE* sq = file.FDataSet.Find(0x20500010u);
      ASSERT_NE(sq, nullptr);
      uint16_t bits = 0;
      ASSERT_TRUE(sq->GetSequence()->At(0)->GetItem()->Find(0x00283002u)->GetUShortAt(bits, 2));
      EXPECT_EQ(bits, 12);
    }
    if (ORN_dicom::iDDE* series = file.FDataSet.Find(0x00081115u)) {
      ORN_dicom::iDDE* images = series->GetSequence()->At(0)->GetItem()->Find(0x00081140u);
      ASSERT_NE(images, nullptr);
      EXPECT_EQ(images->GetSequence()->At(0)->GetItem()->Find(0x00081160u), nullptr);
    }
    ExpectFacts(name, written);
    std::set<std::string> added;
    const std::set<std::string> before = DciodvfyErrors(source);
    for (const std::string& e : DciodvfyErrors(written))
      if (!before.count(e)) added.insert(e);
    EXPECT_TRUE(added.empty()) << *added.begin();
  }
}

}  // namespace
}  // namespace ndl_test
