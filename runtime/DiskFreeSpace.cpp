#include "runtime/DiskFreeSpace.h"

namespace runtime {

TGetDiskFreeSpaceExA DiskFreeSpaceExFunction() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? reinterpret_cast<TGetDiskFreeSpaceExA>(
                      reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")))
                : nullptr;
}

}  // namespace runtime
