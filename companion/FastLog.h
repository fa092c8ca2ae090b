// CFastLog: a table-driven natural logarithm of a positive integer.
//
// Calc(n) = ln(n) for n >= 2, from a 4097-entry table of ln(1 + i/4096) with linear
// interpolation on the bits below the table index. Every n below 2^13 lands on a table point;
// above that the interpolation error is under 1e-8 absolute, so ratios Calc(n) / Calc(N) agree
// with the true ratio to far better than 0.1 % over 2 .. 2^31 - 1.
//
// Calc(0), Calc(1) and negative arguments return 0 (ln 1 is 0, and 0 or below has no logarithm;
// callers divide by Calc(N) only for N >= 2).
#pragma once
#include "companion/KestruneExport.h"

class KESTRUNE_API CFastLog {
 public:
  float Calc(int n) const;
};
