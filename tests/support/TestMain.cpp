// Test entry point: the application object is initialised once, as the program does at start, and a
// box that no test answers fails the test that left it open.
#include <gtest/gtest.h>

#include "tests/support/UnexpectedBoxes.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  toolkit::Application().Initialize();
  toolkit::Application().SetTitle(L"Quelix Disk-Info");
  toolkit::Application().HelpFile = L"Sandrivo.hlp";
  const testing_support::TUnexpectedBoxGuard boxes;
  return RUN_ALL_TESTS();
}
