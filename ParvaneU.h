// ParvaneU umbrella: every exported class a host may use, the companion's included.
#pragma once
#include <winport/afx.h>

#include "companion/KestruneU.h"

#include "audio/TArray.h"
#include "audio/AudioScale.h"
