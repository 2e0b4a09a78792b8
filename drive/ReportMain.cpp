// sandrivo-report: prints what the main window copies to the clipboard, or JSON, for scripts.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "drive/ReportCommand.h"
#include "drive/ReportOutput.h"

// The wide command line (-municode): the code page's conversion would turn a full-width "Ｃ" into
// "C". Only ASCII passes for an option or a letter; a message quotes any other argument whole.
int wmain(int argc, wchar_t** argv) {
  // No system box for an empty diskette or card reader: a failed query is an answer like any other.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  drive::THandleSink out(GetStdHandle(STD_OUTPUT_HANDLE)), err(GetStdHandle(STD_ERROR_HANDLE));
  try {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    return drive::DeliverReport(
        drive::RunReportCommand(std::span<const std::wstring>(args), drive::SystemDriveQueries(),
                                {SANDRIVO_REPORT_PRODUCT, SANDRIVO_REPORT_VERSION, SANDRIVO_REPORT_COMMIT}),
        out, err);
  } catch (const std::exception& error) {
    err.Write(std::string("sandrivo-report: ") + error.what() + "\r\n");
    return 1;
  }
}
