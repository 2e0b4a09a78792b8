// The accessible object's boundary: an error of a control's description reaches the screen reader
// as a failed call, never as an exception through the interface; navigation among a control's parts.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <new>

#include "runtime/Errors.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/HostForm.h"
#include "toolkit/CustomControl.h"

namespace {

// A button with parts (one unless told), whose description and action fail while Fault is set.
class TFailingControl : public toolkit::TCustomControl {
 public:
  void Create(HWND parent) override {
    RegisterWindowClass(L"TkFailingTest", IDC_ARROW, nullptr);
    CreateHandle(L"TkFailingTest", L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 40, 20}, parent);
  }
  std::function<void()> Fault;
  int Parts = 1;

 protected:
  void Paint(HDC, const RECT&) const override {}
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath&) const override {
    if (Fault) Fault();
    toolkit::TAccElement element;
    element.Role = ROLE_SYSTEM_PUSHBUTTON;
    element.Name = L"Knopf";
    return element;
  }
  int AccChildCount(const toolkit::TAccPath& path) const override {
    if (Fault) Fault();
    return path.empty() ? Parts : 0;
  }
  bool AccDoDefaultAction(const toolkit::TAccPath&) override {
    if (Fault) Fault();
    return true;
  }
};

}  // namespace

TEST(AccessibleObject, AnErrorOfTheDescriptionIsAFailedCall) {
  testing_support::TComApartment apartment;
  testing_support::TShown<testing_support::THostForm> host;
  TFailingControl control;
  control.Create(host.Handle());
  const testing_support::TAccessible object = testing_support::TAccessible::OfWindow(control.Handle());
  ASSERT_TRUE(object);
  IAccessible* const accessible = object.Get();
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  const struct {
    const char* name;
    std::function<void()> fault;
    HRESULT expected;
  } faults[] = {
      {"out of memory", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY},
      {"another error", [] { throw runtime::Exception(L"Beschreibung fehlt"); }, E_FAIL},
  };
  for (const auto& f : faults) {
    control.Fault = f.fault;
    BSTR name = nullptr;
    VARIANT role;
    role.vt = VT_I4;  // a value left from the caller's last call
    LONG count = 0, left, top, width, height;
    EXPECT_EQ(accessible->get_accName(self, &name), f.expected) << f.name;
    EXPECT_EQ(accessible->get_accRole(self, &role), f.expected) << f.name;
    EXPECT_EQ(role.vt, VT_EMPTY) << "a failed call gives no value";
    EXPECT_EQ(accessible->get_accChildCount(&count), f.expected) << f.name;
    EXPECT_EQ(accessible->accLocation(&left, &top, &width, &height, self), f.expected) << f.name;
    EXPECT_EQ(accessible->accDoDefaultAction(self), f.expected) << f.name;
  }
  control.Fault = nullptr;
  EXPECT_EQ(object.Name(), "Knopf") << "the object answers again";
  UINT typeInfos = 99;
  EXPECT_EQ(accessible->GetTypeInfoCount(&typeInfos), S_OK);
  EXPECT_EQ(typeInfos, 0u) << "no type information: clients use the interface's own methods";
  // Other objects than the client area are the system's: the window's frame is there.
  IAccessible* frame = nullptr;
  EXPECT_EQ(AccessibleObjectFromWindow(control.Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&frame)),
            S_OK);
  EXPECT_TRUE(testing_support::TAccessible(frame));
  // With one part, the first child and the last are both that part.
  for (const LONG direction : {NAVDIR_FIRSTCHILD, NAVDIR_LASTCHILD}) {
    VARIANT end{};
    EXPECT_EQ(accessible->accNavigate(direction, self, &end), S_OK) << direction;
    EXPECT_EQ(end.vt, VT_I4) << direction;
    EXPECT_EQ(end.lVal, 1) << direction;
  }
}

TEST(AccessibleObject, NavigationAmongPartsStopsAtEitherEnd) {
  testing_support::TComApartment apartment;
  testing_support::TShown<testing_support::THostForm> host;
  TFailingControl control;
  control.Parts = 3;
  control.Create(host.Handle());
  const testing_support::TAccessible object = testing_support::TAccessible::OfWindow(control.Handle());
  ASSERT_TRUE(object);
  // Parts are counted from 1; 0: no part in that direction.
  const struct {
    LONG from, direction, to;
  } moves[] = {{1, NAVDIR_NEXT, 2}, {2, NAVDIR_DOWN, 3}, {3, NAVDIR_NEXT, 0}, {3, NAVDIR_PREVIOUS, 2},
               {2, NAVDIR_UP, 1},   {1, NAVDIR_UP, 0},   {2, NAVDIR_LEFT, 0}};
  for (const auto& move : moves) {
    VARIANT start{}, end{};
    start.vt = VT_I4;
    start.lVal = move.from;
    const HRESULT result = object.Get()->accNavigate(move.direction, start, &end);
    EXPECT_EQ(result, move.to ? S_OK : S_FALSE) << move.from << " " << move.direction;
    EXPECT_EQ(end.vt == VT_I4 ? end.lVal : 0, move.to) << move.from << " " << move.direction;
  }
}
