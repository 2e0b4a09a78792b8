// High contrast: the system's answer, and a forced one for drawing while it lives.
#include <gtest/gtest.h>

#include "toolkit/HighContrast.h"

using toolkit::HighContrast;
using toolkit::SystemHighContrast;
using toolkit::TForcedHighContrast;

TEST(HighContrast, TheSystemAnswersAndAForcedAnswerLastsItsScope) {
  const toolkit::THighContrast system = SystemHighContrast();
  ASSERT_TRUE(system.Answered);
  {
    const TForcedHighContrast forced(!system.On);
    EXPECT_EQ(HighContrast().On, !system.On);
  }
  EXPECT_EQ(HighContrast().On, system.On) << "the system's answer again";
}
