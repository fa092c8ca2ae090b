// Where a loop has a hand-written or compiler-built AVX2 kernel beside its baseline one, this is
// the one place that decides whether the AVX2 one may exist in this build and whether this
// machine may run it. Callers choose once (a function-local static), never per row.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KESTRUNE_HAVE_AVX2_KERNELS 1
#define KESTRUNE_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define KESTRUNE_TARGET_AVX2
#endif

namespace kestrune {

inline bool CpuHasAVX2() {
#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
#else
  return false;
#endif
}

// The AVX2 kernel where this build has one and the machine runs it, the baseline otherwise.
template <class Fn>
Fn PickKernel([[maybe_unused]] Fn avx2, Fn baseline) {
#if defined(KESTRUNE_HAVE_AVX2_KERNELS)
  if (avx2 && CpuHasAVX2()) return avx2;
#endif
  return baseline;
}

}  // namespace kestrune
