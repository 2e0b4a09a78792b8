// The main window over the recorded answers of real devices (tests/support/FakeStorageQueries.h), to
// look at their properties as a user opens them (scripts/properties-shots.sh).
#include <windows.h>

#include "app/MainForm.h"
#include "app/Program.h"
#include "tests/support/FakeStorageQueries.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  app::SetUpApplication(toolkit::Application());
  testing_support::TFakeDriveQueries drives;
  testing_support::TFakeStorageQueries storage;
  testing_support::AddRecordedDrives(drives, storage);
  app::TMainForm form(drives, storage);
  form.Create();
  toolkit::Application().Run(form);
  return 0;
}
