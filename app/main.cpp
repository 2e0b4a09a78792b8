// Program start: the application object, its title and help file, the main window, the message loop.
#include <windows.h>

#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "app/Program.h"
#include "toolkit/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  toolkit::TApplication& application = toolkit::Application();
  try {
    app::SetUpApplication(application);
    app::TRichHelpViewer helpViewer;
    application.HelpViewer = &helpViewer;
    app::TMainForm MainForm;
    MainForm.Create();
    application.Run(MainForm);
    application.HelpViewer = nullptr;
  } catch (const std::exception& error) {
    application.ShowException(error);
    return 1;
  } catch (...) {
    application.ShowException(L"Unbekannter Fehler");
    return 1;
  }
  return 0;
}
