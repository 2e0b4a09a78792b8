#include "app/drive/ReportCommand.h"

#include <memory>

#include "app/drive/DriveExport.h"
#include "app/drive/DriveInfo.h"
#include "app/drive/DriveJson.h"
#include "app/drive/DriveList.h"
#include "runtime/Text.h"

namespace app {

namespace {

const char kUsage[] =
    "Aufruf: sandrivo-report [--json] [Laufwerk]\r\n"
    "\r\n"
    "Ohne Laufwerk: die Tabelle aller Laufwerke, eine Kopfzeile und eine Zeile je Laufwerk.\r\n"
    "Mit Laufwerk (C, C: oder C:\\): die Angaben dieses Laufwerks, eine Zeile je Angabe.\r\n"
    "Felder sind durch \";\" getrennt, jede Zeile endet mit CR LF.\r\n"
    "Umgeleitet ist der Text in Codepage 1252, \"?\" für andere Zeichen; Namen in jeder Schrift: --json.\r\n"
    "\r\n"
    "--json    ein JSON-Dokument (UTF-8): ein Feld mit einem Objekt je Laufwerk\r\n"
    "--help    diese Hilfe (auch -h oder /?)\r\n"
    "\r\n"
    "Rückgabewert: 0 Erfolg, 1 Fehler beim Schreiben oder Abfragen, 2 falscher Aufruf.\r\n";

// Arguments longer than this are shortened in messages.
const size_t kShownArgument = 40;

TCommandResult Failure(const std::string& message) {
  return {"", "sandrivo-report: " + message + "\r\n", 2};
}

// The argument in quotes, shortened, with control characters as \xNN: a terminal must not take
// an argument's bytes for commands. Code page 1252 keeps five C1 controls (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) as bytes of their own.
std::string Quoted(const std::string& arg) {
  const std::string c1Controls = "\x81\x8D\x8F\x90\x9D";
  std::string shown = "\"";
  for (const char c : arg.substr(0, kShownArgument)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c1Controls.find(c) != std::string::npos) {
      const char digits[] = "0123456789ABCDEF";
      shown += "\\x";
      shown += digits[byte >> 4];
      shown += digits[byte & 15];
    } else {
      shown += c;
    }
  }
  return shown + (arg.size() > kShownArgument ? "...\"" : "\"");
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

bool IsOption(const std::string& arg) {
  return !arg.empty() && (arg[0] == '-' || arg[0] == '/');
}

// The listed drives among the letters that the system has: only those letters are asked.
std::vector<char> ReportedLetters(const TDriveQueries& queries) {
  const DWORD present = queries.LogicalDrives();
  std::vector<char> letters;
  for (int i = 0; i < 26; ++i) {
    if (!(present & (1u << i))) continue;
    const char letter = static_cast<char>('A' + i);
    if (IsListedDriveType(queries.DriveType(std::string(1, letter) + ":\\"))) letters.push_back(letter);
  }
  return letters;
}

TCommandResult JsonReport(const std::vector<char>& letters, const TDriveQueries& queries) {
  std::vector<std::unique_ptr<TDriveInfo>> probes;
  std::vector<const TDriveInfo*> order;
  for (char letter : letters) {
    probes.push_back(std::make_unique<TDriveInfo>(letter, queries));
    order.push_back(probes.back().get());
  }
  std::string json = DrivesJson(order);
  std::wstring text = tk::WideFromUtf8(json);
  return {std::move(json), "", 0, std::move(text)};
}

TCommandResult TextReport(const TExportLines& lines) {
  return {lines.Text(), "", 0, lines.WideText()};
}

}  // namespace

TCommandResult RunReportCommand(const std::vector<std::string>& args, const TDriveQueries& queries) {
  // Every argument is read before any drive is asked.
  bool json = false;
  std::string drive;
  int drives = 0;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h" || arg == "/?") return {kUsage, "", 0};
    if (arg == "--json") {
      json = true;
    } else if (IsOption(arg)) {
      return Failure("unbekannte Option " + Quoted(arg) + " (Hilfe: sandrivo-report --help)");
    } else {
      drive = arg;
      ++drives;
    }
  }
  if (drives > 1) return Failure("zu viele Argumente (höchstens ein Laufwerk)");
  if (drives == 0) {
    const std::vector<char> letters = ReportedLetters(queries);
    if (json) return JsonReport(letters, queries);
    return TextReport(DrivesTableLines(letters, kFieldSeparator, queries));
  }
  const char letter = ParseDriveLetter(drive);
  if (!letter) return Failure(Quoted(drive) + " ist kein Laufwerksbuchstabe");
  if (!IsListedDriveType(queries.DriveType(std::string(1, letter) + ":\\")))
    return Failure(std::string("Laufwerk ") + letter + ": ist nicht vorhanden");
  if (json) return JsonReport({letter}, queries);
  return TextReport(DriveInfoLines(letter, kFieldSeparator, queries));
}

}  // namespace app
