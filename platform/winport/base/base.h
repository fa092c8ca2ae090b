// Everything of the base area: types, geometry, strings, arrays, locks, debug output.
#pragma once
#include "winport/base/CArray.h"
#include "winport/base/CException.h"
#include "winport/base/CString.h"
#include "winport/base/debug.h"
#include "winport/base/geometry.h"
#include "winport/base/sync.h"
#include "winport/base/types.h"
