// The paths the program takes when things go wrong: the error display when memory runs out while it
// shows an error, and the runtime parts the executables replace (container errors, the handler that
// ends the program). This executable links those replacements as the programs do, and replaces the
// allocator so that a test can make allocation fail.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "drive/DriveAsker.h"
#include "runtime/Errors.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"

namespace {
// The thread whose allocations fail, or 0.
std::atomic<DWORD> failingThread{0};
}  // namespace

// Blocks come from HeapAlloc rather than malloc, so that the compiler does not pair them with free.
void* operator new(std::size_t size) {
  if (failingThread.load() == GetCurrentThreadId()) throw std::bad_alloc();
  if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, std::size_t) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

namespace {

using testing_support::RunProgram;
using testing_support::TProgramResult;

// Every allocation of the calling thread fails while this lives.
class TFailingAllocation {
 public:
  TFailingAllocation() { failingThread = GetCurrentThreadId(); }
  ~TFailingAllocation() { failingThread = 0; }
  TFailingAllocation(const TFailingAllocation&) = delete;
  TFailingAllocation& operator=(const TFailingAllocation&) = delete;
};

// Watches, on a thread of its own, for message boxes of this process titled as given; keeps the text
// of each and whether it was topmost, and answers it with OK.
class TMessageBoxWatch {
 public:
  explicit TMessageBoxWatch(const wchar_t* title)
      : title_(title), thread_(CreateThread(nullptr, 0, &TMessageBoxWatch::Run, this, 0, nullptr)) {}
  ~TMessageBoxWatch() { Stop(); }
  TMessageBoxWatch(const TMessageBoxWatch&) = delete;
  TMessageBoxWatch& operator=(const TMessageBoxWatch&) = delete;
  // The texts of the boxes answered so far, once the watch has ended.
  std::vector<std::string> Texts() {
    Stop();
    return texts_;
  }
  std::vector<bool> Topmost() {
    Stop();
    return topmost_;
  }
  // The icon each box showed.
  std::vector<HICON> Icons() {
    Stop();
    return icons_;
  }

 private:
  void Stop() {
    if (!thread_) return;
    stop_ = true;
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
  }
  static HICON IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    return nullptr;
  }
  static DWORD WINAPI Run(void* watch) {
    auto& self = *static_cast<TMessageBoxWatch*>(watch);
    while (!self.stop_) {
      // Visible: the box has taken its styles.
      if (HWND box = FindWindowW(L"#32770", self.title_); box && IsWindowVisible(box)) {
        // Read as UTF-16 and compared as code page 1252: a box made from the program's texts through
        // the system's code page would read wrong here on a system whose code page is another.
        wchar_t text[512] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        self.texts_.push_back(runtime::Cp1252FromWide(text));
        self.topmost_.push_back((GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        self.icons_.push_back(IconOf(box));
        SendMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(20);
    }
    return 0;
  }

  const wchar_t* title_;
  std::atomic<bool> stop_{false};
  std::vector<std::string> texts_;
  std::vector<bool> topmost_;
  std::vector<HICON> icons_;
  // Last: the thread starts once everything it uses is made.
  runtime::TKernelHandle thread_;
};

const wchar_t kLongError[] = L"Ein Fehlertext, der länger ist als eine Zeichenkette ohne eigenen Speicher";

TEST(ErrorDisplay, ShowsTheErrorsTextWhenMemoryAllows) {
  testing_support::TApplicationRecorder recorder;
  toolkit::RunHandler([] { throw runtime::Exception(kLongError); });
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(recorder.Errors[0], kLongError);
}

TEST(ErrorDisplay, FallsBackToAFixedTextWhenShowingTheErrorRunsOutOfMemory) {
  // The recorder keeps each error's text in a string of its own, as any display must copy the text
  // somewhere: that copy fails here.
  testing_support::TApplicationRecorder recorder;
  TMessageBoxWatch watch(L"Fehler");
  {
    TFailingAllocation failing;
    toolkit::RunHandler([] { throw std::bad_alloc(); });
    toolkit::Application().ShowException(kLongError);
  }
  EXPECT_TRUE(recorder.Errors.empty());
  const std::string fixedText = "Ein Fehler ist aufgetreten; sein Text kann nicht angezeigt werden.";
  EXPECT_EQ(watch.Texts(), std::vector<std::string>(2, fixedText));
  EXPECT_EQ(watch.Topmost(), std::vector<bool>(2, true)) << "system-modal: above every window";
}

TEST(ErrorDisplay, TheBoxShowsTheProgramsTextWhateverTheSystemsCodePage) {
  TMessageBoxWatch watch(toolkit::Application().Title().c_str());
  toolkit::RunHandler([] { throw runtime::Exception(L"Datenträger nicht lesbar: Größe unbekannt"); });
  EXPECT_EQ(watch.Texts(), std::vector<std::string>{"Datenträger nicht lesbar: Größe unbekannt"});
}

// An error shows the error icon; an outcome the user should know of that is no failure (a copy left
// alone because something else was copied meanwhile) the information icon.
TEST(ErrorDisplay, ANoticeShowsTheInformationIconAndAnErrorTheErrorIcon) {
  TMessageBoxWatch watch(toolkit::Application().Title().c_str());
  toolkit::RunHandler([] { throw toolkit::ENotice(L"Nicht kopiert: ..."); });
  toolkit::RunHandler([] { throw runtime::Exception(L"Datenträger nicht lesbar"); });
  EXPECT_EQ(watch.Texts(), (std::vector<std::string>{"Nicht kopiert: ...", "Datenträger nicht lesbar"}));
  EXPECT_EQ(watch.Icons(),
            (std::vector<HICON>{LoadIconW(nullptr, IDI_INFORMATION), LoadIconW(nullptr, IDI_HAND)}));
}

// The containers' error reports come as the program's own error, with the runtime's text.
TEST(DriveAskerFailure, ARequestWhoseThreadCannotStartIsNotAskedLater) {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = testing_support::FixedDrive(1000, 875);
  drive::TDriveAsker asker(fake, nullptr);
  {
    const TFailingAllocation failing;
    EXPECT_THROW(asker.AskProbe('C'), std::bad_alloc);
  }
  asker.AskType('C');
  ASSERT_TRUE(asker.WaitIdle(10000));
  EXPECT_EQ(asker.Counts('C').Types, 1u);
  EXPECT_EQ(asker.Counts('C').Probes, 0u) << "the failed probe was the caller's to repeat";
}

TEST(RuntimeSupport, ContainerErrorsArriveAsTheProgramsErrorWithTheirText) {
  std::vector<int> numbers;
  std::string text = "abc";
  struct TCase {
    const char* name;
    void (*fault)(std::vector<int>&, std::string&);
    const char* expected;
  };
  const TCase cases[] = {
      {"reserve beyond max_size", [](std::vector<int>& v, std::string&) { v.reserve(v.max_size() + 1); },
       "vector::reserve"},
      {"at past the end", [](std::vector<int>&, std::string& s) { static_cast<void>(s.at(7)); },
       "basic_string::at: __n (which is 7) >= this->size() (which is 3)"},
      {"substr past the end", [](std::vector<int>&, std::string& s) { static_cast<void>(s.substr(9)); },
       "basic_string::substr: __pos (which is 9) > this->size() (which is 3)"},
  };
  for (const TCase& c : cases) {
    try {
      c.fault(numbers, text);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const runtime::Exception& error) {
      EXPECT_STREQ(error.what(), c.expected) << c.name;
    } catch (const std::exception& error) {
      ADD_FAILURE() << c.name << ": the runtime's own error class: " << error.what();
    }
  }
}

// A function that must not throw but does: what escapes it ends the program.
void Escape(const char* kind) {
  if (kind && std::string(kind) == "memory") throw std::bad_alloc();
  if (kind && std::string(kind) == "other") throw 42;
  throw runtime::Exception(L"Laufwerk nicht lesbar");
}

// Run only as a child of the test below: lets an error escape where nothing may catch it.
TEST(RuntimeSupportChild, DISABLED_EscapingError) {
  const char* kind = std::getenv("SANDRIVO_ESCAPE");
  [kind]() noexcept { Escape(kind); }();
}

TEST(RuntimeSupport, AnEscapingErrorEndsTheProgramWithItsTextAndStatus3) {
  struct TCase {
    const char* kind;
    const char* expected;
  };
  const TCase cases[] = {
      {"error", "Das Programm wird wegen eines unerwarteten Fehlers beendet:\r\nLaufwerk nicht lesbar\r\n"},
      {"memory",
       "Das Programm wird wegen eines unerwarteten Fehlers beendet:\r\nNicht genügend Arbeitsspeicher.\r\n"},
      {"other", "Das Programm wird wegen eines unerwarteten Fehlers beendet:\r\nUnbekannter Fehler.\r\n"},
  };
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  for (const TCase& c : cases) {
    SetEnvironmentVariableA("SANDRIVO_ESCAPE", c.kind);
    const TProgramResult result = RunProgram(
        program, "--gtest_also_run_disabled_tests --gtest_filter=RuntimeSupportChild.DISABLED_EscapingError");
    EXPECT_EQ(result.ExitCode, 3u) << c.kind;
    // The error stream (in text mode) ends with the handler's text; GoogleTest's lines come before.
    ASSERT_GE(result.Err.size(), std::string(c.expected).size()) << c.kind << ": " << result.Err;
    EXPECT_EQ(result.Err.substr(result.Err.size() - std::string(c.expected).size()), c.expected) << c.kind;
  }
  SetEnvironmentVariableA("SANDRIVO_ESCAPE", nullptr);
}

TEST(RuntimeSupport, AWindowProgramShowsTheEscapingErrorInABox) {
  std::string probe(MAX_PATH, '\0');
  probe.resize(GetModuleFileNameA(nullptr, probe.data(), MAX_PATH));
  probe = probe.substr(0, probe.find_last_of('\\')) + "\\terminate_probe.exe";
  TMessageBoxWatch watch(L"Programmfehler");
  const TProgramResult result = RunProgram(probe, "");
  ASSERT_TRUE(result.Started) << probe;
  EXPECT_EQ(result.ExitCode, 3u);
  EXPECT_EQ(result.Err, "") << "nothing on a stream that nobody reads";
  EXPECT_EQ(watch.Texts(),
            std::vector<std::string>{"Das Programm wird wegen eines unerwarteten Fehlers beendet:\n"
                                     "Datenträger nicht lesbar"});
}

}  // namespace
