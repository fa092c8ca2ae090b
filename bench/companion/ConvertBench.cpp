// Frame conversions against a plain memcpy of the same source bytes, at 1080p and UHD.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "companion/ColorConvert.h"

namespace {

std::vector<std::uint32_t> RandomWords(std::size_t n) {
  std::vector<std::uint32_t> v(n);
  std::mt19937 rng(1);
  for (auto& w : v) w = rng();
  return v;
}

void BM_Memcpy_ARGBFrame(benchmark::State& state) {
  const long w = state.range(0), h = state.range(1);
  auto src = RandomWords(std::size_t(w) * h);
  std::vector<std::uint32_t> dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(dst.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(src.size()) * 4);
}

void BM_ARGB2VYUY(benchmark::State& state) {
  const long w = state.range(0), h = state.range(1);
  auto src = RandomWords(std::size_t(w) * h);
  std::vector<std::uint32_t> dst(src.size() / 2);
  for (auto _ : state) {
    ARGB2VYUY(src.data(), w, h, w * 4, 0, dst.data());
    benchmark::DoNotOptimize(dst.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(src.size()) * 4);
}

void BM_Memcpy_VYUYFrame(benchmark::State& state) {
  const long w = state.range(0), h = state.range(1);
  auto src = RandomWords(std::size_t(w) * h / 2);
  std::vector<std::uint32_t> dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(dst.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(src.size()) * 4);
}

void BM_VYUY2ARGB(benchmark::State& state) {
  const long w = state.range(0), h = state.range(1);
  auto src = RandomWords(std::size_t(w) * h / 2);
  std::vector<std::uint32_t> dst(std::size_t(w) * h);
  for (auto _ : state) {
    VYUY2ARGB(src.data(), w, h, w * 2, 0, dst.data());
    benchmark::DoNotOptimize(dst.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(src.size()) * 4);
}

// Bytes processed count the source frame in every case, so GB/s compare one to one.
BENCHMARK(BM_Memcpy_ARGBFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ARGB2VYUY)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy_VYUYFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VYUY2ARGB)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

}  // namespace
