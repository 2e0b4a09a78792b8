// Reads the version resource of an executable file: the fixed version numbers as text, and named
// strings of its string table (in code page 1252). Every call reads the file anew; nothing is
// cached. File names are wide: the program may lie in a folder of any name.
#pragma once

#include <windows.h>

#include <string>

namespace about {

// The language and code page of the program's own string block (German, code page 1252).
inline constexpr char kDefaultLanguage[] = "040704E4";

enum TVersionSelector { vsFileVersion = 1, vsProductVersion = 2 };

// "a.b.c.d" from the four 16-bit halves: high and low of ms, then high and low of ls.
std::string VersionToText(DWORD ms, DWORD ls);

// Copies the file's fixed version record into info; false when the file has none.
bool GetFixedFileInfo(const std::wstring& fileName, VS_FIXEDFILEINFO& info);

// The file (1) or product (2) version as text; empty for another selector or a file without one.
std::string GetFileVersionText(const std::wstring& fileName, int selector);
// The product version, which the about dialog shows; the program's own from its file.
std::string GetFileProductVersion(const std::wstring& fileName);
std::string GetProgramVersionText(int selector);
std::string GetProgramProductVersion();

// A named string of the block for language and code page (eight hexadecimal digits; empty means
// the program's own block); empty when the file, the block or the value is missing.
std::string GetFileVersionValue(const std::wstring& fileName, const std::string& language,
                                const std::string& valueName);
std::string GetProgramVersionValue(const std::string& language, const std::string& valueName);

}  // namespace about
