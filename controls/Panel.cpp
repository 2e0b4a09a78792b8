#include "controls/Panel.h"

#include <oleacc.h>

#include "toolkit/Handles.h"
#include "toolkit/Theme.h"

namespace controls {

namespace {
const wchar_t kPanelClass[] = L"TkPanel";
}

void TPanel::Create(HWND parent) {
  RegisterWindowClass(kPanelClass, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle(kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               WS_EX_CONTROLPARENT, RECT{0, 0, 0, 0}, parent);
}

toolkit::TAccElement TPanel::AccDescribe(const toolkit::TAccPath&) const {
  toolkit::TAccElement pane;
  pane.Role = ROLE_SYSTEM_PANE;
  pane.Name = AccessibleName;
  return pane;
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
      return SendMessageW(GetParent(Handle()), message, wParam, lParam);
    case WM_PAINT: {
      toolkit::TPaintDC dc(Handle());
      if (bevel_ != TBevel::None) {
        RECT client;
        GetClientRect(Handle(), &client);
        toolkit::DrawThemedEdge(
            dc.Get(), client, bevel_ == TBevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER | BDR_RAISEDINNER);
      }
      return 0;
    }
    case WM_SIZE:
      if (bevel_ != TBevel::None) InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace controls
