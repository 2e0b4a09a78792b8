#include "drive/ReportCommand.h"

#include <atomic>
#include <memory>
#include <optional>

#include "drive/DetailFields.h"
#include "drive/DetailsRequest.h"
#include "drive/DriveExport.h"
#include "drive/DriveInfo.h"
#include "drive/DriveJson.h"
#include "drive/DriveList.h"
#include "runtime/DeadlineCall.h"
#include "runtime/Text.h"

namespace drive {

namespace {

const char kUsage[] =
    "Aufruf: sandrivo-report [--json] [--details] [--timeout SEKUNDEN] [Laufwerk]\r\n"
    "\r\n"
    "Ohne Laufwerk: die Tabelle aller Laufwerke, eine Kopfzeile und eine Zeile je Laufwerk.\r\n"
    "Mit Laufwerk (C, C: oder C:\\): die Angaben dieses Laufwerks, eine Zeile je Angabe.\r\n"
    "Felder sind durch \";\" getrennt, jede Zeile endet mit CR LF.\r\n"
    "Umgeleitet ist der Text in Codepage 1252, \"?\" für andere Zeichen; Namen in jeder Schrift: --json.\r\n"
    "\r\n"
    "--json               ein JSON-Dokument (UTF-8): ein Feld mit einem Objekt je Laufwerk\r\n"
    "--details            dazu, was Windows über Volume, Freigabe und Gerät weiß (GUID-Pfad,\r\n"
    "                     Bereitstellungspunkte, Medium, Bus, Partition, Dateisystem): Zeilen nach\r\n"
    "                     den üblichen, in der Tabelle Spalten, im JSON ein Objekt \"details\"\r\n"
    "--timeout SEKUNDEN   so lange wird auf jedes Laufwerk höchstens gewartet (1 bis 86400,\r\n"
    "                     ohne Angabe 15). Ein Laufwerk, das bis dahin nicht antwortet, steht da\r\n"
    "                     wie eines ohne Datenträger (JSON: \"answered\": false, \"timedOut\": true);\r\n"
    "                     die Fehlerausgabe nennt es, und das Programm endet sofort.\r\n"
    "--help               diese Hilfe (auch -h oder /?)\r\n"
    "--version            Produkt, Version und Commit dieses Programms\r\n"
    "\r\n"
    "Rückgabewert: 0 Erfolg, 1 Fehler beim Schreiben oder Abfragen, 2 falscher Aufruf.\r\n";

// The time limit of each drive, without --timeout, long enough for a network drive that answers.
const DWORD kDefaultTimeoutSeconds = 15;
const DWORD kLongestTimeoutSeconds = 86400;

// Arguments longer than this are shortened in messages.
const size_t kShownArgument = 40;

// The message in code page 1252 and, for a console, whole.
TCommandResult Failure(const std::wstring& message) {
  const std::wstring line = L"sandrivo-report: " + message + L"\r\n";
  TCommandResult result{"", runtime::Cp1252FromWide(line), 2};
  result.ConsoleErr = line;
  return result;
}

// A character a terminal takes for a command or that turns the text around it: C0 and C1 controls,
// and the bidirectional marks, embeddings, overrides and isolates.
bool IsControl(unsigned c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

// The argument in quotes, shortened to kShownArgument characters, with controls as \xNN or \uNNNN.
std::wstring Quoted(const std::wstring& arg) {
  const wchar_t digits[] = L"0123456789ABCDEF";
  std::wstring shown = L"\"";
  size_t characters = 0, i = 0;
  for (; i < arg.size() && characters < kShownArgument; ++i, ++characters) {
    const unsigned c = arg[i];
    if (IsControl(c)) {
      shown += c < 0x100 ? L"\\x" : L"\\u";
      for (int shift = c < 0x100 ? 4 : 12; shift >= 0; shift -= 4) shown += digits[(c >> shift) & 15];
      continue;
    }
    shown += arg[i];
    // A pair of surrogates is one character.
    if (IS_HIGH_SURROGATE(arg[i]) && i + 1 < arg.size() && IS_LOW_SURROGATE(arg[i + 1])) shown += arg[++i];
  }
  return shown + (i < arg.size() ? L"...\"" : L"\"");
}

// The letter that C, c, C: or C:\ names, or 0.
char ParseDriveLetter(const std::wstring& arg) {
  if (arg.empty() || arg.size() > 3) return 0;
  const wchar_t c = arg[0];
  const wchar_t letter = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  if (letter < L'A' || letter > L'Z') return 0;
  if (arg.size() >= 2 && arg[1] != L':') return 0;
  if (arg.size() == 3 && arg[2] != L'\\') return 0;
  return static_cast<char>(letter);
}

bool IsOption(const std::wstring& arg) {
  return !arg.empty() && (arg[0] == L'-' || arg[0] == L'/');
}

// Whole seconds from 1 to kLongestTimeoutSeconds, or 0.
DWORD ParseSeconds(const std::wstring& text) {
  if (text.empty() || text.size() > 5) return 0;
  DWORD seconds = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return 0;
    seconds = seconds * 10 + static_cast<DWORD>(c - L'0');
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
// too: such a letter is reported all the same, without a type. With storage, each probe holds its
// details, asked within the same limit.
std::vector<std::unique_ptr<TDriveInfo>> ProbeLetters(const std::vector<char>& letters, DWORD limitSeconds,
                                                      const TDriveQueries& queries,
                                                      const TStorageQueries* storage) {
  std::vector<TLetterCall> calls;
  calls.reserve(letters.size());
  for (const char letter : letters) {
    auto type = std::make_shared<std::atomic<UINT>>(0);
    calls.push_back(
        {letter, type, runtime::TDeadlineCall<std::unique_ptr<TDriveInfo>>([letter, type, &queries, storage] {
           *type = queries.DriveType(std::string(1, letter) + ":\\");
           if (!IsListedDriveType(*type)) return std::unique_ptr<TDriveInfo>();
           return storage ? DetailedProbe(letter, queries, *storage)
                          : std::make_unique<TDriveInfo>(letter, queries);
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
// for each drive that did not answer in time. With details, their rows follow the report's, their
// columns the table's, and each drive's object in JSON holds them.
TCommandResult Report(const std::vector<std::unique_ptr<TDriveInfo>>& probes, bool json, bool details,
                      bool oneDrive, DWORD limitSeconds) {
  std::vector<const TDriveInfo*> order;
  TCommandResult result;
  for (const auto& probe : probes) {
    order.push_back(probe.get());
    if (probe->TimedOut)
      result.Err += std::string("sandrivo-report: Laufwerk ") + probe->Letter + ": hat nicht binnen " +
                    std::to_string(limitSeconds) + " s geantwortet\r\n";
  }
  if (json) {
    result.Out = DrivesJson(order, DriveFields(), details ? DetailFields() : TDriveFields());
    result.ConsoleOut = runtime::WideFromUtf8(result.Out);
    return result;
  }
  std::vector<TDriveField> fields(DriveFields().begin(), DriveFields().end());
  fields.insert(fields.end(), DetailFields().begin(), DetailFields().end());
  const runtime::TNumberSeparators numbers = runtime::UserNumberSeparators();
  const TExportLines lines = !details ? (oneDrive ? DriveInfoLines(*order.front(), kFieldSeparator)
                                                  : DrivesTableLines(order, kFieldSeparator))
                             : oneDrive
                                 ? DriveInfoLines(*order.front(), kFieldSeparator, numbers, fields)
                                 : ExportLines(FieldColumnsTable(order, numbers, fields), kFieldSeparator);
  result.Out = lines.Text();
  result.ConsoleOut = lines.WideText();
  return result;
}

}  // namespace

TCommandResult RunReportCommand(const std::vector<std::string>& args, const TDriveQueries& queries,
                                const TReportIdentity& identity, const TStorageQueries& storage) {
  std::vector<std::wstring> wide;
  for (const std::string& arg : args) wide.push_back(runtime::WideFromCp1252(arg));
  return RunReportCommand(std::span<const std::wstring>(wide), queries, identity, storage);
}

TCommandResult RunReportCommand(std::span<const std::wstring> args, const TDriveQueries& queries,
                                const TReportIdentity& identity, const TStorageQueries& storage) {
  // Every argument is read before any drive is asked.
  bool json = false, details = false;
  DWORD timeout = kDefaultTimeoutSeconds;
  std::wstring drive;
  int drives = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--help" || arg == L"-h" || arg == L"/?") return {kUsage, "", 0};
    if (arg == L"--version")
      return {identity.Product + " (sandrivo-report) " + identity.Version + "\r\nCommit " + identity.Commit +
                  "\r\n",
              "", 0};
    if (arg == L"--json") {
      json = true;
    } else if (arg == L"--details") {
      details = true;
    } else if (arg == L"--timeout" || arg.starts_with(L"--timeout=")) {
      if (arg == L"--timeout" && i + 1 == args.size())
        return Failure(L"--timeout ohne Sekunden (Hilfe: sandrivo-report --help)");
      const std::wstring value = arg == L"--timeout" ? args[++i] : arg.substr(10);
      timeout = ParseSeconds(value);
      if (!timeout) return Failure(Quoted(value) + L" ist keine Zeit in Sekunden (1 bis 86400)");
    } else if (IsOption(arg)) {
      return Failure(L"unbekannte Option " + Quoted(arg) + L" (Hilfe: sandrivo-report --help)");
    } else {
      drive = arg;
      ++drives;
    }
  }
  if (drives > 1) return Failure(L"zu viele Argumente (höchstens ein Laufwerk)");
  if (drives == 0) {
    std::vector<char> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) letters.push_back(letter);
    return Report(ProbeLetters(letters, timeout, queries, details ? &storage : nullptr), json, details, false,
                  timeout);
  }
  const char letter = ParseDriveLetter(drive);
  if (!letter) return Failure(Quoted(drive) + L" ist kein Laufwerksbuchstabe");
  const std::vector<std::unique_ptr<TDriveInfo>> probes =
      ProbeLetters({letter}, timeout, queries, details ? &storage : nullptr);
  if (probes.empty())
    return Failure(L"Laufwerk " + std::wstring(1, static_cast<wchar_t>(letter)) + L": ist nicht vorhanden");
  return Report(probes, json, details, true, timeout);
}

}  // namespace drive
