// The conversions between the program's code page 1252 texts, the system's UTF-16 names and UTF-8,
// and the path helpers.
#include <gtest/gtest.h>

#include <string>

#include "runtime/Text.h"

TEST(Text, EveryByteOfCodePage1252ComesBackUnchanged) {
  std::string all;
  for (int code = 1; code < 256; ++code) all += static_cast<char>(code);
  const std::wstring wide = runtime::WideFromCp1252(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(runtime::Cp1252FromWide(wide), all);
  // Whatever the system's code page is: these are not the Latin-1 or code page 1251 characters.
  EXPECT_EQ(wide[0x80 - 1], L'\u20AC');
  EXPECT_EQ(wide[0xE4 - 1], L'\u00E4');
  EXPECT_EQ(wide[0x9C - 1], L'\u0153');
}

TEST(Text, CharactersOutsideCodePage1252BecomeQuestionMarksNotLookAlikes) {
  const struct {
    const wchar_t* wide;
    const char* bytes;
  } cases[] = {
      {L"\u0141\u00F3d\u017A",
       "?\xF3"
       "d?"},                          // Łódź: Ł and ź have look-alikes L and z
      {L"\u03A9\u03B1", "??"},         // Ω α: O and a
      {L"\u041F\u0440\u043E", "???"},  // Cyrillic
      {L"\u65E5\u672C", "??"},         // CJK
      {L"\uFF23", "?"},                // full-width C
      {L"Gr\u00FC\u00DFe \u20AC",
       "Gr\xFC\xDF"
       "e \x80"},
      {L"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(runtime::Cp1252FromWide(c.wide), c.bytes) << c.bytes;
  // A character beyond the BMP is two UTF-16 units; systems give one or two '?' for it.
  const std::string emoji = runtime::Cp1252FromWide(L"\U0001F600");
  EXPECT_TRUE(emoji == "?" || emoji == "??") << emoji;
}

TEST(Text, Utf8BothWays) {
  const struct {
    const wchar_t* wide;
    const char* utf8;
  } cases[] = {
      {L"", ""},
      {L"a\"\\\t", "a\"\\\t"},
      {L"\u00FC", "\xC3\xBC"},
      {L"\u65E5", "\xE6\x97\xA5"},
      {L"\U0001F600", "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runtime::Utf8FromWide(c.wide), c.utf8);
    EXPECT_EQ(runtime::WideFromUtf8(c.utf8), c.wide);
  }
}

TEST(Text, LongPathsTakeTheirLongForm) {
  const std::wstring deep(300, L'x');
  const std::wstring folder(244, L'y');  // with "C:\" one below a folder's limit of 248
  const struct {
    std::wstring path, expected;
  } cases[] = {
      {L"C:\\short\\file.ini", L"C:\\short\\file.ini"},
      {L"C:\\" + folder, L"C:\\" + folder},
      {L"C:\\" + folder + L"z", L"\\\\?\\C:\\" + folder + L"z"},
      {L"C:\\" + deep, L"\\\\?\\C:\\" + deep},
      {L"C:/" + deep + L"/f", L"\\\\?\\C:\\" + deep + L"\\f"},
      {L"\\\\server\\share\\" + deep, L"\\\\?\\UNC\\server\\share\\" + deep},
      {L"\\\\?\\C:\\" + deep, L"\\\\?\\C:\\" + deep},
      {L"relative\\" + deep, L"relative\\" + deep},
  };
  for (const auto& c : cases) EXPECT_EQ(runtime::LongPathForm(c.path), c.expected) << c.path.size();
}

TEST(Text, FileNamePartSplitsAtEverySeparator) {
  const struct {
    const wchar_t *path, *name;
  } cases[] = {{L"C:\\dir\\file.ini", L"file.ini"},
               {L"C:file.ini", L"file.ini"},
               {L"C:/dir/file.ini", L"file.ini"},
               {L"file.ini", L"file.ini"},
               {L"C:\\dir\\", L""},
               {L"C:\\\u65E5\\\u0416.ini", L"\u0416.ini"}};
  for (const auto& c : cases) {
    EXPECT_EQ(runtime::FileNamePart(c.path), c.name) << runtime::Utf8FromWide(c.path);
  }
}
