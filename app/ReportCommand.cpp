#include "app/ReportCommand.h"

#include <algorithm>

#include "app/DriveExport.h"
#include "app/DriveList.h"

namespace app {

namespace {

const char kUsage[] =
    "Aufruf: sandrivo-report [Laufwerk]\r\n"
    "\r\n"
    "Ohne Laufwerk: die Tabelle aller Laufwerke, eine Kopfzeile und eine Zeile je Laufwerk.\r\n"
    "Mit Laufwerk (C, C: oder C:\\): die Angaben dieses Laufwerks, eine Zeile je Angabe.\r\n"
    "Felder sind durch \";\" getrennt, jede Zeile endet mit CR LF.\r\n";

TCommandResult Failure(const std::string& message) {
  return {"", "sandrivo-report: " + message + "\r\n", 2};
}

// The letter that C, c, C: or C:\ names, or 0.
char ParseDriveLetter(const std::string& arg) {
  if (arg.empty() || arg.size() > 3) return 0;
  const char c = arg[0];
  const char letter = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  if (letter < 'A' || letter > 'Z') return 0;
  if (arg.size() >= 2 && arg[1] != ':') return 0;
  if (arg.size() == 3 && arg[2] != '\\') return 0;
  return letter;
}

}  // namespace

TCommandResult RunReportCommand(const std::vector<std::string>& args, const TDriveQueries& queries) {
  if (args.size() > 1) return Failure("zu viele Argumente (höchstens ein Laufwerk)");
  const std::vector<TListedDrive> drives = ListedDrives(queries);
  if (args.empty()) {
    std::vector<char> letters;
    for (const TListedDrive& drive : drives) letters.push_back(drive.Letter);
    return {DrivesTableLines(letters, kFieldSeparator, queries).Text(), "", 0};
  }
  const std::string& arg = args[0];
  if (arg == "--help" || arg == "-h" || arg == "/?") return {kUsage, "", 0};
  const char letter = ParseDriveLetter(arg);
  if (!letter) return Failure("\"" + arg + "\" ist kein Laufwerksbuchstabe");
  const bool listed = std::any_of(drives.begin(), drives.end(),
                                  [letter](const TListedDrive& drive) { return drive.Letter == letter; });
  if (!listed) return Failure(std::string("Laufwerk ") + letter + ": ist nicht vorhanden");
  return {DriveInfoLines(letter, kFieldSeparator, queries).Text(), "", 0};
}

}  // namespace app
