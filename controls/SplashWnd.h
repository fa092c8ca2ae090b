// CSplashWnd: a start-up picture in a borderless topmost popup while the host initialises. The
// host may write a one-line progress message at its bottom edge; the splash goes away after one
// second or at the first click or key press. At most one exists; the static members act on it.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

class PARVANEU_API CSplashWnd : public CWnd {
 public:
  ~CSplashWnd() override;

  static void EnableSplashScreen(BOOL bEnable);
  // lpszName is a file path when bFromFile, else a bitmap resource name.
  static void ShowSplashScreen(const wchar_t* lpszName, CWnd* pParentWnd, BOOL bFromFile);
  static void ShowSplashScreen(UINT nID, CWnd* pParentWnd);
  static BOOL Show(int nCmdShow);
  static void DestroySplashScreen();
  static void ShowTitleMessage(CString strMessage, COLORREF crText);
  // For the host's own pre-translation: a click or key while the splash is up closes it and is
  // swallowed (TRUE).
  static BOOL PreTranslateAppMessage(MSG* pMsg);

  BOOL PreTranslateMessage(MSG* pMsg) override;
  void PostNcDestroy() override;

  static constexpr UINT_PTR LIFE_TIMER = 1;
  static constexpr UINT LIFE_MS = 1000;

 protected:
  CSplashWnd();
  BOOL Create(CWnd* pParentWnd);
  void HideSplashScreen();

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  DECLARE_MESSAGE_MAP()

  CBitmap m_bitmap;

 public:
  static CSplashWnd* c_pSplashWnd;
  static BOOL c_bShowSplashWnd;
  static CFont m_fntShowText;
  static CRect m_rect;

 private:
  static void ShowWith(const wchar_t* lpszName, CWnd* pParentWnd, BOOL bFromFile);
  static bool IsDismissing(UINT message);
};
