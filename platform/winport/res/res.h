#pragma once
// Resources: the resource chain and image decoding.
#include "winport/res/ResourceApi.h"
#include "winport/res/Resources.h"
