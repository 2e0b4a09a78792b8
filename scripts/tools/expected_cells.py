#!/usr/bin/env python3
"""The cells a spreadsheet should read from a ";"-separated export (UTF-8), for spreadsheet_check.py.

  expected_cells.py TEXT > EXPECT.json

The fields that are figures are numbers with their exact values; everything else, serials in
hexadecimal, labels and letters among them, is text exactly as written. A one-drive export has a
name and a value per line; a table has the names in its first line.
"""
import csv
import io
import json
import re
import sys

NUMBERS = {"Seriennummer", "Länge Dateiname", "Sektoren/Cluster", "Bytes/Sektor", "Freie Cluster",
           "Cluster gesamt", "frei (Bytes)", "belegt (Bytes)", "gesamt (Bytes)",
           "frei für Benutzer (Bytes)", "belegt (%)"}


def cell(name, value, decimal):
    if name is None:
        # A drive of unknown type has no type field, so its fields stand one to the left of their
        # names (no listed drive is such a drive): a figure is what reads as one.
        name = next(iter(NUMBERS)) if re.fullmatch(r"\d{1,3}(\.\d{3})*(,\d+)?|\d+", value) else ""
    if name in NUMBERS and value:
        # Grouped and with a decimal separator as the user's settings have them.
        number = float(re.sub(r"[^\d#-]", "", value.replace(decimal, "#")).replace("#", "."))
        return {"number": int(number) if number.is_integer() else number}
    return {"text": value}


def main():
    text = open(sys.argv[1], encoding="utf-8-sig", newline="").read()
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=";"))
    # The percentage has four decimals: the character before them is the decimal separator.
    decimal = next((row[-1][-5] for row in rows if row[0] == "belegt (%)"), None) or next(
        (row[-1][-5] for row in rows[1:] if len(row) == len(rows[0]) and len(row) > 2), ",")
    if rows and rows[0] and rows[0][0] == "Laufwerksbuchstabe" and len(rows[0]) > 2:
        header = rows[0]
        expect = [[{"text": name} for name in header]]
        expect += [[cell(header[i] if len(row) in (2, len(header)) else None, value, decimal) for i, value in enumerate(row)]
                   for row in rows[1:]]
    else:
        expect = [[{"text": row[0]}, cell(row[0], row[1], decimal)] for row in rows]
    json.dump(expect, sys.stdout, ensure_ascii=False, indent=0)


main()
