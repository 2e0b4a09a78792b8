// Replacements for two parts of the C++ runtime that would make up a third of each executable.
//
// - The handler that ends the program when an exception escapes everything. The runtime's verbose
//   one brings a C++ name demangler of about 46 KB; this one still tells what went wrong (the
//   error's text on the standard error stream), then aborts.
// - The functions through which the standard containers report impossible sizes and positions.
//   The runtime's versions throw the standard error classes, whose code brings a second string
//   implementation and a random-number device. These throw the program's own error (or
//   std::bad_alloc where memory ran out) with the same text.
//
// Linked as an object file into each executable, not from a library, so that the linker takes these
// definitions before it searches the runtime. Should code ever need another of the runtime's
// functions from the same place, the link fails with a duplicate definition instead of silently
// growing.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

#include "runtime/Errors.h"

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  static bool terminating = false;
  if (terminating) {
    std::fputs("terminate called recursively\n", stderr);
    std::abort();
  }
  terminating = true;
  if (const std::exception_ptr error = std::current_exception()) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "terminate called after throwing an exception\n  what():  %s\n", e.what());
    } catch (...) {
      std::fputs("terminate called after throwing an exception of unknown type\n", stderr);
    }
  } else {
    std::fputs("terminate called without an active exception\n", stderr);
  }
  std::abort();
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
  throw tk::Exception(message);
}

void __throw_logic_error(const char* message) {
  throw tk::Exception(message);
}

void __throw_out_of_range_fmt(const char* format, ...) {
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof(message), format, args);
  va_end(args);
  throw tk::Exception(message);
}

}  // namespace std
