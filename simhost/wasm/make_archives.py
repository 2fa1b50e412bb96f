#!/usr/bin/env python3
"""Writes compressed scores (.mxl) for the wasm suite into a folder: one that is read through
libzip and zlib, and ones whose entries a score's archive never needs or that are damaged, which
the reader refuses.

Usage: make_archives.py SCORE.musicxml FOLDER
"""
import io
import os
import struct
import sys
import zipfile

CONTAINER = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<container><rootfiles><rootfile full-path="music/score.xml"/></rootfiles></container>\n'
)
# Fixed, so that the same score makes the same archive.
WHEN = (2026, 1, 1, 0, 0, 0)


def archive(entries, method):
    """A zip of (name, text) entries, every one with the same method."""
    built = io.BytesIO()
    with zipfile.ZipFile(built, "w") as out:
        for name, text in entries:
            info = zipfile.ZipInfo(name, WHEN)
            info.compress_type = method
            out.writestr(info, text)
    return bytearray(built.getvalue())


def with_entry_field(data, local_offset, value):
    """The one entry's field, in its local header and its directory record (16 bytes further)."""
    directory = data.index(b"PK\x01\x02")
    for at in (local_offset, directory + local_offset + 2):
        data[at:at + 2] = struct.pack("<H", value)
    return data


def main():
    score_path, folder = sys.argv[1:3]
    os.makedirs(folder, exist_ok=True)
    with open(score_path, encoding="utf-8") as score_file:
        score = score_file.read()
    one = [("s.xml", score)]
    stored = archive(one, zipfile.ZIP_STORED)
    # A byte of the stored score's text, past its 30-byte local header and name.
    stored[30 + len("s.xml") + 40] ^= 0x20
    archives = {
        "score.mxl": archive(
            [("META-INF/container.xml", CONTAINER), ("music/score.xml", score)],
            zipfile.ZIP_DEFLATED),
        "bzip2.mxl": with_entry_field(archive(one, zipfile.ZIP_DEFLATED), 8, 12),
        "xz.mxl": with_entry_field(archive(one, zipfile.ZIP_DEFLATED), 8, 95),
        "encrypted.mxl": with_entry_field(archive(one, zipfile.ZIP_DEFLATED), 6, 1),
        "wrong_checksum.mxl": stored,
    }
    for name, data in archives.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
