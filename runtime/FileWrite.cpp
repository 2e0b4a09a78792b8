#include "runtime/FileWrite.h"

#include <windows.h>

#include "runtime/Errors.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"

namespace runtime {

namespace {

// Removes the new file unless it has taken the target's place.
class TNewFile {
 public:
  explicit TNewFile(std::wstring path) : path_(std::move(path)) {}
  TNewFile(const TNewFile&) = delete;
  TNewFile& operator=(const TNewFile&) = delete;
  ~TNewFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::wstring path_;
};

}  // namespace

void WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
  const std::wstring target = LongPathForm(path);
  // Beside the target, so that the last step is a rename within one volume.
  TNewFile written(target + L"." + DecimalText(GetCurrentProcessId()) + L"-" + DecimalText(GetTickCount()) +
                   L".tmp");
  {
    const HANDLE made = CreateFileW(written.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) {
      written.Keep();  // not made: nothing to remove
      ThrowLastError(L"Die Datei kann nicht angelegt werden: ", path);
    }
    const TKernelHandle file(made);
    for (size_t done = 0; done < bytes.size();) {
      DWORD count = 0;
      if (!WriteFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &count,
                     nullptr) ||
          count == 0)
        ThrowLastError(L"Die Datei kann nicht geschrieben werden: ", path);
      done += count;
    }
    if (!FlushFileBuffers(file.Get())) ThrowLastError(L"Die Datei kann nicht geschrieben werden: ", path);
  }
  if (!MoveFileExW(written.Path().c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ThrowLastError(L"Die Datei kann nicht ersetzt werden: ", path);
  written.Keep();
}

}  // namespace runtime
