// Whether the system's high-contrast mode is on, for drawing that follows it. The answer can be
// forced: Wine refuses to switch the mode (SPI_SETHIGHCONTRAST), and tests need both.
#pragma once

#include "toolkit/Forced.h"

namespace toolkit {

struct THighContrast {
  bool Answered = false;  // false: the system did not answer, and On is a guess
  bool On = false;
};

// The system's answer (SPI_GETHIGHCONTRAST).
THighContrast SystemHighContrast();
// The answer that drawing follows: the forced one while a TForcedHighContrast lives, otherwise the
// system's.
THighContrast HighContrast();

// Forces HighContrast's answer while it lives.
class TForcedHighContrast : TForced<bool> {
 public:
  explicit TForcedHighContrast(bool on);
};

}  // namespace toolkit
