#include "winport/window/CStatic.h"

#include <mutex>
#include <unordered_map>

#include "winport/gdi/Gdi32.h"
#include "winport/gdi/GdiTypes.h"

namespace {

std::mutex g_mu;
std::unordered_map<HWND, HBITMAP>& Images() {
  static auto* images = new std::unordered_map<HWND, HBITMAP>();
  return *images;
}

HBITMAP ImageOf(HWND hwnd) {
  std::lock_guard<std::mutex> lock(g_mu);
  auto it = Images().find(hwnd);
  return it == Images().end() ? nullptr : it->second;
}

void PaintStatic(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  RECT rc;
  GetClientRect(hwnd, &rc);
  if ((style & SS_TYPEMASK) == SS_BITMAP) {
    if (HBITMAP bmp = ImageOf(hwnd)) {
      BITMAP bm{};
      GetObjectW(bmp, sizeof(bm), &bm);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, bmp);
      BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
  } else {
    wchar_t text[512];
    int n = GetWindowTextW(hwnd, text, 512);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    UINT align = (style & SS_TYPEMASK) == SS_CENTER ? DT_CENTER : (style & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, text, n, &rc, align | DT_WORDBREAK);
    if (old) SelectObject(dc, old);
  }
  EndPaint(hwnd, &ps);
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case STM_SETIMAGE: {
      if (wp != IMAGE_BITMAP) return 0;
      HBITMAP old;
      {
        std::lock_guard<std::mutex> lock(g_mu);
        HBITMAP& slot = Images()[hwnd];
        old = slot;
        slot = reinterpret_cast<HBITMAP>(lp);
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
      return wp == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(ImageOf(hwnd)) : 0;
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      PaintStatic(hwnd);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_NCDESTROY: {
      std::lock_guard<std::mutex> lock(g_mu);
      Images().erase(hwnd);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void AfxRegisterStaticClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSW wc{};
    wc.style = CS_PARENTDC;
    wc.lpfnWndProc = &StaticProc;
    wc.lpszClassName = WC_STATICW;
    RegisterClassW(&wc);
  });
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  AfxRegisterStaticClass();
  return CWnd::Create(WC_STATICW, lpszText, dwStyle, rect, pParentWnd, nID);
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CStatic::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
}
