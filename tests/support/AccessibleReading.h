// Reads the program's windows as a screen reader does: through the system's accessibility
// interface (AccessibleObjectFromWindow), in the test process.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace testing_support {

// An IAccessible reference, released when it goes.
class TAccessible {
 public:
  TAccessible() = default;
  explicit TAccessible(IAccessible* object) : object_(object) {}
  TAccessible(TAccessible&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  TAccessible(const TAccessible&) = delete;
  TAccessible& operator=(const TAccessible&) = delete;
  ~TAccessible();
  // The client-area object of a window.
  static TAccessible OfWindow(HWND window);
  // The object behind a dispatch interface that a call handed out; takes over its reference.
  static TAccessible FromDispatch(IDispatch* dispatch);

  explicit operator bool() const { return object_ != nullptr; }
  IAccessible* Get() const { return object_; }
  // Of the object itself (child 0) or of one of its simple children (from 1).
  // Texts in code page 1252, as the tests' literals are; WideName whole.
  std::string Name(long child = CHILDID_SELF) const;
  std::wstring WideName(long child = CHILDID_SELF) const;
  std::string Value(long child = CHILDID_SELF) const;
  std::string DefaultAction(long child = CHILDID_SELF) const;
  std::string Shortcut(long child = CHILDID_SELF) const;
  std::string Description(long child = CHILDID_SELF) const;
  long Role(long child = CHILDID_SELF) const;
  long State(long child = CHILDID_SELF) const;
  long ChildCount() const;
  // The child id that accFocus answers (CHILDID_SELF for the object itself), or -1 for none.
  long Focus() const;
  // A child that is an object of its own (a table's row), or an empty reference.
  TAccessible Child(long child) const;
  HRESULT DoDefaultAction(long child = CHILDID_SELF) const;

 private:
  IAccessible* object_ = nullptr;
};

// The names of the object and of everything below it, as a screen reader's object navigation
// reaches them (children that are objects followed, simple children read by id).
std::vector<std::string> WalkNames(const TAccessible& object);

// The thread's apartment for the accessibility calls; left at the end.
class TComApartment {
 public:
  TComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~TComApartment() { CoUninitialize(); }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
};

}  // namespace testing_support
