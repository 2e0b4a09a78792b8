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

std::string VersionToText(DWORD ms, DWORD ls) {
  return std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." + std::to_string(HIWORD(ls)) +
         "." + std::to_string(LOWORD(ls));
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

std::string GetFileVersionText(const std::wstring& fileName, int selector) {
  VS_FIXEDFILEINFO info{};
  if (!GetFixedFileInfo(fileName, info)) return "";
  switch (selector) {
    case vsFileVersion:
      return VersionToText(info.dwFileVersionMS, info.dwFileVersionLS);
    case vsProductVersion:
      return VersionToText(info.dwProductVersionMS, info.dwProductVersionLS);
    default:
      return "";
  }
}

std::string GetProgramVersionText(int selector) {
  return GetFileVersionText(toolkit::Application().ExeName(), selector);
}

std::string GetFileProductVersion(const std::wstring& fileName) {
  return GetFileVersionText(fileName, vsProductVersion);
}

std::string GetProgramProductVersion() {
  return GetFileProductVersion(toolkit::Application().ExeName());
}

std::string GetFileVersionValue(const std::wstring& fileName, const std::string& language,
                                const std::string& valueName) {
  void* block = nullptr;
  TBlockGuard guard(block);
  if (!LoadVersionResource(fileName, block)) return "";
  const std::string path =
      "\\StringFileInfo\\" + (language.empty() ? std::string(kDefaultLanguage) : language) + "\\" + valueName;
  void* value = nullptr;
  UINT length = 0;  // in characters
  if (!VerQueryValueW(block, runtime::WideFromCp1252(path).c_str(), &value, &length) || length == 0)
    return "";
  const auto* text = static_cast<const wchar_t*>(value);
  return runtime::Cp1252FromWide(std::wstring_view(text, wcsnlen(text, length)));
}

std::string GetProgramVersionValue(const std::string& language, const std::string& valueName) {
  return GetFileVersionValue(toolkit::Application().ExeName(), language, valueName);
}

}  // namespace about
