#!/usr/bin/env python3
"""The typed exports as a spreadsheet reads them: the helper of scripts/spreadsheet-check.sh.

  spreadsheet_check.py prepare WORK [--html FILE] [--csv FILE]
      writes the files that Calc is to read into WORK/html/ and WORK/csv/
  spreadsheet_check.py report WORK EXPECT [--html FILE] [--csv FILE]
      checks the inputs' form, compares what Calc made of them (WORK/calc-<locale>/*.fods) and what
      Python's csv module reads with EXPECT; one line per check, exit status 1 when one is not met

--html takes an "HTML Format" clipboard block with its header, or a whole HTML document. EXPECT is
JSON: a list of rows, each a list of cells {"text": "..."} or {"number": 8192}.
"""
import argparse
import csv
import io
import json
import re
import signal
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

BOM = b"\xef\xbb\xbf"
OFFSETS = ("StartHTML", "EndHTML", "StartFragment", "EndFragment")
# The files that Calc reads, by what they stand for.
SOURCES = {
    "clipboard": "HTML Format as Calc pastes it (StartHTML..EndHTML)",
    "fragment": "HTML Format's fragment alone (StartFragment..EndFragment)",
    "document": "HTML file",
    "csv": "CSV file through Calc's CSV import",
}
# A cell without attributes, whose value tells the locale that Calc read it in.
LOCALE_PROBE = "<table><tr><td>8.192</td></tr></table>"
PROBE_VALUES = {"de-DE": 8192.0, "en-US": 8.192}
ODF = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
}


def odf(name):
    prefix, local = name.split(":")
    return "{%s}%s" % (ODF[prefix], local)


def quoted(text):
    return json.dumps(text, ensure_ascii=False)


# --- The inputs -------------------------------------------------------------------------------------

def read_clipboard(data):
    """The header fields of an "HTML Format" block (None for a plain document) and its faults."""
    if not data.startswith(b"Version:"):
        return None, []
    fields = {}
    for line in data.split(b"\n"):
        match = re.fullmatch(rb"(\w+):(.*?)\r?", line)
        if not match:
            break
        fields[match[1].decode("ascii")] = match[2].decode("ascii", "replace")
    faults = [] if fields["Version"] == "0.9" else ["Version %s, not 0.9" % fields["Version"]]
    faults += ["%s missing or not a number: %r" % (name, fields.get(name))
               for name in OFFSETS if not fields.get(name, "").isdigit()]
    if faults:
        return fields, faults
    start, end, fragment_start, fragment_end = (int(fields[name]) for name in OFFSETS)
    # The block may end in the NUL of the clipboard's memory.
    size = len(data.rstrip(b"\0"))
    if not 0 < start <= fragment_start <= fragment_end <= end <= size:
        return fields, ["offsets out of order or range: StartHTML %d, StartFragment %d, EndFragment %d, "
                        "EndHTML %d, %d bytes" % (start, fragment_start, fragment_end, end, size)]
    if not re.fullmatch(rb"(\w+:[^\n]*\n)+", data[:start]):
        faults.append("StartHTML (%d) is not the end of the header" % start)
    if not re.match(rb"\s*<(!doctype|html)", data[start:end], re.I):
        faults.append("StartHTML does not point at <html> or <!DOCTYPE>")
    if not data[:fragment_start].endswith(b"<!--StartFragment-->"):
        faults.append("<!--StartFragment--> does not end right at StartFragment")
    if not data[fragment_end:].startswith(b"<!--EndFragment-->"):
        faults.append("<!--EndFragment--> does not begin right at EndFragment")
    try:
        data.decode("utf-8")
    except UnicodeDecodeError as error:
        faults.append("not UTF-8: %s" % error)
    return fields, faults


def fragment_of(data, fields):
    return data[int(fields["StartFragment"]):int(fields["EndFragment"])]


def prepare(args):
    html, csv_dir = Path(args.work, "html"), Path(args.work, "csv")
    html.mkdir(parents=True)
    csv_dir.mkdir(parents=True)
    html.joinpath("locale-probe.html").write_text(LOCALE_PROBE)
    if args.html:
        data = Path(args.html).read_bytes()
        fields, faults = read_clipboard(data)
        if fields is None:
            html.joinpath("document.html").write_bytes(data)
        elif not faults:
            # Calc pastes StartHTML..EndHTML (the fragment only where those are missing), as UTF-8
            # whatever the markup says: a byte order mark tells a file the same.
            span = data[int(fields["StartHTML"]):int(fields["EndHTML"])]
            html.joinpath("clipboard.html").write_bytes(BOM + span)
            html.joinpath("fragment.html").write_bytes(BOM + fragment_of(data, fields))
    if args.csv:
        csv_dir.joinpath("csv.csv").write_bytes(Path(args.csv).read_bytes())


# --- What Calc made of them -------------------------------------------------------------------------

class Cell:
    def __init__(self, kind, value=None, shown=""):
        self.kind, self.value, self.shown = kind, value, shown

    def __str__(self):
        if self.kind == "empty":
            return "nothing"
        if self.kind == "text":
            return "text " + quoted(self.value)
        value = repr(self.value).removesuffix(".0") if self.kind == "number" else self.value
        return "%s %s shown %s" % (self.kind, value, quoted(self.shown))


def paragraph_text(element):
    parts = [element.text or ""]
    for child in element:
        if child.tag == odf("text:s"):
            parts.append(" " * int(child.get(odf("text:c"), "1")))
        elif child.tag == odf("text:tab"):
            parts.append("\t")
        elif child.tag == odf("text:line-break"):
            parts.append("\n")
        else:
            parts.append(paragraph_text(child))
        parts.append(child.tail or "")
    return "".join(parts)


def read_cell(element):
    shown = "\n".join(paragraph_text(p) for p in element.findall("text:p", ODF))
    kind = element.get(odf("office:value-type"))
    if element.get(odf("table:formula")):
        return Cell("formula", element.get(odf("table:formula")), shown)
    if kind in ("float", "percentage", "currency"):
        return Cell("number", float(element.get(odf("office:value"))), shown)
    if kind == "string":
        return Cell("text", shown, shown)
    if kind:
        return Cell(kind, element.get(odf("office:%s-value" % kind)), shown)
    return Cell("empty")


def read_sheet(path):
    """The first sheet's rows of cells, without the empty ones at the ends."""
    sheet = ET.parse(path).getroot().find(".//table:table", ODF)
    rows = []
    for row in sheet.iter(odf("table:table-row")):
        cells = []
        for element in row:
            cells += [read_cell(element)] * int(element.get(odf("table:number-columns-repeated"), "1"))
        while cells and cells[-1].kind == "empty":
            cells.pop()
        # The empty rows to the sheet's end come as one row repeated about a million times.
        repeat = int(row.get(odf("table:number-rows-repeated"), "1"))
        rows += [cells] * (repeat if cells or repeat < 1000 else 1)
    while rows and not rows[-1]:
        rows.pop()
    return rows


def matches(expected, cell):
    if "number" in expected:
        return cell.kind == "number" and cell.value == float(expected["number"])
    return (cell.kind == "text" and cell.value == expected["text"]) or (expected["text"] == "" and cell.kind == "empty")


def describe(expected):
    return "number %s" % expected["number"] if "number" in expected else "text " + quoted(expected["text"])


def address(row, column):
    letters = ""
    column += 1
    while column:
        column, rest = divmod(column - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return "%s%d" % (letters, row + 1)


def sheet_differences(rows, expect, skip):
    differences = []
    for r in range(max(len(expect), len(rows) - skip)):
        wanted = expect[r] if r < len(expect) else []
        got = rows[skip + r] if skip + r < len(rows) else []
        for c in range(max(len(wanted), len(got))):
            cell = got[c] if c < len(got) else Cell("empty")
            where = address(skip + r, c)
            if c >= len(wanted):
                if cell.kind != "empty":
                    differences.append("%s: not expected, Calc has %s" % (where, cell))
            elif not matches(wanted[c], cell):
                differences.append("%s: expected %s, Calc has %s" % (where, describe(wanted[c]), cell))
    return differences


def compare_sheet(rows, expect, may_skip):
    """The rows skipped and the cells that differ. A document's table may follow a heading: the
    rows before it are skipped where that leaves the fewest differences."""
    skips = range(len(rows)) if may_skip and rows else [0]
    return min(((skip, sheet_differences(rows, expect, skip)) for skip in skips), key=lambda t: len(t[1]))


# --- The CSV as Python reads it ---------------------------------------------------------------------

CSV_FIELD = re.compile(r'"((?:[^"]|"")*)"|([^;"\r\n]*)')


def csv_faults(data):
    """Where the form breaks: UTF-8 with BOM, ";" between fields, CR LF after every row (the last
    too), quotes only around fields with ";", '"', CR or LF."""
    if not data.startswith(BOM):
        return ["no UTF-8 byte order mark"]
    try:
        text = data[len(BOM):].decode("utf-8")
    except UnicodeDecodeError as error:
        return ["not UTF-8: %s" % error]
    faults, pos, row = [], 0, 1
    while pos < len(text):
        field = 1
        while True:
            match = CSV_FIELD.match(text, pos)
            if match[1] is not None and not re.search(r'[;"\r\n]', match[1]):
                faults.append("row %d, field %d: quoted though it needs no quotes" % (row, field))
            pos = match.end()
            if not text.startswith(";", pos):
                break
            pos, field = pos + 1, field + 1
        if text.startswith("\r\n", pos):
            pos, row = pos + 2, row + 1
        elif pos == len(text):
            faults.append("row %d: no CR LF at the end" % row)
        else:
            faults.append("row %d, field %d: %r where ';' or CR LF belongs" % (row, field, text[pos:pos + 10]))
            break
    return faults


def csv_differences(data, expect):
    rows = list(csv.reader(io.StringIO(data.decode("utf-8-sig"), newline=""), delimiter=";", strict=True))
    differences = []
    for r in range(max(len(expect), len(rows))):
        wanted = expect[r] if r < len(expect) else []
        got = rows[r] if r < len(rows) else []
        for c in range(max(len(wanted), len(got))):
            field = got[c] if c < len(got) else None
            reads = "nothing" if field is None else quoted(field)
            if c >= len(wanted):
                differences.append("row %d, field %d: not expected, reads %s" % (r + 1, c + 1, reads))
            elif "number" in wanted[c]:
                # A number that every locale reads alike: no grouping.
                if not (field and re.fullmatch(r"-?\d+([.,]\d+)?", field)
                        and float(field.replace(",", ".")) == float(wanted[c]["number"])):
                    differences.append("row %d, field %d: expected %s, reads %s"
                                       % (r + 1, c + 1, describe(wanted[c]), reads))
            elif field != wanted[c]["text"]:
                differences.append("row %d, field %d: expected %s, reads %s" % (r + 1, c + 1, describe(wanted[c]), reads))
    return differences


# --- The report -------------------------------------------------------------------------------------

class Checks:
    def __init__(self):
        self.failed = False

    def line(self, met, text, details=()):
        self.failed |= not met
        print("%-11s %s" % ("[met]" if met else "[not met]", text))
        for detail in details:
            print("              " + detail)


def check_html(checks, data):
    fields, faults = read_clipboard(data)
    if fields is None:
        if not re.search(rb'<html[^>]*\slang=["\']?de\b', data, re.I):
            faults.append('no <html lang="de">')
        if not re.search(rb'<meta[^>]*charset=["\']?utf-8\b', data, re.I):
            faults.append('no <meta charset="utf-8">')
        checks.line(not faults, 'HTML file\'s form: lang="de", UTF-8 declared', faults)
        return
    checks.line(not faults, "HTML Format header: Version, offsets in order, fragment marked", faults)
    if not faults:
        fragment = fragment_of(data, fields).strip().lower()
        one = fragment.startswith(b"<table") and fragment.endswith(b"</table>") and fragment.count(b"<table") == 1
        checks.line(one, "HTML Format fragment is one <table>", [] if one else [quoted(fragment[:60].decode(errors="replace"))])


def check_csv(checks, data, expect):
    faults = csv_faults(data)
    checks.line(not faults, 'CSV form: UTF-8 with BOM, ";", CR LF, quotes only where needed', faults)
    if not faults:
        differences = csv_differences(data, expect)
        checks.line(not differences, "CSV read back by Python's csv module", differences)


def check_calc(checks, work, locale, expect):
    out = work / ("calc-" + locale)
    probe = read_sheet(out / "locale-probe.fods") if (out / "locale-probe.fods").exists() else []
    cell = probe[0][0] if probe and probe[0] else Cell("empty")
    checks.line(cell.kind == "number" and cell.value == PROBE_VALUES.get(locale),
                'Calc runs in %s: a plain "8.192" reads as %s' % (locale, cell))
    present = {p.stem for p in work.glob("html/*.html")} | {p.stem for p in work.glob("csv/*.csv")}
    for source in (source for source in SOURCES if source in present):
        converted = out / (source + ".fods")
        if not converted.exists():
            log = out / "soffice.log"
            checks.line(False, "%s in %s: Calc converted nothing" % (SOURCES[source], locale),
                        log.read_text(errors="replace").splitlines()[-3:] if log.exists() else [])
            continue
        skip, differences = compare_sheet(read_sheet(converted), expect, source == "document")
        skipped = " (%d rows before the table skipped)" % skip if skip else ""
        checks.line(not differences, "%s in %s%s" % (SOURCES[source], locale, skipped), differences)


def report(args):
    checks = Checks()
    expect = json.loads(Path(args.expect).read_text(encoding="utf-8"))
    work = Path(args.work)
    if args.html:
        check_html(checks, Path(args.html).read_bytes())
    if args.csv:
        check_csv(checks, Path(args.csv).read_bytes(), expect)
    for locale in sorted(p.name[len("calc-"):] for p in work.glob("calc-*")):
        check_calc(checks, work, locale, expect)
    return 1 if checks.failed else 0


def main():
    # Quiet when a pager or head stops reading.
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("command", choices=("prepare", "report"))
    parser.add_argument("work")
    parser.add_argument("expect", nargs="?")
    parser.add_argument("--html")
    parser.add_argument("--csv")
    args = parser.parse_args()
    if args.command == "prepare":
        prepare(args)
        return 0
    if not args.expect:
        parser.error("report needs EXPECT")
    return report(args)


if __name__ == "__main__":
    sys.exit(main())
