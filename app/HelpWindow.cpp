#include "app/HelpWindow.h"

#include <algorithm>
#include <string_view>

#include "resources/resource_ids.h"
#include "runtime/Errors.h"
#include "version.h"

namespace app {

namespace {

// The client area at 96 dpi.
const int kHelpWidth = 592;
const int kHelpHeight = 533;

std::string_view HelpText() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, RES_HELP_TEXT, RT_RCDATA);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* text = loaded ? LockResource(loaded) : nullptr;
  if (!text) throw runtime::Exception(L"Der Hilfetext fehlt im Programm");
  return {static_cast<const char*>(text), SizeofResource(module, resource)};
}

}  // namespace

RECT PlaceBeside(const RECT& other, SIZE size, const RECT& work) {
  // No larger than the work area, where a large scaling on a small screen would leave it.
  size = {std::min(size.cx, work.right - work.left), std::min(size.cy, work.bottom - work.top)};
  const LONG roomLeft = other.left - work.left, roomRight = work.right - other.right;
  LONG left = roomRight >= roomLeft ? other.right : other.left - size.cx;
  LONG top = other.top;
  // Into the work area; where the window is larger, its top left corner stays visible.
  left = std::max(work.left, std::min(left, work.right - size.cx));
  top = std::max(work.top, std::min(top, work.bottom - size.cy));
  return RECT{left, top, left + size.cx, top + size.cy};
}

THelpWindow::THelpWindow(HWND owner, bool preferMsftedit)
    : toolkit::TForm({SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME) L" – Hilfe", kHelpWidth, kHelpHeight}, owner),
      editor_(toolkit::LoadRichEdit(preferMsftedit, library_)) {
  KeyPreview = true;
}

void THelpWindow::Create() {
  toolkit::TForm::Create();
  editor_.Create(Handle());
  editor_.LoadRtf(HelpText());
  Resized();
  ActiveControl = editor_.Handle();
}

void THelpWindow::KeyDown(WORD& key, toolkit::TShiftState) {
  if (key == VK_ESCAPE) {
    key = 0;
    Close();
  }
}

void THelpWindow::Resized() {
  if (!editor_.Handle()) return;
  RECT client;
  GetClientRect(Handle(), &client);
  MoveWindow(editor_.Handle(), 0, 0, client.right, client.bottom, TRUE);
}

THelpWindow* TRichHelpViewer::Window() const {
  return window_ && window_->Handle() ? window_.get() : nullptr;
}

bool TRichHelpViewer::ShowHelp(HWND owner, const std::wstring&, UINT command, ULONG_PTR) {
  if (command == HELP_QUIT) {
    window_.reset();
    return true;
  }
  // Every other command shows the contents.
  if (THelpWindow* open = Window()) {
    if (IsIconic(open->Handle())) ShowWindow(open->Handle(), SW_RESTORE);
    SetForegroundWindow(open->Handle());
    return true;
  }
  window_.reset();
  window_ = std::make_unique<THelpWindow>(owner, PreferMsftedit);
  window_->Create();
  if (owner) {
    // Beside the window it helps with, so that both can be read together.
    RECT ownerBounds, bounds;
    GetWindowRect(owner, &ownerBounds);
    GetWindowRect(window_->Handle(), &bounds);
    const RECT place = PlaceBeside(ownerBounds, {bounds.right - bounds.left, bounds.bottom - bounds.top},
                                   toolkit::WorkAreaOf(owner));
    SetWindowPos(window_->Handle(), nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  window_->Show();
  return true;
}

}  // namespace app
