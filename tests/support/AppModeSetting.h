// The user's app mode (light or dark) in the registry, set for a test.
#pragma once

#include <windows.h>

#include <optional>

namespace testing_support {

// The user's app mode in the registry for the life of the object (nullopt: no setting), the
// earlier one back at its end.
class TAppModeSetting {
 public:
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
  explicit TAppModeSetting(std::optional<DWORD> light) {
    DWORD size = sizeof(old_);
    hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &old_,
                             &size) == ERROR_SUCCESS;
    Set(light);
  }
  ~TAppModeSetting() { Set(hadValue_ ? std::optional<DWORD>(old_) : std::nullopt); }
  TAppModeSetting(const TAppModeSetting&) = delete;
  TAppModeSetting& operator=(const TAppModeSetting&) = delete;
  static void Set(std::optional<DWORD> light) {
    if (light)
      RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme", REG_DWORD, &*light, sizeof(DWORD));
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme");
  }

 private:
  DWORD old_ = 1;
  bool hadValue_ = false;
};

}  // namespace testing_support
