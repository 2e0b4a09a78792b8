// Forms: creation once the object is whole, recognition of our windows, key preview and the modal
// loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "runtime/Errors.h"
#include "tests/support/HostForm.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"
#include "toolkit/CustomControl.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Shell.h"

using testing_support::Pump;
using testing_support::THostForm;
using testing_support::TShown;

namespace {

// Records the messages that reach the derived form's handler, and the state of a member that the
// constructor sets last.
class TRecordingForm : public toolkit::TForm {
 public:
  TRecordingForm() : toolkit::TForm({L"Aufzeichnung", 300, 200}) {}
  std::vector<UINT> Messages;
  int Resizes = 0;
  std::vector<wchar_t> Chars;
  std::vector<WORD> Keys;
  void KeyDown(WORD& key, toolkit::TShiftState) override { Keys.push_back(key); }
  void KeyPress(wchar_t& key) override { Chars.push_back(key); }

 protected:
  void Resized() override { ++Resizes; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    Messages.push_back(message);
    return TForm::HandleMessage(message, wParam, lParam);
  }
};

class TDialog : public toolkit::TForm {
 public:
  explicit TDialog(HWND owner) : toolkit::TForm({L"Dialog", 200, 100, toolkit::TFormBorder::Dialog}, owner) {}
};

// Records what kind of device context its paint draws into.
class TPaintRecorder : public toolkit::TCustomControl {
 public:
  explicit TPaintRecorder(bool direct) : direct_(direct) {}
  void Create(HWND parent) override {
    RegisterWindowClass(L"TkPaintRecorder", IDC_ARROW, nullptr);
    CreateHandle(L"TkPaintRecorder", L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 40, 20}, parent);
  }
  mutable DWORD PaintedInto = 0;

 protected:
  void Paint(HDC dc, const RECT&) const override { PaintedInto = GetObjectType(dc); }
  bool DrawsWithoutFlicker() const override { return direct_; }

 private:
  bool direct_;
};

}  // namespace

TEST(Form, ConstructionCreatesNoWindowAndCreateReachesTheWholeObject) {
  // A window made while a base part is being constructed would send its first messages to that
  // base's handler, where no recording can see them: count the thread's real windows instead.
  const int windowsBefore = testing_support::ThreadWindowCount();
  TRecordingForm form;
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_EQ(testing_support::ThreadWindowCount(), windowsBefore);
  form.Create();
  ASSERT_NE(form.Handle(), nullptr);
  EXPECT_GT(testing_support::ThreadWindowCount(), windowsBefore);
  // The creation messages reached the derived handler.
  for (UINT message : {UINT{WM_NCCREATE}, UINT{WM_CREATE}})
    EXPECT_NE(std::find(form.Messages.begin(), form.Messages.end(), message), form.Messages.end()) << message;
  EXPECT_EQ(toolkit::TWindow::FromHandle(form.Handle()), &form);
  form.Show();
  EXPECT_GE(form.Resizes, 1);
}

TEST(Form, OpensCentredOnTheScreen) {
  TRecordingForm form;
  form.Create();
  RECT window;
  GetWindowRect(form.Handle(), &window);
  EXPECT_LE(std::abs(window.left + window.right - GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs(window.top + window.bottom - GetSystemMetrics(SM_CYSCREEN)), 1);
}

TEST(Form, OurWindowsAreRecognisedAfterSubclassing) {
  TShown<THostForm> form;
  // A tool tip with TTF_SUBCLASS replaces the window procedure of the window it watches.
  HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, form.Handle(), nullptr,
                             nullptr, nullptr);
  ASSERT_NE(tip, nullptr);
  TOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = form.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(form.Handle());
  tool.lpszText = const_cast<char*>("Hinweis");
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(toolkit::TWindow::FromHandle(form.Handle()), &form);
  EXPECT_EQ(toolkit::TForm::OwningForm(form.Handle()), &form);
  DestroyWindow(tip);
  // A window of a system class is never taken for one of ours.
  EXPECT_EQ(toolkit::TWindow::FromHandle(GetDesktopWindow()), nullptr);
}

TEST(Form, KeyPreviewSeesKeysAndCharactersBeforeTheFocusedControl) {
  TShown<TRecordingForm> form;
  form.KeyPreview = true;
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, form.Handle(), nullptr,
                              nullptr, nullptr);
  SetFocus(edit);
  // The key's character comes from the message loop's translation of the key.
  PostMessageA(edit, WM_KEYDOWN, 'I', 1);
  Pump();
  EXPECT_EQ(form.Keys, std::vector<WORD>{'I'});
  EXPECT_EQ(form.Chars, std::vector<wchar_t>{L'i'});
  char text[8] = "";
  GetWindowTextA(edit, text, sizeof(text));
  EXPECT_STREQ(text, "i") << "the focused control gets the key after the form";
  form.KeyPreview = false;
  PostMessageA(edit, WM_KEYDOWN, 'J', 1);
  Pump();
  EXPECT_EQ(form.Keys.size(), 1u);
  EXPECT_EQ(form.Chars.size(), 1u);
  DestroyWindow(edit);
}

TEST(Form, ShowModalDisablesTheOwnerAndPassesMessagesThroughTheHook) {
  TShown<THostForm> owner;
  TDialog dialog(owner.Handle());
  dialog.Create();
  bool ownerEnabledDuringLoop = true;
  int hookedForDialog = 0;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    if (message.hwnd == dialog.Handle()) {
      ++hookedForDialog;
      ownerEnabledDuringLoop = IsWindowEnabled(owner.Handle()) != FALSE;
    }
  };
  PostMessageA(dialog.Handle(), WM_NULL, 0, 0);
  // Esc, as the dialog manager reports it.
  PostMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
  toolkit::Application().OnMessage = nullptr;
  EXPECT_GE(hookedForDialog, 2);
  EXPECT_FALSE(ownerEnabledDuringLoop);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog.Handle()));

  // A dialog's size is its client size.
  RECT client;
  GetClientRect(dialog.Handle(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);

  // Closing by its close box ends the loop too; the window survives for the caller to read.
  PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
  EXPECT_TRUE(IsWindow(dialog.Handle()));
}

TEST(Form, QuitDuringAModalLoopEndsItAndReachesTheOuterLoop) {
  TShown<THostForm> owner;
  TDialog dialog(owner.Handle());
  dialog.Create();
  PostQuitMessage(7);
  EXPECT_EQ(dialog.ShowModal(), 0);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

// A window the system refuses names its class and keeps the system's reason.
TEST(Form, RunShowsTheMainFormAndHandlesMessagesUntilTheQuit) {
  TRecordingForm form;
  form.Create();
  PostMessageW(form.Handle(), WM_APP, 0, 0);
  PostQuitMessage(0);  // comes once the queue is empty
  toolkit::Application().Run(form);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(std::count(form.Messages.begin(), form.Messages.end(), WM_APP), 1);
}

TEST(Form, AWindowThatCannotBeMadeSaysWhichAndWhy) {
  toolkit::TLabel label;
  try {
    label.Create(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FF0)));  // no such parent
    FAIL() << "no error";
  } catch (const runtime::ESystemError& error) {
    EXPECT_EQ(error.ErrorCode, static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(error.Message().rfind(L"Fenster nicht erstellt: TkLabel (Fehler 1400: ", 0), 0u)
        << error.what();
  }
  EXPECT_EQ(label.Handle(), nullptr);
}

TEST(Shell, LateBoundCallsAnswerAsTheShellsOwnFunctions) {
  const wchar_t missing[] = L"Z:\\nicht\\vorhanden.txt";
  const HINSTANCE late = toolkit::ShellExecuteW(nullptr, L"open", missing, nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_EQ(late, ::ShellExecuteW(nullptr, L"open", missing, nullptr, nullptr, SW_SHOWNORMAL));
  EXPECT_LE(reinterpret_cast<INT_PTR>(late), 32) << "a missing file is an error";
}

TEST(CustomControl, PaintsIntoAnImageOffScreenUnlessItDrawsWithoutFlicker) {
  TShown<THostForm> host;
  for (const bool direct : {false, true}) {
    TPaintRecorder control(direct);
    control.Create(host.Handle());
    RedrawWindow(control.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(control.PaintedInto, static_cast<DWORD>(direct ? OBJ_DC : OBJ_MEMDC)) << direct;
  }
}
