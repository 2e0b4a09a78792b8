// sandrivo-report: prints what the main window copies to the clipboard, or JSON, for scripts.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "app/drive/ReportCommand.h"
#include "app/drive/ReportOutput.h"

int main(int argc, char** argv) {
  // No system box for an empty diskette or card reader: a failed query is an answer like any other.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  app::THandleSink out(GetStdHandle(STD_OUTPUT_HANDLE)), err(GetStdHandle(STD_ERROR_HANDLE));
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return app::DeliverReport(app::RunReportCommand(args, app::SystemDriveQueries()), out, err);
  } catch (const std::exception& error) {
    err.Write(std::string("sandrivo-report: ") + error.what() + "\r\n");
    return 1;
  }
}
