// winport umbrella: the window system, drawing, text and resources the controls are written
// against, with the desktop framework's names.
#pragma once
#include "winport/base/base.h"
#include "winport/text/text.h"
#include "winport/res/res.h"
#include "winport/gdi/gdi.h"
#include "winport/window/window.h"
#include "winport/frame/frame.h"
#include "winport/module/ExtensionModule.h"
#include "winport/module/VersionInfo.h"
#include "winport/gdi/CImageList.h"
#include "winport/com/com.h"
#include "winport/shell/shell.h"
#include "winport/doc/doc.h"
