#pragma once
// Windows, messages, timers, painting, input, framework window classes. The back ends
// (window/Backend.h, window/Sdl2.h) are a host's choice and, like headless.h, included by hosts.
#include "winport/window/CCmdTarget.h"
#include "winport/window/CStatic.h"
#include "winport/window/CToolTipCtrl.h"
#include "winport/window/CWinApp.h"
#include "winport/window/CWnd.h"
#include "winport/window/MessageMap.h"
#include "winport/window/PaintDC.h"
#include "winport/window/User32.h"
#include "winport/window/WinDefs.h"
