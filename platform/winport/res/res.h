#pragma once
// Resources: the resource chain and image decoding.
#include "winport/res/Resources.h"
