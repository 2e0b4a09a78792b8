// Tool-tip hints for the controls of one form; "\r\n" in a hint starts a new line.
//
// The tool-tip window is made when the pointer first moves over one of the hinted controls: most
// starts of the program never show a hint, and the window is a good share of a start. Until then
// each hinted control is watched for that first move.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "toolkit/Window.h"

namespace toolkit {

class THints : public TWindow {
 public:
  THints() = default;
  ~THints() override;
  // Takes the form that will own the tool-tip window.
  void Create(HWND form);
  // The tips in the scheme's colours.
  void ThemeChanged() override;
  // Adds the control's tool; an empty hint adds nothing.
  void Add(HWND control, const std::wstring& hint);
  // Gives the control this hint, adding its tool or changing its text; an empty hint removes it.
  void Set(HWND control, const std::wstring& hint);

 private:
  void MakeWindow();
  void AddTool(HWND control, const std::wstring& hint);
  void Forget(HWND control);
  // The watch on a control is this object's own, so that two hints objects may watch one control.
  UINT_PTR WatchId() const { return reinterpret_cast<UINT_PTR>(this); }
  static LRESULT CALLBACK WatchProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR hints,
                                    DWORD_PTR) noexcept;

  HWND form_ = nullptr;
  // The hints given before the window exists.
  std::vector<std::pair<HWND, std::wstring>> waiting_;
};

}  // namespace toolkit
