// Drives asked one query at a time: requests on a drive that hangs join the query under way (or wait
// behind it, one of each kind) and hold no further thread; a request after the answer asks anew.
#include <gtest/gtest.h>

#include <atomic>

#include "drive/DriveAsker.h"
#include "tests/support/FakeDriveQueries.h"

using testing_support::FixedDrive;

TEST(DriveAsker, RequestsOnAHangingDriveJoinItsQueryAndHoldOneThread) {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 875);
  fake.Drives['N'] = FixedDrive(1000, 250);
  fake.Drives['N'].TypeBlocks = true;
  std::atomic<int> answered = 0;
  drive::TDriveAsker asker(fake, [&](char) { ++answered; });
  asker.AskType('N');
  ASSERT_TRUE(fake.WaitUntilBlocked(10000));
  for (int i = 0; i < 300; ++i) {
    asker.AskProbe('N');  // waits behind the type query
    asker.AskType('N');   // joins it
  }
  asker.AskProbe('C');
  ASSERT_TRUE(asker.WaitForProbe('C', 0, 10000)) << "another drive answers meanwhile";
  // C's thread ends a moment after its answer.
  for (int wait = 0; wait < 1000 && asker.Threads() > 1; ++wait) Sleep(10);
  EXPECT_EQ(asker.Threads(), 1) << "N's alone";

  fake.Release('N');
  ASSERT_TRUE(asker.WaitIdle(10000));
  EXPECT_EQ(asker.Threads(), 0);
  EXPECT_EQ(asker.Counts('N').Types, 2u) << "the type query's and the one probe's";
  EXPECT_EQ(asker.Counts('N').Probes, 1u);
  EXPECT_EQ(asker.Probe('N').Probe->UsedPercent(), 75.0);
  EXPECT_EQ(answered, 3) << "C's probe, N's type and probe";
  asker.AskProbe('N');
  EXPECT_TRUE(asker.WaitForProbe('N', 1, 10000)) << "a request after the answer asks anew";
}
