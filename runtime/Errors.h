// The runtime's and the toolkit's error types that the standard error display shows.
//
// They carry their text themselves instead of deriving from the standard library's error classes:
// those bring the library's second string implementation and its random-number device into every
// executable, about 70 KB of a program that needs none of them.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace runtime {

// The base of every error the program raises: a text for the user, whole (UTF-16).
class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message);
  const std::wstring& Message() const noexcept { return message_; }
  // The text in code page 1252 ('?' for what it lacks), for the console and the tests' logs.
  const char* what() const noexcept override { return narrow_.c_str(); }

 private:
  std::wstring message_;
  std::string narrow_;
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

  static std::wstring MessageFor(DWORD code);
};

// A registry read that failed, such as a value of an unexpected type.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

// A system call that failed: what failed, then the system's error code and its text, as in
// "Fenster nicht erstellt: TkLabel (Fehler 1400: ...)".
class ESystemError : public Exception {
 public:
  ESystemError(const std::wstring& what, DWORD code);
  DWORD ErrorCode;
};

// Throws ESystemError for what (followed by the name of what it concerns, if any) with GetLastError(),
// read before anything else can change it.
[[noreturn]] void ThrowLastError(std::wstring_view what, std::wstring_view name = {});

// The system's text for an error code, without the line break at its end; empty when it has none.
std::wstring SystemErrorText(DWORD code);

}  // namespace runtime
