// The runtime's and the toolkit's error types that the standard error display shows.
//
// They carry their text themselves instead of deriving from the standard library's error classes:
// those bring the library's second string implementation and its random-number device into every
// executable, about 70 KB of a program that needs none of them.
#pragma once

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <utility>

namespace runtime {

// The base of every error the program raises: a text for the user.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// An operation that is not allowed in the object's state.
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// An index outside a list or a grid.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// A failed file or folder operation, with the system's error code and the runtime's message for it.
class EInOutError : public Exception {
 public:
  explicit EInOutError(DWORD code) : Exception(MessageFor(code)), ErrorCode(code) {}
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
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace runtime
