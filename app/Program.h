// The program's main block, apart from its entry point.
#pragma once

#include "toolkit/Application.h"

namespace app {

// Keeps the system's critical-error boxes away, switches input methods off, initialises the
// application object and gives it the program's title and help file.
void SetUpApplication(toolkit::TApplication& application);

}  // namespace app
