#include "controls/TimerWnd.h"

#include <new>

#include "companion/MemBitDC.h"
#include "controls/TimerLogic.h"
#include "foundation/ControlClass.h"

namespace {
CControlClass s_class{0};
}  // namespace

BEGIN_MESSAGE_MAP(CTimerWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CTimerWnd::CTimerWnd()
    : m_pNumDC(new (std::nothrow) CMemBitDC) {}

CTimerWnd::~CTimerWnd() {
  if (GetSafeHwnd()) DestroyWindow();
  delete m_pNumDC;
}

BOOL CTimerWnd::Create(DWORD dwStyle, const POINT& pt, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(s_class.Name(), nullptr, dwStyle, timerwnd::InitialRect(pt), pParentWnd, nID);
}

// The new strip replaces the shown one only once it is complete.
void CTimerWnd::TakeStrip(CMemBitDC* pStrip, COLORREF crBack) {
  delete m_pNumDC;
  m_pNumDC = pStrip;
  m_dwTime = timerwnd::kNoTime;
  m_crBack = crBack;
  m_nNumWidth = pStrip->GetWidth() / timerwnd::kGlyphCount;
  m_nNumHeight = pStrip->GetHeight();
  if (GetSafeHwnd()) FitImage();
}

BOOL CTimerWnd::SetNumBitmap(LPCWSTR lpszBitmap, COLORREF crTransparent, COLORREF crBack) {
  CMemBitDC loaded;
  if (!lpszBitmap || !loaded.LoadBitmapW(lpszBitmap)) return FALSE;
  const int cx = loaded.GetWidth(), cy = loaded.GetHeight();
  CMemBitDC* pStrip = new (std::nothrow) CMemBitDC;
  if (!pStrip) return FALSE;
  if (!pStrip->SetSize(cx, cy)) {
    delete pStrip;
    return FALSE;
  }
  pStrip->FillSolidRect(0, 0, cx, cy, crBack);
  if (!pStrip->TransparentBlt(0, 0, cx, cy, &loaded, 0, 0, cx, cy, crTransparent)) {
    delete pStrip;
    return FALSE;
  }
  TakeStrip(pStrip, crBack);
  return TRUE;
}

BOOL CTimerWnd::SetNumBitmap(LPCWSTR lpszBitmap, COLORREF crBack) {
  CMemBitDC* pStrip = new (std::nothrow) CMemBitDC;
  if (!pStrip) return FALSE;
  if (!lpszBitmap || !pStrip->LoadBitmapW(lpszBitmap)) {
    delete pStrip;
    return FALSE;
  }
  TakeStrip(pStrip, crBack);
  return TRUE;
}

BOOL CTimerWnd::SetNumBitmap(UINT nID, COLORREF crTransparent, COLORREF crBack) {
  return SetNumBitmap(MAKEINTRESOURCEW(static_cast<WORD>(nID)), crTransparent, crBack);
}

BOOL CTimerWnd::SetNumBitmap(UINT nID, COLORREF crBack) {
  return SetNumBitmap(MAKEINTRESOURCEW(static_cast<WORD>(nID)), crBack);
}

void CTimerWnd::SetTime(DWORD dwSeconds) {
  CMemBitDC& image = m_buffers.Draw();
  if (!m_pNumDC || !m_pNumDC->GetSafeHdc() || !image.GetSafeHdc() || dwSeconds == m_dwTime) return;
  m_dwTime = dwSeconds;
  const auto cells = timerwnd::Cells(dwSeconds);
  // Cells are placed in 64 bits: a frame or glyph width near the int limit puts them past the
  // image, where there is nothing to draw.
  const long long nImageWidth = image.GetWidth(), nImageHeight = image.GetHeight();
  for (int k = 0; k < timerwnd::kCellCount; ++k) {
    const long long x = static_cast<long long>(m_nFrameWidth) + static_cast<long long>(k) * m_nNumWidth;
    if (x >= nImageWidth || m_nFrameWidth >= nImageHeight || x + m_nNumWidth <= 0) continue;
    image.BitBlt(static_cast<int>(x), m_nFrameWidth, m_nNumWidth, m_nNumHeight, m_pNumDC,
                 cells[static_cast<std::size_t>(k)] * m_nNumWidth, 0, SRCCOPY);
  }
  if (GetSafeHwnd()) InvalidateRect(nullptr, TRUE);
}

void CTimerWnd::SetTime(int nHour, int nMinute, int nSecond) { SetTime(timerwnd::TotalSeconds(nHour, nMinute, nSecond)); }

void CTimerWnd::GetFitSize(SIZE& size) const {
  if (!timerwnd::FitSize(m_nNumWidth, m_nNumHeight, m_nFrameWidth, size)) size = SIZE{0, 0};
}

void CTimerWnd::FitImage() {
  SIZE size;
  if (!timerwnd::FitSize(m_nNumWidth, m_nNumHeight, m_nFrameWidth, size)) return;
  SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void CTimerWnd::SetFrameWidth(int n) {
  m_nFrameWidth = n;
  if (GetSafeHwnd()) FitImage();
}

void CTimerWnd::ShowBorder(BOOL b) {
  m_bBorder = b;
  if (GetSafeHwnd()) FitImage();
}

int CTimerWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  FitImage();
  return 0;
}

void CTimerWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (cx <= 0 || cy <= 0 || !m_buffers.Resize(cx, cy)) return;
  m_buffers.Draw().FillSolidRect(0, 0, cx, cy, m_crBack);
  if (m_bBorder) DrawBorder(cx, cy);
  m_dwTime = timerwnd::kNoTime;
  // The whole image was rebuilt; a resize alone repaints only the uncovered strips.
  Invalidate(FALSE);
}

void CTimerWnd::DrawBorder(int cx, int cy) {
  CPen penShadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  CPen penLight(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
  CMemBitDC& image = m_buffers.Draw();
  CPen* pOld = image.SelectObject(&penShadow);
  image.MoveTo(0, cy);
  image.LineTo(0, 0);
  image.LineTo(cx - 1, 0);
  image.SelectObject(&penLight);
  image.LineTo(cx - 1, cy - 1);
  image.LineTo(0, cy - 1);
  image.SelectObject(pOld);
}

void CTimerWnd::OnPaint() {
  CPaintDC dc(this);
  m_buffers.Present(&dc);
}
