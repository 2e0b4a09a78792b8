// The main window's layout: client size, caption and one row per component.
#pragma once

#include <vector>

#include "toolkit/Layout.h"

namespace app {

class TMainForm;

// The client area that the layout fills at 96 dpi (507 x 434 outside with the classic frame).
inline constexpr int kMainFormWidth = 499;
inline constexpr int kMainFormHeight = 407;
// The least client area, at 96 dpi: every tool button (the last ends at 169, then the margin of 8)
// and, between the bars (41 and 30), the table's frame (2 + 2), header strip and one row with their
// lines (5 + 1 + 19 + 1).
inline constexpr int kMainFormMinWidth = 177;
inline constexpr int kMainFormMinHeight = 101;

std::vector<toolkit::TLayoutRow> MainLayout(TMainForm& form);

}  // namespace app
