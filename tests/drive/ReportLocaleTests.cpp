// Rows 12 to 16 under the user's regional settings. The test command runs this under a German and
// an English user locale and says which one it set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "drive/DriveExport.h"
#include "drive/DriveInfo.h"
#include "drive/DriveReport.h"
#include "tests/support/FakeDriveQueries.h"

namespace {

// Drive C: 1,234,567,890 of 4,938,271,560 bytes used, a quarter.
testing_support::TFakeDriveQueries QuarterUsed() {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = testing_support::FixedDrive(4938271560ull, 3703703670ull);
  return fake;
}

std::unique_ptr<drive::TPairStringList> QuarterUsedReport() {
  return drive::TDriveInfo('C', QuarterUsed()).CreateReport();
}

// Puts the user's separators back when the test ends.
class TSeparatorsGuard {
 public:
  TSeparatorsGuard() : thousands_(Get(LOCALE_STHOUSAND)), decimal_(Get(LOCALE_SDECIMAL)) {}
  ~TSeparatorsGuard() {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands_.c_str());
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal_.c_str());
  }
  static std::string Get(LCTYPE type) {
    char buffer[16] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer));
    return buffer;
  }

 private:
  std::string thousands_, decimal_;
};

}  // namespace

TEST(ReportLocale, NumberRowsFollowTheUserLocale) {
  // The test command runs this under a German and an English LC_ALL, which Wine takes as the
  // user locale.
  const char* locale = std::getenv("LC_ALL");
  const std::string expected = locale ? std::string(locale).substr(0, 2) : "";
  if (expected != "de" && expected != "en")
    GTEST_SKIP() << "the test command sets a German or English locale";
  const auto report = QuarterUsedReport();
  const LANGID language = PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID()));
  if (expected == "de") {
    ASSERT_EQ(language, LANG_GERMAN);
    EXPECT_EQ(report->ValueAt(11), "3.703.703.670");
    EXPECT_EQ(report->ValueAt(12), "1.234.567.890");
    EXPECT_EQ(report->ValueAt(13), "4.938.271.560");
    EXPECT_EQ(report->ValueAt(14), "3.703.703.670");
    EXPECT_EQ(report->ValueAt(15), "25,0000");
  } else {
    ASSERT_EQ(language, LANG_ENGLISH);
    EXPECT_EQ(report->ValueAt(12), "1,234,567,890");
    EXPECT_EQ(report->ValueAt(15), "25.0000");
  }
}

TEST(ReportLocale, ChangedSeparatorsShowInTheNextReport) {
  TSeparatorsGuard guard;
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, "'"));
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, "_"));
  const auto first = QuarterUsedReport();
  EXPECT_EQ(first->ValueAt(12), "1'234'567'890");
  EXPECT_EQ(first->ValueAt(15), "25_0000");

  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, " "));
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ","));
  const auto second = QuarterUsedReport();
  EXPECT_EQ(second->ValueAt(12), "1 234 567 890");
  EXPECT_EQ(second->ValueAt(15), "25,0000");
}

TEST(ReportLocale, EmptyAndLongSeparatorsStayReadable) {
  TSeparatorsGuard guard;
  const std::string defaultDecimal =
      PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_GERMAN ? "," : ".";
  if (!SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, "")) GTEST_SKIP() << "no empty separator here";
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, "abc"));
  const auto report = QuarterUsedReport();
  EXPECT_EQ(report->ValueAt(12), "1abc234abc567abc890");
  EXPECT_EQ(report->ValueAt(15), "25" + defaultDecimal + "0000") << "an empty separator is the locale's own";
}

// A separator beyond code page 1252 (French settings group digits by U+202F): the window's rows and
// both clipboard texts in their wide form show it whole, the single-byte report has '?' for it.
TEST(ReportLocale, ASeparatorBeyondCodePage1252ReachesTheWideOutputsWhole) {
  TSeparatorsGuard guard;
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L"\u202F"));
  const testing_support::TFakeDriveQueries fake = QuarterUsed();
  const std::wstring used = L"1\u202F234\u202F567\u202F890";
  EXPECT_EQ(QuarterUsedReport()->ValueAt(12), "1?234?567?890");
  EXPECT_EQ(drive::DriveRows(drive::TDriveInfo('C', fake))[12].Value, used);
  EXPECT_NE(drive::DriveInfoLines('C', ';', fake).WideText().find(L"belegt (Bytes);" + used + L"\r\n"),
            std::wstring::npos);
  EXPECT_NE(drive::DrivesTableLines({'C'}, ';', fake).WideText().find(L";" + used + L";"),
            std::wstring::npos);
}
