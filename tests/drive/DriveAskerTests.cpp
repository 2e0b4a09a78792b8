// Drives asked one query at a time: requests on a drive that hangs join the query under way (or wait
// behind it, one of each kind) and hold no further thread; a request after the answer asks anew.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "drive/DriveAsker.h"
#include "runtime/Handles.h"
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
    ASSERT_FALSE(asker.AskProbe('N')) << "waits behind the type query";
    ASSERT_TRUE(asker.AskType('N')) << "joins it";
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

TEST(DriveAsker, AllTypesGoInTurnOnOneThreadAndADriveThatHangsHoldsOnlyItself) {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 875);
  fake.Drives['F'] = FixedDrive(1000, 250);
  fake.Drives['M'] = FixedDrive(1000, 500);
  std::atomic<int> answered = 0, mostThreads = 0;
  drive::TDriveAsker* asking = nullptr;
  drive::TDriveAsker asker(fake, [&](char) {
    ++answered;
    mostThreads = std::max(mostThreads.load(), asking->Threads());
  });
  asking = &asker;
  // The letters asked apart answer on threads of their own, in no set order.
  const auto waitForAllBesidesF = [&](unsigned types) {
    const auto haveAnswered = [&] {
      for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter != 'F' && asker.Counts(letter).Types < types) return false;
      }
      return true;
    };
    for (int wait = 0; wait < 1000 && !haveAnswered(); ++wait) Sleep(10);
  };
  asker.AskAllTypes(10000);
  EXPECT_EQ(answered, 26);
  EXPECT_EQ(mostThreads, 1) << "one thread for all letters";
  EXPECT_EQ(asker.Type('M'), DRIVE_FIXED);
  EXPECT_EQ(asker.Type('Q'), DRIVE_NO_ROOT_DIR);

  // F hangs: the round waits a moment, then the letters after F are asked apart.
  fake.Drives['F'].TypeBlocks = true;
  asker.AskAllTypes(50);
  ASSERT_TRUE(fake.WaitUntilBlocked(10000));
  waitForAllBesidesF(2);
  EXPECT_EQ(asker.Counts('M').Types, 2u);
  EXPECT_EQ(asker.Counts('Z').Types, 2u);
  // The late round: all apart at once however long its caller would wait; F's request joins its query.
  std::thread lateCaller([&] { asker.AskAllTypes(60000); });
  waitForAllBesidesF(3);
  EXPECT_EQ(asker.Counts('M').Types, 3u);
  lateCaller.join();
  asker.AskProbe('F');  // waits for the round's answer, then goes to F's own thread
  // The letters asked apart have answered; their threads end just after.
  for (int wait = 0; wait < 1000 && asker.Threads() > 1; ++wait) Sleep(10);
  EXPECT_EQ(asker.Threads(), 1) << "the round, held by F";

  fake.Release('F');
  ASSERT_TRUE(asker.WaitIdle(10000));
  EXPECT_EQ(asker.Counts('F').Types, 3u) << "one query for both type requests, and the probe";
  EXPECT_EQ(asker.Counts('F').Probes, 1u);
  EXPECT_EQ(asker.Counts('C').Types, 3u);
}

TEST(DriveAsker, ACallerGoesOnWhenItsRoundEndsThoughAnotherFollows) {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 875);
  fake.Drives['F'] = FixedDrive(1000, 250);
  fake.Drives['F'].TypeBlocks = true;
  const runtime::TKernelHandle firstDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      secondRound(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> answersOfF = 0;
  drive::TDriveAsker asker(fake, [&](char letter) {
    if (letter == 'F' && ++answersOfF == 2) WaitForSingleObject(secondRound.Get(), 10000);
  });
  std::thread first([&] {
    asker.AskAllTypes(INFINITE);
    SetEvent(firstDone.Get());
  });
  EXPECT_TRUE(fake.WaitUntilBlocked(10000)) << "the first round, held at F";
  asker.AskAllTypes(0);  // wants a round after it, and asks the letters apart at once
  // Their threads end once they have answered; F's request joined the round's query.
  for (int wait = 0; wait < 1000 && asker.Threads() > 1; ++wait) Sleep(10);
  fake.Release('F');
  EXPECT_EQ(WaitForSingleObject(firstDone.Get(), 10000), WAIT_OBJECT_0)
      << "while the second round holds at F";
  SetEvent(secondRound.Get());
  first.join();
  EXPECT_TRUE(asker.WaitIdle(10000));
  EXPECT_EQ(asker.Counts('F').Types, 2u) << "two rounds";
}
