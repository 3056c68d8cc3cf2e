// Decoding and encoding of one frame through the image converter and the codec components:
// a 512 × 512 16-bit CT frame in lossless JPEG and RLE, a 512 × 512 RGB frame in baseline
// JPEG. Throughput is counted in bytes of the raw frame.
//
// With VISTREL_BENCH_DUMP=<folder> the raw frames are also written there (ct16.raw, rgb8.raw),
// so that dcmtk can be timed on the same frames (dcmtk_timing.py).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "imaging/TsgImageConverter.h"

namespace {

constexpr int kSize = 512;
constexpr size_t kPixels = size_t(kSize) * kSize;

// A CT-like slice: air around a body of soft tissue with bone and noise, stored unsigned with
// the usual 1024 offset (12 bits used of 16).
const std::vector<uint8_t>& CtFrame() {
  static const std::vector<uint8_t> frame = [] {
    std::vector<uint8_t> out(2 * kPixels);
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 12.0);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const double dx = (x - 256) / 200.0, dy = (y - 270) / 160.0;
        const double r = dx * dx + dy * dy;
        double hu = -1000;
        if (r < 1.0) hu = 40 + 30 * std::sin(x / 17.0) * std::cos(y / 23.0);
        if (r < 1.0 && std::hypot(x - 256, y - 330) < 25) hu = 900;
        hu += noise(random);
        const auto v = uint16_t(std::clamp(hu + 1024, 0.0, 4095.0));
        out[2 * (size_t(y) * kSize + x)] = uint8_t(v);
        out[2 * (size_t(y) * kSize + x) + 1] = uint8_t(v >> 8);
      }
    }
    return out;
  }();
  return frame;
}

// A photograph-like colour frame: smooth gradients, edges and a little noise.
const std::vector<uint8_t>& RgbFrame() {
  static const std::vector<uint8_t> frame = [] {
    std::vector<uint8_t> out(3 * kPixels);
    std::mt19937 random(13);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        uint8_t* p = &out[3 * (size_t(y) * kSize + x)];
        const int band = ((x / 64) + (y / 64)) % 2;
        p[0] = uint8_t(std::clamp(x / 2 + band * 60 + int(random() % 7), 0, 255));
        p[1] = uint8_t(std::clamp(y / 2 + int(random() % 7), 0, 255));
        p[2] = uint8_t(std::clamp(128 + int(60 * std::sin((x + y) / 40.0)) + int(random() % 7), 0, 255));
      }
    }
    return out;
  }();
  return frame;
}

void DumpFrames() {
  const char* folder = std::getenv("VISTREL_BENCH_DUMP");
  if (folder == nullptr) return;
  std::ofstream(std::string(folder) + "/ct16.raw", std::ios::binary)
      .write(reinterpret_cast<const char*>(CtFrame().data()), std::streamsize(CtFrame().size()));
  std::ofstream(std::string(folder) + "/rgb8.raw", std::ios::binary)
      .write(reinterpret_cast<const char*>(RgbFrame().data()), std::streamsize(RgbFrame().size()));
}
const int kDumped = (DumpFrames(), 0);

enum class Codec { JpegLossless, Rle, JpegBaselineRgb };

uint32_t Encode(TsgImageConverter& converter, Codec codec, std::vector<uint8_t>& out) {
  out.resize(4 * kPixels + 64);
  const auto capacity = uint32_t(out.size());
  switch (codec) {
    case Codec::JpegLossless:
      return converter.CompressJpegLossless(kSize, kSize, 16, CtFrame().data(), out.data(), capacity);
    case Codec::Rle:
      return converter.CompressRle(kSize, kSize, 16, CtFrame().data(), out.data(), capacity);
    case Codec::JpegBaselineRgb:
      return converter.CompressJpegLossyRGB(kSize, kSize, RgbFrame().data(), out.data(), 0, 90, capacity);
  }
  return 0;
}

size_t RawSize(Codec codec) { return codec == Codec::JpegBaselineRgb ? RgbFrame().size() : CtFrame().size(); }

void BM_Encode(benchmark::State& state, Codec codec) {
  TsgImageConverter converter;
  std::vector<uint8_t> out;
  uint32_t length = 0;
  for (auto _ : state) {
    length = Encode(converter, codec, out);
    benchmark::DoNotOptimize(out.data());
  }
  if (length == 0) state.SkipWithError("encoding failed");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(RawSize(codec)));
  state.counters["ratio"] = double(RawSize(codec)) / double(length ? length : 1);
}

void BM_Decode(benchmark::State& state, Codec codec) {
  TsgImageConverter converter;
  std::vector<uint8_t> packed;
  const uint32_t length = Encode(converter, codec, packed);
  std::vector<uint8_t> out(RawSize(codec));
  const auto size = uint32_t(out.size());
  bool ok = true;
  for (auto _ : state) {
    switch (codec) {
      case Codec::JpegLossless:
        ok = converter.DecompressJpegLossless(kSize, kSize, 16, packed.data(), length, out.data(), size);
        break;
      case Codec::Rle:
        ok = converter.DecompressRle(kSize, kSize, 16, packed.data(), length, out.data(), size);
        break;
      case Codec::JpegBaselineRgb:
        ok = converter.DecompressJpegLossy(kSize, kSize, packed.data(), length, out.data(), size);
        break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  if (!ok) state.SkipWithError("decoding failed");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(RawSize(codec)));
}

BENCHMARK_CAPTURE(BM_Decode, CT16_JpegLossless, Codec::JpegLossless)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, CT16_JpegLossless, Codec::JpegLossless)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, CT16_Rle, Codec::Rle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, CT16_Rle, Codec::Rle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, RGB8_JpegBaseline, Codec::JpegBaselineRgb)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, RGB8_JpegBaseline, Codec::JpegBaselineRgb)->Unit(benchmark::kMillisecond);

}  // namespace
