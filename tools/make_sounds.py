#!/usr/bin/python3
"""Synthesises the game's sound effects and music and encodes them as Ogg Vorbis.

    /usr/bin/python3 tools/make_sounds.py           # writes game/data/sounds/*.ogg,
                                                    # game/data/music/*.ogg and
                                                    # tools/resources/sounds.xml
    /usr/bin/python3 tools/make_sounds.py --check   # rebuilds into a temporary folder and
                                                    # exits with 1 when anything differs
    /usr/bin/python3 tools/make_sounds.py --report  # levels, lengths and loop seams of the
                                                    # committed files

Needs python3-numpy and vorbis-tools (oggenc, oggdec). Nothing is sampled or downloaded: every
sound is made here from oscillators, envelopes, seeded noise and filters (sound_synth.py).
The encoder runs with a fixed quality and a fixed stream serial per file, so the same inputs give
the same bytes and --check compares byte for byte. Should a different machine's maths ever move
a sample by one step, --check falls back to comparing the decoded sound within a tight
tolerance and says so.

Effects are mono 44.1 kHz, fade in and out (no click), peak at -3 dBFS. Each piece of music is
one period of an endless loop (44.1 kHz stereo): notes ringing past the end are wrapped onto the
start and the echoes and the reverb are circular, so the last sample flows into the first.
"""

import argparse
import functools
import os
import subprocess
import sys
import tempfile
import time
import zlib

import numpy as np

sys.dont_write_bytecode = True  # no __pycache__ left in the checkout
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as ss  # noqa: E402
from sound_synth import SR  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOUNDS_DIR = os.path.join("game", "data", "sounds")
MUSIC_DIR = os.path.join("game", "data", "music")
XML_FILE = os.path.join("tools", "resources", "sounds.xml")

EFFECT_QUALITY = "5"
MUSIC_QUALITY = "4"
EFFECT_PEAK_DBFS = -3.0
MUSIC_PEAK_DBFS = -3.0
# Decoded files must stay below this (the encoder may raise peaks a little).
PEAK_LIMIT_DBFS = -1.0


# ---------------------------------------------------------------------------------------------
# Sound effects


def whoosh():
    """A thrown stone: air noise through a band-pass that sweeps up as it passes and back down."""
    n = int(0.36 * SR)
    x = np.arange(n) / n
    src = ss.noise(n, 101)
    centre = 450 + 2300 * np.sin(np.pi * x ** 0.8) ** 2
    q = 1.0 / 2.2
    out = np.zeros(n)
    low = band = 0.0
    for i in range(n):
        f = 2 * np.sin(np.pi * centre[i] / SR)
        low += f * band
        high = src[i] - low - q * band
        band += f * high
        out[i] = band
    air = ss.spectral_filter(ss.noise(n, 102), lambda hz: ss.bandpass(hz, 5200, 1800))
    shape = np.sin(np.pi * x ** 0.7) ** 1.6
    return ss.fades((out + 0.25 * air) * shape, 0.006, 0.03)


def thud():
    """The stone landing on a foe: a low body thump with a wooden knock and a short crack."""
    n = int(0.28 * SR)
    t = ss.seconds(n)
    body_hz = 55 + 150 * np.exp(-t / 0.03)
    body = np.sin(2 * np.pi * np.cumsum(body_hz) / SR) * np.exp(-t / 0.09)
    knock = (0.6 * np.sin(2 * np.pi * 390 * t) + 0.3 * np.sin(2 * np.pi * 1020 * t)
             + 0.15 * np.sin(2 * np.pi * 1730 * t)) * np.exp(-t / 0.035)
    crack = ss.spectral_filter(ss.noise(n, 201), lambda hz: ss.lowpass_weight(hz, 3200, 2))
    crack *= np.exp(-t / 0.008) * 2.0
    return ss.fades(body + 0.7 * knock + crack, 0.008, 0.04)


def voice(f0, vowel_from, vowel_to, seed, breath=0.05, warble=0.0):
    """A sung-through-the-nose cry: harmonics of the pitch curve `f0` coloured by formants that
    move from one vowel to another, a little breath noise, optionally a fast warble."""
    n = len(f0)
    x = np.arange(n) / n
    peaks = [(a + (b - a) * x, w, g) for (a, w, g), (b, _, _) in zip(vowel_from, vowel_to)]
    tone = ss.additive(f0, lambda k, hz: ss.formants(hz, peaks), max_k=60)
    air = ss.spectral_filter(ss.noise(n, seed), lambda hz: ss.bandpass(hz, 1800, 1400))
    tone = tone / np.max(np.abs(tone)) + breath * air / np.max(np.abs(air))
    if warble:
        tone *= 1.0 - warble * (0.5 + 0.5 * np.sin(2 * np.pi * 23 * ss.seconds(n)))
    return tone


VOWEL_A = [(760, 110, 1.0), (1180, 130, 0.55), (2600, 220, 0.22), (3400, 260, 0.1)]
VOWEL_O = [(520, 100, 1.0), (880, 120, 0.5), (2500, 220, 0.15), (3300, 260, 0.06)]
VOWEL_I = [(330, 80, 1.0), (2300, 200, 0.6), (3000, 240, 0.35), (3700, 260, 0.15)]


def player_cry():
    """Pim falls: a long "aaah" that rises for a moment, then sinks and darkens to "oh"."""
    n = int(0.78 * SR)
    t = ss.seconds(n)
    rise = np.clip(t / 0.08, 0, 1)
    f0 = (270 + 60 * rise) * np.where(t < 0.08, 1.0, (165 / 330) ** ((t - 0.08) / (t[-1] - 0.08)))
    jitter = ss.spectral_filter(ss.noise(n, 301), lambda hz: ss.lowpass_weight(hz, 12, 1))
    f0 = f0 * ss.vibrato(n, 6.5, 0.025, 0.12) * (1 + 0.12 * jitter / np.max(np.abs(jitter)))
    tone = voice(f0, VOWEL_A, VOWEL_O, 302, breath=0.12)
    gain = ss.envelope(n, 0.03, 0.3, 0.8, 0.3)
    return ss.fades(tone * gain, 0.006, 0.03)


def foe_cry(base_hz, length, seed):
    """A foe knocked off: a squeaky "eee-yaa" that jumps up and then falls away, with a goblin
    warble. Higher foes cry higher (and a little shorter)."""
    n = int(length * SR)
    t = ss.seconds(n)
    x = t / t[-1]
    f0 = base_hz * np.where(x < 0.15, 1 + 0.25 * np.sin(np.pi / 2 * x / 0.15),
                            1.25 * (0.55 / 1.25) ** (np.clip(x - 0.15, 0, None) / 0.85) ** 1.3)
    f0 = f0 * ss.vibrato(n, 9.0, 0.015)
    scale = (base_hz / 250.0) ** 0.25  # smaller creatures, higher formants
    vfrom = [(c * scale, w, g) for c, w, g in VOWEL_I]
    vto = [(c * scale, w, g) for c, w, g in VOWEL_A]
    tone = voice(f0, vfrom, vto, seed, breath=0.06, warble=0.3)
    gain = ss.envelope(n, 0.015, 0.2, 0.75, length * 0.45)
    return ss.fades(tone * gain, 0.006, 0.03)


FOE_CRIES = [  # name, base pitch, length
    ("foe_cry_low", 190.0, 0.56),
    ("foe_cry_medium", 255.0, 0.5),
    ("foe_cry_high", 340.0, 0.45),
    ("foe_cry_very_high", 455.0, 0.4),
]


def effects():
    out = [("throw", whoosh(), -4.0), ("hit", thud(), EFFECT_PEAK_DBFS),
           ("player_cry", player_cry(), EFFECT_PEAK_DBFS)]
    for i, (name, hz, length) in enumerate(FOE_CRIES):
        out.append((name, foe_cry(hz, length, 400 + i), EFFECT_PEAK_DBFS))
    return [(name, ss.normalise(x, peak)[np.newaxis, :]) for name, x, peak in out]


# ---------------------------------------------------------------------------------------------
# Instruments of the music (mono one-shots; `hz` the pitch, `dur` the held length in seconds)


@functools.lru_cache(maxsize=None)  # chords and riffs repeat
def brass(hz, dur):
    rel = 0.09
    n = int((dur + rel) * SR)
    freq = hz * ss.vibrato(n, 5.5, 0.004, 0.25)
    bright = ss.envelope(n, 0.04, 0.2, 0.55, rel, hold=dur)
    cutoff = 700 + 2600 * bright
    tone = ss.additive(freq, lambda k, f: ss.lowpass_weight(f, cutoff) / k)
    return tone * ss.envelope(n, 0.025, 0.15, 0.8, rel, hold=dur)


@functools.lru_cache(maxsize=None)
def chip_lead(hz, dur):
    rel = 0.06
    n = int((dur + rel) * SR)
    freq = hz * ss.vibrato(n, 6.0, 0.005, 0.15)
    tone = ss.pulse(freq, 0.25, 4200)
    return tone * ss.envelope(n, 0.006, 0.12, 0.6, rel, hold=dur)


@functools.lru_cache(maxsize=None)
def bell(hz, dur):
    n = int((dur + 0.8) * SR)
    t = ss.seconds(n)
    tone = np.zeros(n)
    for ratio, gain, decay in ((1.0, 1.0, 0.7), (2.0, 0.35, 0.4), (3.0, 0.12, 0.25),
                               (4.16, 0.08, 0.15)):
        if hz * ratio < ss.TOP_HZ:
            tone += gain * np.sin(2 * np.pi * hz * ratio * t) * np.exp(-t / decay)
    return ss.fades(tone, 0.003, 0.05)


def plucked_bass(hz, dur, rel, cutoff, sub, attack, decay, sustain, top_hz):
    """A saw whose brightness dies away fast (`cutoff`: start, end and time constant) over a
    sine an octave lower in weight `sub`."""
    n = int((dur + rel) * SR)
    t = ss.seconds(n)
    start, end, fall = cutoff
    cut = end + (start - end) * np.exp(-t / fall)
    tone = ss.additive(np.full(n, hz), lambda k, f: ss.lowpass_weight(f, cut) / k, top_hz=top_hz)
    tone += sub * np.sin(2 * np.pi * hz * t)
    return tone * ss.envelope(n, attack, decay, sustain, rel, hold=dur)


@functools.lru_cache(maxsize=None)
def tuba(hz, dur):
    return plucked_bass(hz, dur, 0.05, (1460, 260, 0.07), 0.5, 0.008, 0.25, 0.55, 4000)


@functools.lru_cache(maxsize=None)
def synth_bass(hz, dur):
    return plucked_bass(hz, dur, 0.03, (2100, 300, 0.05), 0.6, 0.004, 0.12, 0.6, 5000)


@functools.lru_cache(maxsize=None)
def organ_stab(hz, dur):
    rel = 0.06
    n = int((dur + rel) * SR)
    weights = (1.0, 0.45, 0.25, 0.12, 0.06)
    tone = ss.additive(np.full(n, hz), lambda k, f: weights[k - 1], max_k=len(weights))
    return tone * ss.envelope(n, 0.006, 0.08, 0.5, rel, hold=dur)


@functools.lru_cache(maxsize=None)
def arp_voice(hz, dur):
    n = int((dur + 0.04) * SR)
    tone = ss.pulse(np.full(n, hz), 0.5, 2600)
    return tone * ss.envelope(n, 0.003, 0.07, 0.25, 0.04, hold=dur)


@functools.lru_cache(maxsize=None)
def pad(hz, dur):
    """A soft string pad, detuned differently on each side: returns stereo."""
    rel = 0.45
    n = int((dur + rel) * SR)
    gain = ss.envelope(n, 0.3, 0.5, 0.85, rel, hold=dur)
    sides = [ss.saw(np.full(n, hz * 2 ** (c / 1200.0)), 1400, top_hz=5000) for c in (-7, 6)]
    return np.array(sides) * gain


# Drums: one-shots made once with fixed seeds.


def kick():
    n = int(0.35 * SR)
    t = ss.seconds(n)
    hz = 45 + 115 * np.exp(-t / 0.035)
    body = np.sin(2 * np.pi * np.cumsum(hz) / SR) * np.exp(-t / 0.2)
    click = ss.spectral_filter(ss.noise(n, 501), lambda f: ss.lowpass_weight(f, 2500, 2))
    click *= np.exp(-t / 0.004) * 0.25
    return ss.fades(body + click, 0.001, 0.03)


def snare(seed, ring=0.12):
    n = int(0.3 * SR)
    t = ss.seconds(n)
    tone = (np.sin(2 * np.pi * 185 * t) + 0.5 * np.sin(2 * np.pi * 330 * t)) * np.exp(-t / 0.045)
    rattle = ss.spectral_filter(
        ss.noise(n, seed),
        lambda f: (f / 1800) ** 2 / (1 + (f / 1800) ** 2) * ss.lowpass_weight(f, 9000, 1))
    rattle *= np.exp(-t / ring) * 0.9
    return ss.fades(0.5 * tone + rattle, 0.001, 0.03)


def hat(seed, ring):
    n = int((0.06 + 4 * ring) * SR)
    t = ss.seconds(n)
    metal = ss.spectral_filter(ss.noise(n, seed),
                               lambda f: (f / 7000) ** 4 / (1 + (f / 7000) ** 4))
    return ss.fades(metal * np.exp(-t / ring), 0.001, 0.02)


def crash(seed):
    n = int(2.2 * SR)
    t = ss.seconds(n)
    metal = ss.spectral_filter(
        ss.noise(n, seed),
        lambda f: (f / 3500) ** 2 / (1 + (f / 3500) ** 2) * ss.lowpass_weight(f, 12000, 1))
    return ss.fades(metal * np.exp(-t / 0.7), 0.001, 0.1)


class Drums:
    def __init__(self, snare_ring):
        self.kit = {
            "k": [kick()],
            "s": [snare(511, snare_ring), snare(512, snare_ring)],
            "c": [hat(521, 0.022), hat(522, 0.022)],
            "o": [hat(523, 0.11)],
            "x": [crash(531), crash(532)],
        }
        self.count = 0

    def hit(self, mix, start, kind, gain, pan):
        # Alternate between the takes of a drum so repeated hits do not sound stamped.
        takes = self.kit[kind]
        self.count += 1
        mix.add(start, takes[self.count % len(takes)], pan, gain)


# ---------------------------------------------------------------------------------------------
# Music


def play_part(mix, events, beat, instrument, pan=0.0, gain=1.0, transpose=0, legato=0.92,
              stereo=False):
    for start, note, length in events:
        if note is None:
            continue
        sound = instrument(ss.midi_hz(note + transpose), length * beat / SR * legato)
        if stereo:
            mix.add_stereo(start * beat, sound, gain)
        else:
            mix.add(start * beat, sound, pan, gain)


def hold_chords(mix, chords, span, gain, start=0):
    """The pad plays `chords` (one per `span` samples from `start`); a chord that repeats is
    held on instead of struck again."""
    i = 0
    while i < len(chords):
        j = i
        while j + 1 < len(chords) and chords[j + 1] == chords[i]:
            j += 1
        for note in chord_notes(chords[i])[1]:
            sound = pad(ss.midi_hz(note), ((j - i + 1) * span - span // 20) / SR)
            mix.add_stereo(start + i * span, sound, gain)
        i = j + 1


def drum_bar(drums, mix, bar_start, step, patterns):
    """`patterns`: (kind, 16-step string, gain, pan); a step is "." (rest), "g" (ghost), "m"
    (medium) or "x" (full), or for hats "c"/"o" (closed, open)."""
    levels = {"g": 0.3, "m": 0.6, "x": 1.0}
    for kind, steps, gain, pan in patterns:
        for i, ch in enumerate(steps):
            if ch == ".":
                continue
            if kind == "h":
                drums.hit(mix, bar_start + i * step, ch, gain, pan)
            else:
                drums.hit(mix, bar_start + i * step, kind, gain * levels[ch], pan)


def master(buses, peak_dbfs):
    mixed = sum(buses)
    return ss.normalise(mixed, peak_dbfs)


# The title: a march in D minor, 112 beats a minute, 16 bars.
TITLE_BPM = 112
TITLE_MELODY = """
D5:1 A4:.5 D5:.5 F5:1 E5:.5 D5:.5 | E5:1.5 F5:.5 E5:1 A4:1 |
Bb4:1 D5:.5 G5:.5 F5:1 E5:.5 D5:.5 | E5:1.5 D5:.5 C#5:2 |
D5:1 A4:.5 D5:.5 F5:1 A5:1 | G5:.5 F5:.5 E5:.5 F5:.5 D5:2 |
Bb5:1 G5:1 A5:1 E5:1 | D5:3 r:1 |
F5:1.5 D5:.5 Bb4:1 D5:1 | C5:1.5 F5:.5 A5:1 F5:1 |
Bb5:1.5 A5:.5 G5:1 D5:1 | E5:1 C#5:.5 D5:.5 E5:2 |
A5:1.5 F5:.5 D5:1 A4:1 | Bb4:1 D5:.5 G5:.5 Bb5:1 A5:.5 G5:.5 |
E5:1.5 F5:.5 E5:1 C#5:1 | D5:2 A4:.5 C#5:.5 E5:1
"""
# Two chords a bar (half bars).
TITLE_CHORDS = ("Dm Dm Dm Dm Gm Gm A A Dm Dm C Dm Gm A Dm Dm "
                "Bb Bb F F Gm Gm A A Dm Dm Gm Gm A A Dm A").split()
# Chord: bass root, the three notes of the stabs and the pad.
CHORDS = {
    "Dm": ("D2", ("A3", "D4", "F4")),
    "Gm": ("G2", ("G3", "Bb3", "D4")),
    "A": ("A2", ("A3", "C#4", "E4")),
    "Bb": ("Bb2", ("Bb3", "D4", "F4")),
    "F": ("F2", ("A3", "C4", "F4")),
    "C": ("C3", ("G3", "C4", "E4")),
    "Em": ("E2", ("G3", "B3", "E4")),
    "Am": ("A2", ("A3", "C4", "E4")),
    "D": ("D2", ("F#3", "A3", "D4")),
    "B": ("B1", ("F#3", "B3", "D#4")),
}


def chord_notes(name):
    root, notes = CHORDS[name]
    return ss.note_number(root), [ss.note_number(n) for n in notes]


def title_music():
    beat = SR * 60 // TITLE_BPM
    bars = 16
    period = bars * 4 * beat
    melody = ss.parse_part(TITLE_MELODY)
    assert melody[-1][0] + melody[-1][2] == bars * 4
    lead, backing, drums_bus, bass_bus = (ss.LoopMix(period) for _ in range(4))

    play_part(lead, melody, beat, brass, pan=0.05, gain=0.34)
    # A bell doubles the last phrase an octave up.
    last_phrase = [e for e in melody if e[0] >= 48]
    play_part(lead, last_phrase, beat, bell, pan=-0.25, gain=0.09, transpose=12)

    for half, name in enumerate(TITLE_CHORDS):
        root, notes = chord_notes(name)
        at = half * 2 * beat
        # Oom-pah: the tuba on the beat, the stabs after it.
        bass_bus.add(at, tuba(ss.midi_hz(root), 0.45 * beat / SR), 0.0, 0.36)
        fifth = root + 7 if root + 7 <= 50 else root - 5
        bass_bus.add(at + beat, tuba(ss.midi_hz(fifth), 0.35 * beat / SR), 0.0, 0.26)
        for i, note in enumerate(notes):
            stab = organ_stab(ss.midi_hz(note), 0.3 * beat / SR)
            backing.add(at + beat, stab, -0.35 + 0.35 * i, 0.09)
    # A soft pad holds each chord for as long as it lasts.
    hold_chords(backing, TITLE_CHORDS, 2 * beat, 0.03)

    drums = Drums(snare_ring=0.14)
    step = beat // 4
    plain = [("k", "x.......m.......", 0.55, 0.0), ("s", "....x..g....x.gg", 0.38, 0.1),
             ("h", "c...c...c...c...", 0.07, 0.3)]
    fill = [("k", "x.......x.......", 0.55, 0.0), ("s", "....x..gmmmmxxxx", 0.38, 0.1)]
    for bar in range(bars):
        drum_bar(drums, drums_bus, bar * 4 * beat, step, fill if bar in (7, 15) else plain)
    for bar in (0, 8):
        drums.hit(drums_bus, bar * 4 * beat, "x", 0.18, -0.4)

    d = int(0.75 * beat)
    lead_wet = ss.circular_echo(lead.folded(), [(d, 0.0, 0.22, False), (2 * d, 0.13, 0.0, False)])
    mixed = [ss.reverb(lead_wet, 7, 0.3, 1.6), ss.reverb(backing.folded(), 9, 0.35, 1.6),
             ss.reverb(drums_bus.folded(), 11, 0.2, 1.2), bass_bus.folded()]
    return master(mixed, MUSIC_PEAK_DBFS)


# The game: a driving tune in E minor, 150 beats a minute, 24 bars (A, B, A again).
GAME_BPM = 150
GAME_A = """
E5:.5 G5:.5 B5:1 A5:.5 G5:.5 F#5:.5 G5:.5 | E5:1 C5:.5 E5:.5 G5:1.5 E5:.5 |
F#5:.5 A5:.5 D6:1 C6:.5 B5:.5 A5:.5 F#5:.5 | B5:2 D#5:1 F#5:1 |
E5:.5 G5:.5 B5:1 E6:1 D6:.5 B5:.5 | C6:1.5 B5:.5 G5:1 E5:1 |
F#5:.5 G5:.5 A5:.5 B5:.5 A5:1 F#5:1 | D#5:1 F#5:1 B5:1 D#5:1 |
"""
GAME_B = """
A5:1.5 G5:.5 E5:1 C5:1 | B4:1.5 E5:.5 G5:1 B5:1 |
C6:1.5 B5:.5 A5:1 E5:1 | F#5:1 D#5:1 B4:2 |
E5:.5 G5:.5 C6:1 B5:.5 A5:.5 G5:1 | F#5:.5 A5:.5 D6:1 C6:.5 B5:.5 A5:1 |
G5:1 B5:1 E6:2 | D#6:1.5 B5:.5 F#5:1 D#5:1 |
"""
GAME_A_END = "D#5:.5 F#5:.5 B5:.5 A5:.5 F#5:1 D#5:1"
GAME_CHORDS = ("Em C D B Em C D B Am Em Am B C D Em B Em C D B Em C D B").split()
# Bass roots of the game tune, kept in one low octave.
GAME_ROOTS = {"Em": "E2", "C": "C2", "D": "D2", "B": "B1", "Am": "A1"}


def game_music():
    beat = SR * 60 // GAME_BPM
    bars = 24
    period = bars * 4 * beat
    a_end = GAME_A.rstrip().rstrip("|").rsplit("|", 1)[0] + "| " + GAME_A_END
    melody = ss.parse_part(GAME_A + GAME_B + a_end)
    assert melody[-1][0] + melody[-1][2] == bars * 4
    lead, backing, drums_bus, bass_bus = (ss.LoopMix(period) for _ in range(4))

    play_part(lead, melody, beat, chip_lead, pan=0.0, gain=0.45, legato=0.85)
    # The repeat of A gets a bell an octave up, softly.
    play_part(lead, [e for e in melody if e[0] >= 64], beat, bell, pan=0.3, gain=0.07,
              transpose=12)

    eighth = beat // 2
    sixteenth = beat // 4
    for bar, name in enumerate(GAME_CHORDS):
        root = ss.note_number(GAME_ROOTS[name])
        _, notes = chord_notes(name)
        at = bar * 4 * beat
        for i in range(8):  # octave-pumping eighths
            note = root + (12 if i % 2 else 0)
            bass_bus.add(at + i * eighth, synth_bass(ss.midi_hz(note), 0.8 * eighth / SR), 0.0,
                         0.28 if i % 2 == 0 else 0.22)
        if bar >= 8:  # sixteenth arpeggios from the B part on
            arp = [notes[0] + 12, notes[1] + 12, notes[2] + 12, notes[0] + 24]
            order = [0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 2, 1]
            for i, k in enumerate(order):
                backing.add(at + i * sixteenth, arp_voice(ss.midi_hz(arp[k]), 0.7 * sixteenth / SR),
                            -0.4 if i % 2 else 0.4, 0.07)
    hold_chords(backing, GAME_CHORDS[8:16], 4 * beat, 0.035, start=8 * 4 * beat)

    drums = Drums(snare_ring=0.1)
    rock = [("k", "x.....x.x.......", 0.55, 0.0), ("s", "....x.......x...", 0.34, 0.05),
            ("h", "c.c.c.c.c.c.c.o.", 0.07, 0.35)]
    four = [("k", "x...x...x...x...", 0.55, 0.0), ("s", "....x.......x..g", 0.34, 0.05),
            ("h", "c.o.c.o.c.o.c.o.", 0.06, 0.35)]
    fill = [("k", "x.....x.x.......", 0.55, 0.0), ("s", "....x...m.mmxxxx", 0.34, 0.05),
            ("h", "c.c.c.c.........", 0.07, 0.35)]
    for bar in range(bars):
        pattern = fill if bar % 8 == 7 else (four if 8 <= bar < 16 else rock)
        drum_bar(drums, drums_bus, bar * 4 * beat, sixteenth, pattern)
    for bar in (0, 8, 16):
        drums.hit(drums_bus, bar * 4 * beat, "x", 0.16, 0.4)

    d = int(0.75 * beat)
    lead_wet = ss.circular_echo(lead.folded(), [(d, 0.2, 0.0, False), (2 * d, 0.0, 0.12, False)])
    mixed = [ss.reverb(lead_wet, 17, 0.2, 0.9), ss.reverb(backing.folded(), 19, 0.25, 0.9),
             ss.reverb(drums_bus.folded(), 21, 0.12, 0.6), bass_bus.folded()]
    return master(mixed, MUSIC_PEAK_DBFS)


# ---------------------------------------------------------------------------------------------
# Output


# The two sample banks, pasted into the game's resources.xml: effects are cached (decoded once),
# the music is streamed and loops until the music manager stops it. The cries share a pool of
# five sources; the player's cry outranks the foes'.
SOUNDS_XML = """<samples name="sounds" dir="sounds/">
  <sample name="throw" filename="throw.ogg" volume="0.8" priority="1"/>
  <sample name="hit" filename="hit.ogg" priority="2"/>
  <sample name="player_cry" filename="player_cry.ogg" priority="5"/>
  <sample name="foe_cry_low" filename="foe_cry_low.ogg" priority="3"/>
  <sample name="foe_cry_medium" filename="foe_cry_medium.ogg" priority="3"/>
  <sample name="foe_cry_high" filename="foe_cry_high.ogg" priority="3"/>
  <sample name="foe_cry_very_high" filename="foe_cry_very_high.ogg" priority="3"/>
</samples>
<samples name="music" dir="music/">
  <stream name="music_title" filename="music_title.ogg" volume="0.8" loop="true"/>
  <stream name="music_game" filename="music_game.ogg" volume="0.8" loop="true"/>
</samples>
"""


def encode(path, pcm, quality):
    """`pcm`: channels x frames in [-1, 1]. oggenc gets raw 16-bit PCM, a fixed serial and a
    fixed quality, so the bytes are reproducible; Vorbis keeps the exact sample count."""
    ints = np.clip(np.round(pcm * 32767.0), -32768, 32767).astype("<i2")
    serial = str(zlib.crc32(os.path.basename(path).encode()) & 0x7FFFFFFF)
    subprocess.run(["oggenc", "-Q", "-r", "-B", "16", "-C", str(pcm.shape[0]), "-R", str(SR),
                    "-q", quality, "-s", serial, "-o", path, "-"],
                   input=ints.T.tobytes(), check=True)


def build(root):
    os.makedirs(os.path.join(root, SOUNDS_DIR), exist_ok=True)
    os.makedirs(os.path.join(root, MUSIC_DIR), exist_ok=True)
    os.makedirs(os.path.dirname(os.path.join(root, XML_FILE)), exist_ok=True)
    for name, pcm in effects():
        encode(os.path.join(root, SOUNDS_DIR, name + ".ogg"), pcm, EFFECT_QUALITY)
    encode(os.path.join(root, MUSIC_DIR, "music_title.ogg"), title_music(), MUSIC_QUALITY)
    encode(os.path.join(root, MUSIC_DIR, "music_game.ogg"), game_music(), MUSIC_QUALITY)
    with open(os.path.join(root, XML_FILE), "w") as f:
        f.write(SOUNDS_XML)


def outputs(root):
    files = [XML_FILE]
    for d in (SOUNDS_DIR, MUSIC_DIR):
        full = os.path.join(root, d)
        if os.path.isdir(full):
            files += [os.path.join(d, n) for n in sorted(os.listdir(full))]
    return files


def decode(path):
    """channels x frames as floats, through oggdec; and the channel count."""
    raw = subprocess.run(["oggdec", "-Q", "-R", "-o", "-", path], check=True,
                         capture_output=True).stdout
    with open(path, "rb") as f:
        head = f.read(4096)
    # The identification header: "\x01vorbis", a 32-bit version, then the channel count.
    channels = head[head.index(b"\x01vorbis") + 11]
    return np.frombuffer(raw, "<i2").astype(float).reshape(-1, channels).T / 32768.0


def same_sound(a, b):
    """Decoded sounds equal within a tight tolerance (one 16-bit step is 3e-5)."""
    x, y = decode(a), decode(b)
    return x.shape == y.shape and float(np.max(np.abs(x - y))) < 2e-3


def check():
    with tempfile.TemporaryDirectory() as tmp:
        build(tmp)
        fresh, committed = outputs(tmp), outputs(REPO)
        ok = True
        for rel in sorted(set(fresh) | set(committed)):
            a, b = os.path.join(tmp, rel), os.path.join(REPO, rel)
            if rel not in committed or rel not in fresh:
                print("%s: %s" % (rel, "missing" if rel not in committed else "not generated"))
                ok = False
                continue
            with open(a, "rb") as fa, open(b, "rb") as fb:
                if fa.read() == fb.read():
                    continue
            if rel.endswith(".ogg") and same_sound(a, b):
                print("%s: bytes differ, decoded sound matches within tolerance" % rel)
                continue
            print("%s: differs" % rel)
            ok = False
        return ok


def report(root):
    """Lengths, peaks, edge levels and loop seams of the files under `root`."""
    for rel in outputs(root):
        if not rel.endswith(".ogg"):
            continue
        pcm = decode(os.path.join(root, rel))
        peak = 20 * np.log10(np.max(np.abs(pcm)))
        ms = SR // 1000
        line = "%-36s %7d bytes %6.2f s %d ch peak %6.2f dBFS%s" % (
            rel, os.path.getsize(os.path.join(root, rel)), pcm.shape[1] / SR, pcm.shape[0], peak,
            " (TOO LOUD)" if peak > PEAK_LIMIT_DBFS else "")
        if rel.startswith(MUSIC_DIR):
            steps = np.abs(np.diff(pcm, axis=1))
            seam = np.max(np.abs(pcm[:, 0] - pcm[:, -1]))
            line += "  seam %.4f (median step %.4f, 99%% %.4f)" % (
                seam, np.median(steps), np.percentile(steps, 99))
        else:
            line += "  first ms %.4f last ms %.4f" % (np.max(np.abs(pcm[:, :ms])),
                                                     np.max(np.abs(pcm[:, -ms:])))
        print(line)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="rebuild into a temporary folder and compare with the committed files")
    parser.add_argument("--report", action="store_true",
                        help="print lengths, peaks and loop seams of the committed files")
    args = parser.parse_args()
    if args.check:
        return 0 if check() else 1
    if args.report:
        report(REPO)
        return 0
    started = time.time()
    build(REPO)
    print("wrote %d files in %.1f s" % (len(outputs(REPO)), time.time() - started))
    report(REPO)
    return 0


if __name__ == "__main__":
    sys.exit(main())
