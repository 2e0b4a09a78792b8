// Tool-tip hints for the controls of one form; "\r\n" in a hint starts a new line.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Window.h"

namespace tk {

class THints : public TWindow {
 public:
  THints() = default;
  // Creates the tool-tip window, owned by the form.
  void Create(HWND form);
  // Adds the control's tool; an empty hint adds nothing.
  void Add(HWND control, const std::string& hint);
  // Gives the control this hint, adding its tool or changing its text; an empty hint removes it.
  void Set(HWND control, const std::string& hint);
};

}  // namespace tk
