#include "drive/ReportOutput.h"

#include "runtime/Text.h"

namespace drive {

THandleSink::THandleSink(HANDLE handle) : handle_(handle) {
  DWORD mode = 0;
  console_ = handle_ && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode);
}

bool THandleSink::Fail() {
  error_ = GetLastError();
  return false;
}

bool THandleSink::Write(std::string_view bytes) {
  return WriteText(bytes, console_ ? runtime::WideFromCp1252(bytes) : std::wstring());
}

namespace {

// Hands all units to write, which takes what it can of them each time (as WriteFile and
// WriteConsoleW do); false when a call fails or takes nothing.
template <typename Unit, typename WriteCall>
bool WriteAll(std::basic_string_view<Unit> units, WriteCall write) {
  for (size_t done = 0; done < units.size();) {
    DWORD written = 0;
    if (!write(units.data() + done, static_cast<DWORD>(units.size() - done), &written) || written == 0)
      return false;
    done += written;
  }
  return true;
}

}  // namespace

bool THandleSink::WriteText(std::string_view bytes, std::wstring_view text) {
  if (!handle_ || handle_ == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return Fail();
  }
  const auto toConsole = [this](const wchar_t* units, DWORD count, DWORD* done) {
    return WriteConsoleW(handle_, units, count, done, nullptr);
  };
  const auto toFile = [this](const char* units, DWORD count, DWORD* done) {
    return WriteFile(handle_, units, count, done, nullptr);
  };
  return (console_ ? WriteAll(text, toConsole) : WriteAll(bytes, toFile)) || Fail();
}

bool THandleSink::Flush() {
  // Only a disk file holds written bytes back; pipes, devices and consoles have taken them.
  if (console_ || GetFileType(handle_) != FILE_TYPE_DISK) return true;
  return FlushFileBuffers(handle_) || Fail();
}

int DeliverReport(const TCommandResult& result, TOutputSink& out, TOutputSink& err) {
  const std::wstring text =
      result.ConsoleOut.empty() ? runtime::WideFromCp1252(result.Out) : result.ConsoleOut;
  if (!out.WriteText(result.Out, text) || !out.Flush()) {
    std::string message = "sandrivo-report: Die Ausgabe konnte nicht geschrieben werden";
    if (out.Error()) message += " (Windows-Fehler " + std::to_string(out.Error()) + ")";
    // The messages are not flushed: a failure there could be reported nowhere, and what the
    // system has taken it writes.
    err.Write(message + ".\r\n");
    return 1;
  }
  if (!result.Err.empty())
    err.WriteText(result.Err,
                  result.ConsoleErr.empty() ? runtime::WideFromCp1252(result.Err) : result.ConsoleErr);
  return result.ExitCode;
}

}  // namespace drive
