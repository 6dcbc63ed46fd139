#!/usr/bin/env python3
"""Writes resources/ding.wav: the short chime of the collection editor's "書込".

A 0.25 s tone of 1,320 Hz with a quick fade, 16-bit mono at 22,050 Hz, made from arithmetic
alone so that the file is the project's own. Run from the checkout's root:
    python3 tools/sounds/make_ding.py
"""
import math
import struct
import wave

RATE = 22050
SECONDS = 0.25
FREQ = 1320.0


def main(path="resources/ding.wav"):
    n = int(RATE * SECONDS)
    frames = bytearray()
    for i in range(n):
        t = i / RATE
        attack = min(1.0, i / (RATE * 0.005))
        decay = math.exp(-t * 14.0)
        sample = 0.45 * attack * decay * (math.sin(2 * math.pi * FREQ * t) + 0.3 * math.sin(4 * math.pi * FREQ * t))
        frames += struct.pack("<h", int(max(-1.0, min(1.0, sample)) * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
