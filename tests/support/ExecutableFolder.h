// Where the running test program lies: the approved outputs sit beside it, and what differs from
// them is left there.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// The test program's folder, with its closing backslash.
inline std::wstring ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

}  // namespace testing_support
