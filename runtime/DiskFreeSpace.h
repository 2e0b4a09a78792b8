// The 64-bit free-space query, looked up at run time: the programs also start on systems without it.
#pragma once

#include <windows.h>

namespace runtime {

using TGetDiskFreeSpaceExA = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// kernel32's GetDiskFreeSpaceExA (GetModuleHandleA, GetProcAddress), or null where the system lacks it.
TGetDiskFreeSpaceExA DiskFreeSpaceExFunction();

}  // namespace runtime
