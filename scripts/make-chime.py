#!/usr/bin/env python3
"""Writes the notification chime res/sounds/default.wav: two bell-like notes
(a rising fifth) as 16-bit mono PCM, well under a second. Deterministic, so the
committed file can be made again byte for byte."""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
LENGTH_S = 0.7
# (start in seconds, fundamental in Hz, loudness)
NOTES = [(0.0, 880.0, 0.55), (0.11, 1318.5, 0.45)]
# Bell-like partials: (frequency ratio, relative loudness, decay rate per second)
PARTIALS = [(1.0, 1.0, 6.0), (2.0, 0.35, 9.0), (3.01, 0.12, 14.0)]
ATTACK_S = 0.004


def note_sample(t, freq, loudness):
    if t < 0:
        return 0.0
    attack = min(1.0, t / ATTACK_S)
    return loudness * attack * sum(
        level * math.exp(-decay * t) * math.sin(2 * math.pi * freq * ratio * t)
        for ratio, level, decay in PARTIALS
    )


def samples():
    count = int(RATE * LENGTH_S)
    fade = int(RATE * 0.05)
    for i in range(count):
        t = i / RATE
        value = sum(note_sample(t - start, freq, loud) for start, freq, loud in NOTES)
        # A short fade so the file never ends on a click.
        value *= min(1.0, (count - i) / fade)
        yield max(-1.0, min(1.0, value * 0.6))


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "res/sounds/default.wav"
    target.parent.mkdir(parents=True, exist_ok=True)
    frames = b"".join(struct.pack("<h", round(s * 32767)) for s in samples())
    with wave.open(str(target), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
