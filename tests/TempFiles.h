// Temporary folders and files in the Wine prefix, and a guard for "APPDATA".
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "about/IniHelp.h"

namespace testing_support {

// A fresh folder below the temporary folder, removed with everything in it at the end.
class TTempFolder {
 public:
  TTempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "sandrivo-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(next_++);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  static inline int next_ = 0;
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}
inline bool IsFolder(const std::string& path) {
  return std::filesystem::is_directory(path);
}

// Sets "APPDATA" for the test and puts the old value back; nullptr unsets it.
class TAppDataGuard {
 public:
  explicit TAppDataGuard(const char* value) : old_(about::GetAppDataDir()) {
    SetEnvironmentVariableA("APPDATA", value);
  }
  ~TAppDataGuard() { SetEnvironmentVariableA("APPDATA", old_.empty() ? nullptr : old_.c_str()); }
  void Set(const char* value) { SetEnvironmentVariableA("APPDATA", value); }

 private:
  std::string old_;
};

}  // namespace testing_support
