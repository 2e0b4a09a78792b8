#include "drive/ReportCommand.h"

#include <atomic>
#include <memory>
#include <optional>

#include "drive/DriveExport.h"
#include "drive/DriveInfo.h"
#include "drive/DriveJson.h"
#include "drive/DriveList.h"
#include "runtime/DeadlineCall.h"
#include "runtime/Text.h"

namespace drive {

namespace {

const char kUsage[] =
    "Aufruf: sandrivo-report [--json] [--timeout SEKUNDEN] [Laufwerk]\r\n"
    "\r\n"
    "Ohne Laufwerk: die Tabelle aller Laufwerke, eine Kopfzeile und eine Zeile je Laufwerk.\r\n"
    "Mit Laufwerk (C, C: oder C:\\): die Angaben dieses Laufwerks, eine Zeile je Angabe.\r\n"
    "Felder sind durch \";\" getrennt, jede Zeile endet mit CR LF.\r\n"
    "Umgeleitet ist der Text in Codepage 1252, \"?\" für andere Zeichen; Namen in jeder Schrift: --json.\r\n"
    "\r\n"
    "--json               ein JSON-Dokument (UTF-8): ein Feld mit einem Objekt je Laufwerk\r\n"
    "--timeout SEKUNDEN   so lange wird auf jedes Laufwerk höchstens gewartet (1 bis 86400,\r\n"
    "                     ohne Angabe 15). Ein Laufwerk, das bis dahin nicht antwortet, steht da\r\n"
    "                     wie eines ohne Datenträger (JSON: \"answered\": false, \"timedOut\": true);\r\n"
    "                     die Fehlerausgabe nennt es, und das Programm endet sofort.\r\n"
    "--help               diese Hilfe (auch -h oder /?)\r\n"
    "\r\n"
    "Rückgabewert: 0 Erfolg, 1 Fehler beim Schreiben oder Abfragen, 2 falscher Aufruf.\r\n";

// The time limit of each drive, without --timeout, long enough for a network drive that answers.
const DWORD kDefaultTimeoutSeconds = 15;
const DWORD kLongestTimeoutSeconds = 86400;

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

// Whole seconds from 1 to kLongestTimeoutSeconds, or 0.
DWORD ParseSeconds(const std::string& text) {
  if (text.empty() || text.size() > 5) return 0;
  DWORD seconds = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    seconds = seconds * 10 + static_cast<DWORD>(c - '0');
  }
  return seconds <= kLongestTimeoutSeconds ? seconds : 0;
}

// One letter asked on a thread of its own: its type, then, for a listed type, its probe (none
// for a letter that is not listed).
struct TLetterCall {
  char Letter;
  std::shared_ptr<std::atomic<UINT>> Type;  // 0 until the type query has answered
  runtime::TDeadlineCall<std::unique_ptr<TDriveInfo>> Call;
};

// The listed drives among the letters, the way the main window lists them (the type of each
// letter), with their probes. Every letter is asked at once; a letter that has not answered when
// the time limit, counted from the start, is over is reported as a drive that did not answer,
// marked TimedOut, and its thread is left to itself. A stalled share may hold up its type query
// too: such a letter is reported all the same, without a type.
std::vector<std::unique_ptr<TDriveInfo>> ProbeLetters(const std::vector<char>& letters, DWORD limitSeconds,
                                                      const TDriveQueries& queries) {
  std::vector<TLetterCall> calls;
  calls.reserve(letters.size());
  for (const char letter : letters) {
    auto type = std::make_shared<std::atomic<UINT>>(0);
    calls.push_back(
        {letter, type, runtime::TDeadlineCall<std::unique_ptr<TDriveInfo>>([letter, type, &queries] {
           *type = queries.DriveType(std::string(1, letter) + ":\\");
           return IsListedDriveType(*type) ? std::make_unique<TDriveInfo>(letter, queries) : nullptr;
         })});
  }
  const DWORD start = GetTickCount(), limit = limitSeconds * 1000;
  std::vector<std::unique_ptr<TDriveInfo>> probes;
  for (TLetterCall& call : calls) {
    const DWORD waited = GetTickCount() - start;
    if (std::optional<std::unique_ptr<TDriveInfo>> probe =
            call.Call.Take(waited < limit ? limit - waited : 0)) {
      if (*probe) probes.push_back(std::move(*probe));
      continue;
    }
    probes.push_back(std::make_unique<TDriveInfo>(call.Letter, TTypeOnlyQueries(*call.Type)));
    probes.back()->TimedOut = true;
  }
  return probes;
}

// The report of probes made: the table (or one drive's lines) or JSON, and a note on standard error
// for each drive that did not answer in time.
TCommandResult Report(const std::vector<std::unique_ptr<TDriveInfo>>& probes, bool json, bool oneDrive,
                      DWORD limitSeconds) {
  std::vector<const TDriveInfo*> order;
  TCommandResult result;
  for (const auto& probe : probes) {
    order.push_back(probe.get());
    if (probe->TimedOut)
      result.Err += std::string("sandrivo-report: Laufwerk ") + probe->Letter + ": hat nicht binnen " +
                    std::to_string(limitSeconds) + " s geantwortet\r\n";
  }
  if (json) {
    result.Out = DrivesJson(order);
    result.ConsoleOut = runtime::WideFromUtf8(result.Out);
    return result;
  }
  const TExportLines lines =
      oneDrive ? DriveInfoLines(*order.front(), kFieldSeparator) : DrivesTableLines(order, kFieldSeparator);
  result.Out = lines.Text();
  result.ConsoleOut = lines.WideText();
  return result;
}

}  // namespace

TCommandResult RunReportCommand(const std::vector<std::string>& args, const TDriveQueries& queries) {
  // Every argument is read before any drive is asked.
  bool json = false;
  DWORD timeout = kDefaultTimeoutSeconds;
  std::string drive;
  int drives = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h" || arg == "/?") return {kUsage, "", 0};
    if (arg == "--json") {
      json = true;
    } else if (arg == "--timeout" || arg.rfind("--timeout=", 0) == 0) {
      if (arg == "--timeout" && i + 1 == args.size())
        return Failure("--timeout ohne Sekunden (Hilfe: sandrivo-report --help)");
      const std::string value = arg == "--timeout" ? args[++i] : arg.substr(10);
      timeout = ParseSeconds(value);
      if (!timeout) return Failure(Quoted(value) + " ist keine Zeit in Sekunden (1 bis 86400)");
    } else if (IsOption(arg)) {
      return Failure("unbekannte Option " + Quoted(arg) + " (Hilfe: sandrivo-report --help)");
    } else {
      drive = arg;
      ++drives;
    }
  }
  if (drives > 1) return Failure("zu viele Argumente (höchstens ein Laufwerk)");
  if (drives == 0) {
    std::vector<char> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) letters.push_back(letter);
    return Report(ProbeLetters(letters, timeout, queries), json, false, timeout);
  }
  const char letter = ParseDriveLetter(drive);
  if (!letter) return Failure(Quoted(drive) + " ist kein Laufwerksbuchstabe");
  const std::vector<std::unique_ptr<TDriveInfo>> probes = ProbeLetters({letter}, timeout, queries);
  if (probes.empty()) return Failure(std::string("Laufwerk ") + letter + ": ist nicht vorhanden");
  return Report(probes, json, true, timeout);
}

}  // namespace drive
