#include "app/drive/ReportOutput.h"

#include "runtime/Text.h"

namespace app {

THandleSink::THandleSink(HANDLE handle) : handle_(handle) {
  DWORD mode = 0;
  console_ = handle_ && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode);
}

bool THandleSink::Fail() {
  error_ = GetLastError();
  return false;
}

bool THandleSink::Write(std::string_view bytes) {
  return WriteText(bytes, console_ ? tk::WideFromCp1252(bytes) : std::wstring());
}

bool THandleSink::WriteText(std::string_view bytes, std::wstring_view text) {
  if (!handle_ || handle_ == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return Fail();
  }
  if (console_) {
    for (size_t done = 0; done < text.size();) {
      DWORD written = 0;
      if (!WriteConsoleW(handle_, text.data() + done, static_cast<DWORD>(text.size() - done), &written,
                         nullptr) ||
          written == 0)
        return Fail();
      done += written;
    }
    return true;
  }
  for (size_t done = 0; done < bytes.size();) {
    DWORD written = 0;
    if (!WriteFile(handle_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0)
      return Fail();
    done += written;
  }
  return true;
}

bool THandleSink::Flush() {
  // Only a disk file holds written bytes back; pipes, devices and consoles have taken them.
  if (console_ || GetFileType(handle_) != FILE_TYPE_DISK) return true;
  return FlushFileBuffers(handle_) || Fail();
}

int DeliverReport(const TCommandResult& result, TOutputSink& out, TOutputSink& err) {
  const std::wstring text = result.ConsoleOut.empty() ? tk::WideFromCp1252(result.Out) : result.ConsoleOut;
  if (!out.WriteText(result.Out, text) || !out.Flush()) {
    std::string message = "sandrivo-report: Die Ausgabe konnte nicht geschrieben werden";
    if (out.Error()) message += " (Windows-Fehler " + std::to_string(out.Error()) + ")";
    err.Write(message + ".\r\n");
    err.Flush();
    return 1;
  }
  if (!result.Err.empty()) {
    err.Write(result.Err);
    err.Flush();
  }
  return result.ExitCode;
}

}  // namespace app
