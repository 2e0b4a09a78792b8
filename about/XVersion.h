// Reads the version resource of an executable file: the fixed version numbers as text, and named
// strings of its string table, whole. Every call reads the file anew; nothing is cached. File names
// are wide: the program may lie in a folder of any name.
#pragma once

#include <windows.h>

#include <string>

namespace about {

// The language and code page of the program's own string block (German, code page 1252).
inline constexpr wchar_t kDefaultLanguage[] = L"040704E4";

enum TVersionSelector { vsFileVersion = 1, vsProductVersion = 2 };

// "a.b.c.d" from the four 16-bit halves: high and low of ms, then high and low of ls.
std::wstring VersionToText(DWORD ms, DWORD ls);

// Copies the file's fixed version record into info; false when the file has none.
bool GetFixedFileInfo(const std::wstring& fileName, VS_FIXEDFILEINFO& info);

// The file (1) or product (2) version as text; empty for another selector or a file without one.
std::wstring GetFileVersionText(const std::wstring& fileName, int selector);
// The product version, which the about dialog shows; the program's own from its file.
std::wstring GetFileProductVersion(const std::wstring& fileName);
std::wstring GetProgramVersionText(int selector);
std::wstring GetProgramProductVersion();

// A named string of the block for language and code page (eight hexadecimal digits; empty means
// the program's own block); empty when the file, the block or the value is missing.
std::wstring GetFileVersionValue(const std::wstring& fileName, const std::wstring& language,
                                 const std::wstring& valueName);
std::wstring GetProgramVersionValue(const std::wstring& language, const std::wstring& valueName);

}  // namespace about
