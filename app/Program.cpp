#include "app/Program.h"

namespace app {

void SetUpApplication(tk::TApplication& application) {
  application.Initialize();
  application.SetTitle("Quelix Disk-Info");
  application.HelpFile = "Sandrivo.hlp";
}

}  // namespace app
