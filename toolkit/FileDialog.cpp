#include "toolkit/FileDialog.h"

#include <commdlg.h>

#include "runtime/Errors.h"
#include "runtime/Text.h"

namespace toolkit {

namespace {

// Loaded at the first dialog and kept: the library brings the shell's with it, which the program's
// start does without.
template <typename Function>
Function* Comdlg32Function(const char* name) {
  static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
  const FARPROC entry = library ? GetProcAddress(library, name) : nullptr;
  if (!entry) runtime::ThrowLastError(L"Systemfunktion fehlt: comdlg32.", runtime::WideFromCp1252(name));
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(entry));
}

}  // namespace

std::optional<TFileChoice> AskSaveFile(HWND owner, const std::wstring& title,
                                       const std::vector<TFileType>& types, size_t type,
                                       const std::wstring& fileName) {
  // "Name (*.ext)", "*.ext" pairs, each ended by a zero, the list by another.
  std::wstring filter;
  for (const TFileType& entry : types) {
    filter += entry.Name + L" (*." + entry.Extension + L")" + L'\0';
    filter += L"*." + entry.Extension + L'\0';
  }
  filter += L'\0';
  // Room for a long path.
  std::wstring path(32768, L'\0');
  path.replace(0, fileName.size(), fileName);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(type + 1);
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = title.c_str();
  // The chosen type's extension where the name has none (the dialog follows the type chosen).
  dialog.lpstrDefExt = types.empty() ? nullptr : types[type].Extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                 OFN_HIDEREADONLY;
  static auto* const getSaveFileName = Comdlg32Function<decltype(::GetSaveFileNameW)>("GetSaveFileNameW");
  static auto* const extendedError =
      Comdlg32Function<decltype(::CommDlgExtendedError)>("CommDlgExtendedError");
  if (!getSaveFileName(&dialog)) {
    if (const DWORD error = extendedError())
      throw runtime::ESystemError(L"Der Dialog \"Speichern unter\" kann nicht angezeigt werden", error);
    return std::nullopt;
  }
  path.resize(path.find(L'\0'));
  return TFileChoice{path, dialog.nFilterIndex ? dialog.nFilterIndex - 1 : type};
}

}  // namespace toolkit
