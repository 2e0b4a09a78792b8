// The console report: the clipboard exports of the main window as a command for scripts.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "drive/DriveQueries.h"
#include "drive/StorageQueries.h"

namespace drive {

struct TCommandResult {
  std::string Out;  // bytes for standard output
  std::string Err;  // bytes for standard error, code page 1252
  int ExitCode = 0;
  // Out as a console shows it, with every name whole; empty: Out read as code page 1252.
  std::wstring ConsoleOut{};
  // Err likewise, with the arguments it quotes whole.
  std::wstring ConsoleErr{};
};

// What --version prints: the product, the version and the commit the program was built from.
struct TReportIdentity {
  std::string Product;
  std::string Version;
  std::string Commit;
};

// No argument: the all-drives table of the drives that the main window lists (the listed types of
// A to Z); a drive letter (C, c, C: or C:\): that drive's lines, asking that letter only; --json:
// the same drives as one JSON document; --details: each drive's details besides (the storage
// queries' answers, asked within the same time limit); --timeout SECONDS: how long each drive is waited for
// (15 s without it), a drive that has not answered by then is reported as not answering; --help, -h or
// /?: the usage; --version: the identity. A bad argument gives a message and exit code 2 and asks no drive.
// Only ASCII options and letters are taken; a message quotes a bad argument whole (controls
// escaped), so the console shows it as given.
TCommandResult RunReportCommand(std::span<const std::wstring> args, const TDriveQueries& queries,
                                const TReportIdentity& identity = {},
                                const TStorageQueries& storage = SystemStorageQueries());
// The same with arguments in code page 1252.
TCommandResult RunReportCommand(const std::vector<std::string>& args, const TDriveQueries& queries,
                                const TReportIdentity& identity = {},
                                const TStorageQueries& storage = SystemStorageQueries());

}  // namespace drive
