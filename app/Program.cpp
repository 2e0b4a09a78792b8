#include "app/Program.h"

namespace app {

void SetUpApplication(tk::TApplication& application) {
  // No system box for an empty diskette or card reader: a failed query is an answer like any other.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  application.Initialize();
  application.SetTitle("Quelix Disk-Info");
  application.HelpFile = "Sandrivo.hlp";
}

}  // namespace app
