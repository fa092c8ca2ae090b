#pragma once
// Resources: the resource chain.
#include "winport/res/ResourceApi.h"
#include "winport/res/Resources.h"
