// The screen-wide cursor: while it is not the default, every window of the program shows it in
// place of its own.
#pragma once

namespace toolkit {

enum class TCursor { Default, HourGlass };

TCursor ScreenCursor();
void SetScreenCursor(TCursor cursor);

// Shows the hour-glass for the lifetime of the scope, also when an exception leaves it.
class THourGlass {
 public:
  THourGlass() { SetScreenCursor(TCursor::HourGlass); }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;
  ~THourGlass() { SetScreenCursor(TCursor::Default); }
};

}  // namespace toolkit
