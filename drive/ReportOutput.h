// Where the console report's bytes go: every write and the flush are checked, so that lost output
// never passes for success.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "drive/ReportCommand.h"

namespace drive {

class TOutputSink {
 public:
  virtual ~TOutputSink() = default;
  // False when not every byte could be written.
  virtual bool Write(std::string_view bytes) = 0;
  // The bytes, or where the sink shows text, the same text whole.
  virtual bool WriteText(std::string_view bytes, std::wstring_view) { return Write(bytes); }
  virtual bool Flush() = 0;
  // The system's error code of the last failure, 0 if it has none.
  virtual DWORD Error() const { return 0; }
};

// A standard handle: a console gets the text (WriteConsoleW), so that it reads right in any console
// code page, the bytes read as code page 1252 where no text comes with them; anything else gets the
// bytes as they are.
class THandleSink final : public TOutputSink {
 public:
  explicit THandleSink(HANDLE handle);
  bool Write(std::string_view bytes) override;
  bool WriteText(std::string_view bytes, std::wstring_view text) override;
  bool Flush() override;
  DWORD Error() const override { return error_; }

 private:
  bool Fail();
  HANDLE handle_;
  bool console_;
  DWORD error_ = 0;
};

// Writes the result's output (ConsoleOut to a console) and messages; a failed write or flush of the output
// ends with a German message on err and status 1.
int DeliverReport(const TCommandResult& result, TOutputSink& out, TOutputSink& err);

}  // namespace drive
