// The system information component against what Wine reports, its drop hook with real
// WM_DROPFILES messages, the optional free-resources library and the clock measurement.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>
#include <x86intrin.h>

#include "controls/Panel.h"
#include "runtime/Errors.h"
#include "runtime/Text.h"
#include "sysinfo/ClockRate.h"
#include "sysinfo/SysComp.h"
#include "tests/support/HostForm.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"

using sysinfo::TSystem;
using testing_support::Pump;

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// A form that counts the dropped-files messages that reach it.
class TDropTarget : public testing_support::THostForm {
 public:
  int DropMessages = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DROPFILES) ++DropMessages;
    return THostForm::HandleMessage(message, wParam, lParam);
  }
};

// What the shell posts when files are dropped: a DROPFILES block with the names.
void PostDrop(HWND window, const std::vector<std::string>& names) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& name : names) size += name.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& name : names) {
    std::memcpy(at, name.c_str(), name.size() + 1);
    at += name.size() + 1;
  }
  GlobalUnlock(memory);
  PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  Pump();
}

// A drop as Explorer makes it, with wide names.
void PostWideDrop(HWND window, const std::vector<std::wstring>& names) {
  size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
  for (const std::wstring& name : names) size += (name.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* at = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
  for (const std::wstring& name : names) {
    std::memcpy(at, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    at += name.size() + 1;
  }
  GlobalUnlock(memory);
  PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  Pump();
}

// Records the messages that reach the application message hook it installs, and puts the hook
// that was there back at the end.
class THookRecorder {
 public:
  THookRecorder() : saved_(toolkit::Application().OnMessage) {
    toolkit::Application().OnMessage = [this](MSG& message, bool& handled) {
      if (message.message == WM_DROPFILES) DropsSeen.push_back(handled);
    };
  }
  ~THookRecorder() { toolkit::Application().OnMessage = saved_; }
  std::vector<bool> DropsSeen;  // the handled flag each dropped-files message arrived with

 private:
  toolkit::TApplication::TMessageHook saved_;
};

bool AcceptsFiles(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

std::string TestsFolder() {
  std::string path = runtime::Cp1252FromWide(toolkit::Application().ExeName());
  return path.substr(0, path.find_last_of('\\'));
}

// Lets the library search find one of the stand-ins for the free-resources library.
class TLibraryFolder {
 public:
  explicit TLibraryFolder(const std::string& folder) {
    SetDllDirectoryA((TestsFolder() + "\\" + folder).c_str());
  }
  ~TLibraryFolder() { SetDllDirectoryA(nullptr); }
};

class TFakeClocks : public sysinfo::TClockSource {
 public:
  // Over the 500 ms sleep the counter advances by ticks and the performance counter by elapsed.
  TFakeClocks(unsigned long long ticks, double elapsedMilliseconds)
      : ticks_(ticks), elapsed_(static_cast<long long>(elapsedMilliseconds * 10000)) {}
  unsigned long long TimeStampCounter() override { return tsc_; }
  long long PerformanceCounter() override { return qpc_; }
  long long PerformanceFrequency() override { return 10000000; }
  void Sleep(DWORD milliseconds) override {
    PriorityClassWhileSleeping = GetPriorityClass(GetCurrentProcess());
    ThreadPriorityWhileSleeping = GetThreadPriority(GetCurrentThread());
    if (ThrowInSleep) throw std::runtime_error("clock failed");
    if (milliseconds == 500) {
      tsc_ += ticks_;
      qpc_ += elapsed_;
    } else {
      tsc_ += 12345;
      qpc_ += 100;
    }
  }
  DWORD PriorityClassWhileSleeping = 0;
  int ThreadPriorityWhileSleeping = 0;
  bool ThrowInSleep = false;

 private:
  unsigned long long ticks_;
  long long elapsed_;
  unsigned long long tsc_ = 0xFFFFFFFF00000000ull;  // the low 32 bits wrap during the measurement
  long long qpc_ = 1000;
};

}  // namespace

TEST(SystemInfoMappings, WorkWithoutAMachineThatHasThem) {
  const struct {
    DWORD code;
    const char* name;
  } processors[] = {{386, "Intel 386"},
                    {486, "Intel 486"},
                    {586, "Intel Pentium"},
                    {601, "PPC 601"},
                    {603, "PPC 603"},
                    {604, "PPC 604"},
                    {620, "PPC 620"},
                    {860, "Intel 860"},
                    {2000, "MIPS R2000"},
                    {3000, "MIPS R3000"},
                    {4000, "MIPS R4000"},
                    {21064, "ALPHA 21064"},
                    {0, ""},
                    {8664, ""}};
  for (const auto& p : processors) EXPECT_EQ(sysinfo::ProcessorTypeName(p.code), p.name) << p.code;
  EXPECT_EQ(sysinfo::WinModeName(0), "Win32 - Extension");
  EXPECT_EQ(sysinfo::WinModeName(1), "Windows 95");
  EXPECT_EQ(sysinfo::WinModeName(2), "Windows NT");
  EXPECT_EQ(sysinfo::WinModeName(3), "");
  EXPECT_EQ(sysinfo::WinVersionText(4, 10, 0x040A08AE), "4.10.2222");
  EXPECT_EQ(sysinfo::WinVersionText(4, 0, 1381), "4.0.1381");
}

TEST(SystemInfo, DirectoriesAndNamesMatchTheEnvironment) {
  TSystem system(nullptr);
  EXPECT_TRUE(SameText(system.WindowsDirectory(), Environment("windir"))) << system.WindowsDirectory();
  EXPECT_TRUE(SameText(system.SystemDirectory(), Environment("windir") + "\\system32"))
      << system.SystemDirectory();
  std::string temp = Environment("TMP");
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  EXPECT_TRUE(SameText(system.TempDirectory(), temp)) << system.TempDirectory();
  EXPECT_TRUE(SameText(system.UserName(), Environment("USERNAME"))) << system.UserName();
  EXPECT_TRUE(SameText(system.ComputerName(), Environment("COMPUTERNAME"))) << system.ComputerName();
  EXPECT_EQ(system.ProcessorCount(), static_cast<int>(std::thread::hardware_concurrency()));
  const int major = system.WinHiVersion(), minor = system.WinLoVersion();
  EXPECT_GE(major, 5);
  EXPECT_EQ(system.WinVersion().rfind(std::to_string(major) + "." + std::to_string(minor) + ".", 0), 0u)
      << system.WinVersion();
  EXPECT_EQ(system.WinMode(), "Windows NT");
  // The screen's palette: none on a true-colour screen (the tests' display has 24 bits), all its
  // colours on a palette screen.
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(system.ColorCount(), bits > 8 ? 0 : 1 << bits) << bits << " bits a pixel";
}

TEST(SystemInfo, LargeFiguresSaturateAndHaveWideCompanions) {
  TSystem system(nullptr);
  const unsigned long long total = system.TotalPhysMemory64();
  EXPECT_GT(total, 0u);
  EXPECT_LE(system.AvailPhysMemory64(), total);
  EXPECT_EQ(system.TotalPhysMemory(), total > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(total));
  EXPECT_GE(system.MemoryLoad(), 0);
  EXPECT_LE(system.MemoryLoad(), 100);
  EXPECT_GT(system.TotalVirtualMemory(), 0u);
  for (const DWORD figure : {system.AvailPhysMemory(), system.TotalPageFile(), system.AvailPageFile(),
                             system.AvailVirtualMemory()})
    EXPECT_GT(figure, 0u) << "each 32-bit figure comes from its own";

  ULARGE_INTEGER user{}, size{}, free{};
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &user, &size, &free));
  EXPECT_EQ(system.WindowsDiskSize64(), size.QuadPart);
  ASSERT_GT(size.QuadPart, 0xFFFFFFFFull) << "the test machine's disk is larger than 4 GiB";
  EXPECT_EQ(system.WindowsDiskSize(), 0xFFFFFFFFu);
  EXPECT_EQ(system.TempDiskSize64(), size.QuadPart) << "the temporary folder lies on C: too";
}

TEST(SystemInfo, ATemporaryFolderOnTheNetworkHasNoDiskFigures) {
  const std::string tmp = Environment("TMP"), temp = Environment("TEMP");
  SetEnvironmentVariableA("TMP", "\\\\server\\share\\temp");
  SetEnvironmentVariableA("TEMP", "\\\\server\\share\\temp");
  TSystem system(nullptr);
  EXPECT_EQ(system.TempDirectory(), "\\\\server\\share\\temp\\");
  EXPECT_EQ(system.TempDiskSize(), 0xFFFFFFFFu);
  EXPECT_EQ(system.TempFreeDisk(), 0xFFFFFFFFu);
  EXPECT_EQ(system.TempDiskSize64(), ~0ull);
  SetEnvironmentVariableA("TMP", tmp.c_str());
  SetEnvironmentVariableA("TEMP", temp.c_str());
}

TEST(ClockRate, TicksOverTheMeasuredTime) {
  TFakeClocks exact(150000000, 500);
  EXPECT_DOUBLE_EQ(sysinfo::MeasureMhz(exact), 300.0);
  // The sleep lasted longer than asked: the measured time counts, not the 500 ms.
  TFakeClocks late(165000000, 550);
  EXPECT_DOUBLE_EQ(sysinfo::MeasureMhz(late), 300.0);
  // More than 2^32 ticks in half a second.
  TFakeClocks fast(5000000000ull, 500);
  EXPECT_DOUBLE_EQ(sysinfo::MeasureMhz(fast), 10000.0);
}

TEST(ClockRate, PrioritiesAreRaisedForTheMeasurementAndRestored) {
  const DWORD processClass = GetPriorityClass(GetCurrentProcess());
  const int threadPriority = GetThreadPriority(GetCurrentThread());
  TFakeClocks clocks(150000000, 500);
  sysinfo::MeasureMhz(clocks);
  EXPECT_EQ(clocks.ThreadPriorityWhileSleeping, THREAD_PRIORITY_TIME_CRITICAL);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), processClass);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), threadPriority);

  TFakeClocks failing(150000000, 500);
  failing.ThrowInSleep = true;
  EXPECT_THROW(sysinfo::MeasureMhz(failing), std::runtime_error);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), processClass);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), threadPriority);
}

TEST(ClockRate, TheRealCounterAgreesWithAnIndependentReading) {
  // The reference: time-stamp ticks over a busy wait of a quarter second, timed by the
  // performance counter, with no priority change and no sleep.
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const unsigned long long startTicks = __rdtsc();
  do {
    QueryPerformanceCounter(&now);
  } while (now.QuadPart - start.QuadPart < frequency.QuadPart / 4);
  const unsigned long long ticks = __rdtsc() - startTicks;
  const double reference = static_cast<double>(ticks) * static_cast<double>(frequency.QuadPart) /
                           static_cast<double>(now.QuadPart - start.QuadPart) / 1e6;

  TSystem system(nullptr);
  const double mhz = system.Mhz();
  EXPECT_NEAR(mhz, reference, reference * 0.02);
}

TEST(FreeResources, WithoutTheLibraryAllReadMinusOne) {
  TSystem system(nullptr);
  EXPECT_EQ(GetModuleHandleA("Rsrc32.DLL"), nullptr);
  EXPECT_EQ(system.FreeSystemRes(), -1);
  EXPECT_EQ(system.FreeGDIRes(), -1);
  EXPECT_EQ(system.FreeUserRes(), -1);
}

TEST(FreeResources, ALibraryWithoutTheExportIsHeldButNotCalled) {
  {
    TLibraryFolder folder("rsrc32_without");
    TSystem system(nullptr);
    EXPECT_NE(GetModuleHandleA("Rsrc32.DLL"), nullptr) << "the handle is held";
    EXPECT_EQ(system.FreeSystemRes(), -1);
    EXPECT_EQ(system.FreeUserRes(), -1);
  }
  EXPECT_EQ(GetModuleHandleA("Rsrc32.DLL"), nullptr) << "and freed with the component";
}

TEST(FreeResources, TheLibrarysValuesPassThroughWhileAComponentHoldsIt) {
  TSystem without(nullptr);  // made before the library can be found
  {
    TLibraryFolder folder("rsrc32_with");
    auto first = std::make_unique<TSystem>(nullptr);
    EXPECT_EQ(first->FreeSystemRes(), 1000);
    EXPECT_EQ(first->FreeGDIRes(), 1001);
    EXPECT_EQ(first->FreeUserRes(), 1002);
    auto second = std::make_unique<TSystem>(nullptr);
    first.reset();
    EXPECT_EQ(second->FreeGDIRes(), 1001) << "the second component still holds the library";
    EXPECT_EQ(without.FreeGDIRes(), 1001) << "the entry point is shared";
  }
  EXPECT_EQ(GetModuleHandleA("Rsrc32.DLL"), nullptr);
  // With the library gone the entry point is never called.
  EXPECT_EQ(without.FreeSystemRes(), -1);
  EXPECT_EQ(without.FreeUserRes(), -1);
}

TEST(DroppedFiles, NamesArriveInOrderAndTheMessageIsConsumed) {
  THookRecorder previous;
  testing_support::TShown<TDropTarget> form;
  TSystem system(&form);
  EXPECT_TRUE(AcceptsFiles(form.Handle()));
  EXPECT_TRUE(AcceptsFiles(toolkit::Application().Handle()));
  std::vector<std::vector<std::string>> calls;
  system.OnDragDrop = [&](runtime::TStringList& files) {
    EXPECT_EQ(&files, &system.DroppedFiles());
    std::vector<std::string> names;
    for (int i = 0; i < files.Count(); ++i) names.push_back(files[i]);
    calls.push_back(names);
  };
  const std::vector<std::string> names = {"C:\\eins.txt", "C:\\Ordner\\zwei.doc", "Z:\\tmp\\drei"};
  PostDrop(form.Handle(), names);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], names);
  EXPECT_EQ(form.DropMessages, 0) << "the form never sees the message";
  ASSERT_EQ(previous.DropsSeen.size(), 1u);
  EXPECT_TRUE(previous.DropsSeen[0]) << "the previous hook sees it as handled";

  // A name far beyond 254 characters arrives whole; the list holds only the last drop.
  const std::string longName = "C:\\" + std::string(240, 'a') + "\\" + std::string(15, 'b');
  ASSERT_EQ(longName.size(), 259u);
  PostDrop(toolkit::Application().Handle(), {longName});
  ASSERT_EQ(system.DroppedFiles().Count(), 1);
  EXPECT_EQ(system.DroppedFiles()[0], longName);
}

// Names of any script arrive whole in the wide list; the single-byte list has '?' where code page
// 1252 lacks a character, never a look-alike.
TEST(DroppedFiles, NamesOfAnyScriptArriveWhole) {
  testing_support::TShown<TDropTarget> form;
  TSystem system(&form);
  const std::vector<std::wstring> names = {L"C:\\\u0141\u00F3d\u017A\\\u65E5\u672C.txt",
                                           L"C:\\Gr\u00FC\u00DFe.doc",
                                           L"C:\\" + std::wstring(300, L'\u0416')};
  PostWideDrop(form.Handle(), names);
  EXPECT_EQ(system.WideDroppedFiles(), names);
  ASSERT_EQ(system.DroppedFiles().Count(), 3);
  EXPECT_EQ(system.DroppedFiles()[0],
            "C:\\?\xF3"
            "d?\\??.txt");
  EXPECT_EQ(system.DroppedFiles()[1],
            "C:\\Gr\xFC\xDF"
            "e.doc");
  EXPECT_EQ(system.DroppedFiles()[2], "C:\\" + std::string(300, '?'));

  PostDrop(form.Handle(), {"C:\\a"});
  EXPECT_EQ(system.WideDroppedFiles(), std::vector<std::wstring>{L"C:\\a"}) << "only the last drop";
}

TEST(DroppedFiles, WithoutHandlerTheNamesAreCollectedAllTheSame) {
  testing_support::TShown<TDropTarget> form;
  TSystem system(&form);
  PostDrop(form.Handle(), {"C:\\a", "C:\\b"});
  EXPECT_EQ(system.DroppedFiles().Count(), 2);
  EXPECT_EQ(form.DropMessages, 0);
}

TEST(DroppedFiles, NoFormOwnerInstallsNothing) {
  testing_support::TShown<TDropTarget> form;
  controls::TPanel panel(controls::TBevel::None);
  panel.Create(form.Handle());
  {
    TSystem none(nullptr);
    TSystem notAForm(&panel);
    EXPECT_FALSE(AcceptsFiles(form.Handle()));
    EXPECT_FALSE(AcceptsFiles(panel.Handle()));
    PostDrop(form.Handle(), {"C:\\a"});
    EXPECT_EQ(form.DropMessages, 1) << "nobody took the message";
    EXPECT_EQ(none.DroppedFiles().Count(), 0);
    EXPECT_EQ(notAForm.DroppedFiles().Count(), 0);
  }
  EXPECT_FALSE(static_cast<bool>(toolkit::Application().OnMessage));
}

TEST(DroppedFiles, DestructionInReverseOrderRestoresTheChain) {
  THookRecorder previous;
  testing_support::TShown<TDropTarget> form;
  {
    TSystem first(&form);
    {
      TSystem second(&form);
      PostDrop(form.Handle(), {"C:\\a"});
      // The newest component takes the drop and releases its handle; the older one leaves the
      // released handle alone.
      EXPECT_EQ(second.DroppedFiles().Count(), 1);
      EXPECT_EQ(first.DroppedFiles().Count(), 0);
    }
    PostDrop(form.Handle(), {"C:\\b", "C:\\c"});
    EXPECT_EQ(first.DroppedFiles().Count(), 2);
    EXPECT_EQ(form.DropMessages, 0);
  }
  PostDrop(form.Handle(), {"C:\\d"});
  EXPECT_EQ(form.DropMessages, 1) << "with both gone the form gets the message again";
  EXPECT_EQ(previous.DropsSeen, (std::vector<bool>{true, true, false}))
      << "the hook before them saw every drop";
}

TEST(DroppedFiles, DestructionInCreationOrderKeepsTheChainSafe) {
  THookRecorder previous;
  testing_support::TShown<TDropTarget> form;
  auto first = std::make_unique<TSystem>(&form);
  auto second = std::make_unique<TSystem>(&form);
  first.reset();
  // The newer component's hook still leads through the older one's place to the hook before.
  PostDrop(form.Handle(), {"C:\\a"});
  EXPECT_EQ(second->DroppedFiles().Count(), 1);
  second.reset();
  PostDrop(form.Handle(), {"C:\\b"});
  EXPECT_EQ(form.DropMessages, 1) << "with both gone the form gets the message again";
  EXPECT_EQ(previous.DropsSeen, (std::vector<bool>{true, false}));
}

TEST(DroppedFiles, AnErrorInTheHandlerReachesTheErrorDisplay) {
  testing_support::TApplicationRecorder recorder;
  THookRecorder previous;
  testing_support::TShown<TDropTarget> form;
  TSystem system(&form);
  system.OnDragDrop = [](runtime::TStringList&) { throw std::runtime_error("Ablage verweigert"); };
  PostDrop(form.Handle(), {"C:\\a"});
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(recorder.Errors[0], L"Ablage verweigert");
  EXPECT_TRUE(previous.DropsSeen.empty()) << "the previous hook is not called for that message";
  EXPECT_EQ(form.DropMessages, 0);
}

TEST(SystemInfo, EveryWriteOfHideActsOnTheApplicationWindow) {
  TSystem system(nullptr);
  HWND application = toolkit::Application().Handle();
  system.SetHide(false);
  EXPECT_TRUE(IsWindowVisible(application));
  ShowWindow(application, SW_HIDE);
  system.SetHide(false);
  EXPECT_TRUE(IsWindowVisible(application)) << "an unchanged value shows the window all the same";
  EXPECT_FALSE(system.Hide());
  system.SetHide(true);
  EXPECT_FALSE(IsWindowVisible(application));
  ShowWindow(application, SW_SHOW);
  EXPECT_TRUE(system.Hide()) << "the stored value, not the window's state";
  system.SetHide(true);
  EXPECT_FALSE(IsWindowVisible(application));
}

// The shell's rule for a taskbar button (and a place in Alt+Tab): a visible window that asks for one,
// or an unowned one that is no tool window.
bool HasTaskbarButton(HWND window) {
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if (!IsWindowVisible(window)) return false;
  if (exStyle & WS_EX_APPWINDOW) return true;
  return !GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW);
}

TEST(SystemInfo, TheShownApplicationWindowGetsNoTaskbarButton) {
  TSystem system(nullptr);
  system.SetHide(false);
  ASSERT_TRUE(IsWindowVisible(toolkit::Application().Handle()));
  EXPECT_FALSE(HasTaskbarButton(toolkit::Application().Handle()));
  system.SetHide(true);
  // The main window keeps its own.
  const testing_support::TShown<testing_support::THostForm> form;
  EXPECT_TRUE(HasTaskbarButton(form.Handle()));
}

class CompanyNameTest : public ::testing::Test {
 protected:
  CompanyNameTest() {
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    savedSize = sizeof(saved);
    hadValue = RegQueryValueExA(key, kValue, nullptr, &savedType, saved, &savedSize) == ERROR_SUCCESS;
  }
  ~CompanyNameTest() override {
    if (hadValue)
      RegSetValueExA(key, kValue, 0, savedType, saved, savedSize);
    else
      RegDeleteValueA(key, kValue);
    RegCloseKey(key);
  }
  void Set(DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExA(key, kValue, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }

  static constexpr char kValue[] = "RegisteredOrganization";
  HKEY key = nullptr;
  BYTE saved[1024];
  DWORD savedSize = 0, savedType = 0;
  bool hadValue = false;
  TSystem system{nullptr};
};

TEST_F(CompanyNameTest, ReadsTheRegisteredOrganization) {
  Set(REG_SZ, "Testfirma GmbH", 15);
  EXPECT_EQ(system.CompanyName(), "Testfirma GmbH");
  Set(REG_EXPAND_SZ, "%windir%\\Firma", 15);
  EXPECT_EQ(system.CompanyName(), "%windir%\\Firma") << "not expanded";
  Set(REG_SZ, "", 0);
  EXPECT_EQ(system.CompanyName(), "");
  RegDeleteValueA(key, kValue);
  EXPECT_EQ(system.CompanyName(), "");
}

TEST_F(CompanyNameTest, AValueThatIsNoTextRaisesTheRegistryError) {
  const DWORD number = 42;
  Set(REG_DWORD, &number, sizeof(number));
  try {
    system.CompanyName();
    FAIL() << "no error";
  } catch (const runtime::ERegistryException& error) {
    EXPECT_STREQ(error.what(), "Ungültiger Datentyp für 'RegisteredOrganization'");
  }
}
