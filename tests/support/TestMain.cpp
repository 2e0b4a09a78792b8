// Test entry point: the application object is initialised once, as the program does at start.
#include <gtest/gtest.h>

#include "toolkit/Application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  toolkit::Application().Initialize();
  toolkit::Application().SetTitle(L"Quelix Disk-Info");
  toolkit::Application().HelpFile = L"Sandrivo.hlp";
  return RUN_ALL_TESTS();
}
