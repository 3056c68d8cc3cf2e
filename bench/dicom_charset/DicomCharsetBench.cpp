// Person names decoded per second by Specific Character Set.
#include <benchmark/benchmark.h>

#include <string>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"

namespace {

using ORN_string_utils::TanDicomAnsiToUnicode;

void DecodeName(benchmark::State& state, const std::string& characterSet, const std::string& name) {
  TanDicomAnsiToUnicode converter;
  for (auto _ : state) {
    std::wstring text = converter.Decode(characterSet, name.data(), static_cast<int64_t>(name.size()),
                                         TanDicomAnsiToUnicode::TTextKind::PersonName);
    benchmark::DoNotOptimize(text);
  }
  state.counters["names/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

void BM_Latin1(benchmark::State& state) { DecodeName(state, "ISO_IR 100", "Buc^J\xe9r\xf4me"); }
void BM_Ascii(benchmark::State& state) { DecodeName(state, "ISO_IR 100", "Smith^John^^Dr"); }
void BM_Utf8(benchmark::State& state) {
  DecodeName(state, "ISO_IR 192", "Wang^XiaoDong=\xe7\x8e\x8b^\xe5\xb0\x8f\xe6\x9d\xb1=");
}
void BM_Iso2022Japanese(benchmark::State& state) {
  DecodeName(state, "\\ISO 2022 IR 87",
             "Yamada^Tarou=\x1b$B;3ED\x1b(B^\x1b$BB@O:\x1b(B=\x1b$B$d$^$@\x1b(B^\x1b$B$?$m$&\x1b(B");
}

BENCHMARK(BM_Ascii);
BENCHMARK(BM_Latin1);
BENCHMARK(BM_Utf8);
BENCHMARK(BM_Iso2022Japanese);

}  // namespace
