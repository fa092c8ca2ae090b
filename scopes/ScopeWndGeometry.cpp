#include "scopes/ScopeWndGeometry.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "companion/ColorConvert.h"
#include "scopes/ScopePixels.h"

namespace scopewnd {

namespace {
// Single-precision constants of the vector display, widened as the drawing widens them.
constexpr double kF085 = static_cast<double>(0.85f);
constexpr double kFPi = static_cast<double>(3.1415927f);
constexpr float kCircleFactor[5] = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
}  // namespace

void ComposeScope(const DWORD* bk, DWORD* graph, std::size_t n) {
  if (!bk || !graph) return;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Four pixels at a time: the pass runs over every pixel of every scope for every frame.
  const __m128i zero = _mm_setzero_si128(), low7 = _mm_set1_epi32(0x7F7F7F7F), rgb = _mm_set1_epi32(0x00FFFFFF);
  for (; i + 4 <= n; i += 4) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bk + i));
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(graph + i));
    const __m128i mean = _mm_and_si128(
        _mm_add_epi32(_mm_and_si128(b, g), _mm_and_si128(_mm_srli_epi32(_mm_xor_si128(b, g), 1), low7)), rgb);
    const __m128i either = _mm_or_si128(_mm_cmpeq_epi32(b, zero), _mm_cmpeq_epi32(g, zero));
    const __m128i out = _mm_or_si128(_mm_and_si128(either, _mm_or_si128(b, g)), _mm_andnot_si128(either, mean));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(graph + i), out);
  }
#endif
  for (; i < n; ++i) graph[i] = BlendScopePixel(bk[i], graph[i]);
}

// ---- Waveform monitor

std::vector<ScaleLine> WaveformScale(int nScaleType) {
  using enum LineKind;
  switch (nScaleType) {
    case 0:
      return {{155, L"-51", Labelled}, {145, nullptr, Minor}, {135, L"0", Major},   {125, nullptr, Minor},
              {115, L"51", Labelled},  {105, nullptr, Minor}, {95, L"102", Labelled}, {85, nullptr, Minor},
              {75, L"153", Labelled},  {65, nullptr, Minor},  {55, L"204", Labelled}, {45, nullptr, Minor},
              {35, L"255", Major},     {25, nullptr, Minor},  {15, L"306", Labelled}};
    case 1:
      return {{165, nullptr, Minor}, {155, L"-20", Labelled}, {145, nullptr, Minor}, {135, L"0", Major},
              {125, nullptr, Minor}, {115, L"20", Labelled},  {105, nullptr, Minor}, {95, L"40", Labelled},
              {85, nullptr, Minor},  {75, L"60", Labelled},   {65, nullptr, Minor},  {55, L"80", Labelled},
              {45, nullptr, Minor},  {35, L"100", Major},     {25, nullptr, Minor},  {15, L"120", Labelled},
              {5, nullptr, Minor}};
    case 2: {
      static const wchar_t* const kLabels[] = {L"-200", L"-100", L"0",   L"100", L"200", L"300", L"400",
                                               L"500",  L"600",  L"700", L"800", L"900", L"1000"};
      std::vector<ScaleLine> lines;
      for (int i = 0; i < 13; ++i) lines.push_back({135.0 - (-200 + 100 * i) / 7.0, kLabels[i], Major});
      return lines;
    }
    default:
      return {};
  }
}

int WaveformRow(int H, double k) { return Nearest(H * k / kWaveformSpan); }

double WaveformValue(int H, double y) { return H > 0 ? kWaveformTop - (y * kWaveformSpan) / H : 0.0; }

CRect WaveformTraceRect(int W, int H) {
  return CRect(kWaveformMargin, WaveformRow(H, kWaveformTop - 100) + 1, W - 1, WaveformRow(H, kWaveformTop));
}

namespace {
constexpr double kLegalLowK = kWaveformTop - WaveformPercent(kLegalLumaLow);
constexpr double kLegalHighK = kWaveformTop - WaveformPercent(kLegalLumaHigh);
static_assert(kLegalLowK == 128.72549019607843 && kLegalHighK == 42.84313725490196);
}  // namespace

LegalLines WaveformLegalLines(int H, bool bShowAsY) {
  if (bShowAsY) return {2, {WaveformRow(H, kLegalLowK), WaveformRow(H, kLegalHighK)}};
  return {1, {WaveformRow(H, 20.714285714285708), 0}};
}

CString WaveformReadout(int nScaleType, int H, int y) {
  const double v = WaveformValue(H, y);
  CString text;
  switch (nScaleType) {
    case 0: text.Format(L"  %d   ", Nearest(v * 255 / 100)); break;
    case 1: text.Format(L" %d%%  ", Nearest(v)); break;
    case 2: text.Format(L" %dmv  ", Nearest(v * 7)); break;
    default: break;
  }
  return text;
}

int WaveformReadoutRow(int H) { return WaveformRow(H, 5); }

// ---- Histogram

namespace {
double HistogramStep(const RECT& rc) { return (static_cast<double>(rc.right) - rc.left) / 288.0; }
}  // namespace

int HistogramX(const RECT& rc, double L) { return rc.left + Nearest((L + 16) * HistogramStep(rc)); }

CRect HistogramSingleRect(const RECT& rc) {
  const int top = rc.top + 16, bottom = rc.bottom - 16;
  return CRect(HistogramX(rc, 0), top + Nearest((bottom - top) * 0.2), HistogramX(rc, 255), bottom);
}

CRect HistogramBandRect(const RECT& rc, int nBand) {
  nBand = std::clamp(nBand, 0, 3);
  const int top = rc.top + 16, bottom = rc.bottom - 16;
  const double q = (bottom - top) * 0.25;
  return CRect(HistogramX(rc, 0), top + Nearest(q * (nBand + 0.2)), HistogramX(rc, 255), top + Nearest(q * (nBand + 1)));
}

int HistogramLevelAt(const RECT& rc, int x) {
  const double s = HistogramStep(rc);
  return s > 0 ? Nearest((static_cast<double>(x) - rc.left) / s - 16) : 0;
}

// ---- Vector scope

VectorGeometry VectorGeometryFor(int W, int H) {
  if (W <= 0 || H <= 0) return {};
  return {W / 2, H / 2, Trunc((std::min(W, H) / 2) * kF085)};
}

int VectorCircleRadius(int r, int i) { return Trunc(r * static_cast<double>(kCircleFactor[std::clamp(i, 0, 4)])); }

int VectorAxisGap(int r) { return Trunc(r * static_cast<double>(0.3f)); }

POINT VectorTarget(const VectorGeometry& g, int u, int v) {
  const float k = static_cast<float>(g.r * 0.005859375);
  return {g.cx + Trunc(k * static_cast<float>(u)), g.cy - Trunc(v * static_cast<double>(kVectorStretch) * k)};
}

void TargetChroma(BYTE red, BYTE green, BYTE blue, int& u, int& v) {
  const SARGB px[2] = {{blue, green, red, 0}, {blue, green, red, 0}};
  YVYU out{};
  ARGB2YVYU(px, 2, &out);
  u = out.u - 128;
  v = out.v - 128;
}

VectorReadout VectorReadoutAt(const VectorGeometry& g, POINT p) {
  const double dx = static_cast<double>(p.x) - g.cx, dy = static_cast<double>(p.y) - g.cy;
  VectorReadout out;
  out.nDistance = Nearest(std::sqrt(dx * dx + dy * dy));
  // A radius of 0 (a client under 4 pixels) has no 100 % circle to measure against.
  out.nPercent = g.r > 0 ? static_cast<int>((static_cast<long long>(out.nDistance) * 100 + g.r - 1) / g.r) : 0;
  // Upward is cy - p.y, never -dy: a negated zero would turn the straight-left 180 into -180.
  const double up = static_cast<double>(g.cy) - p.y;
  int angle = Trunc(std::atan2(up, dx) / kFPi * 180);
  if (angle < 0) angle += 360;
  out.nAngle = angle;
  return out;
}

LightningGeometry LightningGeometryFor(int W, int H) {
  LightningGeometry g{};
  W = std::max(W, 0), H = std::max(H, 0);
  g.mx = W / 8, g.my = H / 8;
  g.pw = W - 2 * g.mx, g.ph = H - 2 * g.my;
  g.hx = g.mx / 2, g.hy = g.my / 2;
  g.xstep = g.pw / 5;
  g.ystep = (g.ph / 2) / 5;
  return g;
}

CRect LightningTraceRect(int W, int H) {
  const LightningGeometry g = LightningGeometryFor(W, H);
  // The lower half reaches half the height below the centre row: with no margin that is the
  // row just past the buffer for an even height.
  return CRect(g.mx, g.my, W - g.mx, H - g.my - (g.my == 0 ? 1 : 0));
}

// ---- RGB parade

namespace {
double ParadeScale(const RECT& rc) {
  return (static_cast<double>(rc.bottom) - rc.top) / (kParadeTopCode - kParadeBottomCode);
}
}  // namespace

int ParadeCodeRow(const RECT& rc, double v) { return Nearest(rc.bottom - (v - kParadeBottomCode) * ParadeScale(rc)); }

int ParadeMvRow(const RECT& rc, double mv) {
  const double H = static_cast<double>(rc.bottom) - rc.top;
  return Nearest(rc.bottom - (mv + 153.42465753424656) * (H * 219 / 304 / 700));
}

CRect ParadeColumn(const RECT& rc, int c) {
  const int a = rc.left + kParadeMargin;
  const int cw = std::max(0, (rc.right - a) / 3);
  c = std::clamp(c, 0, 2);
  return CRect(a + c * cw, rc.top, a + (c + 1) * cw, rc.bottom);
}

int ParadeValueAt(const RECT& rc, int y) {
  const double k = ParadeScale(rc);
  return k > 0 ? Nearest((rc.bottom - static_cast<double>(y)) / k + kParadeBottomCode) : 0;
}

CString ParadeReadout(int nScaleType, const RECT& rc, int y) {
  const int v = ParadeValueAt(rc, y);
  CString text;
  if (nScaleType == 0) text.Format(L" %3d ", v);
  else if (nScaleType == 2) text.Format(L" %dmv  ", static_cast<int>((static_cast<long long>(v) - 16) * 700 / 219));
  return text;
}

}  // namespace scopewnd
