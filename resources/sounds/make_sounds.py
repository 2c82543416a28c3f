#!/usr/bin/env python3
"""Synthesizes Numora's two sounds from plain sine waves.

    python3 make_sounds.py        # writes wav104.wav and wav106.wav here

wav104.wav  landing chime: a quick rising three-note bell sparkle,
            22050 Hz, 8-bit unsigned mono, 16539 frames (0.75 s).
wav106.wav  milestone fanfare: C-E-G-C' arpeggio into a held C major chord,
            11025 Hz, 8-bit unsigned mono, 22048 frames (2.0 s).

Only the standard library is used and the dither noise comes from a fixed
seed, so every run produces byte-identical files. The `wave` module writes
the canonical 44-byte RIFF header with no extra chunks, which is what the
game's loader expects.
"""
import math
import os
import random
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
PEAK = 10 ** (-3.0 / 20)        # about -3 dBFS: bright but never harsh


def note(freq, t, partials, sr):
    """One additive tone; partials that would alias or sound shrill at this
    sample rate are skipped."""
    limit = min(sr * 0.42, 4500.0 if sr <= 11025 else 9000.0)
    v = 0.0
    for mult, amp in partials:
        fq = freq * mult
        if fq < limit:
            v += amp * math.sin(2 * math.pi * fq * t)
    return v


def env(t, attack, decay):
    """Soft linear attack then exponential decay; zero before the onset."""
    if t < 0:
        return 0.0
    a = min(1.0, t / attack)
    # a raised-cosine attack avoids the click a straight ramp can leave
    a = 0.5 - 0.5 * math.cos(math.pi * a)
    return a * math.exp(-t / decay)


def edge_fade(i, n, sr, ms=12.0):
    k = int(sr * ms / 1000)
    if i < k:
        return i / k
    if i >= n - k:
        return max(0.0, (n - 1 - i) / k)
    return 1.0


def to_u8(samples, sr, seed):
    """Normalise to PEAK and quantise to unsigned 8-bit with gentle
    triangular dither; the dither is faded with the signal so the very first
    and last samples are exact silence (128) and nothing clicks."""
    rng = random.Random(seed)
    top = max(abs(s) for s in samples) or 1.0
    n = len(samples)
    out = bytearray(n)
    for i, s in enumerate(samples):
        fade = edge_fade(i, n, sr)
        x = s / top * PEAK * fade
        d = (rng.random() - rng.random()) * fade
        v = int(round(128 + x * 127 + d))
        out[i] = max(0, min(255, v))
    return bytes(out)


def write(name, sr, data):
    with wave.open(os.path.join(HERE, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(sr)
        w.writeframes(data)


def landing():
    sr, n = 22050, 16539
    # a small bell: fundamental, octave, and a faint inharmonic shimmer
    bell = [(1.0, 1.0), (2.0, 0.35), (3.01, 0.12), (4.2, 0.06)]
    notes = [(0.000, 783.99, 0.9), (0.065, 1046.50, 0.85), (0.130, 1318.51, 1.0)]
    s = []
    for i in range(n):
        t = i / sr
        v = 0.0
        for start, fq, amp in notes:
            tt = t - start
            if tt >= 0:
                v += amp * env(tt, 0.006, 0.16) * note(fq, tt, bell, sr)
        # a soft upward "pop" under the first note gives the landing a bounce
        if t < 0.06:
            ph = 2 * math.pi * (300 * t + 0.5 * 5000 * t * t)
            v += 0.35 * env(t, 0.004, 0.018) * math.sin(ph)
        # a last high twinkle on the top note
        tt = t - 0.20
        if tt >= 0:
            v += 0.25 * env(tt, 0.004, 0.09) * note(2637.02, tt, [(1.0, 1.0)], sr)
        s.append(v)
    write("wav104.wav", sr, to_u8(s, sr, seed=104))


def milestone():
    sr, n = 11025, 22048
    # warm, rounded timbre: mostly fundamental with a few soft harmonics
    horn = [(1.0, 1.0), (2.0, 0.45), (3.0, 0.22), (4.0, 0.10)]
    C5, E5, G5, C6 = 523.25, 659.25, 783.99, 1046.50
    arp = [(0.00, C5, 0.16), (0.16, E5, 0.16), (0.32, G5, 0.16), (0.48, C6, 0.30)]
    chord_at = 0.80
    chord = [(C5, 0.8), (E5, 0.7), (G5, 0.7), (C6, 0.55), (261.63, 0.45)]
    s = []
    for i in range(n):
        t = i / sr
        v = 0.0
        for start, fq, dur in arp:
            tt = t - start
            if 0 <= tt < dur + 0.25:
                # each arpeggio note rings a little past the next onset
                e = env(tt, 0.012, 0.35)
                if tt > dur:
                    e *= math.exp(-(tt - dur) / 0.05)
                v += 0.9 * e * note(fq, tt, horn, sr)
        tt = t - chord_at
        if tt >= 0:
            # gentle vibrato as a wobble of time, i.e. integrated frequency
            # deviation, so its depth stays constant instead of growing
            depth = 0.004 * min(1.0, tt / 0.3)
            tv = tt + depth / (2 * math.pi * 5.5) * (1 - math.cos(2 * math.pi * 5.5 * tt))
            e = env(tt, 0.02, 0.6)
            # let the chord die away smoothly instead of being cut by the end
            rest = (n - 1 - i) / sr
            if rest < 0.5:
                e *= 0.5 - 0.5 * math.cos(math.pi * rest / 0.5)
            for fq, amp in chord:
                v += amp * e * note(fq, tv, horn, sr)
        s.append(v)
    write("wav106.wav", sr, to_u8(s, sr, seed=106))


if __name__ == "__main__":
    landing()
    milestone()
