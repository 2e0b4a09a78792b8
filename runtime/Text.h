// The program's texts and the system's: the program's own texts and every single-byte output are
// code page 1252 whatever the system's code page is; the system's names are UTF-16 and stay whole
// until an output needs bytes.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Code page 1252 bytes as UTF-16; every byte has its character, so nothing is lost.
std::wstring WideFromCp1252(std::string_view text);

// A text ended by a zero, of code page 1252, as UTF-16 in the caller's buffer of size characters (cut
// to fit, always ended): for the error paths, which must not ask for memory.
void WideFromCp1252(const char* text, wchar_t* buffer, int size) noexcept;

// UTF-16 as code page 1252: a character outside it becomes one '?' (also beyond the basic plane),
// never a look-alike (no "O" for an omega).
std::string Cp1252FromWide(std::wstring_view text);

// UTF-16 as UTF-8 and back; a lone surrogate or a broken sequence becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// The system's conversions for any code page: bytes as UTF-16, and UTF-16 as bytes with the flags
// and the replacement character of WideCharToMultiByte.
std::wstring WideFromCodePage(unsigned codePage, std::string_view text);
std::string BytesFromWide(unsigned codePage, unsigned long flags, const char* replacement,
                          std::wstring_view text);

// A whole number in decimal digits, with a minus sign when negative. (The library's to_wstring
// brings a second printf of about 20 KB into each program for this.)
std::wstring DecimalText(long long value);

// A full path in the form that passes the system's limit of 260 characters ("\\?\C:\..." or
// "\\?\UNC\server\...") once it comes near it; a shorter or relative path as it is.
std::wstring LongPathForm(const std::wstring& path);

// The text after the last path separator ("\", "/" or ":"); the whole text when it has none.
std::wstring FileNamePart(const std::wstring& path);

}  // namespace runtime
