// The console report: the clipboard exports of the main window as a command for scripts.
#pragma once

#include <string>
#include <vector>

#include "app/drive/DriveQueries.h"

namespace app {

struct TCommandResult {
  std::string Out;  // bytes for standard output
  std::string Err;  // bytes for standard error, code page 1252
  int ExitCode = 0;
  // Out as a console shows it, with every name whole; empty: Out read as code page 1252.
  std::wstring ConsoleOut{};
};

// No argument: the all-drives table of the letters the system has; a drive letter (C, c, C: or
// C:\): that drive's lines, asking that letter only; --json: the same drives as one JSON document;
// --help, -h or /?: the usage. A bad argument gives a message and exit code 2 and asks no drive.
// Arguments are code page 1252; only ASCII options and letters are taken.
TCommandResult RunReportCommand(const std::vector<std::string>& args, const TDriveQueries& queries);

}  // namespace app
