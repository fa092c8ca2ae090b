#pragma once
// The component object model stand-in: registry, interfaces, interface maps.
#include "winport/com/Com.h"
#include "winport/com/InterfaceMap.h"
#include "winport/com/OleCtl.h"
