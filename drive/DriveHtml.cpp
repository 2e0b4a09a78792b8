#include "drive/DriveHtml.h"

#include "runtime/Text.h"

namespace drive {

namespace {

std::string Escaped(const std::wstring& text) {
  std::string html;
  for (const char c : runtime::Utf8FromWide(text)) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      default:
        html += c;
    }
  }
  return html;
}

// How Calc reads a number cell (sdnum): the value in US notation, shown in one of its built-in
// formats, which it renders in the reader's notation (8.192 or 8,192); the percentage in its
// general format, as its own formats of four decimals are not kept by its HTML import.
const char* CalcNumberFormat(TFieldKind kind) {
  switch (kind) {
    case TFieldKind::Bytes:
      return "1033;0;#,##0";
    case TFieldKind::Percent:
      return "1033";
    default:
      return "1033;0;0";
  }
}

std::string Cell(const TExportCell& cell, const char* tag) {
  std::string html = "<";
  html += tag;
  if (cell.Number.empty()) {
    // Text, whatever it looks like: never a number, a date or a formula (Calc: sdnum "@", Excel:
    // x:str and the text format).
    html += " x:str sdnum=\"1033;0;@\" style='mso-number-format:\"\\@\"'>";
  } else {
    const std::string value = runtime::Utf8FromWide(cell.Number);
    html += " x:num=\"" + value + "\" sdval=\"" + value + "\" sdnum=\"" + CalcNumberFormat(cell.Kind) + "\">";
  }
  return html + Escaped(cell.Text) + "</" + tag + ">";
}

}  // namespace

std::string HtmlTable(const TExportTable& table) {
  std::string html = "<table>\r\n";
  for (size_t i = 0; i < table.Rows.size(); ++i) {
    const char* tag = table.Header && i == 0 ? "th" : "td";
    html += "<tr>";
    for (const TExportCell& cell : table.Rows[i]) html += Cell(cell, tag);
    html += "</tr>\r\n";
  }
  return html + "</table>";
}

std::string HtmlDocument(const TExportTable& table, const std::wstring& title) {
  return "<!DOCTYPE html>\r\n"
         "<html lang=\"de\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\">\r\n"
         "<head>\r\n<meta charset=\"utf-8\">\r\n<title>" +
         Escaped(title) +
         "</title>\r\n"
         "<style>table{border-collapse:collapse}th,td{border:1px solid #888;padding:2px 6px;"
         "text-align:left;white-space:pre}</style>\r\n"
         "</head>\r\n<body>\r\n" +
         HtmlTable(table) + "\r\n</body>\r\n</html>\r\n";
}

}  // namespace drive
