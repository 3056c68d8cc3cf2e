// Every entry of the component's data file, asked through the client, against pydicom's
// dictionary (Debian's python3-pydicom under /usr/bin/python3), which resolves repeating
// groups and elements with its own masks.
//
// Repeating entries are checked at several concrete tags: the "xx" of a group as 00, 1E, E0
// and FE (7FE0 is an exact group that must still win for its own elements), the "x" digits of
// an element as 0, 5 and F. Tags pydicom does not know must be "UN", "Unknown Data Element".
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/DDERegistryLoader.h"
#include "dicom/elements/TanDDERegistry.h"
#include "platform/com/Library.h"

namespace orn_dicom {
namespace {

const char* kPydicomScript = R"PY(
import sys
from pydicom import datadict
with open(sys.argv[1]) as src, open(sys.argv[2], "w") as out:
    for line in src:
        tag = int(line, 16)
        try:
            vr, vm, name, retired, keyword = datadict.get_entry(tag)
            out.write(f"{tag:08X}\t{vr}\t{1 if retired == 'Retired' else 0}\t{name}\n")
        except KeyError:
            out.write(f"{tag:08X}\t-\t0\t-\n")
)PY";

std::vector<std::string> Substitutions(const std::string& field, bool group) {
  if (field.find('x') == std::string::npos) return {field};
  std::vector<std::string> out;
  if (group) {
    for (const char* xx : {"00", "1E", "E0", "FE"}) {
      std::string s = field;
      size_t k = 0;
      for (char& c : s)
        if (c == 'x') c = xx[k++ % 2];
      out.push_back(s);
    }
  } else {
    for (char d : {'0', '5', 'F'}) {
      std::string s = field;
      for (char& c : s)
        if (c == 'x') c = d;
      out.push_back(s);
    }
  }
  return out;
}

TEST(DictionaryAgreement, EveryEntryMatchesPydicom) {
  if (std::system("/usr/bin/python3 -c 'import pydicom' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "/usr/bin/python3 with pydicom (python3-pydicom) is not installed";

  const std::string folder = platform::ProgramFolder();
  std::ifstream data(folder + "LEXICA_DATA/datadict.txt");
  ASSERT_TRUE(data) << "no data file beside the test";
  std::set<uint32_t> tags;
  size_t entries = 0;
  for (std::string line; std::getline(data, line);) {
    if (line.empty() || line[0] == '#') continue;
    ++entries;
    const std::string group = line.substr(0, 4), element = line.substr(5, 4);
    for (const auto& g : Substitutions(group, true))
      for (const auto& e : Substitutions(element, false)) tags.insert(static_cast<uint32_t>(std::stoul(g + e, nullptr, 16)));
  }
  ASSERT_GT(entries, 4900u);
  // Elements the dictionary does not hold, in known and unknown even groups.
  for (uint32_t tag : {0x00100011u, 0x00080001u, 0x00060010u, 0x7FE00003u, 0x60000003u, 0xFFFE0000u, 0x00200000u})
    tags.insert(tag);

  const std::string tagFile = folder + "dictionary_agreement_tags.txt";
  const std::string answerFile = folder + "dictionary_agreement_pydicom.txt";
  const std::string scriptFile = folder + "dictionary_agreement.py";
  {
    std::ofstream out(tagFile);
    char text[16];
    for (uint32_t tag : tags) {
      std::snprintf(text, sizeof text, "%08X\n", tag);
      out << text;
    }
    std::ofstream(scriptFile) << kPydicomScript;
  }
  ASSERT_EQ(std::system(("/usr/bin/python3 '" + scriptFile + "' '" + tagFile + "' '" + answerFile + "'").c_str()), 0);

  if (!IsDDERegistryReady()) {
    ASSERT_TRUE(InitializeDDERegistry("Tagbook.dll", GetStandardDDEPath())) << GetDDERegistryError();
  }

  std::ifstream answers(answerFile);
  size_t compared = 0, disagreements = 0;
  for (std::string line; std::getline(answers, line);) {
    std::istringstream fields(line);
    std::string tagText, vr, retired, name;
    std::getline(fields, tagText, '\t');
    std::getline(fields, vr, '\t');
    std::getline(fields, retired, '\t');
    std::getline(fields, name);
    const auto tag = static_cast<uint32_t>(std::stoul(tagText, nullptr, 16));
    if (vr == "-") {
      vr = "UN";
      name = "Unknown Data Element";
    }
    orn_dicom_impl::TanDDERegistry registry;
    iDDE_PROPERTIES& entry = registry.Group(static_cast<uint16_t>(tag >> 16)).Element(static_cast<uint16_t>(tag));
    ++compared;
    if (entry.VR() != vr || entry.Name() != name || entry.IsRetired() != (retired == "1")) {
      if (++disagreements <= 20)
        ADD_FAILURE() << tagText << ": client " << entry.VR() << " / " << entry.Name() << " / " << entry.IsRetired()
                      << ", pydicom " << vr << " / " << name << " / " << retired;
    }
  }
  EXPECT_EQ(compared, tags.size());
  EXPECT_EQ(disagreements, 0u);
  std::remove(tagFile.c_str());
  std::remove(answerFile.c_str());
  std::remove(scriptFile.c_str());
}

}  // namespace
}  // namespace orn_dicom
