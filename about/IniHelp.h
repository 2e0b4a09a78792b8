// Where the program's configuration file lies: beside the program when a file of that name is
// there, otherwise in a folder of its own below the user's application-data folder. The file itself
// is never read or written; only the two folders below the application-data folder are created.
// Paths are wide throughout: any name the system accepts works, none is swapped for a look-alike.
#pragma once

#include <string>

namespace about {

// The folder below "APPDATA" that stands for the program's maker.
inline constexpr wchar_t kVendorFolder[] = L"Quelix";

// The answer of the first successful GetIniFileName call; empty until then.
extern std::wstring IniFileNameCache;

// The value of "APPDATA", empty when it is unset or empty.
std::wstring GetAppDataDir();

// The configuration file of the running program, worked out once and then kept. Raises
// runtime::EInOutError when a folder cannot be created; the cache then stays empty, so a later call
// tries again.
std::wstring GetIniFileName();

// The rule itself, for a program at programPath, without the cache.
std::wstring LocateIniFile(const std::wstring& programPath);

}  // namespace about
