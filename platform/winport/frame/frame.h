#pragma once
// Frame windows with docking control bars.
#include "winport/frame/CControlBar.h"
#include "winport/frame/CDockBar.h"
#include "winport/frame/CDockContext.h"
#include "winport/frame/CFrameWnd.h"
#include "winport/frame/CMiniDockFrameWnd.h"
#include "winport/frame/ControlBarDefs.h"
