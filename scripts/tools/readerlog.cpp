// What a screen reader hears and walks, run under Wine beside the program (scripts/reader-check.sh).
// One program, two roles:
//   readerlog listen <class> <title>   waits for the window, hooks the WinEvents of its process out of
//                                      context (as NVDA and Narrator do) and prints each event with
//                                      the object it names, read back through MSAA, until the
//                                      process ends: "<ms> <event> <window class> <child id> <role>
//                                      name=... value=... description=... [focused]"
//   readerlog tree <class> <title>     prints the window's object tree as object navigation walks
//                                      it, each object's children in the order it gives them,
//                                      indented by depth
// Texts are printed in UTF-8; times are milliseconds since the listener started.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text, int length = -1) {
  if (!text) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
  if (length < 0 && !result.empty()) result.pop_back();  // the terminating zero
  return result;
}

// A text of the object, as the accessibility interface hands it out; "" for none.
template <typename Get>
std::string Text(Get get) {
  BSTR text = nullptr;
  if (get(&text) != S_OK || !text) return {};
  std::string result = Utf8(text, static_cast<int>(SysStringLen(text)));
  SysFreeString(text);
  return result;
}

std::string RoleText(IAccessible* object, const VARIANT& child) {
  VARIANT role;
  VariantInit(&role);
  if (object->get_accRole(child, &role) != S_OK || role.vt != VT_I4) return "?";
  wchar_t text[64] = L"";
  GetRoleTextW(static_cast<DWORD>(role.lVal), text, 64);
  return Utf8(text);
}

// One line for the object a child of an object names: role, name, value, description, focus.
std::string Describe(IAccessible* object, const VARIANT& child) {
  std::string line = RoleText(object, child);
  line += " name=\"" + Text([&](BSTR* t) { return object->get_accName(child, t); }) + "\"";
  const std::string value = Text([&](BSTR* t) { return object->get_accValue(child, t); });
  if (!value.empty()) line += " value=\"" + value + "\"";
  const std::string description = Text([&](BSTR* t) { return object->get_accDescription(child, t); });
  if (!description.empty()) line += " description=\"" + description + "\"";
  VARIANT state;
  VariantInit(&state);
  if (object->get_accState(child, &state) == S_OK && state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_FOCUSED))
    line += " [focused]";
  return line;
}

const char* EventName(DWORD event) {
  switch (event) {
    case EVENT_SYSTEM_ALERT:
      return "alert";
    case EVENT_SYSTEM_FOREGROUND:
      return "foreground";
    case EVENT_SYSTEM_DIALOGSTART:
      return "dialog-start";
    case EVENT_OBJECT_REORDER:
      return "reorder";
    case EVENT_OBJECT_FOCUS:
      return "focus";
    case EVENT_OBJECT_SELECTION:
      return "selection";
    case EVENT_OBJECT_NAMECHANGE:
      return "name-change";
    case EVENT_OBJECT_DESCRIPTIONCHANGE:
      return "description-change";
    case EVENT_OBJECT_VALUECHANGE:
      return "value-change";
    default:
      return nullptr;
  }
}

ULONGLONG started = 0;

struct THeard {
  ULONGLONG At;
  DWORD Event;
  HWND Window;
  LONG Object, Child;
};
// Events as they come, read back only after the callback has returned: reading an object calls into
// the program, which lets further events in meanwhile (NVDA too queues them so, in their order).
std::vector<THeard> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId, DWORD, DWORD) {
  // The objects a screen reader reads: windows' client objects and the parts they name.
  if (!EventName(event) || !window || (objectId != OBJID_CLIENT && objectId != OBJID_WINDOW)) return;
  heard.push_back({GetTickCount64() - started, event, window, objectId, childId});
}

void Print(const THeard& h) {
  wchar_t className[64] = L"";
  GetClassNameW(h.Window, className, 64);
  IAccessible* object = nullptr;
  VARIANT child;
  VariantInit(&child);
  std::string what = "(no object)";
  if (AccessibleObjectFromEvent(h.Window, static_cast<DWORD>(h.Object), static_cast<DWORD>(h.Child), &object,
                                &child) == S_OK &&
      object) {
    what = Describe(object, child);
    object->Release();
  }
  std::printf("%6llu %-18s %-14s %-6ld %s\n", h.At, EventName(h.Event), Utf8(className).c_str(), h.Child,
              what.c_str());
  std::fflush(stdout);
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title) {
  for (int i = 0; i < 300; ++i) {
    if (HWND window = FindWindowW(className, title); window && IsWindowVisible(window)) return window;
    Sleep(100);
  }
  return nullptr;
}

int Listen(const wchar_t* className, const wchar_t* title) {
  started = GetTickCount64();
  HWND window = WaitForWindow(className, title);
  if (!window) {
    std::printf("no window \"%s\"\n", Utf8(title).c_str());
    return 1;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  const HWINEVENTHOOK system = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_DIALOGSTART, nullptr, Hear,
                                               processId, 0, WINEVENT_OUTOFCONTEXT);
  const HWINEVENTHOOK objects = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, Hear,
                                                processId, 0, WINEVENT_OUTOFCONTEXT);
  std::printf("listening to process %lu\n", processId);
  std::fflush(stdout);
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(process ? 1 : 0, &process, FALSE, INFINITE, QS_ALLINPUT);
    if (process && woke == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    // In the order they came; reading one may let more in behind it.
    for (size_t next = 0; next < heard.size(); ++next) {
      const THeard event = heard[next];  // a copy: reading may add to the list
      Print(event);
    }
    heard.clear();
  }
  UnhookWinEvent(system);
  UnhookWinEvent(objects);
  std::printf("%6llu the program has ended\n", GetTickCount64() - started);
  return 0;
}

void Walk(IAccessible* object, int depth) {
  if (depth > 6) return;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  std::printf("%*s%s\n", depth * 2, "", Describe(object, self).c_str());
  // The children in the order the object gives them, as a screen reader's object navigation takes
  // them (AccessibleChildren).
  long count = 0;
  if (object->get_accChildCount(&count) != S_OK || count <= 0) return;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long got = 0;
  if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) return;
  for (long i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<size_t>(i)];
    if (child.vt == VT_DISPATCH && child.pdispVal) {
      IAccessible* part = nullptr;
      child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&part));
      child.pdispVal->Release();
      if (part) {
        Walk(part, depth + 1);
        part->Release();
      }
    } else if (child.vt == VT_I4) {
      std::printf("%*s%s\n", (depth + 1) * 2, "", Describe(object, child).c_str());
    }
  }
}

int Tree(const wchar_t* className, const wchar_t* title) {
  HWND window = WaitForWindow(className, title);
  if (!window) {
    std::printf("no window \"%s\"\n", Utf8(title).c_str());
    return 1;
  }
  IAccessible* object = nullptr;
  if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                 reinterpret_cast<void**>(&object)) != S_OK ||
      !object)
    return 1;
  Walk(object, 0);
  object->Release();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring role = argc > 1 ? argv[1] : L"";
  if (role == L"listen" && argc == 4) return Listen(argv[2], argv[3]);
  if (role == L"tree" && argc == 4) return Tree(argv[2], argv[3]);
  std::printf("usage: readerlog listen|tree <class> <title>\n");
  return 2;
}
