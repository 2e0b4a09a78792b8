// A window program, linked with the runtime replacements as the shipped one is, that lets an error
// escape where nothing may catch it: the failure tests watch how it ends.
#include <windows.h>

#include "runtime/Errors.h"

namespace {

void Fail() {
  throw runtime::Exception(L"Datenträger nicht lesbar");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  [] noexcept { Fail(); }();
  return 0;
}
