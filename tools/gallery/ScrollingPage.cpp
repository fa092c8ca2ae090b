// Gallery page of the scroll bars: one long document (a picture above a grid of text) in a
// skinned scroll window per stock skin and in a scroll window on the platform's own bars. The
// programme drags a thumb, holds an arrow, pages the track and turns the wheel.
#include <algorithm>
#include <cmath>

#include <winport/headless.h>
#include <winport/window/Backend.h>

#include "scrollbars/ScrollWnd.h"
#include "scrollbars/XSBScrollWnd.h"
#include "scrollbars/XSBSkinBlueGlass.h"
#include "scrollbars/XSBSkinFlat.h"
#include "scrollbars/XSBSkinNormal.h"
#include "tools/gallery/Gallery.h"

namespace {

namespace hl = winport::headless;

constexpr SIZE kDoc{900, 1400};
constexpr int kPictureHeight = 600;
constexpr int kCell = 6;

// Paints the part of the document inside the logical rectangle rcLogical.
void DrawDocument(CDC* pDC, const CRect& rcLogical, CFont* pFont) {
  const int x0 = std::max<int>(rcLogical.left, 0) / kCell * kCell;
  const int y0 = std::max<int>(rcLogical.top, 0) / kCell * kCell;
  for (int y = y0; y < std::min<int>(rcLogical.bottom, kPictureHeight); y += kCell)
    for (int x = x0; x < std::min<int>(rcLogical.right, kDoc.cx); x += kCell) {
      const double u = x / 90.0, v = y / 70.0;
      const int r = static_cast<int>(127 + 120 * std::sin(u + 0.5 * v));
      const int g = static_cast<int>(127 + 120 * std::sin(v * 1.3 - u * 0.4));
      const int b = static_cast<int>(127 + 120 * std::cos(std::hypot(u - 5, v - 4)));
      pDC->FillSolidRect(x, y, kCell, kCell, RGB(r, g, b));
    }
  if (rcLogical.bottom <= kPictureHeight) return;
  CRect rcText(rcLogical.left, std::max<int>(rcLogical.top, kPictureHeight), rcLogical.right, rcLogical.bottom);
  pDC->FillSolidRect(&rcText, RGB(250, 250, 244));
  CFont* pOld = pDC->SelectObject(pFont);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(20, 30, 60));
  constexpr int kRowH = 20, kColW = 110;
  for (int row = std::max(0, (rcText.top - kPictureHeight) / kRowH); kPictureHeight + row * kRowH < rcText.bottom; ++row) {
    const int y = kPictureHeight + row * kRowH;
    pDC->FillSolidRect(0, y + kRowH - 1, kDoc.cx, 1, RGB(200, 205, 215));
    for (int col = std::max(0, rcText.left / kColW); col * kColW < std::min<int>(rcText.right, kDoc.cx); ++col) {
      CString s;
      s.Format(L"R%d C%d", row + 1, col + 1);
      pDC->TextOut(col * kColW + 6, y + 3, s);
    }
  }
  pDC->SelectObject(pOld);
}

template <class Base>
class CDocView : public Base {
 public:
  CDocView() { m_font.CreatePointFont(80, L"Tahoma"); }
  void OnDraw(CDC* pDC) override {
    CRect rc;
    this->GetClientRect(&rc);
    this->DPtoLP(static_cast<RECT*>(&rc));
    DrawDocument(pDC, rc, &m_font);
  }

 private:
  CFont m_font;
};

class CSkinnedView : public CDocView<CXSBScrollWnd> {
 public:
  HWND VBar() const { return m_wndVBar.m_hWnd; }
};

class CScrollingPage : public gallery::Page {
 public:
  const char* Name() const override { return "scrolling"; }
  const char* Title() const override { return "Scroll bars: one document in three skins and on the platform's bars"; }
  SIZE ClientSize() const override { return {900, 352}; }

  void Create(CWnd* pParent) override {
    CXScrollBarSkin* skins[3] = {CXSBSkinNormal::GetTheSkin(), CXSBSkinFlat::GetTheSkin(),
                                 CXSBSkinBlueGlass::GetTheSkin()};
    static const wchar_t* const kSkinNames[3] = {L"Skin: normal", L"Skin: flat", L"Skin: blue glass"};
    for (int i = 0; i < 3; ++i) {
      CSkinnedView& v = m_skinned[i];
      gallery::AddLabel(pParent, CRect(10 + i * 222, 4, 10 + i * 222 + 206, 20), kSkinNames[i]);
      v.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10 + i * 222, 26, 10 + i * 222 + 190, 316), pParent,
               static_cast<UINT>(10 + i));
      v.SetScrollBtnSize(SIZE{16, 16});
      v.SetScrollBarSkin(skins[i]);
      v.SetScrollSizes(kDoc, SIZE{0, 0}, SIZE{0, 0});
      v.SetWindowSize(206, 316);
    }
    gallery::AddLabel(pParent, CRect(676, 4, 890, 20), L"Platform scroll bars");
    m_platform.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(676, 26, 890, 336), pParent, 20);
    m_platform.SetScrollSizes(kDoc, SIZE{0, 0}, SIZE{0, 20});
  }

  void Tick(unsigned ms) override {
    if (!winport::CurrentBackend().VirtualClock()) return;  // with a window, the hand at the mouse scrolls
    const HWND drag = m_skinned[0].VBar();
    if (ms == 200) {
      hl::MouseMove(drag, 8, 20);  // onto the thumb
      hl::MouseDown(drag, 8, 20);
    } else if (ms > 200 && ms <= 600) {
      hl::MouseMove(drag, 8, 20 + static_cast<int>(ms - 200) / 10);
    } else if (ms == 620) {
      hl::MouseUp(drag, 8, 60);
    } else if (ms == 800) {
      // Held for 600 ms: one step at once, one after 500 ms, then two at 50 ms.
      const HWND held = m_skinned[1].VBar();
      hl::At(hl::Now() + 600, [held] { hl::MouseUp(held, 8, 290); });
      hl::MouseDown(held, 8, 290);
    } else if (ms == 1000) {
      const HWND track = m_skinned[2].VBar();
      hl::At(hl::Now() + 10, [track] { hl::MouseUp(track, 8, 200); });
      hl::MouseDown(track, 8, 200);
    } else if (ms >= 1200 && ms < 1400 && ms % 40 == 0) {
      hl::Wheel(m_platform.m_hWnd, 100, 100, -120);
    }
  }

  std::vector<unsigned> SnapshotTimes() const override { return {0, 300, 500, 640, 820, 1020, 1260, 1400}; }

  void Destroy() override {
    m_platform.DestroyWindow();
    for (auto& v : m_skinned) v.DestroyWindow();
  }

 private:
  CSkinnedView m_skinned[3];
  CDocView<CScrollWnd> m_platform;
};

}  // namespace

GALLERY_REGISTER_PAGE(CScrollingPage);
