#include "about/XVersion.h"

#include <cstring>

#include "about/XMemory.h"
#include "runtime/Text.h"
#include "toolkit/Application.h"

namespace about {

namespace {

// Loads the file's version resource into block; false when it has none. File names are passed
// whole, however long: a shortened name would read another file's resource, or none.
bool LoadVersionResource(const std::wstring& fileName, void*& block) {
  const std::wstring path = runtime::LongPathForm(fileName);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return false;
  AllocBlock(block, static_cast<int>(size));
  return GetFileVersionInfoW(path.c_str(), handle, size, block) != FALSE;
}

}  // namespace

std::wstring VersionToText(DWORD ms, DWORD ls) {
  return runtime::DecimalText(HIWORD(ms)) + L"." + runtime::DecimalText(LOWORD(ms)) + L"." +
         runtime::DecimalText(HIWORD(ls)) + L"." + runtime::DecimalText(LOWORD(ls));
}

bool GetFixedFileInfo(const std::wstring& fileName, VS_FIXEDFILEINFO& info) {
  void* block = nullptr;
  TBlockGuard guard(block);
  if (!LoadVersionResource(fileName, block)) return false;
  void* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block, L"\\", &fixed, &length) || length == 0) return false;
  std::memcpy(&info, fixed, sizeof(info));
  return true;
}

std::wstring GetFileVersionText(const std::wstring& fileName, int selector) {
  VS_FIXEDFILEINFO info{};
  if (!GetFixedFileInfo(fileName, info)) return L"";
  switch (selector) {
    case vsFileVersion:
      return VersionToText(info.dwFileVersionMS, info.dwFileVersionLS);
    case vsProductVersion:
      return VersionToText(info.dwProductVersionMS, info.dwProductVersionLS);
    default:
      return L"";
  }
}

std::wstring GetProgramVersionText(int selector) {
  return GetFileVersionText(toolkit::Application().ExeName(), selector);
}

std::wstring GetFileProductVersion(const std::wstring& fileName) {
  return GetFileVersionText(fileName, vsProductVersion);
}

std::wstring GetProgramProductVersion() {
  return GetFileProductVersion(toolkit::Application().ExeName());
}

std::wstring GetFileVersionValue(const std::wstring& fileName, const std::wstring& language,
                                 const std::wstring& valueName) {
  void* block = nullptr;
  TBlockGuard guard(block);
  if (!LoadVersionResource(fileName, block)) return L"";
  const std::wstring path = L"\\StringFileInfo\\" +
                            (language.empty() ? std::wstring(kDefaultLanguage) : language) + L"\\" +
                            valueName;
  void* value = nullptr;
  UINT length = 0;  // in characters
  if (!VerQueryValueW(block, path.c_str(), &value, &length) || length == 0) return L"";
  const auto* text = static_cast<const wchar_t*>(value);
  return std::wstring(text, wcsnlen(text, length));
}

std::wstring GetProgramVersionValue(const std::wstring& language, const std::wstring& valueName) {
  return GetFileVersionValue(toolkit::Application().ExeName(), language, valueName);
}

}  // namespace about
