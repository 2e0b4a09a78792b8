#include "about/IniHelp.h"

#include <windows.h>

#include "runtime/Errors.h"
#include "runtime/Text.h"
#include "toolkit/Application.h"

namespace about {

std::wstring IniFileNameCache;

namespace {

// Position of the extension's dot in path's file-name part, or npos.
size_t ExtensionDot(const std::wstring& path) {
  const size_t dot = path.find_last_of(L'.');
  const size_t separator = path.find_last_of(L"\\/:");
  if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator))
    return std::wstring::npos;
  return dot;
}

std::wstring ChangeExtension(const std::wstring& path, const std::wstring& extension) {
  return path.substr(0, ExtensionDot(path)) + extension;
}

DWORD Attributes(const std::wstring& path) {
  return GetFileAttributesW(runtime::LongPathForm(path).c_str());
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void EnsureFolder(const std::wstring& path) {
  if (FolderExists(path)) return;
  if (!CreateDirectoryW(runtime::LongPathForm(path).c_str(), nullptr))
    throw runtime::EInOutError(GetLastError());
}

}  // namespace

std::wstring GetAppDataDir() {
  const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (size == 0) return L"";
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

std::wstring LocateIniFile(const std::wstring& programPath) {
  const std::wstring beside = ChangeExtension(programPath, L".ini");
  if (FileExists(beside)) return beside;
  std::wstring folder = GetAppDataDir();
  if (folder.empty()) return beside;
  if (folder.back() != L'\\') folder += L'\\';
  folder += kVendorFolder;
  EnsureFolder(folder);
  folder += L'\\';
  folder += ChangeExtension(runtime::FileNamePart(programPath), L"");
  EnsureFolder(folder);
  return folder + L'\\' + runtime::FileNamePart(beside);
}

std::wstring GetIniFileName() {
  if (IniFileNameCache.empty()) IniFileNameCache = LocateIniFile(toolkit::Application().ExeName());
  return IniFileNameCache;
}

}  // namespace about
