#!/usr/bin/env python3
"""Composes the three background pieces as General MIDI files.

    python3 tools/music/gen_music.py [output_dir]

Music01.mid  title, menu and ranking: cheerful, medium tempo.
Music02.mid  the rounds: fast and driving, longer than a whole round.
Music03.mid  the winner screen: a brass fanfare, then a celebration.

Melodies are built from short motifs placed over a chord progression;
notes on strong beats are pulled onto a chord tone so the tune always
agrees with the harmony. The game replays each file from its start when
it ends, so every piece ends exactly on a bar line, with every note
released, and its last bar leads back to the first chord.
"""

import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT_DIR = os.path.join(ROOT, "assets", "music")

PPQ = 480
BAR = 4 * PPQ
DRUM_CH = 9  # General MIDI channel 10

# ---------------------------------------------------------------- MIDI writing


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


class Track:
    def __init__(self, name, channel=None, program=None, volume=100, pan=64, reverb=40):
        self.events = []  # (tick, order, bytes); releases sort before attacks
        self.channel = channel
        self.meta(0, 0x03, name.encode("ascii"))
        if channel is not None:
            if program is not None:
                self.raw(0, bytes([0xC0 | channel, program]))
            self.raw(0, bytes([0xB0 | channel, 7, volume]))
            self.raw(0, bytes([0xB0 | channel, 10, pan]))
            self.raw(0, bytes([0xB0 | channel, 91, reverb]))

    def raw(self, tick, data, order=0):
        self.events.append((tick, order, data))

    def meta(self, tick, kind, data):
        self.raw(tick, bytes([0xFF, kind]) + vlq(len(data)) + data)

    def tempo(self, tick, bpm):
        self.meta(tick, 0x51, struct.pack(">I", int(round(60000000 / bpm)))[1:])

    def note(self, tick, dur, pitch, vel):
        ch = self.channel
        pitch = max(0, min(127, int(pitch)))
        vel = max(1, min(127, int(vel)))
        self.raw(tick, bytes([0x90 | ch, pitch, vel]), 2)
        self.raw(tick + max(1, int(dur)), bytes([0x80 | ch, pitch, 0]), 1)

    def chunk(self, end):
        # Nothing may sound past the loop point: cut notes that overhang it.
        evs = []
        for t, o, d in self.events:
            if t > end:
                if o == 1:
                    t = end
                else:
                    continue
            if o == 2 and t >= end:
                continue
            evs.append((t, o, d))
        evs.sort(key=lambda e: (e[0], e[1]))
        out, last = bytearray(), 0
        for t, _, d in evs:
            out += vlq(t - last) + d
            last = t
        out += vlq(end - last) + b"\xFF\x2F\x00"
        return b"MTrk" + struct.pack(">I", len(out)) + bytes(out)


def midi_file(tracks, end, gain_db=0.0):
    """`gain_db` shifts every channel volume so the pieces sit at a similar
    loudness (General MIDI volume is 40 log10(cc / 127) dB)."""
    scale = 10 ** (gain_db / 40)
    for t in tracks:
        t.events = [(tk, o, bytes([d[0], 7, min(127, int(round(d[2] * scale)))]))
                    if len(d) == 3 and d[0] & 0xF0 == 0xB0 and d[1] == 7 else (tk, o, d)
                    for tk, o, d in t.events]
    head = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    return head + b"".join(t.chunk(end) for t in tracks)


# ---------------------------------------------------------------- harmony

NOTE_PC = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
QUALITY = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
           "maj7": (0, 4, 7, 11), "dim": (0, 3, 6), "sus4": (0, 5, 7), "6": (0, 4, 7, 9)}


def chord(name):
    """'F#m7' -> (root pitch class, intervals)."""
    pc = NOTE_PC[name[0]]
    rest = name[1:]
    if rest[:1] in ("b", "#"):
        pc += -1 if rest[0] == "b" else 1
        rest = rest[1:]
    return pc % 12, QUALITY[rest]


def chord_pcs(name):
    root, iv = chord(name)
    return {(root + i) % 12 for i in iv}


def nearest_chord_tone(pitch, name):
    pcs = chord_pcs(name)
    for d in (0, -1, 1, -2, 2, -3, 3):
        if (pitch + d) % 12 in pcs:
            return pitch + d
    return pitch


def voicing(name, centre, prev=None):
    """Close position voicing around `centre`; keeps near the previous one
    so the comping moves smoothly."""
    root, iv = chord(name)
    best = None
    for inv in range(len(iv)):
        for base in range(centre - 12, centre + 1):
            if base % 12 != (root + iv[inv]) % 12:
                continue
            v = []
            for k in range(len(iv)):
                pc = (root + iv[(inv + k) % len(iv)]) % 12
                p = v[-1] + 1 if v else base
                while p % 12 != pc:
                    p += 1
                v.append(p)
            mid = sum(v) / len(v)
            cost = abs(mid - centre)
            if prev:
                cost += 0.5 * sum(abs(a - b) for a, b in zip(sorted(v), sorted(prev)))
            if best is None or cost < best[0]:
                best = (cost, v)
    return best[1]


class Key:
    def __init__(self, tonic, minor=False):
        self.tonic = tonic
        self.steps = (0, 2, 3, 5, 7, 8, 10) if minor else (0, 2, 4, 5, 7, 9, 11)

    def degree(self, d):
        o, i = divmod(d, 7)
        return self.tonic + 12 * o + self.steps[i]


# ---------------------------------------------------------------- melody


def melody(key, chords_per_bar, plan, motifs, start_bar=0):
    """`plan` lists (motif name, anchor degree) per bar, or None for a rest
    bar. Motif notes are (beat, beats, degree offset). Notes on beats 1
    and 3 are pulled onto the bar's chord; so is every note longer than a
    beat."""
    notes = []
    for i, item in enumerate(plan):
        if item is None:
            continue
        name, anchor = item
        bar = start_bar + i
        for beat, dur, off in motifs[name]:
            p = key.degree(anchor + off)
            if beat in (0, 2) or dur >= 1.5:
                p = nearest_chord_tone(p, chord_at(chords_per_bar, bar, beat))
            notes.append((bar * BAR + int(beat * PPQ), int(dur * PPQ), p))
    return notes


def chord_at(prog, bar, beat):
    c = prog[bar]
    if isinstance(c, list):
        return c[min(int(beat) // 2, len(c) - 1)]
    return c


def put_melody(track, notes, vel=96, legato=0.92, octave=0, accent=True):
    for t, d, p in notes:
        v = vel + (8 if accent and t % BAR == 0 else 0) - (6 if t % PPQ else 0)
        track.note(t, int(d * legato), p + 12 * octave, v)


def comp(track, prog, bars, pattern, centre=60, vel=70, skip=()):
    """Chord stabs: `pattern` is (beat, beats) pairs within a bar."""
    prev = None
    for bar in bars:
        if bar in skip:
            continue
        for beat, dur in pattern:
            name = chord_at(prog, bar, beat)
            v = voicing(name, centre, prev)
            prev = v
            for p in v:
                track.note(bar * BAR + int(beat * PPQ), int(dur * PPQ * 0.9), p,
                           vel + (6 if beat == 0 else 0))


def bass_line(track, prog, bars, style, low=36, vel=96):
    for bar in bars:
        t0 = bar * BAR
        nxt = chord_at(prog, (bar + 1) % len(prog), 0)
        nroot = low + (chord(nxt)[0] - low) % 12
        for beat, dur, what in style:
            name = chord_at(prog, bar, beat)
            root = low + (chord(name)[0] - low) % 12
            iv = chord(name)[1]
            if what == "r":
                p = root
            elif what == "R":
                p = root + 12
            elif what == "5":
                p = root + iv[2]
            elif what == "3":
                p = root + iv[1]
            elif what == "a":  # lead into the next bar's root from a semitone below
                p = nroot - 1
            else:
                raise ValueError(what)
            track.note(t0 + int(beat * PPQ), int(dur * PPQ * 0.9), p,
                       vel + (8 if beat == 0 else 0) - (8 if beat % 1 else 0))


# General MIDI drum notes
KICK, SNARE, CLAP, HAT, OPEN_HAT, CRASH, TAMB, TOM_LO, TOM_MID, TOM_HI = \
    36, 38, 39, 42, 46, 49, 54, 45, 47, 50


def drums(track, bars, pattern, vel=100):
    """`pattern` maps drum note -> list of beats within one bar."""
    for bar in bars:
        for note, beats in pattern.items():
            for b in beats:
                v = vel - (14 if b % 1 else 0) - (8 if note in (HAT, TAMB) else 0)
                track.note(bar * BAR + int(b * PPQ), PPQ // 4, note, v)


def fill(track, bar, vel=104, start=2.0):
    """A tom run down the last beats of a bar into the next section."""
    toms = [TOM_HI, TOM_HI, TOM_MID, TOM_MID, TOM_LO, TOM_LO, SNARE, SNARE]
    n = int((4 - start) * 4)
    for k in range(n):
        b = start + k * 0.25
        track.note(bar * BAR + int(b * PPQ), PPQ // 4, toms[k * len(toms) // n],
                   vel - 10 + 10 * k // n)


def crash(track, bar, vel=110):
    track.note(bar * BAR, PPQ, CRASH, vel)
    track.note(bar * BAR, PPQ // 4, KICK, vel)


# ---------------------------------------------------------------- Music01


def music01():
    """Cheerful C major: intro, A, A', B, A'', turnaround (40 bars)."""
    key = Key(72)
    intro = ["C", "Am", "F", "G"]
    a = ["C", "Am", "F", "G", "C", "Am", "Dm", "G"]
    a_end = ["C", "Am", "F", "G", "C", "Am", ["Dm", "G"], "C"]
    b = ["F", "G", "Em", "Am", "Dm", "G", "C", "C7"]
    turn = ["F", "G", ["Em", "Am"], ["Dm", "G"]]
    prog = intro + a + a + b + a_end + turn
    nbars = len(prog)

    motifs = {
        # bouncy rising figure, sequenced a third lower in the next bar
        "x": [(0, .5, 0), (.5, .5, 1), (1, 1, 2), (2, .75, 4), (2.75, .25, 3), (3, 1, 2)],
        # the answer: a held note falling back
        "y": [(0, 1.5, 0), (1.5, .5, -1), (2, 2, -2)],
        "cad": [(0, 1, 0), (1, .5, -1), (1.5, .5, -2), (2, 2, -4)],
        "end": [(0, .5, 2), (.5, .5, 1), (1, 1, 0), (2, 2, 0)],
        # B section: longer notes, climbing
        "s": [(0, 1.5, 0), (1.5, .5, 1), (2, 1, 2), (3, .5, 1), (3.5, .5, 0)],
        "t": [(0, .5, 0), (.5, .5, 1), (1, .5, 2), (1.5, .5, 3), (2, 2, 4)],
        "u": [(0, 3, 0), (3, .5, -1), (3.5, .5, -2)],
        "run": [(0, .5, 0), (.5, .5, 1), (1, .5, 2), (1.5, .5, 3), (2, .5, 4), (2.5, .5, 5),
                (3, .5, 6), (3.5, .5, 7)],
    }
    plan_a = [("x", 0), ("x", -2), ("x", 3), ("y", 4), ("x", 0), ("x", -2), ("x", 1), ("cad", 4)]
    plan_a2 = [("x", 0), ("x", -2), ("x", 3), ("y", 4), ("x", 0), ("x", -2), ("t", 1), ("end", 0)]
    plan_b = [("s", 5), ("s", 6), ("t", 2), ("u", 4), ("s", 3), ("t", 1), ("u", 2), ("u", 4)]
    plan = [None] * 4 + plan_a + plan_a + plan_b + plan_a2 + \
        [("s", 3), ("s", 4), ("x", -1), ("run", -3)]
    mel = melody(key, prog, plan, motifs)

    tempo = Track("Conductor")
    tempo.tempo(0, 116)
    tempo.meta(0, 0x58, bytes([4, 2, 24, 8]))
    # Instruments that keep their balance on small and large General MIDI
    # soundfonts alike (measured with tools/music/measure_music.py).
    lead = Track("Melody", 0, 73, volume=100, pan=60, reverb=50)       # flute
    flute = Track("Melody bells", 1, 9, volume=80, pan=70, reverb=60)  # glockenspiel
    keys = Track("Piano", 2, 4, volume=78, pan=44, reverb=40)          # electric piano
    strings = Track("Choir", 3, 52, volume=62, pan=84, reverb=70)
    bass = Track("Bass", 4, 33, volume=100, pan=64, reverb=20)
    kit = Track("Drums", DRUM_CH, 0, volume=92, pan=64, reverb=30)

    put_melody(lead, mel, vel=100)
    # the flute sustains the tune in the second half of each A section
    put_melody(flute, [n for n in mel if (n[0] // BAR) >= 12], vel=78, legato=0.98)
    # intro hook: an arpeggio on the vibraphone
    for bar in range(4):
        v = voicing(prog[bar], 74)
        for k, beat in enumerate([0, .5, 1, 1.5, 2, 2.5, 3, 3.5]):
            lead.note(bar * BAR + int(beat * PPQ), PPQ // 2, (v + [x + 12 for x in v])[k % 6], 82)

    comp(keys, prog, range(nbars), [(0, .5), (1.5, .5), (2, .5), (3.5, .5)], centre=62, vel=64)
    comp(strings, prog, range(20, 28), [(0, 2), (2, 2)], centre=66, vel=60)
    comp(strings, prog, range(36, 40), [(0, 2), (2, 2)], centre=66, vel=60)

    walk = [(0, 1, "r"), (1, .5, "5"), (1.5, .5, "r"), (2, 1, "R"), (3, .5, "5"), (3.5, .5, "a")]
    bass_line(bass, prog, range(nbars), walk, low=36)

    groove = {KICK: [0, 2, 2.5], SNARE: [1, 3], HAT: [0, .5, 1, 1.5, 2, 2.5, 3, 3.5]}
    light = {KICK: [0, 2], HAT: [0, 1, 2, 3], TAMB: [1, 3]}
    bgroove = dict(groove)
    bgroove[TAMB] = [.5, 1.5, 2.5, 3.5]
    drums(kit, range(0, 4), light, vel=90)
    drums(kit, [b for b in range(4, 20) if b not in (11, 19)], groove)
    drums(kit, [b for b in range(20, 36) if b not in (27, 35)], bgroove)
    drums(kit, [36, 37, 38], groove)
    for b in (11, 19, 27, 35, 39):
        drums(kit, [b], {KICK: [0], HAT: [0, 1]})
        fill(kit, b)
    for b in (4, 12, 20, 28, 36):
        crash(kit, b)
    return midi_file([tempo, lead, flute, keys, strings, bass, kit], nbars * BAR, 2.3)


# ---------------------------------------------------------------- Music02


def music02():
    """Driving A minor at 152 bpm (64 bars, about 101 s: longer than a
    round, so the loop point never falls inside one). The whole band plays
    from the first bar."""
    key = Key(69, minor=True)
    a = ["Am", "F", "C", "G", "Am", "F", "G", "E"]
    b = ["Dm", "Am", "F", "E", "Dm", "Am", ["F", "G"], "E"]
    c = ["F", "G", "Am", "Am", "F", "G", "E", "E7"]
    outro = ["Am", "F", "G", "E", "Dm", "Am", ["F", "G"], "E"]
    prog = a + a + b + c + a + b + a + outro
    nbars = len(prog)

    motifs = {
        # the hook: repeated notes kicking up into a falling run
        "p": [(0, .5, 0), (.5, .25, 0), (.75, .25, 0), (1, .5, 2), (1.5, .5, 0), (2, .5, 4),
              (2.5, .5, 3), (3, .5, 2), (3.5, .5, 1)],
        "q": [(0, 1.5, 0), (1.5, .5, -1), (2, .5, 0), (2.5, .5, 1), (3, 1, 2)],
        "r": [(0, 1, 0), (1, 1, -1), (2, 1.5, -3), (3.5, .5, -2)],
        "s": [(0, .5, 0), (.5, 1.5, 1), (2, .5, 0), (2.5, .5, -1), (3, 1, -2)],
        "hold": [(0, 3.5, 0), (3.5, .5, -1)],
        "call": [(0, .5, 0), (.5, .5, 2), (1, .5, 4), (1.5, .5, 7), (2, 1, 4)],
        "run": [(k * .25, .25, k) for k in range(8)] + [(2, 1, 8), (3, .5, 7), (3.5, .5, 6)],
    }
    plan_a = [("p", 0), ("p", 5), ("q", 2), ("q", 1), ("p", 0), ("p", 5), ("p", 6), ("r", 4)]
    plan_a2 = [("p", 7), ("p", 5), ("q", 9), ("q", 8), ("p", 7), ("p", 5), ("s", 8), ("hold", 4)]
    plan_b = [("s", 3), ("s", 2), ("s", 0), ("hold", -1), ("s", 3), ("s", 2), ("run", -2),
              ("hold", 4)]
    plan_c = [("call", -2), ("call", -1), ("call", 0), None, ("call", 5), ("call", 6),
              ("q", 4), ("run", -1)]
    plan_end = [("q", 0), ("q", -2), ("s", -1), ("hold", -3), ("s", 3), ("s", 2), ("run", -2),
                ("hold", 4)]
    plan = plan_a + plan_a2 + plan_b + plan_c + plan_a + plan_b + plan_a2 + plan_end
    mel = melody(key, prog, plan, motifs)

    tempo = Track("Conductor")
    tempo.tempo(0, 152)
    tempo.meta(0, 0x58, bytes([4, 2, 24, 8]))
    lead = Track("Melody", 0, 65, volume=100, pan=64, reverb=40)           # alto sax
    lead2 = Track("Melody octave", 1, 66, volume=80, pan=74, reverb=50)    # tenor sax
    organ = Track("Organ", 2, 16, volume=76, pan=44, reverb=40)
    gtr = Track("Guitar", 3, 30, volume=70, pan=90, reverb=30)             # distortion guitar
    bass = Track("Bass", 4, 34, volume=104, pan=64, reverb=10)             # picked bass
    kit = Track("Drums", DRUM_CH, 0, volume=100, pan=64, reverb=25)

    put_melody(lead, mel, vel=100)
    put_melody(lead2, [n for n in mel if 8 <= n[0] // BAR < 16 or n[0] // BAR >= 32],
               vel=80, octave=-1)
    # off-beat stabs push the tempo
    comp(organ, prog, range(nbars), [(.5, .25), (1.5, .25), (2.5, .25), (3, .5), (3.5, .25)],
         centre=64, vel=70, skip=range(24, 32))
    # power chords (root and fifth) chug in the B and C sections
    for bar in list(range(16, 32)) + list(range(40, 48)):
        for k in range(8):
            name = chord_at(prog, bar, k / 2)
            r = 40 + (chord(name)[0] - 40) % 12
            for p in (r, r + 7, r + 12):
                gtr.note(bar * BAR + k * PPQ // 2, PPQ // 2 - 30, p, 84 if k % 2 == 0 else 70)

    eighths = [(k / 2, .5, "r" if k not in (3, 7) else "R") for k in range(8)]
    octaves = [(k / 2, .5, "r" if k % 2 == 0 else "R") for k in range(8)]
    arp = [(0, .5, "r"), (.5, .5, "3"), (1, .5, "5"), (1.5, .5, "R"), (2, .5, "r"),
           (2.5, .5, "5"), (3, .5, "R"), (3.5, .5, "a")]
    bass_line(bass, prog, range(0, 24), eighths, low=33)
    bass_line(bass, prog, range(24, 32), arp, low=33)
    bass_line(bass, prog, range(32, 40), octaves, low=33)
    bass_line(bass, prog, range(40, nbars), eighths, low=33)

    drive = {KICK: [0, 1.5, 2, 2.75], SNARE: [1, 3], HAT: [k / 2 for k in range(8)],
             OPEN_HAT: [3.5]}
    busy = {KICK: [0, .75, 1.5, 2, 2.75], SNARE: [1, 3, 3.75], HAT: [0, 1, 2, 3],
            OPEN_HAT: [.5, 1.5, 2.5, 3.5], CLAP: [1, 3]}
    four = {KICK: [0, 1, 2, 3], SNARE: [1, 3], HAT: [k / 4 for k in range(16)]}
    for lo, hi, pat in ((0, 16, drive), (16, 24, busy), (24, 32, four), (32, 40, drive),
                        (40, 48, busy), (48, 64, drive)):
        for bar in range(lo, hi):
            if (bar - lo) % 8 == 7 or bar == hi - 1:
                drums(kit, [bar], {KICK: [0, 1], HAT: [0, .5, 1, 1.5]})
                fill(kit, bar)
            else:
                drums(kit, [bar], pat)
    for bar in range(0, nbars, 8):
        crash(kit, bar)
    return midi_file([tempo, lead, lead2, organ, gtr, bass, kit], nbars * BAR, 1.9)


# ---------------------------------------------------------------- Music03


def music03():
    """Bb major: four slow bars of fanfare, then 32 bars of celebration
    whose last bar is the dominant, leading back into the fanfare."""
    key = Key(70)
    fan_bars = 4
    fanfare = ["Bb", "Eb", "F", "Bb"]
    c1 = ["Bb", "Eb", "F", "Bb", "Gm", "Eb", "F", "F7"]
    c2 = ["Bb", "Eb", "F", "Gm", "Eb", "F", ["Bb", "Gm"], ["Cm", "F"]]
    c3 = ["Eb", "F", "Dm", "Gm", "Cm", "F", "Bb", "Bb"]
    c4 = ["Eb", "F", "Bb", "Gm", "Cm", "F", ["Eb", "F"], "F7"]
    prog = fanfare + c1 + c2 + c3 + c4
    nbars = len(prog)

    tempo = Track("Conductor")
    tempo.tempo(0, 96)
    tempo.tempo(fan_bars * BAR, 138)
    tempo.meta(0, 0x58, bytes([4, 2, 24, 8]))
    trumpet = Track("Melody trumpet", 0, 56, volume=112, pan=58, reverb=60)
    horns = Track("Trumpets", 1, 56, volume=80, pan=70, reverb=60)
    strings = Track("Choir", 2, 52, volume=74, pan=90, reverb=70)
    timp = Track("Timpani", 3, 47, volume=100, pan=40, reverb=50)
    bass = Track("Bass", 4, 33, volume=100, pan=64, reverb=20)
    glock = Track("Melody glockenspiel", 5, 9, volume=70, pan=30, reverb=60)
    kit = Track("Drums", DRUM_CH, 0, volume=96, pan=64, reverb=40)

    # Fanfare: triplet pick-ups into held brass chords, answered by timpani.
    fan_top = [(0, 1 / 3, 70), (1 / 3, 1 / 3, 70), (2 / 3, 1 / 3, 70), (1, 3, 77),
               (4, 1 / 3, 75), (4 + 1 / 3, 1 / 3, 75), (4 + 2 / 3, 1 / 3, 75), (5, 3, 79),
               (8, 1 / 3, 77), (8 + 1 / 3, 1 / 3, 77), (8 + 2 / 3, 1 / 3, 77), (9, 1, 81),
               (10, 1, 84), (11, 1, 81), (12, 4, 82)]
    for beat, dur, p in fan_top:
        trumpet.note(int(beat * PPQ), int(dur * PPQ * 0.9), p, 112 if dur >= 1 else 100)
    prev = None
    for bar in range(fan_bars):
        v = voicing(prog[bar], 62, prev)
        prev = v
        for p in v:
            horns.note(bar * BAR + PPQ, 3 * PPQ - 40, p, 100)
        for p in voicing(prog[bar], 55):
            strings.note(bar * BAR, BAR - 20, p, 84)
        r = 34 + (chord(prog[bar])[0] - 34) % 12
        bass.note(bar * BAR + PPQ, 3 * PPQ - 40, r, 104)
        # timpani roll swelling into the next bar
        for k in range(8):
            timp.note(bar * BAR + 2 * PPQ + k * PPQ // 4, PPQ // 4, r + 12 if r < 46 else r,
                      60 + 6 * k)
        kit.note(bar * BAR + PPQ, PPQ, CRASH, 104)

    motifs = {
        "m": [(0, .5, 0), (.5, .5, 2), (1, .5, 4), (1.5, .5, 2), (2, 1.5, 7), (3.5, .5, 6)],
        "n": [(0, .75, 0), (.75, .25, -1), (1, .5, -2), (1.5, .5, -1), (2, 2, 0)],
        "o": [(0, 1, 0), (1, .5, 1), (1.5, .5, 2), (2, 1, 3), (3, 1, 2)],
        "f": [(0, .5, 0), (.5, .5, 0), (1, .5, 1), (1.5, .5, 2), (2, 1, 4), (3, .5, 2),
              (3.5, .5, 1)],
        "h": [(0, 3, 0), (3, .5, 1), (3.5, .5, 2)],
        "z": [(0, 2, 0), (2, 2, -1)],
    }
    plan1 = [("m", 0), ("n", 3), ("m", 4), ("n", 0), ("m", 2), ("n", 3), ("o", 4), ("h", 4)]
    plan2 = [("m", 0), ("n", 3), ("m", 4), ("n", 2), ("f", 3), ("f", 4), ("n", 2), ("z", 1)]
    plan3 = [("o", 3), ("o", 4), ("h", 5), ("h", 4), ("f", 1), ("f", 4), ("m", 0), ("h", 0)]
    plan4 = [("o", 3), ("o", 4), ("m", 2), ("n", 4), ("f", 1), ("f", 4), ("o", 3), ("z", 4)]
    mel = melody(key, prog, [None] * fan_bars + plan1 + plan2 + plan3 + plan4, motifs)
    put_melody(trumpet, mel, vel=100)
    put_melody(glock, [n for n in mel if n[0] // BAR >= fan_bars + 16], vel=70, octave=1)

    body = range(fan_bars, nbars)
    comp(horns, prog, body, [(.5, .4), (1.5, .4), (2.5, .4), (3.5, .4)], centre=62, vel=72)
    comp(strings, prog, body, [(0, 2), (2, 2)], centre=67, vel=66)
    march = [(0, 1, "r"), (1, 1, "5"), (2, 1, "R"), (3, .5, "5"), (3.5, .5, "a")]
    bass_line(bass, prog, body, march, low=34)
    for bar in body:
        r = 46 + (chord(chord_at(prog, bar, 0))[0] - 46) % 12
        if r > 53:
            r -= 12
        timp.note(bar * BAR, PPQ // 2, r, 90)
        timp.note(bar * BAR + 2 * PPQ, PPQ // 2, r + 7 if r + 7 <= 57 else r - 5, 80)

    beat = {KICK: [0, 2, 2.5], SNARE: [1, 3], HAT: [k / 2 for k in range(8)], TAMB: [1, 3]}
    lift = {KICK: [0, 1, 2, 3], SNARE: [1, 3], HAT: [0, 1, 2, 3], OPEN_HAT: [.5, 1.5, 2.5, 3.5],
            CLAP: [1, 3]}
    for bar in body:
        rel = bar - fan_bars
        if rel % 8 == 7:
            drums(kit, [bar], {KICK: [0, 1], HAT: [0, .5, 1, 1.5]})
            fill(kit, bar)
        else:
            drums(kit, [bar], lift if 16 <= rel < 24 else beat)
        if rel % 8 == 0:
            crash(kit, bar)
    return midi_file([tempo, trumpet, horns, strings, timp, bass, glock, kit], nbars * BAR,
                     2.0)


PIECES = {"Music01.mid": music01, "Music02.mid": music02, "Music03.mid": music03}


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else OUT_DIR
    os.makedirs(out_dir, exist_ok=True)
    for name, make in PIECES.items():
        data = make()
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("%s  %d bytes" % (name, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
