#include "about/IniHelp.h"

#include <windows.h>

#include "runtime/Errors.h"
#include "toolkit/Application.h"

namespace about {

std::string IniFileNameCache;

namespace {

// Position of the extension's dot in path's file-name part, or npos.
size_t ExtensionDot(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t separator = path.find_last_of("\\/:");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
    return std::string::npos;
  return dot;
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
  return path.substr(0, ExtensionDot(path)) + extension;
}

std::string FileNamePart(const std::string& path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void EnsureFolder(const std::string& path) {
  if (FolderExists(path)) return;
  if (!CreateDirectoryA(path.c_str(), nullptr)) throw tk::EInOutError(GetLastError());
}

}  // namespace

std::string GetAppDataDir() {
  const DWORD size = GetEnvironmentVariableA("APPDATA", nullptr, 0);
  if (size == 0) return "";
  std::string value(size, '\0');
  const DWORD length = GetEnvironmentVariableA("APPDATA", value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

std::string LocateIniFile(const std::string& programPath) {
  const std::string beside = ChangeExtension(programPath, ".ini");
  if (FileExists(beside)) return beside;
  std::string folder = GetAppDataDir();
  if (folder.empty()) return beside;
  if (folder.back() != '\\') folder += '\\';
  folder += kVendorFolder;
  EnsureFolder(folder);
  folder += '\\';
  folder += ChangeExtension(FileNamePart(programPath), "");
  EnsureFolder(folder);
  return folder + '\\' + FileNamePart(beside);
}

std::string GetIniFileName() {
  if (IniFileNameCache.empty()) IniFileNameCache = LocateIniFile(tk::Application().ExeName());
  return IniFileNameCache;
}

}  // namespace about
