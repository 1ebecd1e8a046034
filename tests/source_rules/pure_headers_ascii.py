#!/usr/bin/env python3
"""Fails when a header of a folder compiled to GBK literals holds a non-ASCII literal.

Those headers are also included by code compiled with UTF-8 literals (the Qt side and the
tests), so a Chinese literal in one would be GBK bytes in one file and UTF-8 in the next. Texts
belong in the folder's .cpp files; comments may hold any characters.
Usage: pure_headers_ascii.py <src folder> <folder>...
"""
import pathlib
import re
import sys

TOKEN = re.compile(
    rb'//[^\n]*|/\*.*?\*/|R"([^(\s]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'',
    re.S)


def offending_literals(text):
    """Yields (line, literal) for each string or character literal with a byte above 0x7F."""
    for match in TOKEN.finditer(text):
        token = match.group(0)
        if token.startswith((b"//", b"/*")):
            continue
        if any(byte > 0x7F for byte in token):
            line = text.count(b"\n", 0, match.start()) + 1
            yield line, token.decode("utf-8", "replace")


def main(argv):
    root = pathlib.Path(argv[1])
    failures = []
    headers = 0
    for folder in argv[2:]:
        for header in sorted((root / folder).glob("*.h")):
            headers += 1
            for line, literal in offending_literals(header.read_bytes()):
                failures.append(f"{header}:{line}: non-ASCII literal {literal}")
    if headers == 0:
        failures.append(f"no headers found under {root} for {' '.join(argv[2:])}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
