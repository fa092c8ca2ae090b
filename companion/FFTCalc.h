// CFFT_RC_Calc: real-to-complex FFTs (KissFFT) with one configuration cached per size, so
// repeated transforms of a size allocate nothing after the first.
//
// Sizes are powers of two from 2 to 2^20. One calculator serves one thread at a time (each
// configuration carries its own scratch space); analysers may share one on that thread.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "companion/KestruneExport.h"
#include "winport/base/types.h"

class KESTRUNE_API CFFT_RC_Calc {
 public:
  CFFT_RC_Calc();
  ~CFFT_RC_Calc();
  CFFT_RC_Calc(const CFFT_RC_Calc&) = delete;
  CFFT_RC_Calc& operator=(const CFFT_RC_Calc&) = delete;

  static BOOL IsValidSize(int nSize);
  // Builds (once) the configuration and scratch of that size; FALSE for an invalid size.
  BOOL Prepare(int nSize);
  // |X[k]| for k = 0 .. nSize / 2 of the real input pIn[0 .. nSize-1] into pMagn (nSize/2 + 1
  // floats), unnormalised (a DC input of 1 gives nSize at k = 0). FALSE, nothing written, for
  // null pointers or an invalid size.
  BOOL Magnitudes(int nSize, const float* pIn, float* pMagn);

 private:
  struct Plan;
  static constexpr int kMaxLog2 = 20;
  std::array<std::unique_ptr<Plan>, kMaxLog2 + 1> m_plans;
};
