"""Synthesises the two steering sounds and the warning that the RTK fix is lost. They are told apart by ear alone: "steer left" is one
low, longer tone that comes mostly from the left, "steer right" two short high beeps mostly
from the right. Both clips have the same length and format (16-bit stereo, 22050 Hz). The
warning that the RTK fix is lost, three falling beeps from both sides, is unlike either of them;
so is the warning of worked ground ahead, a low and a high tone twice over, and the warning of
the field's boundary ahead, one long low tone that falls away."""

import math
import struct
import sys
import wave

RATE = 22050
FRAMES = 6300          # 0.286 s; 25.2 kB of samples per clip
LOUD, SOFT = 0.80, 0.25


def tone(frequency, start, length, t):
    """A sine burst with short raised-cosine edges, so it starts and stops without a click."""
    if t < start or t >= start + length:
        return 0.0
    edge = 0.012
    local = t - start
    envelope = 1.0
    if local < edge:
        envelope = 0.5 - 0.5 * math.cos(math.pi * local / edge)
    elif local > length - edge:
        envelope = 0.5 - 0.5 * math.cos(math.pi * (length - local) / edge)
    # A little of the octave above gives the beep some body on a small loudspeaker.
    phase = 2 * math.pi * frequency * local
    return envelope * (0.85 * math.sin(phase) + 0.15 * math.sin(2 * phase))


def left(t):
    return tone(587.0, 0.010, 0.240, t)


def right(t):
    return tone(1175.0, 0.010, 0.095, t) + tone(1175.0, 0.150, 0.095, t)


def rtk_lost(t):
    return (tone(1480.0, 0.010, 0.070, t) + tone(1175.0, 0.100, 0.070, t) +
            tone(880.0, 0.190, 0.090, t))


def worked_ahead(t):
    """Worked ground ahead: a low and a high tone twice over, from both sides."""
    return (tone(660.0, 0.010, 0.060, t) + tone(990.0, 0.080, 0.060, t) +
            tone(660.0, 0.150, 0.060, t) + tone(990.0, 0.220, 0.060, t))


def boundary_ahead(t):
    """The boundary ahead: a long low tone and a lower one after it, from both sides."""
    return tone(523.0, 0.010, 0.120, t) + tone(392.0, 0.140, 0.130, t)


def write(path, voice, left_gain, right_gain):
    frames = bytearray()
    for n in range(FRAMES):
        v = voice(n / RATE)
        frames += struct.pack("<hh", int(32767 * v * left_gain), int(32767 * v * right_gain))
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


def build(wave_dir):
    write(f"{wave_dir}/SONIDOLEFT.wav", left, LOUD, SOFT)
    write(f"{wave_dir}/SONIDORIGHT.wav", right, SOFT, LOUD)
    write(f"{wave_dir}/SONIDORTK.wav", rtk_lost, LOUD, LOUD)
    write(f"{wave_dir}/SONIDOWORKED.wav", worked_ahead, LOUD, LOUD)
    write(f"{wave_dir}/SONIDOBOUNDARY.wav", boundary_ahead, LOUD, LOUD)


if __name__ == "__main__":
    build(sys.argv[1])
