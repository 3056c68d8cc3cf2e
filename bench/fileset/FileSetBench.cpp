// Building a file set from a folder as the workstation's open-folder command does: every Part 10
// file below the folder read and added to the record tree, the display stacks of every series
// formed, and the DICOMDIR written into the folder. The folder is FILESET_BENCH_DIR (compare.sh
// fills it with generated CT images). A second benchmark times the private pixel-data pass,
// which rewrites every image. Items are image files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "dicom/io/iod/TanDDEFactory.h"
#include "fileset/set/TanDicomFileSet.h"

namespace {

std::string Folder() {
  const char* dir = std::getenv("FILESET_BENCH_DIR");
  return dir != nullptr && std::filesystem::is_directory(dir) ? dir : std::string();
}

void BuildAndWriteDicomDir(benchmark::State& state) {
  const std::string folder = Folder();
  if (folder.empty()) {
    state.SkipWithError("set FILESET_BENCH_DIR to a folder of DICOM files (see compare.sh)");
    return;
  }
  ORN_dicom::EnsureDDERegistry();
  int64_t images = 0;
  for (auto _ : state) {
    ORN_dicom::TanDicomFileSet set;
    set.BuildFromFolder(folder, false);
    if (!set.FValid || !set.BuildStacks(true) || !set.SaveDicomDir(false)) {
      state.SkipWithError(set.GetLastError().c_str());
      return;
    }
    images = set.GetDicomDir()->GetImageCount();
    state.counters["stacks"] = set.GetDicomDir()->GetStackCount();
  }
  state.SetItemsProcessed(state.iterations() * images);
}
BENCHMARK(BuildAndWriteDicomDir)->Unit(benchmark::kMillisecond)->Iterations(3);

void PrivatePixelDataPass(benchmark::State& state) {
  const std::string folder = Folder();
  if (folder.empty()) {
    state.SkipWithError("set FILESET_BENCH_DIR to a folder of DICOM files (see compare.sh)");
    return;
  }
  ORN_dicom::EnsureDDERegistry();
  ORN_dicom::TanDicomFileSet set;
  set.BuildFromFolder(folder, false);
  for (auto _ : state) {
    if (!set.BuildPrivatePixelDataInfo()) {
      state.SkipWithError(set.GetLastError().c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * set.GetDicomDir()->GetImageCount());
}
BENCHMARK(PrivatePixelDataPass)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
