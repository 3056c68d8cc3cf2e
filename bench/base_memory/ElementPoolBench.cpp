// Element pools against the runtime's new and delete, for blocks of the five element sizes.
// Single: one object made and deleted per step while another object of its size keeps the pool
// alive (as the elements of an open data set do). Batch: 10000 objects made, then deleted in
// the order they were made, as a data set is built and destroyed. Scattered: many segments live
// and freed out of order, as a large DICOMDIR read holds them.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/memory/PoolAllocated.h"
#include "base/memory/TanORNMemoryHeapAllocator.h"

namespace {

template <unsigned S>
struct PoolBlock : nalloc::PoolAllocated<PoolBlock<S>> {
  unsigned char bytes[S];
};

template <unsigned S>
struct PlainBlock {
  unsigned char bytes[S];
};

constexpr int kBatch = 10000;

template <class T>
void Single(benchmark::State& state) {
  T* anchor = new T;
  for (auto _ : state) {
    T* p = new T;
    benchmark::DoNotOptimize(p);
    delete p;
  }
  delete anchor;
  state.SetItemsProcessed(state.iterations());
}

template <class T>
void Batch(benchmark::State& state) {
  std::vector<T*> live(kBatch);
  for (auto _ : state) {
    for (auto& p : live) {
      p = new T;
      benchmark::DoNotOptimize(p);
    }
    for (T* p : live) delete p;
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

// Many live segments: state.range(0) objects made (not timed), then every other one deleted
// (timed: no page empties, so only finding each block's segment and freeing it is measured),
// then the rest (not timed). The time per object should not grow with the count.
template <class T>
void Scattered(benchmark::State& state) {
  std::vector<T*> live(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    for (auto& p : live) {
      p = new T;
      benchmark::DoNotOptimize(p);
    }
    state.ResumeTiming();
    for (std::size_t i = 0; i < live.size(); i += 2) delete live[i];
    state.PauseTiming();
    for (std::size_t i = 1; i < live.size(); i += 2) delete live[i];
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) / 2);
}

// The cold path: the only object of its size, so every step creates and destroys the pool.
template <class T>
void FirstAndLast(benchmark::State& state) {
  for (auto _ : state) {
    T* p = new T;
    benchmark::DoNotOptimize(p);
    delete p;
  }
  state.SetItemsProcessed(state.iterations());
}

#define SIZES(BM, KIND)                      \
  BENCHMARK_TEMPLATE(BM, KIND##Block<120>); \
  BENCHMARK_TEMPLATE(BM, KIND##Block<136>); \
  BENCHMARK_TEMPLATE(BM, KIND##Block<144>); \
  BENCHMARK_TEMPLATE(BM, KIND##Block<160>); \
  BENCHMARK_TEMPLATE(BM, KIND##Block<168>)

SIZES(Single, Pool);
SIZES(Single, Plain);
SIZES(Batch, Pool);
SIZES(Batch, Plain);
BENCHMARK_TEMPLATE(Scattered, PoolBlock<160>)->Arg(10000)->Arg(100000)->Arg(400000);
BENCHMARK_TEMPLATE(Scattered, PlainBlock<160>)->Arg(10000)->Arg(100000)->Arg(400000);
BENCHMARK_TEMPLATE(FirstAndLast, PoolBlock<120>);
BENCHMARK_TEMPLATE(FirstAndLast, PlainBlock<120>);

}  // namespace
