#include "app/Program.h"

#include <imm.h>

#include "version.h"

namespace app {

void SetUpApplication(toolkit::TApplication& application) {
  // No system box for an empty diskette or card reader: a failed query is an answer like any other.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  // The program takes no typed text, so no input method: without it, the first activation of a
  // window no longer starts the input-method machinery, a good third of the cost of showing it.
  ImmDisableIME(static_cast<DWORD>(-1));
  application.Initialize();
  application.SetTitle(SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME));
  application.HelpFile = L"Sandrivo.hlp";
}

}  // namespace app
