// Reading a folder of DICOM files through the file object, headers only and whole, as the file
// set and the viewers do. The folder is DICOM_IO_BENCH_DIR (compare.sh makes it and times
// dcmdump and pydicom on the same files). Items are files; bytes are the files' sizes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace {

struct Folder {
  std::vector<std::string> files;
  int64_t bytes = 0;
};

const Folder& Files() {
  static const Folder folder = [] {
    Folder f;
    const char* dir = std::getenv("DICOM_IO_BENCH_DIR");
    if (dir == nullptr || !std::filesystem::is_directory(dir)) return f;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      if (!e.is_regular_file()) continue;
      f.files.push_back(e.path().string());
      f.bytes += static_cast<int64_t>(e.file_size());
    }
    return f;
  }();
  return folder;
}

// keep: two file objects read in turn, so that the previous file stays loaded while the next
// is read, as the file set keeps its files; the element pools then live through the run.
// Without it each file object is made and destroyed per file, and the pools with it.
void ReadFolder(benchmark::State& state, bool header, bool keep = false) {
  const Folder& folder = Files();
  if (folder.files.empty()) {
    state.SkipWithError("set DICOM_IO_BENCH_DIR to a folder of DICOM files (see compare.sh)");
    return;
  }
  ORN_dicom::EnsureDDERegistry();
  int64_t failed = 0;
  ORN_dicom::TanDicomFileObject kept[2];
  size_t turn = 0;
  for (auto _ : state) {
    for (const std::string& name : folder.files) {
      ORN_dicom::TanDicomFileObject local;
      ORN_dicom::TanDicomFileObject& file = keep ? kept[turn++ % 2] : local;
      const std::string error = header ? file.LoadHeaderFromFile(name, true) : file.LoadFromFile(name, true);
      failed += !error.empty();
      benchmark::DoNotOptimize(file.FDataSet.Count());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(folder.files.size()));
  state.SetBytesProcessed(state.iterations() * folder.bytes);
  state.counters["failed"] = static_cast<double>(failed) / static_cast<double>(state.iterations());
}

void BM_ReadHeaders(benchmark::State& state) { ReadFolder(state, true); }
void BM_ReadWhole(benchmark::State& state) { ReadFolder(state, false); }

void BM_ReadHeadersKeepingPrevious(benchmark::State& state) { ReadFolder(state, true, true); }
void BM_ReadWholeKeepingPrevious(benchmark::State& state) { ReadFolder(state, false, true); }

BENCHMARK(BM_ReadHeaders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHeadersKeepingPrevious)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWholeKeepingPrevious)->Unit(benchmark::kMillisecond);

}  // namespace
