// Replacements for two parts of the C++ runtime that would make up a third of each executable.
//
// - The handler that ends the program when an exception escapes everything. The runtime's verbose
//   one brings a C++ name demangler of about 46 KB and writes to the standard error stream, which a
//   window program does not have. This one tells what went wrong where the user can see it: in a
//   system-modal stop box in a window program, on the standard error stream in a console program.
//   It allocates nothing, since running out of memory is a likely reason to be here, and ends the
//   program with status 3 as abort would (without abort's own second box).
// - The functions through which the standard containers report impossible sizes and positions.
//   The runtime's versions throw the standard error classes, whose code brings a second string
//   implementation and a random-number device. These throw the program's own error (or
//   std::bad_alloc where memory ran out) with the same text.
//
// Linked as an object file into each executable, not from a library, so that the linker takes these
// definitions before it searches the runtime. Should code ever need another of the runtime's
// functions from the same place, the link fails with a duplicate definition instead of silently
// growing.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <new>

#include "runtime/Errors.h"
#include "runtime/Text.h"

namespace {

// Whether the running executable is a window program: it has no standard error stream to read.
bool IsWindowProgram() noexcept {
  const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}

// Ends the program with text: in a box (wideText when given, else text) or on the standard error
// stream (text, code page 1252).
[[noreturn]] void EndWith(const char* text, const wchar_t* wideText = nullptr) noexcept {
  if (IsWindowProgram()) {
    // Looked up, not imported: the console program imports nothing beyond kernel32 and the C
    // runtime, and a window program has user32 loaded already.
    using TMessageBoxW = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
    if (HMODULE user32 = LoadLibraryW(L"user32.dll")) {
      if (auto box = reinterpret_cast<TMessageBoxW>(
              reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxW")))) {
        // The text is code page 1252 whatever the system's code page.
        static wchar_t wide[640];
        if (!wideText) runtime::WideFromCp1252(text, wide, 640);
        box(nullptr, wideText ? wideText : wide, L"Programmfehler", MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
      }
    }
  } else {
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
  }
  std::_Exit(3);
}

}  // namespace

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  static bool terminating = false;
  if (terminating) EndWith("Das Programm wird wegen eines Fehlers bei der Fehlerbehandlung beendet.");
  terminating = true;
  static char text[640];
  const char* reason = nullptr;
  if (const std::exception_ptr error = std::current_exception()) {
    try {
      std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
      reason = "Nicht genügend Arbeitsspeicher.";
    } catch (const std::exception& e) {
      reason = e.what();
      // The program's own errors carry their text whole, for the box.
      if (const auto* own = dynamic_cast<const runtime::Exception*>(&e)) {
        static wchar_t wide[640] = L"Das Programm wird wegen eines unerwarteten Fehlers beendet:\n";
        std::wcsncat(wide, own->Message().c_str(), 639 - std::wcslen(wide));
        std::snprintf(text, sizeof(text), "Das Programm wird wegen eines unerwarteten Fehlers beendet:\n%s",
                      reason);
        EndWith(text, wide);
      }
    } catch (...) {
      reason = "Unbekannter Fehler.";
    }
  }
  if (reason) {
    std::snprintf(text, sizeof(text), "Das Programm wird wegen eines unerwarteten Fehlers beendet:\n%s",
                  reason);
    EndWith(text);
  }
  EndWith("Das Programm wird wegen eines unerwarteten Fehlers beendet.");
}

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() {
  throw std::bad_alloc();
}

void __throw_bad_array_new_length() {
  throw std::bad_array_new_length();
}

void __throw_length_error(const char* message) {
  throw runtime::Exception(runtime::WideFromCp1252(message));
}

void __throw_logic_error(const char* message) {
  throw runtime::Exception(runtime::WideFromCp1252(message));
}

void __throw_out_of_range_fmt(const char* format, ...) {
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof(message), format, args);
  va_end(args);
  throw runtime::Exception(runtime::WideFromCp1252(message));
}

}  // namespace std
