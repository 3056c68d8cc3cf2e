// A data set of 2,000 elements: built, walked in tag order, written, and its person names
// decoded by Specific Character Set.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"
#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/element/ElementClasses.h"

namespace {

using namespace ORN_dicom;
constexpr uint32_t kElements = 2000;

// Tag i: group 0x0011 + 2 * (i / 500), element i % 500 + 0x10; texts and numbers alternate.
uint32_t TagOf(uint32_t i) { return (uint32_t{0x0011} + 2 * (i / 500)) << 16 | (i % 500 + 0x10); }

iDDE* MakeElement(uint32_t i) {
  const uint16_t g = static_cast<uint16_t>(TagOf(i) >> 16), e = static_cast<uint16_t>(TagOf(i));
  if (i % 2 == 0) {
    const std::string text = "VALUE" + std::to_string(i);
    return new dde::ShortText(g, e, vr::LO, text.data(), static_cast<uint32_t>(text.size()));
  }
  auto* us = new dde::ShortUS(g, e, vr::US);
  us->AddUShort(static_cast<uint16_t>(i));
  return us;
}

void BM_BuildByAppend(benchmark::State& state) {
  for (auto _ : state) {
    TanDDESet<iDDE> set(kElements);
    for (uint32_t i = 0; i < kElements; ++i) set.Append(MakeElement(i));
    benchmark::DoNotOptimize(set.Count());
  }
  state.counters["elements/s"] = benchmark::Counter(double(state.iterations()) * kElements, benchmark::Counter::kIsRate);
}

void BM_BuildByInsertInReverse(benchmark::State& state) {
  for (auto _ : state) {
    TanDDESet<iDDE> set;
    for (uint32_t i = kElements; i-- > 0;) set.Insert(MakeElement(i));
    benchmark::DoNotOptimize(set.Count());
  }
  state.counters["elements/s"] = benchmark::Counter(double(state.iterations()) * kElements, benchmark::Counter::kIsRate);
}

void BM_WalkWithCursorAndGetString(benchmark::State& state) {
  TanDDESet<iDDE> set(kElements);
  for (uint32_t i = 0; i < kElements; ++i) set.Append(MakeElement(i));
  for (auto _ : state) {
    set.FCursor = 0;
    std::size_t chars = 0;
    for (uint32_t i = 0; i < kElements; ++i) chars += set.FindFromCursor(TagOf(i))->GetString().size();
    benchmark::DoNotOptimize(chars);
  }
  state.counters["elements/s"] = benchmark::Counter(double(state.iterations()) * kElements, benchmark::Counter::kIsRate);
}

void BM_WriteToMemory(benchmark::State& state) {
  TanDDESet<iDDE> set(kElements);
  for (uint32_t i = 0; i < kElements; ++i) set.Append(MakeElement(i));
  std::vector<unsigned char> out(set.Length());
  for (auto _ : state) {
    set.CopyTo(out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

// 2,000 PN elements of one character set, each decoded from the set.
void DecodeNames(benchmark::State& state, const std::string& characterSet, const std::string& name) {
  TanDDESet<iDDE> set(kElements);
  for (uint32_t i = 0; i < kElements; ++i)
    set.Append(new dde::ShortText(static_cast<uint16_t>(TagOf(i) >> 16), static_cast<uint16_t>(TagOf(i)), vr::PN,
                                  name.data(), static_cast<uint32_t>(name.size())));
  ORN_string_utils::TanDicomAnsiToUnicode converter;
  for (auto _ : state) {
    std::size_t chars = 0;
    for (uint32_t i = 0; i < kElements; ++i) {
      iDDE* e = set.At(i);
      chars += converter
                   .Decode(characterSet, reinterpret_cast<const char*>(e->GetData()), e->GetLength(),
                           ORN_string_utils::TanDicomAnsiToUnicode::TTextKind::PersonName)
                   .size();
    }
    benchmark::DoNotOptimize(chars);
  }
  state.counters["names/s"] = benchmark::Counter(double(state.iterations()) * kElements, benchmark::Counter::kIsRate);
}

void BM_DecodeLatin1Names(benchmark::State& state) { DecodeNames(state, "ISO_IR 100", "Buc^J\xe9r\xf4me"); }
void BM_DecodeUtf8Names(benchmark::State& state) {
  DecodeNames(state, "ISO_IR 192", "Wang^XiaoDong=\xe7\x8e\x8b^\xe5\xb0\x8f\xe6\x9d\xb1=");
}
void BM_DecodeIso2022JapaneseNames(benchmark::State& state) {
  DecodeNames(state, "\\ISO 2022 IR 87",
              "Yamada^Tarou=\x1b$B;3ED\x1b(B^\x1b$BB@O:\x1b(B=\x1b$B$d$^$@\x1b(B^\x1b$B$?$m$&\x1b(B");
}

BENCHMARK(BM_BuildByAppend);
BENCHMARK(BM_BuildByInsertInReverse);
BENCHMARK(BM_WalkWithCursorAndGetString);
BENCHMARK(BM_WriteToMemory);
BENCHMARK(BM_DecodeLatin1Names);
BENCHMARK(BM_DecodeUtf8Names);
BENCHMARK(BM_DecodeIso2022JapaneseNames);

}  // namespace
