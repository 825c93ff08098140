#!/usr/bin/env python3
"""Turns the launcher's string files (one per UI language) into a resource
script with one STRINGTABLE per resource language.

Each string file holds lines "ID<TAB>TEXT"; in TEXT \\n, \\r, \\t and \\" are
escapes and every other backslash stands for itself. The files must hold the
same ids, and every translation must carry the same printf placeholders in the
same order as the English text: a mismatch fails the build, since the launcher
would show garbage or lose an argument at run time.

usage: gen-strings.py OUT.rc STRINGS_DIR
"""
import pathlib
import re
import sys

LANGUAGES = [  # file, LANGID, primary, sublanguage
    ("en", 1033, 0x09, 0x01),
    ("de", 1031, 0x07, 0x01),
    ("es", 1034, 0x0A, 0x01),
    ("fr", 1036, 0x0C, 0x01),
    ("ja", 1041, 0x11, 0x01),
]
PLACEHOLDER = re.compile(r"%[-+ #0]*(?:\*|\d+)?(?:\.(?:\*|\d+))?(?:hh|h|ll|l|L|w|I64|I32|I)?[diouxXcsSeEfgGp%]")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text) and text[i + 1] in 'nrt"':
            out.append({"n": "\n", "r": "\r", "t": "\t", '"': '"'}[text[i + 1]])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_strings(path):
    strings = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line or line.startswith("#"):
            continue
        ident, sep, text = line.partition("\t")
        if not sep or not ident.isdigit():
            sys.exit(f"{path}:{number}: expected ID<TAB>TEXT")
        if int(ident) in strings:
            sys.exit(f"{path}:{number}: id {ident} appears twice")
        strings[int(ident)] = unescape(text)
    return strings


def rc_literal(text):
    out = []
    for c in text:
        if c == '"':
            out.append('""')
        elif c == "\\":
            out.append("\\\\")
        elif c == "\n":
            out.append("\\n")
        elif c == "\r":
            out.append("\\r")
        elif c == "\t":
            out.append("\\t")
        elif 0x20 <= ord(c) < 0x7F:
            out.append(c)
        else:
            out.append("\\x%04x" % ord(c))
    return 'L"' + "".join(out) + '"'


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out_path, folder = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    tables = {code: read_strings(folder / f"{code}.txt") for code, *_ in LANGUAGES}
    english = tables["en"]
    errors = []
    for code, table in tables.items():
        if set(table) != set(english):
            errors.append(f"{code}.txt: ids differ from en.txt: {sorted(set(table) ^ set(english))}")
            continue
        for ident, text in table.items():
            if PLACEHOLDER.findall(text) != PLACEHOLDER.findall(english[ident]):
                errors.append(f"{code}.txt: id {ident}: placeholders {PLACEHOLDER.findall(text)} "
                              f"differ from English {PLACEHOLDER.findall(english[ident])}")
    if errors:
        sys.exit("\n".join(errors))

    lines = ["// Generated from src/res/strings/*.txt; edit those files instead.", ""]
    for code, langid, primary, sub in LANGUAGES:
        lines += [f"LANGUAGE 0x{primary:02x}, 0x{sub:02x}  // {langid}", "STRINGTABLE", "BEGIN"]
        lines += [f"    {ident}, {rc_literal(text)}" for ident, text in sorted(tables[code].items())]
        lines += ["END", ""]
    out_path.write_text("\n".join(lines), encoding="ascii")


if __name__ == "__main__":
    main()
