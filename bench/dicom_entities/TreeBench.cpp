// Adding generated instance records to a record tree: 10,000 CT images of one patient, held
// in memory as parsed files (meta group, the attributes the records take and a 2x2 pixel
// block), added through InsertFileObject. The instance numbers come in order or shuffled; the
// study count spreads them over studies and series.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace {

using namespace ORN_dicom;

constexpr int kRecords = 10000;

class GeneratedImage {
 public:
  GeneratedImage() {
    TanDDEFactory factory(2);
    auto put = [&](TanDDESet<iDDE>& set, uint16_t g, uint16_t e, const std::string& value) {
      set.Insert(factory->MakeDDE(g, e, 1, value.c_str()));
    };
    auto us = [&](uint16_t g, uint16_t e, int value) { FFile.FDataSet.Insert(factory->MakeDDE(g, e, 1, value)); };
    put(FFile.FMetaGroup, 0x0002, 0x0002, "1.2.840.10008.5.1.4.1.1.2");
    put(FFile.FMetaGroup, 0x0002, 0x0003, "1.2.3");
    put(FFile.FMetaGroup, 0x0002, 0x0010, "1.2.840.10008.1.2.1");
    FFile.FDataSet.SetTransferSyntax(2);
    put(FFile.FDataSet, 0x0008, 0x0016, "1.2.840.10008.5.1.4.1.1.2");
    put(FFile.FDataSet, 0x0008, 0x0018, "1.2.3");
    put(FFile.FDataSet, 0x0008, 0x0020, "20240101");
    put(FFile.FDataSet, 0x0008, 0x0023, "20240101");
    put(FFile.FDataSet, 0x0008, 0x0033, "101010.5");
    put(FFile.FDataSet, 0x0008, 0x0060, "CT");
    put(FFile.FDataSet, 0x0010, 0x0010, "DOE^JOHN");
    put(FFile.FDataSet, 0x0010, 0x0020, "PID1");
    put(FFile.FDataSet, 0x0020, 0x000D, "1.2.1");
    put(FFile.FDataSet, 0x0020, 0x000E, "1.2.1.1");
    put(FFile.FDataSet, 0x0020, 0x0011, "1");
    put(FFile.FDataSet, 0x0020, 0x0013, "1");
    us(0x0028, 0x0002, 1);
    put(FFile.FDataSet, 0x0028, 0x0004, "MONOCHROME2");
    us(0x0028, 0x0010, 2);
    us(0x0028, 0x0011, 2);
    us(0x0028, 0x0100, 16);
    us(0x0028, 0x0101, 12);
    us(0x0028, 0x0102, 11);
    us(0x0028, 0x0103, 0);
    const unsigned char pixels[8] = {1, 0, 2, 0, 3, 0, 4, 0};
    FFile.FDataSet.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, uint32_t{8}, static_cast<const void*>(pixels)));
  }

  // Instance i of series i % series of study i % studies.
  TanDicomFileObject& Instance(int i, int number, int studies, int series) {
    const std::string uid = "1.2.3.4." + std::to_string(i);
    const int study = i % studies;
    FFile.FMetaGroup.Find(0x00020003u)->SetString(uid);
    FFile.FDataSet.Find(0x00080018u)->SetString(uid);
    FFile.FDataSet.Find(0x00200013u)->SetString(std::to_string(number));
    FFile.FDataSet.Find(0x0020000Du)->SetString("1.2.1." + std::to_string(study));
    FFile.FDataSet.Find(0x0020000Eu)->SetString("1.2.1." + std::to_string(study) + "." + std::to_string(i % series));
    FFile.FFileName = "bench/" + std::to_string(i) + ".dcm";
    return FFile;
  }

 private:
  TanDicomFileObject FFile;
};

void AddRecords(benchmark::State& state) {
  const bool shuffled = state.range(0) != 0;
  const int studies = static_cast<int>(state.range(1));
  const int series = static_cast<int>(state.range(2));
  GeneratedImage image;
  std::vector<int> numbers(kRecords);
  std::iota(numbers.begin(), numbers.end(), 1);
  if (shuffled) std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
  for (auto _ : state) {
    TanGeneralDirectoryInfo tree;
    for (int i = 0; i < kRecords; ++i) {
      const std::string result = tree.InsertFileObject(
          image.Instance(i, numbers[static_cast<size_t>(i)], studies, series), nullptr, nullptr, nullptr);
      if (!result.empty()) {
        state.SkipWithError(result.c_str());
        return;
      }
    }
    benchmark::DoNotOptimize(tree.FPatients.Count());
    state.PauseTiming();
    tree.FPatients.Clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.SetLabel(std::string(shuffled ? "shuffled" : "in order") + " numbers, " + std::to_string(studies) +
                 " studies, " + std::to_string(series) + " series");
}

BENCHMARK(AddRecords)->Args({0, 1, 1})->Args({1, 1, 1})->Args({1, 10, 100})->Unit(benchmark::kMillisecond);

}  // namespace
