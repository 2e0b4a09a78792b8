#!/usr/bin/env python3
"""Mutation sample: changes places of the product code drawn at random, one at a time, and tells
whether the tests notice (docs/building.md).

    python3 scripts/mutants.py --seed N [--count 12] [--skip N] [--filter REGEX] [--dry-run]
"""
import argparse
import contextlib
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
LAYERS = ("runtime", "drive", "toolkit", "controls", "sysinfo", "about", "app")
# The main window's layout table, and the runtime's own parts that the programs replace.
SKIPPED_FILES = {"app/MainLayout.cpp", "runtime/RuntimeSupport.cpp"}
LAYOUT_FUNCTION = re.compile(r"^std::vector<toolkit::TLayoutRow> \w+\(.*\{$")
# The colour palette's rows: chosen by eye and held to contrast ratios, which no test pins to a unit.
PALETTE_ROW = re.compile(r"^\s*\{TRole::\w+,")
# Declarations without logic: an array's size, and in headers a member's zero starting value.
ARRAY_DECLARATION = re.compile(r"^\s*[\w:<>, *&]+ \w+\[[^\]]*\];$")
ZERO_DECLARATION = re.compile(r"^\s*[\w:<>, *&]+ \w+( = (0|false|nullptr)|\{\});$")
KEYWORDS = {"return", "delete", "throw", "if", "while", "for", "switch", "case", "else", "new", "do"}

RELATIONAL = {"<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"],
              "==": ["!="], "!=": ["=="]}
SWAPS = {"&&": "||", "||": "&&", "+": "-", "-": "+", "+=": "-=", "-=": "+="}


def masked(line, in_comment):
    """The line's code with comments blanked and literals' insides masked, columns kept."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if in_comment:
            if line.startswith("*/", i):
                in_comment, i = False, i + 2
                out.append("  ")
                continue
            out.append(" ")
        elif quote:
            if c == "\\":
                out.append("\x01\x01")
                i += 2
                continue
            out.append(c if c == quote else "\x01")
            quote = None if c == quote else quote
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        elif line.startswith("/*", i):
            in_comment = True
            out.append(" ")
        else:
            quote = c if c in "\"'" else None
            out.append(c)
        i += 1
    return "".join(out)[: len(line)], in_comment


def closing_paren(text, start):
    depth = 0
    for i in range(start, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i
    return None


def mutants_of(line, code, classes):
    """(description, mutated line) for every mutant of one line; code is its masked form, classes the
    names of the classes its file declares (whose constructors' declarations are no calls)."""
    def at(start, end, new):
        return line[:start] + new + line[end:]

    for m in re.finditer(r"(?<= )(<=|>=|==|!=|<|>|&&|\|\||\+=|-=|\+|-)(?= )", code):
        for new in RELATIONAL.get(m[1], [SWAPS.get(m[1])]):
            yield f"{m[1]} -> {new}", at(m.start(), m.end(), new)
    for m in re.finditer(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])", code):
        n = int(m[1])
        for new in [n + 1] + ([n - 1] if n > 0 else []):
            yield f"{m[1]} -> {new}", at(m.start(1), m.end(1), str(new))
    for m in re.finditer(r"\b(true|false)\b", code):
        new = "false" if m[1] == "true" else "true"
        yield f"{m[1]} -> {new}", at(m.start(), m.end(), new)
    for m in re.finditer(r"\b(if|while) \(", code):
        end = closing_paren(code, m.end() - 1)
        if end:
            yield f"{m[1]} condition negated", at(m.end(), end, "!(" + line[m.end():end] + ")")
    stripped = code.strip()
    head = re.match(r"([\w:.\->\[\]]+)\(", stripped)
    if (head and stripped.endswith(");") and head[1] not in KEYWORDS | classes
            and closing_paren(stripped, head.end() - 1) == len(stripped) - 2):
        start = code.index(stripped)
        yield "call removed", at(start, start + len(stripped), "{}")
    ret = re.match(r"(\s*return )(.+);$", code)
    # A zero value is what {} returns already: no mutant.
    if ret and ret[2] not in ("{}", "false", "0", "0u", "nullptr"):
        yield "return value removed", at(ret.end(1), ret.end(2), "{}")
    for m in re.finditer(r"\b([A-Z][A-Z0-9_]+) \| (?=([A-Z][A-Z0-9_]+)\b(?!\())", code):
        yield f"flag {m[1]} dropped", at(m.start(), m.end(), "")
        yield f"flag {m[2]} dropped", at(m.start() + len(m[1]), m.end() + len(m[2]), "")


def candidates(pattern):
    """Every (place, file, line number, description, mutated line) of the product's sources."""
    result = []
    files = sorted(p for layer in LAYERS for p in (ROOT / layer).rglob("*") if p.suffix in (".cpp", ".h"))
    for path in files:
        name = path.relative_to(ROOT).as_posix()
        if name in SKIPPED_FILES or (pattern and not re.search(pattern, name)):
            continue
        text = path.read_text(encoding="utf-8")
        classes = set(re.findall(r"\b(?:class|struct) (\w+)", text))
        in_comment, in_layout = False, False
        for number, line in enumerate(text.splitlines(), 1):
            code, in_comment = masked(line, in_comment)
            in_layout = (in_layout or bool(LAYOUT_FUNCTION.match(line))) and line != "}"
            if (in_layout or code.lstrip().startswith(("#", "static_assert")) or ARRAY_DECLARATION.match(code)
                    or PALETTE_ROW.match(code)
                    or (path.suffix == ".h" and ZERO_DECLARATION.match(code))):
                continue
            seen = set()
            for description, new in mutants_of(line, code, classes):
                if new not in seen:
                    seen.add(new)
                    column = 1 + next((i for i, (a, b) in enumerate(zip(line, new)) if a != b), len(new))
                    result.append((f"{name}:{number}:{column}", name, number, description, new))
    return result


def run(command, stop=None, **env):
    """Runs a command in a session of its own; returns its status and output. Ends the whole session
    at the first line of output that matches stop, and on Ctrl+C or an error."""
    process = subprocess.Popen(command, cwd=ROOT, env=dict(os.environ, **env), stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, errors="replace", start_new_session=True)
    output = []
    try:
        for line in process.stdout:
            output.append(line)
            if stop and stop.search(line):
                os.killpg(process.pid, signal.SIGTERM)
                break
        return process.wait(), "".join(output)
    except BaseException:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, signal.SIGTERM)
        process.wait()
        raise


def build():
    """None when the 32-bit tree builds; else whether the compiler or linker failed, and the output."""
    status, output = run(["cmake", "--build", "build"])
    return None if status == 0 else (bool(re.search(r"\berror:", output)), output)


# CTest's line for a test that failed, timed out or crashed.
FAILED_TEST = re.compile(r"Test +#\d+: (\S+) \.*\*\*\*(Failed|Timeout|Exception)")


def run_tests():
    """None when every test passed; else the first that failed (the run stops there). A test that
    passes when run once more alone failed by the machine's doing (a loaded machine slows Wine down),
    and the whole run is made again, once."""
    for _ in range(2):
        status, output = run(["bash", "scripts/test.sh"], stop=FAILED_TEST, SANDRIVO_TEST_FILTER=".")
        if status == 0:
            return None
        failed = FAILED_TEST.search(output)
        if not failed:
            return "(test run failed: " + output.strip().splitlines()[-1][:60] + ")"
        alone = f"^{re.escape(failed[1])}$"
        if run(["bash", "scripts/test.sh"], SANDRIVO_TEST_FILTER=alone)[0] != 0:
            return failed[1]
        print(f"    {failed[1]} failed, but not alone: running again", flush=True)
    return failed[1] + " (flaky)"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--count", type=int, default=12)
    parser.add_argument("--skip", type=int, default=0, help="leave out the first N draws, to resume a run")
    parser.add_argument("--filter", help="regex on the files' paths, e.g. '^drive/'")
    parser.add_argument("--dry-run", action="store_true", help="list the draw without building")
    args = parser.parse_args()
    # Stopping from outside (Ctrl+C, kill, also when started in the background) ends as Ctrl+C does,
    # through the restoring finally blocks.
    for number in (signal.SIGINT, signal.SIGTERM):
        signal.signal(number, signal.default_int_handler)

    pool = candidates(args.filter)
    random.Random(args.seed).shuffle(pool)
    pool = pool[args.skip :]
    print(f"{len(pool)} mutants to draw from, seed {args.seed}")
    if args.dry_run:
        for place, _, _, description, new in pool[: args.count]:
            print(f"{place} {description}\n    {new.strip()}")
        return 0
    if not (ROOT / "build" / "build.ninja").exists() or build():
        sys.exit("The unchanged tree must build first: SANDRIVO_TEST_FILTER=. bash scripts/test.sh")
    if failed := run_tests():
        sys.exit(f"The unchanged tree must pass its tests first; {failed} failed")

    rows, stillborn = [], 0
    for place, name, number, description, new in pool:
        if len(rows) == args.count:
            break
        path = ROOT / name
        original = path.read_bytes()
        lines = original.decode("utf-8").splitlines(keepends=True)
        lines[number - 1] = new + lines[number - 1][len(lines[number - 1].rstrip("\r\n")):]
        started = time.monotonic()
        try:
            path.write_bytes("".join(lines).encode("utf-8"))
            failure = build()
            if failure and failure[0]:
                stillborn += 1
                print(f"stillborn: {place} {description}", flush=True)
                continue
            caught_by = "(the build's own checks)" if failure else run_tests()
        finally:
            path.write_bytes(original)
        verdict = "caught" if caught_by else "SURVIVED"
        rows.append((place, description, verdict, caught_by or ""))
        print(f"{len(rows):2}. {place} {description}: {verdict} {caught_by or ''} "
              f"({time.monotonic() - started:.0f} s)\n    {new.strip()}", flush=True)

    build()  # leaves the tree built from the unchanged sources
    caught = sum(row[2] == "caught" for row in rows)
    print(f"\nSeed {args.seed}: {caught} of {len(rows)} caught, {stillborn} stillborn\n")
    widths = [max(len(row[i]) for row in rows) for i in range(3)] if rows else [0, 0, 0]
    for row in rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths + [0])).rstrip())
    return 0 if caught == len(rows) else 1


if __name__ == "__main__":
    sys.exit(main())
