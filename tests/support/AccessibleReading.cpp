#include "tests/support/AccessibleReading.h"

#include "runtime/Text.h"

namespace testing_support {

namespace {

VARIANT ChildId(long child) {
  VARIANT id;
  VariantInit(&id);
  id.vt = VT_I4;
  id.lVal = child;
  return id;
}

std::wstring WideText(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                      long child) {
  if (!object) return L"<none>";
  BSTR text = nullptr;
  if (FAILED((object->*get)(ChildId(child), &text))) return L"<failed>";
  if (!text) return L"";
  std::wstring result(text, SysStringLen(text));
  SysFreeString(text);
  return result;
}

// In code page 1252, as the tests' own literals are, whatever the system's code page.
std::string Text(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                 long child) {
  return runtime::Cp1252FromWide(WideText(object, get, child));
}

long Number(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
            long child) {
  if (!object) return -1;
  VARIANT value;
  VariantInit(&value);
  if (FAILED((object->*get)(ChildId(child), &value)) || value.vt != VT_I4) {
    VariantClear(&value);
    return -1;
  }
  return value.lVal;
}

}  // namespace

TAccessible::~TAccessible() {
  if (object_) object_->Release();
}

TAccessible TAccessible::OfWindow(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return TAccessible();
  return TAccessible(object);
}

std::string TAccessible::Name(long child) const {
  return Text(object_, &IAccessible::get_accName, child);
}
std::wstring TAccessible::WideName(long child) const {
  return WideText(object_, &IAccessible::get_accName, child);
}
std::string TAccessible::Value(long child) const {
  return Text(object_, &IAccessible::get_accValue, child);
}
std::string TAccessible::DefaultAction(long child) const {
  return Text(object_, &IAccessible::get_accDefaultAction, child);
}
std::string TAccessible::Shortcut(long child) const {
  return Text(object_, &IAccessible::get_accKeyboardShortcut, child);
}
std::string TAccessible::Description(long child) const {
  return Text(object_, &IAccessible::get_accDescription, child);
}
long TAccessible::Role(long child) const {
  return Number(object_, &IAccessible::get_accRole, child);
}
long TAccessible::State(long child) const {
  return Number(object_, &IAccessible::get_accState, child);
}

long TAccessible::ChildCount() const {
  long count = -1;
  if (object_) object_->get_accChildCount(&count);
  return count;
}

long TAccessible::Focus() const {
  VARIANT focus;
  VariantInit(&focus);
  if (!object_ || object_->get_accFocus(&focus) != S_OK) return -1;
  const long child = focus.vt == VT_I4 ? focus.lVal : -1;
  VariantClear(&focus);
  return child;
}

TAccessible TAccessible::FromDispatch(IDispatch* dispatch) {
  if (!dispatch) return TAccessible();
  IAccessible* object = nullptr;
  dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  dispatch->Release();
  return TAccessible(object);
}

TAccessible TAccessible::Child(long child) const {
  IDispatch* dispatch = nullptr;
  if (!object_ || object_->get_accChild(ChildId(child), &dispatch) != S_OK) return TAccessible();
  return FromDispatch(dispatch);
}

HRESULT TAccessible::DoDefaultAction(long child) const {
  return object_ ? object_->accDoDefaultAction(ChildId(child)) : E_POINTER;
}

namespace {

void Walk(const TAccessible& object, std::vector<std::string>& names, int depth) {
  names.push_back(object.Name());
  if (depth > 8) return;
  for (long i = 1; i <= object.ChildCount(); ++i) {
    if (const TAccessible child = object.Child(i))
      Walk(child, names, depth + 1);
    else
      names.push_back(object.Name(i));
  }
}

}  // namespace

std::vector<std::string> WalkNames(const TAccessible& object) {
  std::vector<std::string> names;
  Walk(object, names, 0);
  return names;
}

}  // namespace testing_support
