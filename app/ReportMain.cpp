// sandrivo-report: prints what the main window copies to the clipboard, for scripts.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/ReportCommand.h"

int main(int argc, char** argv) {
  // The bytes as they are: CR LF must not become CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const app::TCommandResult result = app::RunReportCommand(args, app::SystemDriveQueries());
    std::fwrite(result.Out.data(), 1, result.Out.size(), stdout);
    std::fwrite(result.Err.data(), 1, result.Err.size(), stderr);
    return std::fflush(stdout) == 0 ? result.ExitCode : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "sandrivo-report: %s\r\n", error.what());
    return 1;
  }
}
