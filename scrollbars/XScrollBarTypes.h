// Enumerations and records shared by the skinned scroll bar, its skins and the scroll window.
// Field order and widths are fixed: hosts read XSBNotify and XSBHitTest directly.
#pragma once
#include <winport/afx.h>

enum Directions2 { dirVert = 0, dirHorz = 1 };
enum Directions4 { dirLeft = 0, dirRight = 1, dirUp = 2, dirDown = 3 };
enum BtnStates { btnNormal = 0, btnHot = 1, btnPressed = 2, btnDisabled = 3 };
enum XSBHitResult {
  hitNone = 0,
  hitPrevBtn = 1,
  hitNextBtn = 2,
  hitMoveBtn = 3,
  hitMovePrev = 4,
  hitMoveNext = 5,
};

struct XSBHitTest {
  XSBHitResult result;
  RECT rect;
};

// Sent by pointer as the lParam of WM_NOTIFY, wParam the bar's control id.
struct XSBNotify {
  NMHDR hdr;     // the bar, its control id, code 0
  int nType;     // XSBN_DRAG or XSBN_PUSH
  int nOldPos;
  int nNewPos;
};

constexpr int XSBN_DRAG = 1;  // the thumb was dragged
constexpr int XSBN_PUSH = 2;  // an arrow or the track was pushed (first step or repeat)
