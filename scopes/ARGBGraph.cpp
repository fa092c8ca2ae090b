#include "scopes/ARGBGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "scopes/ScopeGeometry.h"

namespace {
// Columns per accumulation tile: three channels of 16-bit counters (48 KiB) stay cached while
// every sampled row passes, and each row gives one 128-byte read.
constexpr int kTileColumns = 32;

// Round to nearest, halves to even (the default rounding mode).
inline long long RoundEven(double v) { return std::llrint(v); }
}  // namespace

CARGBGraph::CARGBGraph() {
  m_nBrightness[0] = 0;
  for (int n = 1; n < 5120; ++n) m_nBrightness[n] = std::min(128 + n, 255);
}

void CARGBGraph::UpdateGraph(void* pData, long nWidth, long nHeight, long nPitch, long nSkip) {
  const auto walk = scopes_detail::WalkFrame(pData, nWidth, nHeight, nPitch, nSkip, nWidth * 4);
  if (!walk.ok) return;
  const int width = static_cast<int>(nWidth);
  if (m_arrParadeR.GetSize() != width) {
    m_arrParadeR.SetSize(width, -1);
    m_arrParadeG.SetSize(width, -1);
    m_arrParadeB.SetSize(width, -1);
  }
  if (m_arrHistoR.GetSize() != 256) {
    m_arrHistoR.SetSize(256, -1);
    m_arrHistoG.SetSize(256, -1);
    m_arrHistoB.SetSize(256, -1);
  }
  const int rows = static_cast<int>(walk.rows);
  m_nPixelCount = nWidth * rows;

  DWORD hr[256] = {}, hg[256] = {}, hb[256] = {};
  uint16_t cnt[3][kTileColumns][256];  // blue, green, red
  GrayLevel* out[3] = {m_arrParadeB.GetData(), m_arrParadeG.GetData(), m_arrParadeR.GetData()};
  DWORD* histo[3] = {hb, hg, hr};
  const BYTE* frame = static_cast<const BYTE*>(pData);
  const int rowStep = static_cast<int>(walk.rowStep);
  for (int x0 = 0; x0 < width; x0 += kTileColumns) {
    const int nc = std::min(kTileColumns, width - x0);
    for (auto& ch : cnt) std::memset(ch, 0, sizeof(ch[0]) * nc);
    const BYTE* row = frame + 4L * x0;
    for (int r = 0; r < rows; ++r, row += rowStep) {
      if (r + scopes_detail::kPrefetchRows < rows)
        scopes_detail::PrefetchRow(row + scopes_detail::kPrefetchRows * rowStep, 4 * nc);
      const BYTE* p = row;
      int c = 0;
      for (; c + 2 <= nc; c += 2, p += 8) {  // two pixels at a time
        uint64_t w;
        std::memcpy(&w, p, 8);
        ++cnt[0][c][w & 0xFF];
        ++cnt[1][c][(w >> 8) & 0xFF];
        ++cnt[2][c][(w >> 16) & 0xFF];
        ++cnt[0][c + 1][(w >> 32) & 0xFF];
        ++cnt[1][c + 1][(w >> 40) & 0xFF];
        ++cnt[2][c + 1][(w >> 48) & 0xFF];
      }
      if (c < nc) {
        ++cnt[0][c][p[0]];
        ++cnt[1][c][p[1]];
        ++cnt[2][c][p[2]];
      }
    }
    // Parade records keep raw counts; the histograms are the columns summed.
    for (int ch = 0; ch < 3; ++ch)
      for (int c = 0; c < nc; ++c) {
        const uint16_t* n = cnt[ch][c];
        LONG* o = out[ch][x0 + c].nLevel;
        DWORD* h = histo[ch];
        for (int L = 0; L < 256; ++L) {
          o[L] = n[L];
          h[L] += n[L];
        }
      }
  }
  for (int L = 0; L < 256; ++L) {
    m_arrHistoR[L] = static_cast<LONG>(hr[L]);
    m_arrHistoG[L] = static_cast<LONG>(hg[L]);
    m_arrHistoB[L] = static_cast<LONG>(hb[L]);
  }
}

void CARGBGraph::DrawHistoR(CBuf32Draw* pDraw, const CRect& rc) {
  DrawHistoElement(pDraw, m_arrHistoR.GetData(), m_arrHistoR.GetSize(), rc, 0xF9826C);
}
void CARGBGraph::DrawHistoG(CBuf32Draw* pDraw, const CRect& rc) {
  DrawHistoElement(pDraw, m_arrHistoG.GetData(), m_arrHistoG.GetSize(), rc, 0x8CF96C);
}
void CARGBGraph::DrawHistoB(CBuf32Draw* pDraw, const CRect& rc) {
  DrawHistoElement(pDraw, m_arrHistoB.GetData(), m_arrHistoB.GetSize(), rc, 0x8C82D9);
}

void CARGBGraph::DrawHistoElement(CBuf32Draw* pDraw, const LONG* pValues, long nCount, const CRect& rc,
                                  DWORD colour) {
  if (nCount <= 0 || !pValues || !pDraw || !pDraw->Buf() || !scopes_detail::RectOk(rc)) return;
  const int levels = static_cast<int>(std::min<long>(nCount, 256));
  const double xw = (rc.right - rc.left) / 256.0;
  const float d = m_FastLog.Calc(static_cast<int>(std::min<long>(m_nPixelCount, INT_MAX)));
  const float hs = d > 0.f ? static_cast<float>(rc.bottom - rc.top) / d : 0.f;
  // Everything is clipped here: the buffer's own fill need not check bounds.
  const CRect clip(0, 0, pDraw->Width(), pDraw->Height());
  for (int i = 0; i < levels; ++i) {
    const LONG v = pValues[i];
    if (v == 0) continue;
    const int x = static_cast<int>(i * xw) + rc.left;
    // A frame of one pixel has a zero logarithm: its single count fills the height.
    const int hh = d > 0.f ? static_cast<int>(m_FastLog.Calc(std::max<LONG>(v, 1)) * hs) : rc.bottom - rc.top;
    const int w = xw > 1 ? static_cast<int>(xw + 1) : 1;
    CRect r(x, rc.bottom - hh, x + w, rc.bottom);
    if (hh <= 0 || !r.IntersectRect(&r, &clip)) continue;
    if (xw > 1)
      pDraw->FillSolidRect(r.left, r.top, r.Width(), r.Height(), colour);
    else
      pDraw->_VLine(r.left, r.top, r.Height(), colour);
  }
}

void CARGBGraph::DrawParadeR(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  DrawParadeElement(m_arrParadeR.GetData(), m_arrParadeR.GetSize(), pBuf, nStep, nRows, rc, dTop, dBottom, 0);
}
void CARGBGraph::DrawParadeG(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  DrawParadeElement(m_arrParadeG.GetData(), m_arrParadeG.GetSize(), pBuf, nStep, nRows, rc, dTop, dBottom, 1);
}
void CARGBGraph::DrawParadeB(DWORD* pBuf, int nStep, int nRows, const CRect& rc, double dTop, double dBottom) {
  DrawParadeElement(m_arrParadeB.GetData(), m_arrParadeB.GetSize(), pBuf, nStep, nRows, rc, dTop, dBottom, 2);
}

void CARGBGraph::DrawParadeElement(const GrayLevel* pLevels, long nCount, DWORD* pBuf, int nStep, int nRows,
                                   const CRect& rc, double dTop, double dBottom, unsigned char nChannel) {
  if (!pLevels || nCount <= 0 || nChannel > 2 || !scopes_detail::TargetOk(pBuf, nStep, nRows) ||
      !scopes_detail::RectOk(rc))
    return;
  const double ys = (rc.bottom - rc.top) / (dTop - dBottom);
  if (!std::isfinite(ys) || !(std::fabs(dBottom) < 1e6) || std::fabs(ys) > scopes_detail::kMaxCoord) return;
  const double xs = static_cast<double>(rc.right - rc.left) / nCount;
  // Level rows depend on the level only: one table for all columns.
  int top[256], height[256];
  for (int i = 0; i < 256; ++i) {
    const long long yA = RoundEven((i - dBottom) * ys);
    const long long yB = RoundEven((i + 1 - dBottom) * ys);
    const long long hh = std::max<long long>(1, yB - yA);
    top[i] = static_cast<int>(std::clamp<long long>(rc.bottom - yA - hh / 2, INT_MIN / 2, INT_MAX / 2));
    height[i] = static_cast<int>(std::min<long long>(hh, INT_MAX / 2));
  }
  const int byteIndex = 2 - nChannel;
  for (long e = 0; e < nCount; ++e) {
    const long long x0 = rc.left + RoundEven(e * xs);
    const long long w = std::max<long long>(1, rc.left + RoundEven((e + 1) * xs) - x0);
    // Every write is clipped to the buffer, whatever the levels shown.
    const int c0 = static_cast<int>(std::max<long long>(x0, 0));
    const int c1 = static_cast<int>(std::min<long long>(x0 + w, nStep));
    if (c0 >= c1) continue;
    const LONG* n = pLevels[e].nLevel;
    scopes_detail::ForEachNonZero(n, 0, 256, [&](int i) {
      const int r0 = std::max(top[i], 0);
      const int r1 = static_cast<int>(std::min<long long>(static_cast<long long>(top[i]) + height[i], nRows));
      if (r0 >= r1) return;
      if (i < 5 || i > 246) {
        for (int y = r0; y < r1; ++y)
          for (int c = c0; c < c1; ++c) pBuf[static_cast<long long>(y) * nStep + c] |= 0x00FFFFFF;
      } else {
        const BYTE b = static_cast<BYTE>(std::min<long long>(128 + 4LL * n[i], 255));
        for (int y = r0; y < r1; ++y)
          for (int c = c0; c < c1; ++c) reinterpret_cast<BYTE*>(&pBuf[static_cast<long long>(y) * nStep + c])[byteIndex] = b;
      }
    });
  }
}
