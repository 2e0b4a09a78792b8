// The drive list's pictures: one per listed drive type, as drawn for the display's scaling.
#pragma once

#include "toolkit/Handles.h"
#include "toolkit/Theme.h"

namespace app {

// The five drive images in the order of DriveImageIndex, as drawn for dpi, in the scheme's colours:
// dark makes light what would vanish on the dark list (outlines, the network drive's stand and
// cable); light and high contrast show them as drawn, as Windows shows its own icons.
toolkit::TImageList DriveImages(int dpi, toolkit::TScheme scheme);

}  // namespace app
