// The runtime's and the toolkit's error types that the standard error display shows.
#pragma once

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tk {

// An operation that is not allowed in the object's state.
class EInvalidOperation : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// A failed file or folder operation, with the system's error code and the runtime's message for it.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(DWORD code) : std::runtime_error(MessageFor(code)), ErrorCode(code) {}
  DWORD ErrorCode;

  static std::string MessageFor(DWORD code) {
    switch (code) {
      case ERROR_PATH_NOT_FOUND:
        return "Ungültiger Dateiname";
      case ERROR_ACCESS_DENIED:
        return "Dateizugriff verweigert";
      default: {
        char text[40];
        std::snprintf(text, sizeof(text), "E/A-Fehler %lu", static_cast<unsigned long>(code));
        return text;
      }
    }
  }
};

// A registry read that failed, such as a value of an unexpected type.
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tk
