// The main window's layout: client size, caption and one row per component.
#pragma once

#include <vector>

#include "toolkit/Layout.h"

namespace app {

class TMainForm;

// The client area that the layout fills at 96 dpi (507 x 434 outside with the classic frame).
inline constexpr int kMainFormWidth = 499;
inline constexpr int kMainFormHeight = 407;

std::vector<toolkit::TLayoutRow> MainLayout(TMainForm& form);

}  // namespace app
