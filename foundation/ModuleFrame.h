// The module frame: what exists while libParvaneU.so is loaded. The frame is the first static
// object of the library, so it is built before every other process-wide object and torn down
// after the last of them.
#pragma once
#include <winport/afx.h>

#include "foundation/Export.h"

namespace parvaneu {

class PARVANEU_API ModuleFrame {
 public:
  // The extension module record; hModule is null when the load failed or after unload.
  static const AFX_EXTENSION_MODULE& Module();
  // The module's version record as carried in its resources (1.0.0.1, a dynamic library).
  static const VS_FIXEDFILEINFO& Version();
};

}  // namespace parvaneu
