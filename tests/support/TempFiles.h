// Temporary folders and files in the Wine prefix, and a guard for "APPDATA". Paths are wide, as the
// program takes them.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "about/IniHelp.h"
#include "runtime/Text.h"

namespace testing_support {

// Makes the folder and the folders above it that are missing (the system's own calls: the
// runtime's file-system library misses folders of some scripts under Wine).
inline void MakeFolders(const std::wstring& path) {
  for (size_t end = path.find(L'\\', 3); end != std::wstring::npos; end = path.find(L'\\', end + 1))
    CreateDirectoryW(path.substr(0, end).c_str(), nullptr);
  CreateDirectoryW(path.c_str(), nullptr);
}

// Removes the folder with everything in it, by the system's own calls (the runtime's file-system
// library stops at 260 characters); path in the long form.
inline void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

// A fresh folder below the temporary folder, removed with everything in it at the end; its name
// may end in a part of any script.
class TTempFolder {
 public:
  explicit TTempFolder(const std::wstring& suffix = L"") {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"sandrivo-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(next_++) + suffix;
    RemoveTree(L"\\\\?\\" + path_);
    MakeFolders(path_);
  }
  // Some tests go beyond 260 characters inside.
  ~TTempFolder() { RemoveTree(L"\\\\?\\" + path_); }
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  // A name in code page 1252.
  std::wstring operator/(const std::string& name) const { return *this / runtime::WideFromCp1252(name); }
  std::wstring operator/(const char* name) const { return *this / std::string(name); }

 private:
  static inline int next_ = 0;
  std::wstring path_;
};

inline void WriteFile(const std::wstring& path, const std::string& text) {
  std::ofstream(std::filesystem::path(path)) << text;
}
inline bool IsFolder(const std::wstring& path) {
  return std::filesystem::is_directory(path);
}

// Sets "APPDATA" for the test and puts the old value back; nullptr unsets it.
class TAppDataGuard {
 public:
  explicit TAppDataGuard(const wchar_t* value) : old_(about::GetAppDataDir()) { Set(value); }
  explicit TAppDataGuard(std::nullptr_t) : TAppDataGuard(static_cast<const wchar_t*>(nullptr)) {}
  ~TAppDataGuard() { SetEnvironmentVariableW(L"APPDATA", old_.empty() ? nullptr : old_.c_str()); }
  void Set(const wchar_t* value) { SetEnvironmentVariableW(L"APPDATA", value); }
  void Set(const char* value) { Set(runtime::WideFromCp1252(value).c_str()); }

 private:
  std::wstring old_;
};

}  // namespace testing_support
