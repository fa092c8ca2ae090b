#include "companion/MemBitDC.h"

#include <new>

namespace {
constexpr int kMaxSide = winport::kMaxSurfaceSide;
}

CMemBitDC::~CMemBitDC() {
  if (m_hDC && m_hFirstBitmap) ::SelectObject(m_hDC, m_hFirstBitmap);
  m_pAttached = nullptr;
  m_pBitmap.reset();
  if (m_hDC) DeleteDC();
}

BOOL CMemBitDC::EnsureDC(CDC* pRef) {
  if (m_hDC) return TRUE;
  return CreateCompatibleDC(pRef && pRef->m_hDC ? pRef : nullptr);
}

void CMemBitDC::Select(CBitmap* pBitmap) {
  if (!pBitmap) return;
  HGDIOBJ old = ::SelectObject(m_hDC, pBitmap->m_hObject);
  if (!m_hFirstBitmap) m_hFirstBitmap = old;
}

void CMemBitDC::TakeBitmap(std::unique_ptr<CBitmap> bitmap, int cx, int cy) {
  if (m_pAttached) DetachBitmap();
  Select(bitmap.get());
  m_pBitmap = std::move(bitmap);  // the old one is no longer selected
  m_cx = m_ownCx = cx;
  m_cy = m_ownCy = cy;
}

BOOL CMemBitDC::SetSize(int cx, int cy, CDC* pRef) {
  if (cx <= 0 || cy <= 0 || cx > kMaxSide || cy > kMaxSide) return FALSE;
  if (m_pAttached) DetachBitmap();
  if (m_pBitmap && m_ownCx == cx && m_ownCy == cy) return TRUE;
  if (!EnsureDC(pRef)) return FALSE;
  std::unique_ptr<CBitmap> bitmap;
  try {
    bitmap = std::make_unique<CBitmap>();
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  const BOOL made = pRef && pRef->m_hDC ? bitmap->CreateCompatibleBitmap(pRef, cx, cy)
                                        : bitmap->CreateBitmap(cx, cy, 1, 32, nullptr);
  if (!made) return FALSE;
  TakeBitmap(std::move(bitmap), cx, cy);
  return TRUE;
}

BOOL CMemBitDC::Copy(CMemBitDC* pSrc) {
  if (!pSrc || pSrc == this || !m_hDC || !pSrc->m_hDC) return FALSE;
  const int w = m_cx < pSrc->m_cx ? m_cx : pSrc->m_cx;
  const int h = m_cy < pSrc->m_cy ? m_cy : pSrc->m_cy;
  if (w <= 0 || h <= 0) return FALSE;
  return BitBlt(0, 0, w, h, pSrc, 0, 0, SRCCOPY);
}

BOOL CMemBitDC::LoadBitmapW(LPCWSTR lpszName) {
  if (!lpszName) return FALSE;
  auto bitmap = std::make_unique<CBitmap>();
  BITMAP info{};
  if (!bitmap->LoadBitmapW(lpszName) || !bitmap->GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    return FALSE;
  if (!EnsureDC(nullptr)) return FALSE;
  TakeBitmap(std::move(bitmap), info.bmWidth, info.bmHeight);
  return TRUE;
}

BOOL CMemBitDC::AttachBitmap(CBitmap* pBitmap) {
  BITMAP info{};
  if (!pBitmap || !pBitmap->m_hObject || !pBitmap->GetBitmap(&info)) return FALSE;
  if (m_pAttached) DetachBitmap();
  if (!EnsureDC(nullptr)) return FALSE;
  Select(pBitmap);
  m_pAttached = pBitmap;
  m_cx = info.bmWidth;
  m_cy = info.bmHeight;
  return TRUE;
}

CBitmap* CMemBitDC::DetachBitmap() {
  CBitmap* given = m_pAttached;
  if (!given) return nullptr;
  m_pAttached = nullptr;
  if (m_pBitmap)
    Select(m_pBitmap.get());
  else if (m_hFirstBitmap)
    ::SelectObject(m_hDC, m_hFirstBitmap);
  m_cx = m_ownCx;
  m_cy = m_ownCy;
  return given;
}

CBitmap* CMemBitDC::GetBitmap() { return m_pAttached ? m_pAttached : m_pBitmap.get(); }
