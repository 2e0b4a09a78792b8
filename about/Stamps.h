// A label that shows the date and time of the program's executable file, as text or as the packed
// MS-DOS date and time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/Label.h"

namespace about {

enum TTimeStampDisplayType : std::uint8_t { dtString, dtNumber };

// The file's last change in local time as a packed MS-DOS date (high half) and time (low half);
// nothing when the file cannot be read.
std::optional<DWORD> FileDosDateTime(const std::wstring& path);

// The packed moment as the locale's short date, a blank and its long time (dtString), or as a
// signed decimal number (dtNumber).
std::wstring TimeStampText(DWORD dosDateTime, TTimeStampDisplayType display);

class TTimeStamp : public toolkit::TLabel {
 public:
  explicit TTimeStamp(toolkit::TLabelSettings settings);
  TTimeStampDisplayType Display() const { return display_; }
  // Stores the value and sets the caption from the executable's time, computed now and not later.
  void SetDisplay(TTimeStampDisplayType display);

 private:
  TTimeStampDisplayType display_ = dtString;
};

}  // namespace about
