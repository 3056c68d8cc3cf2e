// Test helpers: the dictionary loaded, files read from pydicom's test corpus or from bytes
// that a test builds, and elements made with the explicit little-endian factory.
#pragma once

#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "dicom/elements/DDERegistryLoader.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom::testing {

inline void LoadDictionary() {
  if (orn_dicom::IsDDERegistryReady()) return;
  if (!orn_dicom::InitializeDDERegistry("Tagbook.dll", orn_dicom::GetStandardDDEPath()))
    throw std::runtime_error(orn_dicom::GetDDERegistryError());
}

inline std::string PydicomFile(const std::string& name) { return std::string(RECORDS_PYDICOM_FILES) + "/" + name; }

inline uint16_t G(uint32_t tag) { return static_cast<uint16_t>(tag >> 16); }
inline uint16_t E(uint32_t tag) { return static_cast<uint16_t>(tag & 0xFFFF); }

// A parsed file built in memory: meta group with the three UIDs (each optional) and a data
// set that the test fills.
class BuiltFile {
 public:
  BuiltFile() : FFactory(2) {}

  BuiltFile& Meta(uint32_t tag, const std::string& text) {
    Put(File.FMetaGroup, tag, text);
    return *this;
  }
  BuiltFile& StandardMeta(const std::string& sopClass = "1.2.840.10008.5.1.4.1.1.2",
                          const std::string& sopInstance = "1.2.3.4") {
    Meta(0x00020002, sopClass).Meta(0x00020003, sopInstance).Meta(0x00020010, "1.2.840.10008.1.2.1");
    File.FFileName = "DIR1/IMG1";
    return *this;
  }
  BuiltFile& Text(uint32_t tag, const std::string& text) {
    Put(File.FDataSet, tag, text);
    return *this;
  }
  BuiltFile& Empty(uint32_t tag) {
    File.FDataSet.DeleteByTag(tag);
    File.FDataSet.Insert(FFactory->MakeDDE(G(tag), E(tag), 0));
    return *this;
  }
  BuiltFile& Add(iDDE* e) {
    File.FDataSet.DeleteByTag(e->Tag());
    File.FDataSet.Insert(e);
    return *this;
  }
  BuiltFile& PixelData() {
    static const unsigned char bytes[4] = {1, 2, 3, 4};
    return Add(FFactory->MakeDDEWithVR(0x7FE0, 0x0010, "OW", 1, 4u, bytes));
  }
  // A sequence element whose items hold the given (tag, text) pairs; an item with no pair is
  // empty.
  iDDE* Sequence(uint32_t tag, std::initializer_list<std::initializer_list<std::pair<uint32_t, const char*>>> items) {
    iDDE* sq = FFactory->MakeSequence(G(tag), E(tag), 0);
    for (auto& pairs : items) {
      iDDE* item = FFactory->MakeItem(0);
      for (auto& [t, text] : pairs) item->GetItem()->Insert(FFactory->MakeDDE(G(t), E(t), 1, text));
      sq->GetSequence()->Append(item);
    }
    return sq;
  }
  iDDEFactory& Factory() { return *FFactory; }

  TanDicomFileObject File;

 private:
  void Put(TanDDESet<iDDE>& set, uint32_t tag, const std::string& text) {
    set.DeleteByTag(tag);
    set.Insert(FFactory->MakeDDE(G(tag), E(tag), 1, text.c_str()));
  }
  TanDDEFactory FFactory;
};

// A name no other test process uses at the same time.
inline std::string UniqueTempName(const std::string& stem) {
  return ::testing::TempDir() + stem + "_" + std::to_string(std::random_device{}());
}

// Runs python3 with pydicom (Debian's interpreter) and reports its exit status.
inline int RunPython(const std::string& script) {
  const std::string path = UniqueTempName("records_script") + ".py";
  std::ofstream(path) << script;
  const int status = std::system(("/usr/bin/python3 " + path + " > /dev/null 2>&1").c_str());
  std::remove(path.c_str());
  return status;
}

}  // namespace ORN_dicom::testing
