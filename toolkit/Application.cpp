#include "toolkit/Application.h"

#include <commctrl.h>

#include "runtime/Errors.h"
#include "runtime/Text.h"
#include "toolkit/Form.h"
#include "toolkit/Shell.h"
#include "toolkit/Window.h"

namespace toolkit {

namespace {
const char kApplicationClass[] = "TkApplication";

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::~TApplication() {
  if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (handle_) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = ApplicationWindowProc;
  cls.hInstance = instance;
  SetClassIcons(cls, "MAINICON");
  cls.lpszClassName = kApplicationClass;
  RegisterClassExA(&cls);
  // Zero-sized and never shown by itself: it carries title and icon for the program as a whole. A
  // tool window, so that it gets no taskbar button and no place in Alt+Tab when it is shown.
  handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                            instance, nullptr);
  if (!handle_) throw runtime::Exception("Anwendungsfenster nicht erstellt");
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title_.c_str());
}

std::wstring TApplication::ExeName() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void TApplication::Run(TForm& mainForm) {
  mainForm_ = &mainForm;
  mainForm.Show();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) ProcessMessage(message);
  mainForm_ = nullptr;
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ProcessMessage(message);
  }
}

void TApplication::RunModalLoop(const std::function<bool()>& done) {
  MSG message;
  while (!done()) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    ProcessMessage(message);
  }
}

void TApplication::ProcessMessage(MSG& message) {
  bool handled = false;
  if (OnMessage) RunHandler([&] { OnMessage(message, handled); });
  if (handled) return;
  TForm* form = TForm::OwningForm(message.hwnd);
  if (!form) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return;
  }
  PreviewKey(*form, message, handled);
  // Tab moves between the controls of a form, as in a dialog.
  if (!handled) handled = IsDialogMessageA(form->Handle(), &message);
  if (!handled) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void TApplication::PreviewKey(TForm& form, MSG& message, bool& handled) {
  if (!form.KeyPreview) return;
  if (message.message == WM_CHAR) {
    char key = static_cast<char>(message.wParam);
    RunHandler([&] { form.KeyPress(key); });
    if (key == 0)
      handled = true;
    else
      message.wParam = static_cast<unsigned char>(key);
    return;
  }
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
  WORD key = static_cast<WORD>(message.wParam);
  RunHandler([&] { form.KeyDown(key, CurrentShiftState()); });
  if (key == 0)
    handled = true;
  else
    message.wParam = key;
}

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
  if (OnHelp && OnHelp(command, data)) return true;
  if (!HelpViewer) return false;
  // The help belongs to the main form, or to the window the user works in before the loop runs.
  HWND owner = mainForm_ ? mainForm_->Handle() : GetActiveWindow();
  if (!owner) owner = handle_;
  return HelpViewer->ShowHelp(owner, HelpFile, command, data);
}

void TApplication::ShellOpen(HWND owner, const std::wstring& file) {
  if (OnShellOpen && OnShellOpen(owner, file)) return;
  toolkit::ShellExecuteW(owner, nullptr, file.c_str(), nullptr, nullptr, SW_SHOW);
}

void ShowFallbackError() noexcept {
  MessageBoxW(nullptr, L"Ein Fehler ist aufgetreten; sein Text kann nicht angezeigt werden.", L"Fehler",
              MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
}

void TApplication::ShowException(const std::exception& error) noexcept {
  ShowException(error.what());
}

void TApplication::ShowException(const char* message) noexcept {
  try {
    if (OnException) {
      OnException(message);
      return;
    }
    // The texts are code page 1252 whatever the system's code page; converted on the stack, since
    // memory may be what ran out.
    wchar_t text[1024], title[128];
    runtime::WideFromCp1252(message, text, 1024);
    runtime::WideFromCp1252(title_.c_str(), title, 128);
    HWND owner = GetActiveWindow();
    if (MessageBoxW(owner ? owner : handle_, text, title, MB_OK | MB_ICONSTOP)) return;
  } catch (...) {
  }
  ShowFallbackError();
}

}  // namespace toolkit
