// Writing a folder of DICOM files back through the file object's writers: the stream writer,
// the one-buffer writer and the mapped writer, each through a temporary file renamed over the
// target; then the written files read back through a stream and through memory. The files of
// DICOM_IO_BENCH_DIR are read once; the writes go to a scratch folder. Items are files; bytes
// are the written sizes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace {

namespace fs = std::filesystem;

struct Loaded {
  std::vector<std::unique_ptr<ORN_dicom::TanDicomFileObject>> files;
  int64_t bytes = 0;
  fs::path out;
};

const Loaded& Files() {
  static const Loaded loaded = [] {
    Loaded l;
    const char* dir = std::getenv("DICOM_IO_BENCH_DIR");
    if (dir == nullptr || !fs::is_directory(dir)) return l;
    ORN_dicom::EnsureDDERegistry();
    for (const auto& e : fs::directory_iterator(dir)) {
      auto f = std::make_unique<ORN_dicom::TanDicomFileObject>();
      if (!e.is_regular_file() || !f->LoadFromFile(e.path().string(), true).empty()) continue;
      if (f->FMetaGroup.IsEmpty()) continue;
      l.bytes += f->GetEncodedSize();
      l.files.push_back(std::move(f));
    }
    l.out = fs::temp_directory_path() / "vistrel_bench_dicom_io_write";
    fs::create_directories(l.out);
    return l;
  }();
  return loaded;
}

enum class Writer { Stream, Buffer, Mapped };

void WriteFolder(benchmark::State& state, Writer writer) {
  const Loaded& loaded = Files();
  if (loaded.files.empty()) {
    state.SkipWithError("set DICOM_IO_BENCH_DIR to a folder of DICOM files (see compare.sh)");
    return;
  }
  int64_t failed = 0;
  for (auto _ : state) {
    std::size_t i = 0;
    for (const auto& f : loaded.files) {
      const std::string name = (loaded.out / (std::to_string(i++) + ".dcm")).string();
      const bool ok = writer == Writer::Stream   ? f->SaveToFile(name)
                      : writer == Writer::Buffer ? f->WriteAsynchronous(name)
                                                 : f->WriteMapped(name);
      failed += !ok;
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(loaded.files.size()));
  state.SetBytesProcessed(state.iterations() * loaded.bytes);
  state.counters["failed"] = static_cast<double>(failed) / static_cast<double>(state.iterations());
}

// Reads back what the writers wrote (written once here, so the benchmark stands alone).
void ReadFolder(benchmark::State& state, bool viaMemory) {
  const Loaded& loaded = Files();
  if (loaded.files.empty()) {
    state.SkipWithError("set DICOM_IO_BENCH_DIR to a folder of DICOM files (see compare.sh)");
    return;
  }
  std::vector<std::string> names;
  for (const auto& f : loaded.files) {
    names.push_back((loaded.out / ("read" + std::to_string(names.size()) + ".dcm")).string());
    if (!f->SaveToFile(names.back())) {
      state.SkipWithError("cannot write the files to read back");
      return;
    }
  }
  int64_t failed = 0;
  for (auto _ : state) {
    for (const std::string& name : names) {
      ORN_dicom::TanDicomFileObject f;
      const std::string error = viaMemory ? f.LoadFromFileViaMemory(name, false) : f.LoadFromFile(name, false);
      failed += !error.empty();
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
  state.SetBytesProcessed(state.iterations() * loaded.bytes);
  state.counters["failed"] = static_cast<double>(failed) / static_cast<double>(state.iterations());
}

void BM_WriteStream(benchmark::State& state) { WriteFolder(state, Writer::Stream); }
void BM_WriteBuffer(benchmark::State& state) { WriteFolder(state, Writer::Buffer); }
void BM_WriteMapped(benchmark::State& state) { WriteFolder(state, Writer::Mapped); }

BENCHMARK(BM_WriteStream)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteMapped)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBackStream(benchmark::State& state) { ReadFolder(state, false); }
void BM_ReadBackViaMemory(benchmark::State& state) { ReadFolder(state, true); }
BENCHMARK(BM_ReadBackStream)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadBackViaMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
