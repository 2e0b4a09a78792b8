#include "app/MainLayout.h"

namespace app {

namespace {
using tk::TAlign;

// In the order in which the window declares its components; sizes of aligned parts are their
// sizes at the window's design size, where only the size across the alignment counts.
// clang-format off
const tk::TLayoutRow kMainLayout[] = {
    // Name            Parent           Align            Left  Top  Width Height Border Hint
    {"Panel1",         nullptr,         TAlign::Client,   0,   41,  499,  336,   0, ""},
    {"DrivesView",     "Panel1",        TAlign::Left,     0,    0,  209,  336,   0, ""},
    {"InfoGrid",       "Panel1",        TAlign::Client, 212,    0,  287,  336,   0, ""},
    {"ProgressPanel",  nullptr,         TAlign::Bottom,   0,  377,  499,   30,   1, ""},
    {"ButtonPanel",    nullptr,         TAlign::Top,      0,    0,  499,   41,   1, ""},
    {"Splitter",       "Panel1",        TAlign::Left,   209,    0,    3,  336,   0, ""},
    {"InfoBtn",        "ButtonPanel",   TAlign::None,   112,    8,   25,   25,   0, ""},
    {"CloseBtn",       "ButtonPanel",   TAlign::None,   144,    8,   25,   25,   0, ""},
    {"CopyInfoBtn",    "ButtonPanel",   TAlign::None,     8,    8,   25,   25,   0,
     "Kopiere Information des ausgewählten Laufwerks\r\nin die Zwischenablage"},
    {"CopyInfosBtn",   "ButtonPanel",   TAlign::None,    40,    8,   25,   25,   0,
     "Kopiere die Information aller Laufwerke \r\nin tabellarischer Form in die Zwischenablage"},
    {"SizeGauge",      "ProgressPanel", TAlign::Client,   1,    1,  497,   28,   0,
     "Belegter Speicherplatz des Laufwerks"},
    {"HelpBtn",        "ButtonPanel",   TAlign::None,    80,    8,   25,   25,   0, ""},
};
// clang-format on
}  // namespace

std::span<const tk::TLayoutRow> MainLayout() {
  return kMainLayout;
}

}  // namespace app
