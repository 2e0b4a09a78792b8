#include "app/HelpWindow.h"

#include <string_view>

#include "resources/resource_ids.h"
#include "runtime/Errors.h"
#include "version.h"

namespace app {

namespace {

const int kHelpWidth = 600;
const int kHelpHeight = 560;

std::string_view HelpText() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, RES_HELP_TEXT, RT_RCDATA);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* text = loaded ? LockResource(loaded) : nullptr;
  if (!text) throw tk::Exception("Der Hilfetext fehlt im Programm");
  return {static_cast<const char*>(text), SizeofResource(module, resource)};
}

}  // namespace

THelpWindow::THelpWindow(HWND owner, bool preferMsftedit)
    : tk::TForm({SANDRIVO_PRODUCT_NAME " – Hilfe", kHelpWidth, kHelpHeight}, owner),
      editor_(tk::LoadRichEdit(preferMsftedit, library_)) {
  KeyPreview = true;
}

void THelpWindow::Create() {
  tk::TForm::Create();
  editor_.Create(Handle());
  editor_.LoadRtf(HelpText());
  Resized();
  ActiveControl = editor_.Handle();
}

void THelpWindow::KeyDown(WORD& key, tk::TShiftState) {
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

bool TRichHelpViewer::ShowHelp(HWND owner, const std::string&, UINT command, ULONG_PTR) {
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
  window_->Show();
  return true;
}

}  // namespace app
