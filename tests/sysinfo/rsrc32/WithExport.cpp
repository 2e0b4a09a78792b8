// A stand-in for the free-resources library: answers 1000 plus the resource kind.
#include <windows.h>

// The export's name is fixed by the call sites, decoration included: "_MyGetFreeSystemResources32@4".
#ifdef _WIN64
extern "C" __declspec(dllexport) int WINAPI FreeResources(int kind) __asm__("_MyGetFreeSystemResources32@4");
#else
extern "C" int WINAPI FreeResources(int kind);  // exported under that name by Rsrc32.def
#endif

int WINAPI FreeResources(int kind) {
  return 1000 + kind;
}
