// The dB scale drawn beside a plain level bar, in both label styles.
#include <cmath>

#include "foundation/AudioScale.h"
#include "tools/gallery/Gallery.h"

namespace {

class CScaleBar : public CWnd {
 public:
  CScaleBar(const CAudioScale* scale, ASDSStyle style) : m_pScale(scale), m_nStyle(style) {
    m_font.CreatePointFont(80, L"Tahoma");
  }
  void SetLevel(double dB) {
    m_dLevel = dB;
    Invalidate(FALSE);
  }

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(32, 36, 40));
    const int barWidth = 16;
    CRect scaleRc(rc.left, rc.top + 8, rc.right - barWidth - 6, rc.bottom - 8);
    CRect barRc(rc.right - barWidth - 3, scaleRc.top, rc.right - 3, scaleRc.bottom);
    if (m_nStyle == ASDS_TEXTRIGHT) {
      barRc = CRect(rc.left + 3, scaleRc.top, rc.left + 3 + barWidth, scaleRc.bottom);
      scaleRc = CRect(barRc.right + 3, scaleRc.top, rc.right, scaleRc.bottom);
    }
    // Bar: the scale's value for the level, as a share of the scale's range.
    const double range = m_pScale->GetValueRange();
    const double share = range > 0 ? (m_pScale->DB2Value(m_dLevel) - m_pScale->GetMinValue()) / range : 0;
    const int h = static_cast<int>(share * barRc.Height());
    dc.FillSolidRect(&barRc, RGB(10, 10, 10));
    dc.FillSolidRect(barRc.left, barRc.bottom - h, barRc.Width(), h, m_dLevel > 0 ? RGB(250, 80, 60) : RGB(90, 220, 110));
    // Ticks take the background colour, labels the text colour and font.
    CFont* old = dc.SelectObject(&m_font);
    dc.SetBkColor(RGB(200, 200, 200));
    dc.SetTextColor(RGB(230, 230, 230));
    dc.SetBkMode(TRANSPARENT);
    m_pScale->Draw(&dc, scaleRc, -60, m_nStyle, 0, 0, 6);
    dc.SelectObject(old);
  }
  DECLARE_MESSAGE_MAP()

 private:
  const CAudioScale* m_pScale;
  ASDSStyle m_nStyle;
  CFont m_font;
  double m_dLevel = -110;
};

BEGIN_MESSAGE_MAP(CScaleBar, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class ScalePage : public gallery::Page {
 public:
  const char* Name() const override { return "scale"; }
  const char* Title() const override { return "Audio scale"; }
  SIZE ClientSize() const override { return {200, 340}; }
  void Create(CWnd* pParent) override {
    static CString cls = AfxRegisterWndClass(0);
    m_left.CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, CRect(4, 24, 98, 336), pParent, 1);
    gallery::AddLabel(pParent, CRect(4, 4, 98, 20), L"Labels left");
    m_right.CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, CRect(102, 24, 196, 336), pParent, 2);
    gallery::AddLabel(pParent, CRect(102, 4, 196, 20), L"Labels right");
  }
  void Tick(unsigned ms) override {
    // A slow swell from silence to +10 dB and back, one channel a beat behind the other.
    const double t = ms / 1000.0;
    m_left.SetLevel(-60 + 70 * std::fabs(std::sin(t * 1.3)));
    m_right.SetLevel(-60 + 70 * std::fabs(std::sin(t * 1.3 - 0.6)));
  }
  std::vector<unsigned> SnapshotTimes() const override { return {0, 400, 800, 1200}; }

 private:
  CAudioScale m_scale{TRUE};
  CScaleBar m_left{&m_scale, ASDS_TEXTLEFT};
  CScaleBar m_right{&m_scale, ASDS_TEXTRIGHT};
};

}  // namespace

GALLERY_REGISTER_PAGE(ScalePage);
