// The version-resource reader, its memory blocks and the configuration-file rule, on real files in
// temporary folders of the Wine prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "about/IniHelp.h"
#include "about/Stamps.h"
#include "about/XMemory.h"
#include "about/XVersion.h"
#include "runtime/Errors.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/TempFiles.h"
#include "toolkit/Application.h"
#include "version.h"

namespace fs = std::filesystem;
using about::GetFileVersionText;
using about::GetFileVersionValue;
using testing_support::IsFolder;
using testing_support::TAppDataGuard;
using testing_support::TTempFolder;
using testing_support::WriteFile;

namespace {

// The folder of the built program; the tests lie in its subfolder "tests".
std::wstring BuildFolder() {
  std::wstring path = toolkit::Application().ExeName();
  path = path.substr(0, path.find_last_of(L'\\'));
  return path.substr(0, path.find_last_of(L'\\'));
}
std::wstring ProgramFile() {
  return BuildFolder() + L"\\Sandrivo.exe";
}
std::wstring ProbeModule() {
  return BuildFolder() + L"\\tests\\version_probe.dll";
}

}  // namespace

TEST(XMemory, BlocksCarryTheirSizeInFront) {
  void* block = reinterpret_cast<void*>(1);
  about::AllocBlock(block, 0);
  EXPECT_EQ(block, nullptr);
  about::FreeBlock(block);
  EXPECT_EQ(block, nullptr);

  about::AllocBlock(block, 1000);
  ASSERT_NE(block, nullptr);
  std::int32_t stored = 0;
  std::memcpy(&stored, static_cast<char*>(block) - 4, 4);
  EXPECT_EQ(stored, 1000);
  std::memset(block, 0xAB, 1000);  // the whole payload is usable
  about::FreeBlock(block);
  EXPECT_EQ(block, nullptr);

  void* negative = nullptr;
  EXPECT_THROW(about::AllocBlock(negative, -1), std::bad_alloc);
  EXPECT_EQ(negative, nullptr);
}

TEST(XVersion, VersionTextJoinsTheFourHalves) {
  EXPECT_EQ(about::VersionToText(0x00010001, 0x00010000), L"1.1.1.0");
  EXPECT_EQ(about::VersionToText(0x00020003, 0x00040005), L"2.3.4.5");
  EXPECT_EQ(about::VersionToText(0xFFFFFFFF, 0xFFFFFFFF), L"65535.65535.65535.65535");
  EXPECT_EQ(about::VersionToText(0, 0), L"0.0.0.0");
  EXPECT_EQ(about::VersionToText(0xFFFF0000, 0x0000FFFF), L"65535.0.0.65535");
}

TEST(XVersion, TheProgramsOwnResource) {
  VS_FIXEDFILEINFO info{};
  ASSERT_TRUE(about::GetFixedFileInfo(ProgramFile(), info)) << ProgramFile();
  EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
  const DWORD ms = MAKELONG(SANDRIVO_VERSION_MINOR, SANDRIVO_VERSION_MAJOR);
  const DWORD ls = MAKELONG(SANDRIVO_VERSION_BUILD, SANDRIVO_VERSION_RELEASE);
  EXPECT_EQ(info.dwFileVersionMS, ms);
  EXPECT_EQ(info.dwFileVersionLS, ls);
  EXPECT_EQ(info.dwProductVersionMS, ms);
  EXPECT_EQ(info.dwProductVersionLS, ls);
  EXPECT_EQ(info.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(info.dwFileFlags, 0u);
  EXPECT_EQ(info.dwFileOS, 0x4u);
  EXPECT_EQ(info.dwFileType, 0x1u);
  EXPECT_EQ(info.dwFileSubtype, 0u);

  EXPECT_EQ(GetFileVersionText(ProgramFile(), 1), SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT));
  EXPECT_EQ(GetFileVersionText(ProgramFile(), 2), SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT));
  EXPECT_EQ(GetFileVersionText(ProgramFile(), 0), L"");
  EXPECT_EQ(GetFileVersionText(ProgramFile(), 3), L"");

  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } strings[] = {{L"FileDescription", L"Programmdatei"},
                 {L"FileVersion", SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT)},
                 {L"ProductVersion", SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT)},
                 {L"InternalName", SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME)},
                 {L"ProductName", SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME)},
                 {L"OriginalFilename", SANDRIVO_WIDE(SANDRIVO_FILE_NAME)},
                 {L"Comments", L"Anzeige der Laufwerksinformationen"},
                 {L"LegalTrademarks", L""},
                 {L"CompanyName", L"Quelix Software"},
                 {L"LegalCopyright", L"Copyright © 2026 Quelix Software"}};
  for (const auto& s : strings) {
    EXPECT_EQ(GetFileVersionValue(ProgramFile(), L"", s.name), s.value) << s.name;
    EXPECT_EQ(GetFileVersionValue(ProgramFile(), L"040704E4", s.name), s.value) << s.name;
  }
  EXPECT_EQ(GetFileVersionValue(ProgramFile(), L"", L"Nonexistent"), L"");
  EXPECT_EQ(GetFileVersionValue(ProgramFile(), L"040904B0", L"Comments"), L"")
      << "a block the resource lacks";

  // Beside them, the commit the program is built from, as the build wrote it down.
  std::ifstream file(fs::path(BuildFolder()) / "generated" / "commit");
  std::string commit;
  ASSERT_TRUE(std::getline(file, commit));
  ASSERT_FALSE(commit.empty());
  EXPECT_EQ(GetFileVersionValue(ProgramFile(), L"", L"Commit"), std::wstring(commit.begin(), commit.end()));
}

TEST(XVersion, TheRunningProgramReadsItsOwnFile) {
  // The tests carry the program's resources.
  EXPECT_EQ(about::GetProgramProductVersion(), SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT));
  EXPECT_EQ(about::GetProgramVersionText(1), SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT));
  EXPECT_EQ(about::GetProgramVersionText(0), L"");
  EXPECT_EQ(about::GetProgramVersionValue(L"", L"Comments"), L"Anzeige der Laufwerksinformationen");
  EXPECT_EQ(about::GetProgramVersionValue(L"", L"LegalCopyright"), L"Copyright © 2026 Quelix Software");
}

TEST(XVersion, AModuleWithAResourceOfItsOwn) {
  const std::wstring probe = ProbeModule();
  EXPECT_EQ(GetFileVersionText(probe, 1), L"65535.65535.65535.65535");
  EXPECT_EQ(GetFileVersionText(probe, 2), L"0.0.0.0");
  // The program's two versions are equal; the probe's differ, so a mix-up of the two shows here.
  EXPECT_EQ(about::GetFileProductVersion(probe), L"0.0.0.0");
  EXPECT_EQ(GetFileVersionValue(probe, L"040904B0", L"CompanyName"), L"Probe Works");
  EXPECT_EQ(GetFileVersionValue(probe, L"040904b0", L"FileDescription"), L"Version probe");
  EXPECT_EQ(GetFileVersionValue(probe, L"040904B0", L"Comments"), L"") << "an empty value";
  EXPECT_EQ(GetFileVersionValue(probe, L"", L"CompanyName"), L"") << "the default block is German";
  EXPECT_EQ(GetFileVersionValue(probe, L"0409", L"CompanyName"), L"");
}

TEST(XVersion, FilesWithoutAResourceGiveNothing) {
  TTempFolder temp;
  WriteFile(temp / "plain.txt", "nur Text\r\n");
  for (const std::wstring& file : {temp / "plain.txt", temp / "missing.exe", std::wstring()}) {
    VS_FIXEDFILEINFO info{};
    EXPECT_FALSE(about::GetFixedFileInfo(file, info)) << file;
    EXPECT_EQ(GetFileVersionText(file, 1), L"") << file;
    EXPECT_EQ(GetFileVersionValue(file, L"", L"Comments"), L"") << file;
  }
}

TEST(XVersion, LongFileNamesArePassedWhole) {
  TTempFolder temp;
  // A copy of the program at a path of 258 characters: cut at 254, the name would be another file.
  std::wstring folder = temp.Path();
  const std::wstring name = L"\\Sandrivo.exe";
  while (folder.size() + name.size() < 258) {
    const size_t room = 258 - folder.size() - name.size();
    folder += L'\\';
    folder.append(std::max<size_t>(1, std::min<size_t>(40, room - 1)), L'x');
  }
  fs::create_directories(folder);
  const std::wstring copy = folder + name;
  ASSERT_GT(copy.size(), 254u);
  ASSERT_LT(copy.size(), 260u);
  ASSERT_TRUE(CopyFileW(ProgramFile().c_str(), copy.c_str(), FALSE)) << copy.size() << " " << GetLastError();
  EXPECT_EQ(GetFileVersionText(copy, 1), SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT)) << copy.size();
  EXPECT_EQ(GetFileVersionValue(copy, L"", L"ProductName"), SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME));
}

class IniHelpTest : public ::testing::Test {
 protected:
  IniHelpTest() : appData(nullptr) { about::IniFileNameCache.clear(); }
  ~IniHelpTest() override { about::IniFileNameCache.clear(); }
  TTempFolder temp;
  TAppDataGuard appData;
};

TEST_F(IniHelpTest, FileBesideTheProgramWinsAndNothingIsCreated) {
  WriteFile(temp / "prog.ini", "");
  fs::create_directories(temp / "appdata");
  appData.Set((temp / "appdata").c_str());
  EXPECT_EQ(about::LocateIniFile(temp / "prog.exe"), temp / "prog.ini");
  EXPECT_TRUE(fs::is_empty(temp / "appdata"));
}

TEST_F(IniHelpTest, WithoutAppDataTheAnswerIsBesideTheProgram) {
  EXPECT_EQ(about::LocateIniFile(temp / "prog.exe"), temp / "prog.ini");
  appData.Set("");
  EXPECT_EQ(about::GetAppDataDir(), L"");
  EXPECT_EQ(about::LocateIniFile(temp / "prog.exe"), temp / "prog.ini");
  EXPECT_FALSE(fs::exists(temp / "prog.ini")) << "the file itself is never made";
}

TEST_F(IniHelpTest, AppDataGetsTheVendorAndProgramFolders) {
  fs::create_directories(temp / "appdata");
  appData.Set((temp / "appdata").c_str());
  EXPECT_EQ(about::GetAppDataDir(), temp / "appdata");
  EXPECT_EQ(about::LocateIniFile(temp / "prog.exe"), temp / "appdata\\Quelix\\prog\\prog.ini");
  EXPECT_TRUE(IsFolder(temp / "appdata\\Quelix\\prog"));
  EXPECT_FALSE(fs::exists(temp / "appdata\\Quelix\\prog\\prog.ini"));

  appData.Set((temp / "appdata\\").c_str());
  EXPECT_EQ(about::LocateIniFile(temp / "prog.exe"), temp / "appdata\\Quelix\\prog\\prog.ini")
      << "no doubled \\";

  // Only the last extension is replaced.
  EXPECT_EQ(about::LocateIniFile(temp / "a.b.exe"), temp / "appdata\\Quelix\\a.b\\a.b.ini");
  WriteFile(temp / "a.b.ini", "");
  EXPECT_EQ(about::LocateIniFile(temp / "a.b.exe"), temp / "a.b.ini");

  // A folder of the file's name is no file.
  fs::create_directories(temp / "prog.ini");
  EXPECT_EQ(about::LocateIniFile(temp / "prog.exe"), temp / "appdata\\Quelix\\prog\\prog.ini");
}

TEST_F(IniHelpTest, TheFirstAnswerIsKept) {
  fs::create_directories(temp / "first");
  fs::create_directories(temp / "second");
  appData.Set((temp / "first").c_str());
  const std::wstring program = toolkit::Application().ExeName();
  const std::wstring name =
      program.substr(program.find_last_of(L'\\') + 1, program.size() - program.find_last_of(L'\\') - 5);
  const std::wstring answer = about::GetIniFileName();
  EXPECT_EQ(answer, temp / (L"first\\Quelix\\" + name + L"\\" + name + L".ini"));
  EXPECT_EQ(about::IniFileNameCache, answer);
  appData.Set((temp / "second").c_str());
  EXPECT_EQ(about::GetIniFileName(), answer);
  EXPECT_TRUE(fs::is_empty(temp / "second")) << "a cached answer touches no disk";
}

TEST_F(IniHelpTest, FoldersThatCannotBeMadeRaiseTheInOutError) {
  appData.Set((temp / "missing").c_str());
  try {
    about::GetIniFileName();
    FAIL() << "no error";
  } catch (const runtime::EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 3u);
    EXPECT_EQ(error.Message(), L"Ungültiger Dateiname");
  }
  EXPECT_EQ(about::IniFileNameCache, L"") << "a later call tries again";

  fs::create_directories(temp / "appdata");
  WriteFile(temp / "appdata\\Quelix", "a file in the way");
  appData.Set((temp / "appdata").c_str());
  try {
    about::LocateIniFile(temp / "prog.exe");
    FAIL() << "no error";
  } catch (const runtime::EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 183u);
    EXPECT_EQ(error.Message(), L"E/A-Fehler 183");
  }

  fs::remove(temp / "appdata\\Quelix");
  EXPECT_NE(about::GetIniFileName(), L"");
  EXPECT_TRUE(IsFolder(temp / "appdata\\Quelix"));
}

// "APPDATA" and the program in folders whose names code page 1252 cannot hold: the folders are made
// where they are named, never in a look-alike ("Lodz" for "Łódź").
TEST_F(IniHelpTest, FoldersOfAnyScriptAreUsedAsNamed) {
  const std::wstring user = temp / L"\u0141\u00F3d\u017A \u5C71\u7530";
  testing_support::MakeFolders(user);
  if (!IsFolder(user)) GTEST_SKIP() << "Wine's Unix locale holds no names beyond ASCII here";
  appData.Set(user.c_str());
  EXPECT_EQ(about::GetAppDataDir(), user);
  const std::wstring program = temp / L"\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u6E2C.exe";
  EXPECT_EQ(about::LocateIniFile(program), user + L"\\Quelix\\\u6E2C\\\u6E2C.ini");
  EXPECT_TRUE(IsFolder(user + L"\\Quelix\\\u6E2C"));
  EXPECT_FALSE(fs::exists(temp / L"Lodz \u5C71\u7530"));
  EXPECT_FALSE(fs::exists(temp / "L\xF3"
                                 "dz ??"));

  // A file beside the program wins there too.
  testing_support::MakeFolders(temp / L"\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B");
  WriteFile(temp / L"\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u6E2C.ini", "");
  EXPECT_EQ(about::LocateIniFile(program),
            temp / L"\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u6E2C.ini");
}

// Beyond 260 characters: the file beside the program is found, the folders below "APPDATA" are
// made, and the time stamp is read.
TEST_F(IniHelpTest, PathsLongerThanTheOldLimit) {
  std::wstring deep = temp.Path();
  while (deep.size() < 300) deep += L"\\" + std::wstring(60, L'd');
  testing_support::MakeFolders(runtime::LongPathForm(deep));
  const std::wstring program = deep + L"\\prog.exe";
  EXPECT_EQ(about::LocateIniFile(program), deep + L"\\prog.ini") << "no APPDATA";
  appData.Set(deep.c_str());
  EXPECT_EQ(about::LocateIniFile(program), deep + L"\\Quelix\\prog\\prog.ini");
  EXPECT_TRUE(IsFolder(runtime::LongPathForm(deep + L"\\Quelix\\prog")));

  const std::wstring ini = deep + L"\\prog.ini";
  runtime::TKernelHandle file(runtime::NullIfInvalid(
      CreateFileW(runtime::LongPathForm(ini).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
  ASSERT_TRUE(file) << GetLastError();
  file.Reset();
  EXPECT_EQ(about::LocateIniFile(program), ini) << "the file beside the program wins";
  EXPECT_TRUE(about::FileDosDateTime(ini).has_value());
  EXPECT_FALSE(about::FileDosDateTime(deep + L"\\missing.ini").has_value());
}

TEST(InOutError, MessagesOfTheRuntimeTable) {
  EXPECT_STREQ(runtime::EInOutError(3).what(), "Ungültiger Dateiname");
  EXPECT_STREQ(runtime::EInOutError(5).what(), "Dateizugriff verweigert");
  EXPECT_STREQ(runtime::EInOutError(32).what(), "E/A-Fehler 32");
}
