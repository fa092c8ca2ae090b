// CExTipWnd: the one process-wide tip popup. Any control fills it with lines of text and shows
// it next to the pointer; it follows the pointer only when told to, hides itself once the
// pointer leaves a hover rectangle, and remembers which owner (a GUID) showed it last. All
// public operations are static and act on the single instance; its window is made on first Show.
#pragma once
#include <winport/afx.h>
#include <winport/com/Com.h>

#include "foundation/Export.h"

class PARVANEU_API CExTipWnd : public CWnd {
 public:
  static CExTipWnd* GetWnd();
  static void SetActID(const GUID& id);
  static const GUID& GetActID();
  static void SetBackColor(COLORREF cr);
  static void SetTextColor(COLORREF cr);
  static void SetText(const wchar_t* pszText);
  static void SetText(const CStringArray& arrText);
  // Hover rectangle (screen coordinates) or null; position or null for "beside the pointer".
  static void Show(const RECT* pHoverRect, POINT* pPos);
  // Hover rectangle of +-size around the pointer.
  static void Show2(const SIZE& size, POINT* pPos);
  static void Hide();

  virtual void OnDraw(CDC* pDC);

  static constexpr UINT_PTR HOVER_TIMER = 1000;
  static constexpr UINT HOVER_PERIOD = 100;

 protected:
  void UpdateWindowSize();

  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CExTipWnd();
  ~CExTipWnd() override;
  void ShowAt(const RECT* pHoverRect, POINT* pPos);
  void Invalidated();

  CFont m_font;
  COLORREF m_crBack = 0xE0FFFF;
  COLORREF m_crText = 0;
  BOOL m_bSizeDirty = TRUE;
  CStringArray m_arrText;
  RECT m_rcHover{0, 0, 0, 0};
  BOOL m_bHoverTimer = FALSE;
  GUID m_idAct{};

  static CExTipWnd ms_wndTip;
};
