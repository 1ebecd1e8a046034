#!/usr/bin/env python3
"""Writes a copy of a UTF-8 C++ source in which every non-ASCII character is spelled as the
octal escapes of its GB18030 bytes.

The pure folders rely on -fexec-charset=GB18030 for their string literals, which only GCC
accepts; clang, which the fuzzers need, compiles this copy instead and gets the very same
bytes. Octal escapes stop after three digits, so a digit that follows one stays a digit, and
every escape ends in a digit, so a comment never ends in a line-continuing backslash.

Usage: gb18030_source.py <input.cpp> <output.cpp>
"""
import pathlib
import sys


def convert(text: str) -> str:
    out = []
    for character in text:
        if ord(character) < 0x80:
            out.append(character)
        else:
            out.append("".join(f"\\{byte:03o}" for byte in character.encode("gb18030")))
    return "".join(out)


def main() -> None:
    source, target = map(pathlib.Path, sys.argv[1:3])
    # Reports and debuggers name the original file and its lines.
    name = convert(str(source).replace("\\", "\\\\").replace('"', '\\"'))
    converted = f'#line 1 "{name}"\n' + convert(source.read_text(encoding="utf-8"))
    # The copy is compiled from the build tree; its includes still name the source tree.
    target.parent.mkdir(parents=True, exist_ok=True)
    if not target.exists() or target.read_text(encoding="ascii") != converted:
        target.write_text(converted, encoding="ascii")


if __name__ == "__main__":
    main()
