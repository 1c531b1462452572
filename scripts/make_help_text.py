#!/usr/bin/env python3
"""Turns the help text source into the bytes of the help text resource.

The source is UTF-8 with LF (or CR LF) line ends, easy to edit and to read in a diff. The
program reads the resource as code page 1252 text, whatever the system's code page, so it
holds code page 1252 text with CR LF line ends and no terminator. A character that code page 1252 lacks stops the build rather
than turning into "?" on screen.

usage: make_help_text.py SOURCE.txt OUTPUT.txt
"""
import sys


def convert(source):
    if source.startswith("\ufeff"):
        source = source[1:]
    lines = source.replace("\r\n", "\n").split("\n")
    # The last element is what follows the final line end: nothing in a well-formed file.
    if lines[-1] != "":
        raise ValueError("the last line has no line end")
    result = bytearray()
    for number, line in enumerate(lines[:-1], start=1):
        if "\r" in line or "\0" in line:
            raise ValueError(f"line {number}: stray CR or NUL character")
        try:
            result += line.encode("cp1252") + b"\r\n"
        except UnicodeEncodeError as error:
            bad = line[error.start:error.end]
            raise ValueError(f"line {number}: {bad!r} is not in code page 1252") from None
    return bytes(result)


def main(arguments):
    if len(arguments) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    with open(arguments[1], encoding="utf-8", newline="") as source:
        text = source.read()
    try:
        data = convert(text)
    except ValueError as error:
        sys.exit(f"{arguments[1]}: {error}")
    with open(arguments[2], "wb") as output:
        output.write(data)


if __name__ == "__main__":
    main(sys.argv)
