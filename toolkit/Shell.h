// The shell functions the program calls, from shell32 loaded at the first call: the main window
// needs none of them, and loading shell32 with the libraries it brings is a good part of a start.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace toolkit {

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, int show);
void DragAcceptFiles(HWND window, BOOL accept);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR name, UINT size);
void DragFinish(HDROP drop);

}  // namespace toolkit
