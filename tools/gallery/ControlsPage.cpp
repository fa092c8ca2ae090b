// Gallery page of the general controls: three knobs turned by simulated drags (an anti-aliased
// line, a bitmap indicator on a bitmap background, the whole int range) with their positions,
// a running time display, a docking frame with panels docked left and bottom and one floating,
// the tip following the pointer over a meter, a splash with progress messages, and keyed
// pictures on a patterned background. Popups (the floating panel, the tip, the splash) are
// separate windows; a mirror panel shows what they look like in the page's own picture.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <winport/afx.h>
#include <winport/headless.h>

#include "audio/VUMeter.h"
#include "controls/DockCtrlBar.h"
#include "controls/ExTipWnd.h"
#include "controls/Knob.h"
#include "controls/SplashWnd.h"
#include "controls/StaticPic.h"
#include "controls/TimerWnd.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/MeterScale.h"
#include "tools/gallery/ValueText.h"

namespace {

constexpr COLORREF kTeal = 0x808000;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Pictures the page draws for itself and registers as bitmap resources of the gallery.
class CPictures {
 public:
  static void Register(LPCWSTR name, const winport::Surface& s) {
    static HINSTANCE module = winport::AddResourceModule(L"gallery");
    static std::vector<std::unique_ptr<std::vector<std::uint8_t>>> keep;
    keep.push_back(std::make_unique<std::vector<std::uint8_t>>(winport::EncodePng(s)));
    winport::AddResource(module, name, RT_BITMAP, *keep.back());
  }
  // "0123456789:" in green on the key colour, 14 x 22 per glyph.
  static void DigitStrip() {
    auto surface = std::make_shared<winport::Surface>(11 * 14, 22, winport::ToPixel(kMagenta));
    HBITMAP bmp = winport::CreateBitmapFromSurface(surface);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    CFont font;
    font.CreatePointFont(140, L"DejaVu Sans Mono");
    CFont* pOld = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(80, 255, 120));
    for (int k = 0; k < 11; ++k) {
      const wchar_t ch = k < 10 ? static_cast<wchar_t>(L'0' + k) : L':';
      CRect cell(k * 14, 0, k * 14 + 14, 22);
      dc.DrawText(&ch, 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(pOld);
    ::SelectObject(dc, old);
    Register(L"IDB_GALLERY_DIGITS", *surface);
    ::DeleteObject(bmp);
  }
  static std::shared_ptr<winport::Surface> Make(int w, int h, COLORREF (*fn)(int, int)) {
    auto s = std::make_shared<winport::Surface>(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) s->Set(x, y, winport::ToPixel(fn(x, y)));
    return s;
  }
};

COLORREF KnobFace(int x, int y) {
  const double d = std::hypot(x - 31.5, y - 31.5);
  if (d > 31) return RGB(24, 26, 30);
  const int v = static_cast<int>(90 - d * 1.5 + (y < x ? 20 : 0));
  return d > 28 ? RGB(140, 140, 150) : RGB(v, v, v + 12);
}
COLORREF SplashPicture(int x, int y) { return RGB(20 + x / 3, 40 + y / 2, 110 + (x + y) / 8); }
COLORREF KeyedSun(int x, int y) {
  const double d = std::hypot(x - 24, y - 24);
  if (d < 14) return RGB(255, 200, 40);
  if (d < 22 && (static_cast<int>(std::atan2(y - 24, x - 24) * 4) & 1)) return RGB(255, 140, 0);
  return kTeal;
}
COLORREF KeyedBadge(int x, int y) {
  if (x > 6 && x < 58 && y > 8 && y < 30) return (x / 6 + y / 6) % 2 ? RGB(30, 30, 160) : RGB(240, 240, 255);
  return kTeal;
}

// A keyed picture whose erase step paints the same checkerboard as the panel behind it.
class CPatternPic : public CStaticPic {
 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
    CRect rc, inParent;
    GetClientRect(&rc);
    GetWindowRect(&inParent);
    GetParent()->ScreenToClient(&inParent);
    for (int y = 0; y < rc.bottom; ++y)
      for (int x = 0; x < rc.right; x += 1) {
        const int px = x + inParent.left, py = y + inParent.top;
        pDC->SetPixelV(x, y, ((px / 8 + py / 8) & 1) ? RGB(210, 210, 220) : RGB(160, 170, 190));
      }
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPatternPic, CStaticPic)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// The patterned panel behind the keyed pictures.
class CPatternPanel : public CWnd {
 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    for (int y = 0; y < rc.bottom; y += 8)
      for (int x = 0; x < rc.right; x += 8)
        dc.FillSolidRect(x, y, 8, 8, ((x / 8 + y / 8) & 1) ? RGB(210, 210, 220) : RGB(160, 170, 190));
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPatternPanel, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// A docked panel with a title and a few bars in its content rectangle.
class CLevelsBar : public CDockCtrlBar {
 public:
  double m_dPhase = 0;
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    if (rc.Width() <= 0 || rc.Height() <= 0) return;
    pDC->FillSolidRect(&rc, RGB(28, 30, 36));
    const bool across = rc.Width() > rc.Height();
    for (int i = 0; i < 6; ++i) {
      const double v = 0.5 + 0.45 * std::sin(m_dPhase + i * 0.9);
      if (across) {
        const int w = rc.Width() / 6;
        const int h = static_cast<int>(v * rc.Height());
        pDC->FillSolidRect(rc.left + i * w + 2, rc.bottom - h, w - 4, h, RGB(60 + 30 * i, 200 - 20 * i, 90));
      } else {
        const int h = rc.Height() / 6;
        const int w = static_cast<int>(v * rc.Width());
        pDC->FillSolidRect(rc.left, rc.top + i * h + 2, w, h - 4, RGB(60 + 30 * i, 200 - 20 * i, 90));
      }
    }
  }
};

// The frame's view.
class CViewPane : public CWnd {
 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(250, 250, 245));
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(L"view", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CViewPane, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// Shows the page's popups side by side, as a screenshot of the desktop would show them.
class CPopupMirror : public CWnd {
 public:
  std::vector<HWND> m_popups;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(58, 64, 74));
    int x = 6;
    for (HWND h : m_popups) {
      if (!::IsWindow(h) || !::IsWindowVisible(h)) continue;
      const winport::headless::Image img = winport::headless::Capture(h);
      if (img.width <= 0) continue;
      auto s = std::make_shared<winport::Surface>(img.width, img.height);
      std::copy(img.pixels.begin(), img.pixels.end(), s->Data());
      HBITMAP bmp = winport::CreateBitmapFromSurface(s);
      CDC mem;
      mem.CreateCompatibleDC(&dc);
      HGDIOBJ old = ::SelectObject(mem, bmp);
      dc.BitBlt(x, 6, img.width, img.height, &mem, 0, 0, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteObject(bmp);
      x += img.width + 8;
    }
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPopupMirror, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class CControlsPage : public gallery::Page {
 public:
  const char* Name() const override { return "controls"; }
  const char* Title() const override { return "Knobs, time display, docking panels, tip, splash, keyed pictures"; }
  SIZE ClientSize() const override { return {800, 470}; }

  void Create(CWnd* pParent) override {
    m_pParent = pParent;
    CPictures::DigitStrip();
    CPictures::Register(L"IDB_GALLERY_KNOB", *CPictures::Make(64, 64, KnobFace));
    CPictures::Register(L"IDB_GALLERY_SPLASH", *CPictures::Make(300, 120, SplashPicture));
    MakeKnobs(pParent);

    m_timer.SetNumBitmap(L"IDB_GALLERY_DIGITS", kMagenta, RGB(16, 20, 16));
    m_timer.SetFrameWidth(4);
    m_timer.ShowBorder(TRUE);
    m_timer.Create(WS_CHILD | WS_VISIBLE, CPoint(10, 130), pParent, 20);

    MakePictures(pParent);
    MakeFrame(pParent);

    SVUMeterInitParam p;
    p.nVUCount = 2;
    m_meter.Create(WS_CHILD | WS_VISIBLE, CRect(300, 10, 328, 180), pParent, p);
    gallery::CMeterScale::Add(pParent, m_meter, ASDS_TEXTRIGHT, 28);

    m_mirror.Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(10, 330, 790, 460), pParent, 40);
    CSplashWnd::EnableSplashScreen(TRUE);
  }

  void Tick(unsigned ms) override {
    DriveKnobs(ms);
    m_timer.SetTime(3590 + ms / 1000);
    double levels[2] = {-30 + 25 * std::sin(ms / 300.0), -24 + 18 * std::sin(ms / 210.0)};
    m_meter.SetDBValue(levels);
    m_levels.m_dPhase = m_bottom.m_dPhase = m_float.m_dPhase = ms / 250.0;
    m_levels.Invalidate(FALSE);
    m_bottom.Invalidate(FALSE);
    m_float.Invalidate(FALSE);
    DriveTip(ms, levels);
    DriveSplash(ms);
    m_mirror.m_popups.clear();
    if (CWnd* mini = m_float.m_pDockBar ? m_float.m_pDockBar->GetParent() : nullptr)
      m_mirror.m_popups.push_back(mini->GetSafeHwnd());
    m_mirror.m_popups.push_back(CExTipWnd::GetWnd()->GetSafeHwnd());
    if (CSplashWnd::c_pSplashWnd) m_mirror.m_popups.push_back(CSplashWnd::c_pSplashWnd->GetSafeHwnd());
    m_mirror.Invalidate(FALSE);
  }

  std::vector<unsigned> SnapshotTimes() const override { return {260, 700, 1400, 2300, 3000, 3600}; }

  void Destroy() override {
    CExTipWnd::Hide();
    CSplashWnd::DestroySplashScreen();
    CSplashWnd::EnableSplashScreen(FALSE);
    m_frame.DestroyWindow();
  }

 private:
  void MakeKnobs(CWnd* pParent) {
    CKnob* knobs[3] = {&m_knobLine, &m_knobBitmap, &m_knobWide};
    for (int i = 0; i < 3; ++i) {
      knobs[i]->Create(WS_CHILD | WS_VISIBLE, CRect(14 + i * 96, 10, 78 + i * 96, 74), pParent, 10 + i);
      m_labels[i].Create(L"", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(i * 96, 80, i < 2 ? 94 + i * 96 : 296, 100), pParent);
    }
    m_knobLine.SetRadius(24);
    m_knobLine.SetDeftPos(50);
    m_knobLine.SetPos(20, FALSE);
    m_knobBitmap.LoadBackBitmap(L"IDB_GALLERY_KNOB", TRUE);
    m_knobBitmap.SetRadius(20);
    auto dot = std::make_shared<winport::Surface>(9, 9);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 9; ++x) {
        const double d = std::hypot(x - 4, y - 4);
        const int a = d < 3 ? 255 : d < 4.5 ? 120 : 0;
        dot->Set(x, y, (static_cast<std::uint32_t>(a) << 24) | static_cast<std::uint32_t>((255 * a / 255) << 16) |
                           static_cast<std::uint32_t>((170 * a / 255) << 8));
      }
    m_bmpDot.Attach(winport::CreateBitmapFromSurface(dot));
    m_knobBitmap.SetIndicatorBitmap(&m_bmpDot);
    m_knobWide.SetRange(INT_MIN, INT_MAX);
    m_knobWide.SetRadius(22);
  }

  void MakePictures(CWnd* pParent) {
    m_pattern.Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(10, 180, 290, 320), pParent, 30);
    m_picSun.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(20, 20, 70, 70), &m_pattern, 31);
    m_picBadge.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(100, 40, 170, 80), &m_pattern, 32);
    m_bmpSun.Attach(winport::CreateBitmapFromSurface(CPictures::Make(48, 48, KeyedSun)));
    m_bmpBadge.Attach(winport::CreateBitmapFromSurface(CPictures::Make(64, 38, KeyedBadge)));
    m_picSun.SetBitmap(m_bmpSun);
    m_picBadge.SetBitmap(m_bmpBadge);
  }

  void MakeFrame(CWnd* pParent) {
    m_frame.Create(nullptr, L"frame", WS_CHILD | WS_VISIBLE, CRect(360, 10, 790, 320), pParent);
    m_view.Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &m_frame, AFX_IDW_PANE_FIRST);
    m_frame.EnableDocking(CBRS_ALIGN_ANY);
    m_brush.CreateSolidBrush(RGB(214, 218, 226));
    m_levels.Create(&m_frame, 101, L"Levels", CSize(90, 200), WS_CHILD | WS_VISIBLE | CBRS_LEFT, m_brush);
    m_bottom.Create(&m_frame, 102, L"Transport", CSize(300, 60), WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, m_brush);
    m_float.Create(&m_frame, 103, L"Floating", CSize(160, 70), WS_CHILD | WS_VISIBLE | CBRS_TOP, m_brush);
    for (CDockCtrlBar* p : {&m_levels, &m_bottom, &m_float}) {
      p->Set3DColor(RGB(255, 255, 255), RGB(120, 124, 134));
      p->EnableDocking(CBRS_ALIGN_ANY);
    }
    m_frame.DockControlBar(&m_levels, AFX_IDW_DOCKBAR_LEFT);
    m_frame.DockControlBar(&m_bottom, AFX_IDW_DOCKBAR_BOTTOM);
    CRect rc;
    m_frame.GetWindowRect(&rc);
    // Over the frame's own view: beside the page it would sit under the next page's window.
    m_frame.FloatControlBar(&m_float, CPoint(rc.left + 110, rc.top + 40));
  }

  struct DragPlan {
    CKnob* knob;
    unsigned start, end;
    int dir;
    int X(unsigned ms) const { return 32 + dir * static_cast<int>((std::min(ms, end) - start) / 20) * 2; }
  };

  // Drags in client coordinates of the knob: press, 2 pixels a tick, release. In real windows
  // ticks need not land on the plan's times, so a press is held by state, not by exact times:
  // a knob left holding the capture would take every click, the page's pause included.
  void DriveDrags(unsigned ms) {
    namespace hl = winport::headless;
    const DragPlan plans[] = {{&m_knobLine, 100, 500, 1},
                              {&m_knobBitmap, 600, 1500, 1},
                              {&m_knobWide, 1700, 2700, 1},
                              {&m_knobLine, 2800, 3300, -1}};
    const DragPlan* active = nullptr;
    for (const DragPlan& p : plans)
      if (ms >= p.start && ms <= p.end) active = &p;
    if (m_held && (!active || active->start != m_held->start)) {
      hl::MouseUp(*m_held->knob, m_held->X(ms), 32);
      m_held.reset();
    }
    if (!active) return;
    if (!m_held) hl::MouseDown(*active->knob, 32, 32);
    m_held = *active;
    hl::MouseMove(*active->knob, active->X(ms), 32);
  }

  void DriveKnobs(unsigned ms) {
    DriveDrags(ms);
    if (ms == 3400) {  // a double click returns the first knob to its default
      winport::headless::MouseDown(m_knobLine, 32, 32);
      winport::headless::MouseUp(m_knobLine, 32, 32);
      winport::headless::MouseDown(m_knobLine, 32, 32);
      winport::headless::MouseUp(m_knobLine, 32, 32);
    }
    const CKnob* knobs[3] = {&m_knobLine, &m_knobBitmap, &m_knobWide};
    for (int i = 0; i < 3; ++i) {
      m_labels[i].SetWindowText(gallery::CompactNumber(knobs[i]->GetPos()).c_str());
    }
  }

  void DriveTip(unsigned ms, const double* levels) {
    CRect rc;
    m_meter.GetWindowRect(&rc);
    const int y = rc.top + 20 + static_cast<int>((ms / 20) % 140);
    const int ch = (ms / 1000) % 2;
    const CPoint pointer(rc.left + 10 + ch * 20, y);
    ::SetCursorPos(pointer.x, pointer.y);
    CString text;
    text.Format(L"%s %.1f dB", ch ? L"R" : L"L", levels[ch]);
    CExTipWnd::SetText(text);
    const RECT hover{rc.left, rc.top, rc.right, rc.bottom};
    CExTipWnd::Show(&hover, nullptr);
  }

  void DriveSplash(unsigned ms) {
    if (ms == 0 || ms == 2000) CSplashWnd::ShowSplashScreen(L"IDB_GALLERY_SPLASH", m_pParent, FALSE);
    static const wchar_t* kSteps[] = {L"Loading meters...", L"Loading scopes...", L"Ready"};
    const unsigned local = ms % 2000;
    if (local == 100 || local == 400 || local == 800)
      CSplashWnd::ShowTitleMessage(kSteps[local == 100 ? 0 : local == 400 ? 1 : 2], RGB(255, 255, 255));
  }

  CWnd* m_pParent = nullptr;
  std::optional<DragPlan> m_held;  // the drag whose knob is pressed
  CKnob m_knobLine, m_knobBitmap, m_knobWide;
  CStatic m_labels[3];
  CBitmap m_bmpDot;
  CTimerWnd m_timer;
  CPatternPanel m_pattern;
  CPatternPic m_picSun, m_picBadge;
  CBitmap m_bmpSun, m_bmpBadge;
  CFrameWnd m_frame;
  CViewPane m_view;
  CBrush m_brush;
  CLevelsBar m_levels, m_bottom, m_float;
  CVUMeter m_meter;
  CPopupMirror m_mirror;
};

}  // namespace

GALLERY_REGISTER_PAGE(CControlsPage);
