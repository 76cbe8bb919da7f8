#!/usr/bin/python3
"""An independent reader of the embedded resource table ("QxResEmbed").

Checks every layout rule and prints one line per entry:
    <offset> <size> <the data in hexadecimal, "-" when empty> <name>
or, on the first broken rule, "error: <what>" and exit status 1.

Rules: a directory of entries (name bytes, zero byte, u32 offset, u32 size,
little-endian) ended by an empty name; names unique and sorted by byte value;
each entry's data at a multiple of 32 bytes, in directory order; zero bytes
between the directory and the first data, in every gap, and after the last
data up to the end; the whole table a multiple of 32 bytes long.
"""
import struct
import sys


def fail(what):
    print("error: " + what)
    sys.exit(1)


def main(path):
    data = open(path, "rb").read()
    if len(data) % 32:
        fail("length %d is not a multiple of 32" % len(data))
    entries = []
    pos = 0
    while True:
        end = data.find(b"\0", pos)
        if end < 0:
            fail("directory has no end")
        if end == pos:
            pos += 1
            break
        name = data[pos:end]
        if end + 9 > len(data):
            fail("entry cut short")
        offset, size = struct.unpack_from("<II", data, end + 1)
        entries.append((name, offset, size))
        pos = end + 9
    directory_end = pos
    names = [e[0] for e in entries]
    if names != sorted(names) or len(set(names)) != len(names):
        fail("names are not unique and sorted by byte")
    covered = directory_end
    for name, offset, size in entries:
        if offset % 32:
            fail("%r does not start at a multiple of 32" % name)
        if offset < covered:
            fail("%r overlaps what comes before it" % name)
        if any(data[covered:offset]):
            fail("non-zero padding before %r" % name)
        if offset + size > len(data):
            fail("%r runs past the end" % name)
        covered = offset + size
    if any(data[covered:]):
        fail("non-zero bytes after the last entry")
    if covered and len(data) - covered >= 32:
        fail("more padding at the end than up to the next multiple of 32")
    for name, offset, size in entries:
        content = data[offset:offset + size].hex() or "-"
        print("%d %d %s %s" % (offset, size, content, name.decode("utf-8")))


if __name__ == "__main__":
    main(sys.argv[1])
