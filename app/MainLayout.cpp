#include "app/MainLayout.h"

#include "app/MainForm.h"

namespace app {

// In the order in which the window declares its components; sizes of aligned parts are their
// sizes at the window's design size, where only the size across the alignment counts.
std::vector<toolkit::TLayoutRow> MainLayout(TMainForm& f) {
  using toolkit::TAlign;
  // clang-format off
  return {
    // Component        Parent            Align            Left  Top  Width Height Border Hint
    {&f.Panel1,         nullptr,          TAlign::Client,   0,   41,  499,  336,   0, L""},
    {&f.DrivesView,     &f.Panel1,        TAlign::Left,     0,    0,  209,  336,   0, L""},
    {&f.InfoGrid,       &f.Panel1,        TAlign::Client, 212,    0,  287,  336,   0, L""},
    {&f.ProgressPanel,  nullptr,          TAlign::Bottom,   0,  377,  499,   30,   1, L""},
    {&f.ButtonPanel,    nullptr,          TAlign::Top,      0,    0,  499,   41,   1, L""},
    {&f.Splitter,       &f.Panel1,        TAlign::Left,   209,    0,    3,  336,   0, L""},
    {&f.InfoBtn,        &f.ButtonPanel,   TAlign::None,   112,    8,   25,   25,   0, L""},
    {&f.CloseBtn,       &f.ButtonPanel,   TAlign::None,   144,    8,   25,   25,   0, L""},
    {&f.CopyInfoBtn,    &f.ButtonPanel,   TAlign::None,     8,    8,   25,   25,   0,
     L"Kopiere Information des ausgewählten Laufwerks\r\nin die Zwischenablage"},
    {&f.CopyInfosBtn,   &f.ButtonPanel,   TAlign::None,    40,    8,   25,   25,   0,
     L"Kopiere die Information aller Laufwerke \r\nin tabellarischer Form in die Zwischenablage"},
    {&f.SizeGauge,      &f.ProgressPanel, TAlign::Client,   1,    1,  497,   28,   0,
     L"Belegter Speicherplatz des Laufwerks"},
    {&f.HelpBtn,        &f.ButtonPanel,   TAlign::None,    80,    8,   25,   25,   0, L""},
  };
  // clang-format on
}

}  // namespace app
