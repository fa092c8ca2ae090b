#include "companion/FFTCalc.h"

#include <bit>
#include <cmath>
#include <cstdlib>

#include <kiss_fftr.h>

struct CFFT_RC_Calc::Plan {
  kiss_fftr_cfg cfg = nullptr;
  std::vector<kiss_fft_cpx> bins;
  ~Plan() { kiss_fftr_free(cfg); }
};

CFFT_RC_Calc::CFFT_RC_Calc() = default;
CFFT_RC_Calc::~CFFT_RC_Calc() = default;

BOOL CFFT_RC_Calc::IsValidSize(int nSize) {
  return nSize >= 2 && nSize <= (1 << kMaxLog2) && std::has_single_bit(static_cast<unsigned>(nSize));
}

BOOL CFFT_RC_Calc::Prepare(int nSize) {
  if (!IsValidSize(nSize)) return FALSE;
  auto& plan = m_plans[std::countr_zero(static_cast<unsigned>(nSize))];
  if (plan) return TRUE;
  auto made = std::make_unique<Plan>();
  made->cfg = kiss_fftr_alloc(nSize, 0, nullptr, nullptr);
  if (!made->cfg) return FALSE;
  made->bins.resize(static_cast<std::size_t>(nSize / 2 + 1));
  plan = std::move(made);
  return TRUE;
}

BOOL CFFT_RC_Calc::Magnitudes(int nSize, const float* pIn, float* pMagn) {
  if (!pIn || !pMagn || !Prepare(nSize)) return FALSE;
  Plan& plan = *m_plans[std::countr_zero(static_cast<unsigned>(nSize))];
  kiss_fftr(plan.cfg, pIn, plan.bins.data());
  for (std::size_t k = 0; k < plan.bins.size(); ++k)
    pMagn[k] = std::sqrt(plan.bins[k].r * plan.bins[k].r + plan.bins[k].i * plan.bins[k].i);
  return TRUE;
}
