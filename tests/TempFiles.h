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

// A fresh folder below the temporary folder, removed with everything in it at the end; the name
// may end in a part of any script.
class TTempFolder {
 public:
  explicit TTempFolder(const std::wstring& suffix = L"") {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"sandrivo-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(next_++) + suffix;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  // A name in code page 1252.
  std::wstring operator/(const std::string& name) const { return *this / tk::WideFromCp1252(name); }
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
  void Set(const char* value) { Set(tk::WideFromCp1252(value).c_str()); }

 private:
  std::wstring old_;
};

}  // namespace testing_support
