// The desktop's face names mapped to the families installed here. fontconfig knows the metric
// clones (Arial, Times New Roman, Courier New); this adds the dialog and CJK faces it does not.
#pragma once
#include <string>
#include <vector>

#include "winport/text/FontTypes.h"

namespace winport::textdetail {

struct FaceNameMapping {
  std::vector<std::string> families;  // UTF-8, most wanted first; never empty
  std::string lang;                   // fontconfig language the face implies, or ""
};

// Face name of the LOGFONTW (with its character set) to what fontconfig is asked for.
FaceNameMapping MapFaceName(const LOGFONTW& lf);

}  // namespace winport::textdetail
