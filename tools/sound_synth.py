"""Small synthesiser for the game's sounds and music (used by make_sounds.py).

Everything is made from scratch with NumPy: band-limited additive oscillators (no harmonic above
the audible range, so nothing aliases), envelopes, seeded noise, frequency-domain filters, and a
looping mixer that renders a piece as one period of an endless signal, so its end flows into its
start.
"""

import numpy as np

SR = 44100
# Highest partial an oscillator makes; partials fade out below it instead of stopping dead.
TOP_HZ = 15000.0
TOP_FADE_HZ = 2000.0


def seconds(n):
    return np.arange(n) / SR


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note_number(name):
    """"C4" is 60, "A4" 69; "#" sharpens and "b" flattens ("Bb4", "C#5")."""
    base = _NAMES[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        base += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return base + 12 * (int(rest) + 1)


def parse_part(text, beats_per_bar=4):
    """A line of notes "D5:1 A4:.5 r:.5 | ..." (name:beats, "r" is a rest, "|" ends a bar) as a
    list of (start beat, note number or None, beats). Raises when a bar does not add up."""
    events, beat = [], 0.0
    for b, bar in enumerate(text.split("|")):
        bar_start = beat
        for token in bar.split():
            name, length = token.split(":")
            length = float(length)
            events.append((beat, None if name == "r" else note_number(name), length))
            beat += length
        if abs(beat - bar_start - beats_per_bar) > 1e-9:
            raise ValueError("bar %d has %g beats: %s" % (b + 1, beat - bar_start, bar))
    return events


def envelope(n, attack, decay, sustain, release, hold=None):
    """ADSR gain curve over n samples: attack and decay to `sustain`, held until `hold` seconds
    (default: until the release must begin), then released to zero at the last sample."""
    t = seconds(n)
    total = n / SR
    hold = total - release if hold is None else hold
    g = np.where(t < attack, t / max(attack, 1e-9),
                 sustain + (1 - sustain) * np.exp(-(t - attack) / max(decay, 1e-9)))
    rel = np.clip((total - t) / max(release, 1e-9), 0.0, 1.0)
    after = t > hold
    g = np.where(after, g * rel, g)
    return g


def additive(freq, amplitude, max_k=400, top_hz=TOP_HZ):
    """Sum of harmonics of the instantaneous frequency `freq` (Hz, array); `amplitude(k, hz)`
    gives the weight of harmonic k whose frequency is `hz` (array). Harmonics fade out below
    `top_hz` (dull instruments need fewer)."""
    fade_width = min(TOP_FADE_HZ, top_hz / 4)
    phase = 2 * np.pi * np.cumsum(freq) / SR
    out = np.zeros_like(freq)
    lowest = float(np.min(freq))
    k = 1
    while k * lowest < top_hz and k <= max_k:
        hz = k * freq
        fade = np.clip((top_hz - hz) / fade_width, 0.0, 1.0)
        out += amplitude(k, hz) * fade * np.sin(k * phase)
        k += 1
    return out


def lowpass_weight(hz, cutoff, order=2):
    return 1.0 / (1.0 + (hz / cutoff) ** (2 * order)) ** 0.5


def saw(freq, cutoff, top_hz=TOP_HZ):
    return additive(freq, lambda k, hz: lowpass_weight(hz, cutoff) / k, top_hz=top_hz)


def pulse(freq, duty, cutoff):
    return additive(freq, lambda k, hz: lowpass_weight(hz, cutoff) * np.sin(np.pi * k * duty) / k)


def triangle(freq):
    return additive(freq, lambda k, hz: 0.0 if k % 2 == 0 else ((-1) ** (k // 2)) / (k * k),
                    max_k=15)


def glide(n, start_hz, end_hz, curve=1.0):
    """Exponential pitch glide from start to end; `curve` > 1 keeps the start longer."""
    x = (np.arange(n) / max(n - 1, 1)) ** curve
    return start_hz * (end_hz / start_hz) ** x


def vibrato(n, rate_hz, depth, delay=0.0):
    t = seconds(n)
    ramp = np.clip((t - delay) / 0.15, 0.0, 1.0)
    return 1.0 + depth * ramp * np.sin(2 * np.pi * rate_hz * t)


def noise(n, seed):
    return np.random.default_rng(seed).standard_normal(n)


def spectral_filter(x, response):
    """Zero-phase filter: `response(hz)` is the gain at each frequency. The signal is padded so
    that nothing wraps around."""
    n = len(x)
    size = 1 << int(np.ceil(np.log2(2 * n)))
    spectrum = np.fft.rfft(x, size)
    hz = np.fft.rfftfreq(size, 1.0 / SR)
    return np.fft.irfft(spectrum * response(hz), size)[:n]


def bandpass(hz, centre, width):
    return 1.0 / (1.0 + ((hz - centre) / width) ** 2)


def formants(hz, peaks):
    """Vowel colour: a sum of resonance peaks (centre, width, gain) over a gentle tilt."""
    gain = 0.05 / (1.0 + hz / 1000.0)
    for centre, width, g in peaks:
        gain = gain + g * bandpass(hz, centre, width)
    return gain


def fades(x, fade_in=0.006, fade_out=0.02):
    """Raised-cosine fades so a sound starts and ends at silence without a click."""
    x = x.copy()
    a = max(1, int(fade_in * SR))
    b = max(1, int(fade_out * SR))
    x[:a] *= 0.5 - 0.5 * np.cos(np.pi * np.arange(a) / a)
    x[-b:] *= 0.5 + 0.5 * np.cos(np.pi * (np.arange(b) + 1) / b)
    return x


def normalise(x, peak_dbfs):
    return x * (10 ** (peak_dbfs / 20.0) / np.max(np.abs(x)))


def pan_gains(pan):
    """Constant-power pan: -1 left, 0 centre, +1 right."""
    angle = (pan + 1) * np.pi / 4
    return np.cos(angle), np.sin(angle)


class LoopMix:
    """A stereo bus of one loop period. Sounds that ring past the end are wrapped onto the start,
    so the period repeated forever is exactly what an endless performance would sound like."""

    def __init__(self, period, tail_seconds=4.0):
        self.period = period
        self.buf = np.zeros((2, period + int(tail_seconds * SR)))

    def add(self, start, mono, pan=0.0, gain=1.0):
        start = int(start) % self.period
        end = start + len(mono)
        if end > self.buf.shape[1]:
            raise ValueError("sound longer than the mix tail")
        left, right = pan_gains(pan)
        self.buf[0, start:end] += gain * left * mono
        self.buf[1, start:end] += gain * right * mono

    def add_stereo(self, start, stereo, gain=1.0):
        start = int(start) % self.period
        self.buf[:, start:start + stereo.shape[1]] += gain * stereo

    def folded(self):
        out = self.buf[:, :self.period].copy()
        for at in range(self.period, self.buf.shape[1], self.period):
            piece = self.buf[:, at:at + self.period]
            out[:, :piece.shape[1]] += piece
        return out


def circular_echo(x, taps):
    """Echoes of a looping stereo signal: `taps` are (delay samples, gain left, gain right,
    swap channels). Wraps around, so the loop stays seamless."""
    out = x.copy()
    for delay, gl, gr, swap in taps:
        src = x[::-1] if swap else x
        shifted = np.roll(src, int(delay), axis=1)
        out[0] += gl * shifted[0]
        out[1] += gr * shifted[1]
    return out


def reverb(x, seed, amount, decay_seconds, predelay=0.015, cutoff=5000.0):
    """A room: the loop convolved circularly (so it stays seamless) with an impulse response of
    exponentially decaying, low-passed noise, different on each side for width. `decay_seconds`
    is the time to fall by 60 dB; the wet signal is mixed in at `amount` of the dry level."""
    n = x.shape[1]
    length = int((predelay + decay_seconds) * SR)
    t = seconds(length)
    shape = np.where(t < predelay, 0.0, np.exp(-6.9 * (t - predelay) / decay_seconds))
    mono = np.fft.rfft(x.mean(axis=0))
    wet = []
    for side in range(2):
        ir = spectral_filter(noise(length, seed + side) * shape,
                             lambda hz: lowpass_weight(hz, cutoff, 1))
        ir /= np.sqrt(np.sum(ir ** 2))
        wet.append(np.fft.irfft(mono * np.fft.rfft(ir, n), n))
    return x + amount * np.array(wet)


def circular_lowpass(x, cutoff):
    """Gentle low-pass over the whole loop in the frequency domain (circular, so seamless)."""
    spectrum = np.fft.rfft(x, axis=1)
    hz = np.fft.rfftfreq(x.shape[1], 1.0 / SR)
    return np.fft.irfft(spectrum * lowpass_weight(hz, cutoff, 1), x.shape[1], axis=1)
