// sandrivo-report: prints what the main window copies to the clipboard, or JSON, for scripts.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "drive/ReportCommand.h"
#include "drive/ReportOutput.h"
#include "runtime/Text.h"

// The wide command line (-municode): the code page's conversion would turn a full-width "Ｃ" into
// "C". Code page 1252 without look-alikes leaves every character outside ASCII unable to pass for
// an option or a letter.
int wmain(int argc, wchar_t** argv) {
  // No system box for an empty diskette or card reader: a failed query is an answer like any other.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  drive::THandleSink out(GetStdHandle(STD_OUTPUT_HANDLE)), err(GetStdHandle(STD_ERROR_HANDLE));
  try {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(runtime::Cp1252FromWide(argv[i]));
    return drive::DeliverReport(drive::RunReportCommand(args, drive::SystemDriveQueries()), out, err);
  } catch (const std::exception& error) {
    err.Write(std::string("sandrivo-report: ") + error.what() + "\r\n");
    return 1;
  }
}
