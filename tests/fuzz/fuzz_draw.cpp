// The platform's drawing calls with coordinates anywhere in int, through the API and the
// framework's CDC, on a small memory DC whose origin and clip move too; the companion's line,
// frame and pixel-buffer routines; and a child window moved, scrolled and invalidated at the
// limits. Point arrays and DIB bits are exactly as long as each call claims.
#include <vector>

#include "FuzzValues.h"
#include "companion/Buf32Draw.h"
#include "companion/VDraw.h"
#include "support/Canvas.h"

#include <winport/headless.h>

namespace {

using fuzzvalues::Int;

RECT Rect(FuzzedDataProvider& in) { return RECT{Int(in), Int(in), Int(in), Int(in)}; }

void DcStep(FuzzedDataProvider& in, testsupport::Canvas& c, testsupport::Canvas& src, CBuf32Draw& buf) {
  const HDC hdc = c.dc.m_hDC;
  switch (in.ConsumeIntegralInRange(0, 27)) {
    case 0: ::SetViewportOrgEx(hdc, Int(in), Int(in), nullptr); break;
    case 1: ::SetWindowOrgEx(hdc, Int(in), Int(in), nullptr); break;
    case 2: ::OffsetViewportOrgEx(hdc, Int(in), Int(in), nullptr); break;
    case 3: ::IntersectClipRect(hdc, Int(in), Int(in), Int(in), Int(in)); break;
    case 4: ::ExcludeClipRect(hdc, Int(in), Int(in), Int(in), Int(in)); break;
    case 5: {
      const RECT r = Rect(in);
      HRGN rgn = ::CreateRectRgnIndirect(&r);
      ::OffsetRgn(rgn, Int(in), Int(in));
      ::ExtSelectClipRgn(hdc, rgn, in.ConsumeIntegralInRange(0, 5));
      ::DeleteObject(rgn);
      break;
    }
    case 6: ::MoveToEx(hdc, Int(in), Int(in), nullptr), ::LineTo(hdc, Int(in), Int(in)); break;
    case 7: {
      std::vector<POINT> pts(in.ConsumeIntegralInRange<size_t>(0, 6));
      for (POINT& p : pts) p = {Int(in), Int(in)};
      if (in.ConsumeBool())
        ::Polyline(hdc, pts.data(), static_cast<int>(pts.size()));
      else
        ::Polygon(hdc, pts.data(), static_cast<int>(pts.size()));
      break;
    }
    case 8: ::Rectangle(hdc, Int(in), Int(in), Int(in), Int(in)); break;
    case 9: ::Ellipse(hdc, Int(in), Int(in), Int(in), Int(in)); break;
    case 10: ::Arc(hdc, Int(in), Int(in), Int(in), Int(in), Int(in), Int(in), Int(in), Int(in)); break;
    case 11: {
      RECT r = Rect(in);
      ::FillRect(hdc, &r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
      ::FrameRect(hdc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      ::InvertRect(hdc, &r);
      ::DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT | (in.ConsumeBool() ? BF_ADJUST : 0));
      break;
    }
    case 12: c.dc.FillSolidRect(Int(in), Int(in), Int(in), Int(in), RGB(1, 2, 3)); break;
    case 13: c.dc.Draw3dRect(Int(in), Int(in), Int(in), Int(in), RGB(9, 9, 9), RGB(200, 1, 1)); break;
    case 14: ::SetPixel(hdc, Int(in), Int(in), RGB(5, 6, 7)), (void)::GetPixel(hdc, Int(in), Int(in)); break;
    case 15: ::PatBlt(hdc, Int(in), Int(in), Int(in), Int(in), in.ConsumeBool() ? PATCOPY : DSTINVERT); break;
    case 16: ::BitBlt(hdc, Int(in), Int(in), Int(in), Int(in), src.dc.m_hDC, Int(in), Int(in), SRCCOPY); break;
    case 17:
      ::StretchBlt(hdc, Int(in), Int(in), Int(in), Int(in), src.dc.m_hDC, Int(in), Int(in), Int(in), Int(in),
                   in.ConsumeBool() ? SRCCOPY : SRCINVERT);
      break;
    case 18: {
      BLENDFUNCTION bf{AC_SRC_OVER, 0, in.ConsumeIntegral<BYTE>(), in.ConsumeBool() ? AC_SRC_ALPHA : BYTE{0}};
      if (in.ConsumeBool())
        ::AlphaBlend(hdc, Int(in), Int(in), Int(in), Int(in), src.dc.m_hDC, Int(in), Int(in), Int(in), Int(in), bf);
      else
        ::TransparentBlt(hdc, Int(in), Int(in), Int(in), Int(in), src.dc.m_hDC, Int(in), Int(in), Int(in), Int(in),
                         RGB(255, 255, 255));
      break;
    }
    case 19: {
      TRIVERTEX v[3] = {};
      for (TRIVERTEX& t : v) t.x = Int(in), t.y = Int(in), t.Red = in.ConsumeIntegral<COLOR16>();
      GRADIENT_RECT gr[2] = {{0, 1}, {1, 2}};
      ::GradientFill(hdc, v, 3, gr, 2, in.ConsumeIntegralInRange<ULONG>(0, 1));  // rectangle meshes only
      break;
    }
    case 20: {
      // A DIB whose bits are exactly as long as its header says.
      const int w = in.ConsumeIntegralInRange(1, 9), h = in.ConsumeIntegralInRange(1, 9);
      const bool bottomUp = in.ConsumeBool();
      BITMAPINFO bmi{};
      bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, bottomUp ? h : -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      std::vector<std::uint32_t> bits(static_cast<size_t>(w) * h, 0x00112233u);
      if (in.ConsumeBool())
        ::StretchDIBits(hdc, Int(in), Int(in), Int(in), Int(in), Int(in), Int(in), Int(in), Int(in), bits.data(), &bmi,
                        DIB_RGB_COLORS, SRCCOPY);
      else
        ::SetDIBitsToDevice(hdc, Int(in), Int(in), in.ConsumeIntegral<DWORD>(), in.ConsumeIntegral<DWORD>(), Int(in),
                            Int(in), in.ConsumeIntegralInRange<UINT>(0, 12), in.ConsumeIntegralInRange<UINT>(0, 12),
                            bits.data(), &bmi, DIB_RGB_COLORS);
      break;
    }
    case 21: {
      const std::wstring text = in.ConsumeBool() ? L"Ag\u221E" : L"x";
      RECT r = Rect(in);
      std::vector<INT> dx(text.size(), Int(in));
      ::ExtTextOutW(hdc, Int(in), Int(in), in.ConsumeBool() ? ETO_OPAQUE | ETO_CLIPPED : 0, &r, text.c_str(),
                    static_cast<UINT>(text.size()), in.ConsumeBool() ? dx.data() : nullptr);
      break;
    }
    case 22: {
      RECT r = Rect(in);
      const UINT fmt = in.ConsumeIntegral<UINT>() & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_SINGLELINE |
                                                     DT_WORDBREAK | DT_CALCRECT | DT_END_ELLIPSIS | DT_NOCLIP);
      ::DrawTextW(hdc, L"Two words\nand more", -1, &r, fmt);
      ::TextOutW(hdc, Int(in), Int(in), L"abc", 3);
      break;
    }
    case 23: CVDraw::AntiLine(&c.dc, Int(in), Int(in), Int(in), Int(in), RGB(10, 200, 30)); break;
    case 24: DrawFrameRect(&c.dc, Int(in), Int(in), Int(in), Int(in), RGB(0, 0, 200)); break;
    case 25:
      if (in.ConsumeBool())
        buf.FillSolidRect(Int(in), Int(in), Int(in), Int(in), 0x00FF00FFu);
      else
        buf._VLine(Int(in), Int(in), Int(in), 0x0000FF00u);
      break;
    case 26: buf.DrawOut(&c.dc, Int(in), Int(in), Int(in), Int(in), Int(in), Int(in)); break;
    default: {
      HRGN a = ::CreateRectRgn(Int(in), Int(in), Int(in), Int(in));
      HRGN b = ::CreateRectRgn(Int(in), Int(in), Int(in), Int(in));
      ::CombineRgn(a, a, b, in.ConsumeIntegralInRange(1, 5));
      ::OffsetRgn(a, Int(in), Int(in));
      (void)::PtInRegion(a, Int(in), Int(in));
      const RECT r = Rect(in);
      (void)::RectInRegion(a, &r);
      ::FillRgn(hdc, a, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      ::DeleteObject(a);
      ::DeleteObject(b);
      break;
    }
  }
}

// One host window for the whole run: a child is moved, scrolled and invalidated at the limits.
void WindowSteps(FuzzedDataProvider& in) {
  static CWnd* top = [] {
    auto* w = new CWnd;
    w->CreateEx(0, AfxRegisterWndClass(0), L"fuzz", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 64, 64), nullptr, 0);
    return w;
  }();
  CWnd child;
  child.Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(1, 1, 30, 30), top, 1);
  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
      case 0: {
        // Huge sizes cost a capped (64 MB) surface each: mostly small ones, sometimes any.
        const auto size = [&] { return in.ConsumeIntegralInRange(0, 15) == 0 ? Int(in) : in.ConsumeIntegralInRange(0, 256); };
        child.MoveWindow(Int(in), Int(in), size(), size());
        break;
      }
      case 1: {
        const RECT r = Rect(in);
        child.InvalidateRect(&r, in.ConsumeBool());
        break;
      }
      case 2: {
        const RECT r = Rect(in), clip = Rect(in);
        child.ScrollWindow(Int(in), Int(in), in.ConsumeBool() ? &r : nullptr, in.ConsumeBool() ? &clip : nullptr);
        break;
      }
      case 3: {
        POINT p[2] = {{Int(in), Int(in)}, {Int(in), Int(in)}};
        ::MapWindowPoints(child.m_hWnd, top->m_hWnd, p, 2);
        ::ClientToScreen(child.m_hWnd, &p[0]);
        ::ScreenToClient(child.m_hWnd, &p[1]);
        break;
      }
      case 4: {
        CDC* pDC = child.GetDC();
        if (pDC) {
          pDC->FillSolidRect(Int(in), Int(in), Int(in), Int(in), RGB(0, 0, 0));
          child.ReleaseDC(pDC);
        }
        break;
      }
      default: child.UpdateWindow(), top->UpdateWindow(); break;
    }
  }
  (void)winport::headless::Capture(top->m_hWnd);
  child.DestroyWindow();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeIntegralInRange(0, 7) == 0) {
    WindowSteps(in);
    return 0;
  }
  testsupport::Canvas c(32, 24);
  testsupport::Canvas src(16, 16, RGB(200, 100, 50));
  CBuf32Draw buf;
  buf.Create(20, 12);
  CPen pen(PS_SOLID, in.ConsumeIntegralInRange(0, 3), RGB(0, 0, 0));
  CPen* old = c.dc.SelectObject(&pen);
  for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) DcStep(in, c, src, buf);
  c.dc.SelectObject(old);
  return 0;
}
