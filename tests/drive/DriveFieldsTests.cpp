// The list of a drive's fields: an entry added to a copy of it reaches every output.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "drive/DriveExport.h"
#include "drive/DriveInfo.h"
#include "drive/DriveJson.h"
#include "drive/DriveReport.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"

namespace {

std::string RowsText(const std::vector<drive::TDriveRow>& rows) {
  std::wstring text;
  for (const drive::TDriveRow& row : rows) text += row.Name + L"\t" + row.Value + L"\n";
  return runtime::Utf8FromWide(text);
}

// Where a field was added: the text before it, and its own.
struct TAdded {
  std::string After;
  std::string Piece;
};

// The text with each added piece taken out, found where it follows its text.
std::string Without(std::string text, const std::vector<TAdded>& added) {
  for (const TAdded& piece : added) {
    const size_t at = text.find(piece.After + piece.Piece);
    if (at == std::string::npos) {
      ADD_FAILURE() << "no \"" << piece.Piece << "\" after \"" << piece.After << "\" in\n" << text;
      continue;
    }
    text.erase(at + piece.After.size(), piece.Piece.size());
  }
  return text;
}

}  // namespace

TEST(DriveFields, AFieldAddedToACopyOfTheListReachesEveryOutput) {
  std::vector<drive::TDriveField> fields(drive::DriveFields().begin(), drive::DriveFields().end());
  const auto fileSystem = std::find_if(fields.begin(), fields.end(), [](const drive::TDriveField& field) {
    return field.Key && std::strcmp(field.Key, "fileSystem") == 0;
  });
  ASSERT_NE(fileSystem, fields.end());
  fields.insert(fileSystem + 1,
                {"compression", L"Kompression", drive::TPresence::Answered, drive::TFieldKind::Flag,
                 [](const drive::TDriveInfo& probe) -> drive::TFieldValue {
                   return (probe.FileSystemFlags & FILE_FILE_COMPRESSION) != 0;
                 }});

  testing_support::TFakeDriveQueries fake;
  fake.Drives['A'] = testing_support::NoMedium(DRIVE_REMOVABLE);
  fake.Drives['C'] = testing_support::FixedDrive(4096000, 1024000);
  const drive::TDriveInfo a('A', fake), c('C', fake);
  const std::vector<const drive::TDriveInfo*> both{&a, &c};
  const runtime::TNumberSeparators german{L".", L","};

  const struct {
    const char* output;
    std::string before, after;
    std::vector<TAdded> added;
  } outputs[] = {
      {"report",
       drive::CreateReport(c, german)->Text(),
       drive::CreateReport(c, german, fields)->Text(),
       {{"Filesystem=NTFS\r\n", "Kompression=ja\r\n"}}},
      {"rows",
       RowsText(drive::DriveRows(c, german)),
       RowsText(drive::DriveRows(c, german, fields)),
       {{"Filesystem\tNTFS\n", "Kompression\tja\n"}}},
      {"lines",
       runtime::Utf8FromWide(drive::DriveInfoLines(c, ';', german).WideText()),
       runtime::Utf8FromWide(drive::DriveInfoLines(c, ';', german, fields).WideText()),
       {{"Filesystem;NTFS\r\n", "Kompression;ja\r\n"}}},
      {"table",
       drive::DrivesTableLines(both, ';', german).Text(),
       drive::DrivesTableLines(both, ';', german, fields).Text(),
       {{"Filesystem", ";Kompression"}, {"DATEN;NTFS", ";ja"}}},
      {"JSON",
       drive::DrivesJson(both),
       drive::DrivesJson(both, fields),
       {{"\"fileSystem\": null,\n", "    \"compression\": null,\n"},
        {"\"fileSystem\": \"NTFS\",\n", "    \"compression\": true,\n"}}},
  };
  for (const auto& output : outputs)
    EXPECT_EQ(Without(output.after, output.added), output.before) << output.output;
}
