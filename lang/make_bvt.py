#!/usr/bin/env python3
"""Builds a program's language file (.bvt) from its readable source.

Source (UTF-8): one key a line, the key and its five texts separated by '|':
    IDS_KEY | Norwegian | Danish | Swedish | English | German
Blank lines and lines starting with '#' are skipped. Texts may hold the
escapes \\t, \\r, \\n and \\: that the programs expand; they cannot hold ';'
or '|'. A program's texts may be split by screen: after SOURCE (BVRange.txt)
come the files of the folder named like it (BVRange/*.txt) in name order, as
if they were one file; no key may stand twice among them.

Output: a header line and one line "KEY;;;;NO;DK;SE;EN;DE" per key, CR LF
line ends, in Windows-1252, every byte XORed with 0x3B.

With a C++ source and a function name after the output, it also writes the
English column as a C++ table the program carries built in, so it shows
English texts when its language file is missing or unreadable:
    std::span<const CLanguageTable::Entry> FUNCTION();
"""
import glob
import os
import re
import sys

SCRAMBLE_KEY = 0x3B
MAX_TEXT = 250
HEADER = "Key;;;;Norsk;Dansk;Svenska;English;Deutsch"
KEY = re.compile(r"^[A-Za-z][A-Za-z0-9_]*$")


def source_files(source_path):
    """SOURCE, then the files of its folder of screens in name order."""
    folder = os.path.splitext(source_path)[0]
    parts = sorted(glob.glob(os.path.join(folder, "*.txt"))) if os.path.isdir(folder) else []
    return [source_path] + parts


def read(source_path):
    """The (key, texts) rows of a source and its screen files, in their order."""
    rows = []
    seen = {}
    errors = []
    for path in source_files(source_path):
        read_file(path, rows, seen, errors)
    if errors:
        raise SystemExit("\n".join(errors))
    return rows


def read_file(source_path, rows, seen, errors):
    with open(source_path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            text = raw.rstrip("\r\n")
            if not text.strip() or text.lstrip().startswith("#"):
                continue
            where = f"{source_path}:{number}"
            fields = [p.strip() for p in text.split("|")]
            key, texts = fields[0], fields[1:]
            if not KEY.match(key):
                errors.append(f"{where}: '{key}' is not a key")
                continue
            if key in seen:
                errors.append(f"{where}: {key} is already at {seen[key]}")
                continue
            seen[key] = where
            if len(texts) != 5:
                errors.append(f"{where}: {key} has {len(texts)} texts, not 5")
                continue
            for t in texts:
                if ";" in t:
                    errors.append(f"{where}: {key}: ';' cannot stand in a text")
                try:
                    encoded = t.encode("cp1252")
                except UnicodeEncodeError as e:
                    errors.append(f"{where}: {key}: '{t[e.start:e.end]}' is not in Windows-1252")
                    continue
                if len(encoded) > MAX_TEXT:
                    errors.append(f"{where}: {key}: text longer than {MAX_TEXT} characters")
            rows.append((key, texts))


def build(rows):
    lines = [HEADER] + [";".join([key, "", "", ""] + texts) for key, texts in rows]
    data = ("\r\n".join(lines) + "\r\n").encode("cp1252")
    return bytes(b ^ SCRAMBLE_KEY for b in data)


ENGLISH = 3


def c_string(text):
    """A C++ string literal of the text's Windows-1252 bytes."""
    out = []
    for b in text.encode("cp1252"):
        if b in (0x22, 0x5C):
            out.append("\\" + chr(b))
        elif 0x20 <= b < 0x7F:
            out.append(chr(b))
        else:
            out.append(f"\\{b:03o}")
    return '"' + "".join(out) + '"'


def build_cpp(rows, source_name, function):
    lines = [
        f"// Made by lang/make_bvt.py from {source_name}: the English texts built into the program.",
        '#include "foundation/settings/LanguageTable.h"',
        "",
        "#include <span>",
        "",
        "namespace {",
        "",
        "const CLanguageTable::Entry kTexts[] = {",
    ]
    lines += [f"    {{{c_string(key)}, {c_string(texts[ENGLISH])}}}," for key, texts in rows]
    lines += [
        "};",
        "",
        "}  // namespace",
        "",
        f"std::span<const CLanguageTable::Entry> {function}()",
        "{",
        "    return kTexts;",
        "}",
        "",
    ]
    return "\n".join(lines)


def main():
    if len(sys.argv) not in (3, 5):
        raise SystemExit("usage: make_bvt.py SOURCE OUTPUT [CPP_OUTPUT FUNCTION]")
    rows = read(sys.argv[1])
    with open(sys.argv[2], "wb") as f:
        f.write(build(rows))
    if len(sys.argv) == 5:
        with open(sys.argv[3], "w", encoding="ascii", newline="\n") as f:
            f.write(build_cpp(rows, sys.argv[1].replace("\\", "/").split("/")[-1], sys.argv[4]))


if __name__ == "__main__":
    main()
