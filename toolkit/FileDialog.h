// The system's dialog that asks where to save a file (GetSaveFileNameW).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace toolkit {

// A type the dialog offers: its German name and its extension (without the dot).
struct TFileType {
  std::wstring Name;
  std::wstring Extension;
};

struct TFileChoice {
  std::wstring Path;
  size_t Type;  // the index of the chosen entry of the types
};

// Asks the user; none when the dialog was cancelled. The dialog asks before replacing a file; a
// name typed without an extension gets the chosen type's. Throws ESystemError when the dialog
// cannot be shown.
std::optional<TFileChoice> AskSaveFile(HWND owner, const std::wstring& title,
                                       const std::vector<TFileType>& types, size_t type,
                                       const std::wstring& fileName);

}  // namespace toolkit
