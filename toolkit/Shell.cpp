#include "toolkit/Shell.h"

#include <string>

#include "runtime/Errors.h"
#include "runtime/Text.h"

namespace toolkit {

namespace {

// Loaded once and kept, as an import would be.
HMODULE Shell32() {
  static const HMODULE shell = LoadLibraryW(L"shell32.dll");
  return shell;
}

template <typename Function>
Function* Shell32Function(const char* name) {
  const FARPROC entry = Shell32() ? GetProcAddress(Shell32(), name) : nullptr;
  if (!entry) runtime::ThrowLastError(L"Systemfunktion fehlt: shell32.", runtime::WideFromCp1252(name));
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(entry));
}

}  // namespace

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                        int show) {
  static auto* const call = Shell32Function<decltype(::ShellExecuteW)>("ShellExecuteW");
  return call(owner, verb, file, parameters, folder, show);
}

void DragAcceptFiles(HWND window, BOOL accept) {
  static auto* const call = Shell32Function<decltype(::DragAcceptFiles)>("DragAcceptFiles");
  call(window, accept);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR name, UINT size) {
  static auto* const call = Shell32Function<decltype(::DragQueryFileW)>("DragQueryFileW");
  return call(drop, index, name, size);
}

void DragFinish(HDROP drop) {
  static auto* const call = Shell32Function<decltype(::DragFinish)>("DragFinish");
  call(drop);
}

}  // namespace toolkit
