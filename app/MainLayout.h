// The main window's layout: outer size, caption and one row per component.
#pragma once

#include <span>

#include "toolkit/Layout.h"

namespace app {

inline constexpr int kMainFormWidth = 507;
inline constexpr int kMainFormHeight = 434;

std::span<const tk::TLayoutRow> MainLayout();

}  // namespace app
