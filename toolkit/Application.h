// The application object: title, help file, executable path, the message loop with its one replaceable
// message hook, and the standard display of an error that leaves an event handler.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "runtime/Errors.h"

namespace toolkit {

class TForm;

// An outcome the user should know of that is no failure (a copy left alone on purpose): the standard
// display shows it with the information icon, not the error's.
class ENotice : public runtime::Exception {
 public:
  using runtime::Exception::Exception;
};

// Shows the program's help: the application hands it every help request.
class THelpViewer {
 public:
  virtual ~THelpViewer() = default;
  // owner: the window the help belongs to; returns true when the help shows.
  virtual bool ShowHelp(HWND owner, const std::wstring& helpFile, UINT command, ULONG_PTR data) = 0;
};

class TApplication {
 public:
  // Called for every message taken from the queue (but WM_QUIT) before any handling of its own;
  // a hook that sets handled to true keeps the message from being translated and dispatched.
  using TMessageHook = std::function<void(MSG& message, bool& handled)>;
  // Answers a help request in place of the help viewer; returns true when it handled it.
  using THelpHook = std::function<bool(UINT command, ULONG_PTR data)>;
  // icon: the message box's icon (MB_ICONSTOP, MB_ICONINFORMATION) that the display would show.
  using TExceptionHook = std::function<void(const std::wstring& message, UINT icon)>;
  // Takes a text in place of the shell; returns true when it handled it.
  using TShellHook = std::function<bool(HWND owner, const std::wstring& file)>;

  TApplication() = default;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;
  ~TApplication();

  // Registers the common controls and creates the application window.
  void Initialize();
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);
  std::wstring HelpFile;
  // Full path of the running executable, whole and of any length.
  std::wstring ExeName() const;
  // The hidden top-level window that stands for the program.
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and runs the message loop until it closes.
  void Run(TForm& mainForm);
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Handles messages until done() is true; a WM_QUIT ends it early and is posted again for the
  // outer loop.
  void RunModalLoop(const std::function<bool()>& done);
  // Asks the help viewer to act on HelpFile (WinHelp command and data); false without a viewer.
  bool HelpCommand(UINT command, ULONG_PTR data);
  // The program's help viewer; not owned.
  THelpViewer* HelpViewer = nullptr;
  // Hands a web address, a "mailto:" link or a folder to the shell (ShellExecuteW with the
  // default verb and SW_SHOW). A failure is not reported.
  void ShellOpen(HWND owner, const std::wstring& file);
  // The standard error display: a message box with the error's text, with the error icon (the
  // information icon for an ENotice). It cannot fail: where that box cannot be shown (the hook
  // throws, memory ran out), a fixed text that needs no memory of ours shows instead.
  void ShowException(const std::exception& error) noexcept;
  void ShowException(const wchar_t* message) noexcept;

  TMessageHook OnMessage;
  THelpHook OnHelp;
  TExceptionHook OnException;
  TShellHook OnShellOpen;

 private:
  void ShowMessage(const wchar_t* message, UINT icon) noexcept;
  void ProcessMessage(MSG& message);
  void PreviewKey(TForm& form, MSG& message, bool& handled);

  std::wstring title_;
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
};

// The program's one application object.
TApplication& Application();

// The last resort of the error display: a system-modal stop box with a fixed text, which Windows
// shows even when memory is short. Allocates nothing.
void ShowFallbackError() noexcept;

// Runs an event handler; an exception that leaves it goes to the standard error display.
template <typename Handler>
void RunHandler(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    Application().ShowException(error);
  } catch (...) {
    Application().ShowException(L"Unbekannter Fehler");
  }
}

}  // namespace toolkit
