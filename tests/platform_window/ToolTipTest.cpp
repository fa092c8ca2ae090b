// The tooltip control driven the way the meters drive it: a tool over the whole client, the
// owner relaying mouse messages from PreTranslateMessage.
#include <gtest/gtest.h>

#include <thread>

#include "support/Recorder.h"

using namespace winport;

namespace {

class CTipOwner : public CWnd {
 public:
  CToolTipCtrl m_ToolTip;

  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    EnableToolTips(TRUE);
    m_ToolTip.Create(this, 0);
    m_ToolTip.SendMessage(TTM_ACTIVATE, TRUE);
    m_ToolTip.AddTool(this, L"", CRect(0, 0, 0, 0), 100);
    m_ToolTip.SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, 100);
    m_ToolTip.SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, 5000);
    return 0;
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (m_ToolTip.m_hWnd) m_ToolTip.SetToolRect(this, 100, CRect(0, 0, cx, cy));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipOwner, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

class ToolTip : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    ASSERT_TRUE(top.CreateTop(CRect(0, 0, 400, 300)));
    ASSERT_TRUE(owner.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(50, 50, 150, 150), &top, 1));
    ASSERT_TRUE(other.CreateChild(&top, CRect(200, 50, 300, 150)));
    headless::Pump();
  }
  bool Shown() { return owner.m_ToolTip.IsWindowVisible() != FALSE; }
  CRecorderWnd top, other;
  CTipOwner owner;
};

TEST_F(ToolTip, AppearsAfterInitialDelayAndHidesAfterAutoPop) {
  owner.m_ToolTip.UpdateTipText(L"-6.0 dB", &owner, 100);
  headless::MouseMove(owner.m_hWnd, 20, 30);
  headless::Advance(99);
  EXPECT_FALSE(Shown());
  headless::Advance(1);
  ASSERT_TRUE(Shown());
  EXPECT_TRUE(owner.m_ToolTip.IsTipShown());
  // Below the pointer, sized to its text, on top of everything.
  CRect tip;
  owner.m_ToolTip.GetWindowRect(&tip);
  EXPECT_EQ(tip.left, 50 + 20);
  EXPECT_GT(tip.top, 50 + 30);
  EXPECT_GT(tip.Width(), 20);
  EXPECT_GT(tip.Height(), 10);
  EXPECT_EQ(GetTopWindow(nullptr), owner.m_ToolTip.m_hWnd);
  CRecorderWnd later;  // a later ordinary window stays below the topmost tip
  ASSERT_TRUE(later.CreateTop(CRect(0, 0, 10, 10)));
  EXPECT_EQ(GetTopWindow(nullptr), owner.m_ToolTip.m_hWnd);
  EXPECT_EQ(GetWindow(owner.m_ToolTip.m_hWnd, GW_HWNDNEXT), later.m_hWnd);
  // The pointer still reaches the tool through the tip.
  EXPECT_EQ(WindowFromPoint(CPoint(tip.left + 2, tip.top + 2)), owner.m_hWnd);
  // Yellowish background, a border and some dark text.
  headless::Pump();
  headless::Image img = headless::Capture(owner.m_ToolTip.m_hWnd);
  EXPECT_EQ(img.At(img.width / 2, 1), ToPixel(GetSysColor(COLOR_INFOBK)));
  EXPECT_NE(img.At(0, 0), ToPixel(GetSysColor(COLOR_INFOBK)));
  int dark = 0;
  for (uint32_t p : img.pixels) dark += (p & 0xFF) < 0x80;
  EXPECT_GT(dark, 10);
  // Moving on the tool keeps it; the auto-pop time hides it, and it stays hidden on the tool.
  headless::MouseMove(owner.m_hWnd, 21, 30);
  headless::Advance(4998);
  EXPECT_TRUE(Shown());
  headless::Advance(2);
  EXPECT_FALSE(Shown());
  headless::MouseMove(owner.m_hWnd, 25, 30);
  headless::Advance(1000);
  EXPECT_FALSE(Shown());
  // Leaving and coming back shows it again after the delay.
  headless::MouseMove(other.m_hWnd, 5, 5);
  headless::Advance(300);
  headless::MouseMove(owner.m_hWnd, 10, 10);
  headless::Advance(100);
  EXPECT_TRUE(Shown());
  if (HasFailure()) headless::SavePng(img, PARVANEU_TEST_OUTPUT_DIR "/tooltip.png");
}

TEST_F(ToolTip, HidesOnButtonDownAndWhenThePointerLeaves) {
  owner.m_ToolTip.UpdateTipText(L"x", &owner, 100);
  headless::MouseMove(owner.m_hWnd, 20, 30);
  headless::Advance(100);
  ASSERT_TRUE(Shown());
  headless::MouseDown(owner.m_hWnd, 20, 30);
  EXPECT_FALSE(Shown());
  headless::MouseUp(owner.m_hWnd, 20, 30);
  headless::Advance(500);
  EXPECT_FALSE(Shown());
  // Leaving for a window that relays nothing: the tip notices by itself.
  headless::MouseMove(other.m_hWnd, 5, 5);
  headless::Advance(200);
  headless::MouseMove(owner.m_hWnd, 20, 31);
  headless::Advance(100);
  ASSERT_TRUE(Shown());
  headless::MouseMove(other.m_hWnd, 5, 5);
  headless::Advance(150);
  EXPECT_FALSE(Shown());
  // A deactivated tip never shows.
  owner.m_ToolTip.Activate(FALSE);
  headless::MouseMove(owner.m_hWnd, 20, 30);
  headless::Advance(1000);
  EXPECT_FALSE(Shown());
}

TEST_F(ToolTip, TextFromAnotherThreadUpdatesTheShownTip) {
  // No text yet: nothing shows; the first text shows it while the pointer rests there.
  headless::MouseMove(owner.m_hWnd, 20, 30);
  headless::Advance(200);
  EXPECT_FALSE(Shown());
  std::thread([&] { owner.m_ToolTip.UpdateTipText(L"-12.5", &owner, 100); }).join();
  headless::Pump();
  ASSERT_TRUE(Shown());
  CRect small;
  owner.m_ToolTip.GetWindowRect(&small);
  std::thread([&] { owner.m_ToolTip.UpdateTipText(L"-12.5 dB (left channel)", &owner, 100); }).join();
  headless::Pump();
  CRect wide;
  owner.m_ToolTip.GetWindowRect(&wide);
  EXPECT_GT(wide.Width(), small.Width());
  EXPECT_EQ(wide.left, small.left);
  CString text;
  owner.m_ToolTip.GetText(text, &owner, 100);
  EXPECT_EQ(std::wstring(text.GetString()), L"-12.5 dB (left channel)");
  EXPECT_EQ(owner.m_ToolTip.GetDelayTime(TTDT_AUTOPOP), 5000);
  EXPECT_EQ(owner.m_ToolTip.GetToolCount(), 1);
  // Unknown tools and null windows are ignored.
  owner.m_ToolTip.UpdateTipText(L"?", nullptr, 7);
  owner.m_ToolTip.SetToolRect(nullptr, 7, nullptr);
  EXPECT_FALSE(owner.m_ToolTip.AddTool(nullptr, L"x"));
  HWND tip = owner.m_ToolTip.m_hWnd;
  top.DestroyWindow();
  EXPECT_FALSE(IsWindow(tip));  // the popup is owned by the top-level window and goes with it
}

}  // namespace
