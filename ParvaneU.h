// ParvaneU umbrella: every exported class a host may use, the companion's included.
#pragma once
#include <winport/afx.h>

#include "companion/KestruneU.h"

#include "foundation/TArray.h"
#include "audio/AudioScale.h"
#include "audio/ExVUMeter.h"
#include "audio/LevelMeasure.h"
#include "audio/MeterFeed.h"
#include "audio/VUMeter.h"
#include "scopes/ARGBGraph.h"
#include "scopes/ScopePalette.h"
#include "scopes/ScopePixels.h"
#include "scopes/VideoScopeGraph.h"
#include "scopes/YVYUGraph.h"
#include "shell/OlePropPageWnd.h"
#include "shell/SHFileInfo.h"
#include "shell/SysMbIcons.h"
#include "shell/TaviFileDialog.h"
#include "spectrum/FigWnd.h"
#include "spectrum/FreqMagnWnd.h"
#include "controls/DockCtrlBar.h"
#include "controls/ExTipWnd.h"
#include "controls/Knob.h"
#include "controls/SplashWnd.h"
#include "controls/StaticPic.h"
#include "controls/TimerWnd.h"
