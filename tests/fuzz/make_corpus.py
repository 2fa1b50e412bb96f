#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz target into corpus/ beside this script.

An input is one byte giving the script's length, the script, then the host's drawn answers.
The script reads, in order: whether the document has a selection; seven service modes (record
loads, saves, creates, deletes, walks, edit starts, edit ends: 0 honest, 1 refuse, 2 claim
only, 3 do and deny, 4 drawn per call); a byte of flags for drawn sizes, keys, regions,
strings, values and the current window, and for calls back into the module from the host's services; the host version (0-3 from a table, 4 then 4 bytes);
how many services are absent and which (4 bytes each); then the user's actions with their
arguments. The numbers below follow Action in note_spacing_fuzzer.cpp.
"""
import os
import random
import struct

INVOKE, SELECT, DOUBLE, TICK, APPLY, DEFAULT, CLOSE, CLOSE_BOX, RESIZE, MOVE = range(10)
MINIMISE, RESTORE, ACTIVATE, MODAL, TERMINATE, INIT, ENUMERATE, MESSAGE, NULL_MESSAGE = range(10, 19)
LOAD, SAVE, CREATE, DELETE, NEXT, DIALOG, END_DIALOG = range(7)
GET_REGIONS, EXECUTE = 17, 24
WMSZ_BOTTOM_CHOICE = 5  # WMSZ_LEFT + 5


def u32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def i16(value):
    return struct.pack("<h", value)


def seed(selected, modes, flags, version, absent, actions, answers=b""):
    script = bytes([1 if selected else 0]) + bytes(modes) + bytes([flags]) + bytes([version])
    script += bytes([len(absent)]) + b"".join(u32(index) for index in absent)
    script += bytes(actions)
    assert len(script) < 256
    return bytes([len(script)]) + script + answers


def main():
    rng = random.Random(20128)
    honest = [0] * 7
    drawn = [4] * 7
    seeds = {
        "honest_session": seed(
            True, honest, 0, 0, [],
            [INVOKE, SELECT, 0, TICK, APPLY, SELECT, 5, DEFAULT, CLOSE, INVOKE, TERMINATE]),
        "drawn_answers": seed(
            True, drawn, 0x3F, 0, [],
            [INVOKE, SELECT, 2, TICK, APPLY, RESIZE, WMSZ_BOTTOM_CHOICE] + list(i16(383) + i16(320))
            + [SELECT, 7, DEFAULT, CLOSE_BOX, INVOKE],
            bytes(rng.randrange(256) for _ in range(600))),
        "missing_services": seed(
            True, honest, 0, 0, [GET_REGIONS, EXECUTE, END_DIALOG],
            [INVOKE, SELECT, 1, APPLY, DEFAULT, CLOSE, INVOKE, SELECT, 3, DEFAULT, TERMINATE]),
        "edits_the_wrong_way": seed(
            True, [3, 3, 0, 2, 0, 1, 2], 0x01, 0, [],
            [INVOKE, SELECT, 4, TICK, APPLY, APPLY, MINIMISE, RESTORE, APPLY]),
        "eight_bit_host_messages": seed(
            False, [0, 0, 0, 0, 0, 0, 0], 0x24, 1, [],
            [INVOKE, MESSAGE, 0] + list(u32(0) + u32(0x01400180))
            + [MESSAGE, 1] + list(u32(105) + u32(0))
            + [NULL_MESSAGE] + list(u32(0x0024) + u32(0) + u32(0x12345678))
            + [MODAL, ACTIVATE, 1, MOVE] + list(i16(-40) + i16(30000))
            + [ENUMERATE] + list(u32(0xFFFF)) + [INIT] + list(u32(6)),
            bytes(rng.randrange(256) for _ in range(120))),
        "calls_back": seed(
            True, honest, 0x40, 0, [],
            [INVOKE, SELECT, 0, TICK, APPLY, SELECT, 6, DEFAULT, APPLY, CLOSE, INVOKE, APPLY,
             TERMINATE, INVOKE, DEFAULT],
            bytes(rng.randrange(256) for _ in range(400))),
    }
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
