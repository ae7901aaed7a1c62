"""The frames of a recording, read as the whole-game tests need them.

frames(data) yields (frame, controls, at) for each frame in order: its index
from 0, the 27 control bits it was played with, and where in data the varint
of those bits starts (None for a frame that repeats the previous controls).
The layout is src/replay/replay_format.h's."""

HEADER_BYTES = 71
MENU_CHANGE_BYTES = {0: 2, 1: 10, 2: 1}  # ships, weapons, map: the values after the kind


def frames(data):
    i = HEADER_BYTES
    frame = controls = 0

    def varint():
        nonlocal i
        value = shift = 0
        while True:
            byte = data[i]
            i += 1
            value |= (byte & 0x7F) << shift
            shift += 7
            if byte < 0x80:
                return value

    while i < len(data):
        tag = data[i]
        i += 1
        if tag < 0x80:
            if tag & 0x1F == 0x1F:
                varint()
            at = None
            if tag & 0x20:
                at = i
                controls = varint()
            if tag & 0x40:
                varint()
            yield frame, controls, at
            frame += 1
        elif tag < 0xC0 or tag == 0xF0:
            for _ in range((tag & 0x3F) + 1 if tag < 0xC0 else varint()):
                yield frame, controls, None
                frame += 1
        elif tag == 0xF2:
            varint()
            varint()
            i += 8
        elif tag == 0xF1:
            for _ in range(varint()):
                i += 1 + MENU_CHANGE_BYTES[data[i]]
            i += 1
        else:
            return
