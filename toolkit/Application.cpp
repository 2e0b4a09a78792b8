#include "toolkit/Application.h"

#include <commctrl.h>

#include "runtime/Errors.h"
#include "runtime/Text.h"
#include "toolkit/Form.h"
#include "toolkit/Shell.h"
#include "toolkit/Window.h"

namespace toolkit {

namespace {
const wchar_t kApplicationClass[] = L"TkApplication";

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::~TApplication() {
  if (IsWindow(handle_)) DestroyWindow(handle_);
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (handle_) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = ApplicationWindowProc;
  cls.hInstance = instance;
  SetClassIcons(cls, L"MAINICON");
  cls.lpszClassName = kApplicationClass;
  if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    runtime::ThrowLastError(L"Fensterklasse nicht registriert: ", kApplicationClass);
  // Zero-sized and never shown by itself: it carries title and icon for the program as a whole. A
  // tool window, so that it gets no taskbar button and no place in Alt+Tab when it is shown.
  handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, kApplicationClass, title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                            instance, nullptr);
  if (!handle_) runtime::ThrowLastError(L"Anwendungsfenster nicht erstellt");
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, title_.c_str());
}

std::wstring TApplication::ExeName() const {
  // Room for the longest path the system has: one call takes the name whole.
  std::wstring path(UNICODE_STRING_MAX_CHARS, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), UNICODE_STRING_MAX_CHARS));
  return path;
}

void TApplication::Run(TForm& mainForm) {
  mainForm_ = &mainForm;
  mainForm.Show();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) ProcessMessage(message);
  mainForm_ = nullptr;
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
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
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
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
    DispatchMessageW(&message);
    return;
  }
  PreviewKey(*form, message, handled);
  // Tab moves between the controls of a form, as in a dialog.
  if (!handled) handled = IsDialogMessageW(form->Handle(), &message);
  if (!handled) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void TApplication::PreviewKey(TForm& form, MSG& message, bool& handled) {
  if (!form.KeyPreview) return;
  if (message.message == WM_CHAR) {
    wchar_t key = static_cast<wchar_t>(message.wParam);
    RunHandler([&] { form.KeyPress(key); });
    if (key == 0)
      handled = true;
    else
      message.wParam = key;
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
  if (const auto* own = dynamic_cast<const runtime::Exception*>(&error)) {
    ShowMessage(own->Message().c_str(), dynamic_cast<const ENotice*>(own) ? MB_ICONINFORMATION : MB_ICONSTOP);
    return;
  }
  // The standard library's errors: a text in ASCII, converted on the stack, since memory may be what
  // ran out.
  wchar_t text[256];
  runtime::WideFromCp1252(error.what(), text, 256);
  ShowException(text);
}

void TApplication::ShowException(const wchar_t* message) noexcept {
  ShowMessage(message, MB_ICONSTOP);
}

void TApplication::ShowMessage(const wchar_t* message, UINT icon) noexcept {
  try {
    if (OnException) {
      OnException(message, icon);
      return;
    }
    HWND owner = GetActiveWindow();
    if (MessageBoxW(owner ? owner : handle_, message, title_.c_str(), MB_OK | icon)) return;
  } catch (...) {
  }
  ShowFallbackError();
}

}  // namespace toolkit
