// The main window's layout: outer size, caption and one row per component.
#pragma once

#include <vector>

#include "toolkit/Layout.h"

namespace app {

class TMainForm;

inline constexpr int kMainFormWidth = 507;
inline constexpr int kMainFormHeight = 434;

std::vector<tk::TLayoutRow> MainLayout(TMainForm& form);

}  // namespace app
