#!/usr/bin/env python3
"""Builds a program's language file (.bvt) from its readable source.

Source (UTF-8): one key a line, the key and its five texts separated by '|':
    IDS_KEY | Norwegian | Danish | Swedish | English | German
Blank lines and lines starting with '#' are skipped. Texts may hold the
escapes \\t, \\r, \\n and \\: that the programs expand; they cannot hold ';'
or '|'.

Output: a header line and one line "KEY;;;;NO;DK;SE;EN;DE" per key, CR LF
line ends, in Windows-1252, every byte XORed with 0x3B.
"""
import re
import sys

SCRAMBLE_KEY = 0x3B
MAX_TEXT = 250
HEADER = "Key;;;;Norsk;Dansk;Svenska;English;Deutsch"
KEY = re.compile(r"^[A-Za-z][A-Za-z0-9_]*$")


def build(source_path):
    lines = [HEADER]
    seen = {}
    errors = []
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
                errors.append(f"{where}: {key} is already on line {seen[key]}")
                continue
            seen[key] = number
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
            lines.append(";".join([key, "", "", ""] + texts))
    if errors:
        raise SystemExit("\n".join(errors))
    data = ("\r\n".join(lines) + "\r\n").encode("cp1252")
    return bytes(b ^ SCRAMBLE_KEY for b in data)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: make_bvt.py SOURCE OUTPUT")
    data = build(sys.argv[1])
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
