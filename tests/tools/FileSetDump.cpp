#include "FileSetDump.h"

#include <exception>
#include <iostream>
#include <string>

#include "dicom/entities/records/TanPrivateIE.h"
#include "fileset/set/TanDicomFileSet.h"

namespace dump {

namespace {

using ORN_dicom::TanDirectoryRecord;

// The keys shown for every record that has them, in this order.
const struct {
  uint32_t tag;
  const char* name;
} kKeys[] = {
    {0x00100020u, "PatientID"},         {0x00100010u, "PatientName"},      {0x0020000Du, "StudyInstanceUID"},
    {0x0020000Eu, "SeriesInstanceUID"}, {0x00080060u, "Modality"},         {0x00200011u, "SeriesNumber"},
    {0x00041511u, "SOPInstanceUID"},    {0x00200013u, "InstanceNumber"},
};

void WriteRecord(std::ostream& out, const TanDirectoryRecord& record, int level) {
  out << std::string(static_cast<size_t>(2 * level), ' ') << record.GetRecordType();
  for (const auto& key : kKeys) {
    if (record.GetDataSet().Find(key.tag) == nullptr) continue;
    out << ' ' << key.name << '=' << record.GetText(key.tag);
  }
  const std::string file = record.GetReferencedFileID();
  if (!file.empty()) out << " file=" << file;
  if (const auto* stack = dynamic_cast<const ORN_dicom::TanPrivateIE*>(&record);
      stack != nullptr && !stack->GetStackKey().empty())
    out << " stack=" << stack->GetStackKey() << " images=" << stack->GetStackImageCount();
  out << '\n';
  record.ForEachChild([&](TanDirectoryRecord& child) { WriteRecord(out, child, level + 1); });
}

void WriteTree(std::ostream& out, ORN_dicom::TanDicomDirObject& dir) {
  auto& info = dir.DirectoryInfo();
  for (auto* r : info.Patients()) WriteRecord(out, *r, 0);
  for (auto* r : info.HangingProtocols()) WriteRecord(out, *r, 0);
  for (auto* r : info.Topics()) WriteRecord(out, *r, 0);
  for (auto* r : info.Privates()) WriteRecord(out, *r, 0);
}

int Fail(const std::string& text) {
  std::cout << "error: " << text << '\n';
  return 1;
}

int OpenFileSet(const std::string& path) {
  ORN_dicom::TanDicomFileSet fileSet;
  if (!fileSet.OpenDicomDir(path)) return Fail(fileSet.GetLastError());
  fileSet.Refresh();
  WriteTree(std::cout, *fileSet.GetDicomDir());
  return 0;
}

// Every pass that opens, rewrites or saves files of an opened file set, as a new file set's
// passes run; failures of a pass are warnings, so that each pass runs.
int ReworkFileSet(const std::string& path) {
  ORN_dicom::TanDicomFileSet fileSet;
  if (!fileSet.OpenDicomDir(path)) return Fail(fileSet.GetLastError());
  fileSet.Refresh();
  if (!fileSet.BuildStacks(true)) std::cerr << "warning: " << fileSet.GetLastError() << '\n';
  if (!fileSet.BuildPrivatePixelDataInfo()) std::cerr << "warning: " << fileSet.GetLastError() << '\n';
  if (!fileSet.SaveDicomDir(false)) return Fail(fileSet.GetLastError());
  WriteTree(std::cout, *fileSet.GetDicomDir());
  return 0;
}

int BuildFileSet(const std::string& folder, const std::string& rejectFolder) {
  ORN_dicom::TanDicomFileSet fileSet(rejectFolder);
  fileSet.BuildFromFolder(folder, true);
  if (!fileSet.FValid) return Fail(fileSet.GetLastError());
  if (!fileSet.BuildStacks(true)) return Fail(fileSet.GetLastError());
  if (!fileSet.BuildPrivatePixelDataInfo()) std::cerr << "warning: " << fileSet.GetLastError() << '\n';
  if (!fileSet.SaveDicomDir(false)) return Fail(fileSet.GetLastError());
  if (!fileSet.GetLastError().empty()) std::cerr << "warning: " << fileSet.GetLastError() << '\n';
  WriteTree(std::cout, *fileSet.GetDicomDir());
  return 0;
}

}  // namespace

int FileSetMode(int argc, char** argv) {
  if (argc < 3) return -1;
  const std::string mode = argv[1];
  if (!((mode == "--fileset" || mode == "--rework") && argc == 3) && !(mode == "--build" && argc <= 4)) return -1;
  try {
    if (mode == "--rework") return ReworkFileSet(argv[2]);
    return mode == "--fileset" ? OpenFileSet(argv[2]) : BuildFileSet(argv[2], argc == 4 ? argv[3] : "");
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

}  // namespace dump
