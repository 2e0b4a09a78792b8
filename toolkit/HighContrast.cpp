#include "toolkit/HighContrast.h"

#include <windows.h>

namespace toolkit {

namespace {
std::optional<bool> forced;
}  // namespace

THighContrast SystemHighContrast() {
  HIGHCONTRASTW contrast{};
  // The system refuses the question without the structure's size.
  contrast.cbSize = sizeof(contrast);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return {};
  return {true, (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0};
}

THighContrast HighContrast() {
  return forced ? THighContrast{true, *forced} : SystemHighContrast();
}

TForcedHighContrast::TForcedHighContrast(bool on) : TForced(forced, on) {}

}  // namespace toolkit
