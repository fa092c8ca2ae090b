// ParvaneU umbrella: every exported class a host may use, the companion's included.
#pragma once
#include <winport/afx.h>

#include "companion/KestruneU.h"

#include "foundation/TArray.h"
#include "audio/AudioScale.h"
#include "audio/ExVUMeter.h"
#include "audio/VUMeter.h"
#include "scopes/ARGBGraph.h"
#include "scopes/ScopePalette.h"
#include "scopes/ScopePixels.h"
#include "scopes/VideoScopeGraph.h"
#include "scopes/YVYUGraph.h"
#include "scrollbars/ScrollWnd.h"
#include "scrollbars/XSBScrollWnd.h"
#include "scrollbars/XSBSkinBlueGlass.h"
#include "scrollbars/XSBSkinFlat.h"
#include "scrollbars/XSBSkinNormal.h"
#include "scrollbars/XScrollBar.h"
#include "scrollbars/XScrollBarSkin.h"
