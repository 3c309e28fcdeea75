#!/usr/bin/env python3
"""Checks the generated sound effects and music files.

    python3 tools/sounds/check_sounds.py [sounds_dir [music_dir]]

Every effect must be a RIFF/WAVE image the game's loader can walk (fmt
and data chunks, PCM mono 22050 Hz 8-bit) and last within a quarter of
its intended length; it must not clip, and its momentary loudness (the
loudest 400 ms, BS.1770) must lie within 1 LU of its kind's level. Every music
file must be a format 1 standard MIDI file whose tracks each end with an
end-of-track event, all on the same tick, that is a whole number of 4/4
bars (so the replay from the start keeps the beat), with no note still
held at the end. Exits 1 on the first kind of fault, listing all faults.

    python3 tools/sounds/check_sounds.py --voices [sounds_dir]

Listens to the voices with an offline recogniser (pocketsphinx and its
US English model, Debian packages) limited to the game's words and the
words they could be mistaken for; each voice must be heard as its own
word with any silence around it. Exits 1 when one is not.
"""

import os
import struct
import subprocess
import sys
import tempfile
import wave

import numpy as np

import loudness

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

LENGTHS = {
    174: 2.63, 175: 0.55, 176: 0.19, 177: 11.13, 178: 0.48, 179: 2.53,
    180: 0.06, 181: 0.49, 182: 0.49, 183: 0.51, 184: 1.82, 185: 0.55,
    194: 0.97, 195: 1.01, 196: 1.07, 197: 0.90, 198: 0.56, 220: 0.25,
    222: 0.68, 223: 1.50, 224: 1.66, 228: 8.97,
}
# Momentary loudness per kind: the round's hits and the voices, the
# screens' sounds, the jingles.
HIT, SCREEN, JINGLE = -12.0, -14.0, -16.0
LOUDNESS = {
    174: SCREEN, 175: HIT, 176: SCREEN, 177: JINGLE, 178: HIT, 179: SCREEN,
    180: SCREEN, 181: HIT, 182: HIT, 183: HIT, 184: SCREEN, 185: HIT,
    194: HIT, 195: HIT, 196: HIT, 197: HIT, 198: SCREEN, 220: HIT,
    222: HIT, 223: HIT, 224: HIT, 228: JINGLE,
}
LOUDNESS_WINDOW = 1.0
MUSIC = {"Music01.mid": (60, 120), "Music02.mid": (60, 120), "Music03.mid": (20, 120)}


def parse_wave(data):
    """Returns (fmt bytes, sample bytes) the way the game's loader finds
    them, or raises ValueError."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("not a RIFF/WAVE image")
    size = struct.unpack_from("<I", data, 4)[0]
    if 8 + size != len(data):
        raise ValueError("RIFF size %d does not match file size %d" % (size, len(data)))
    end, pos = 8 + size, 12
    fmt = body = None
    while pos + 8 <= end:
        cid, csize = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        pos += 8
        if pos + csize > end:
            raise ValueError("chunk %r runs past the end" % cid)
        if cid == b"fmt " and fmt is None:
            fmt = data[pos:pos + csize]
        elif cid == b"data" and body is None:
            body = data[pos:pos + csize]
        pos += csize + (csize & 1)
    if fmt is None or body is None:
        raise ValueError("missing fmt or data chunk")
    return fmt, body


def check_wave(path, wanted):
    target, level = wanted
    faults = []
    with open(path, "rb") as f:
        data = f.read()
    try:
        fmt, body = parse_wave(data)
    except ValueError as e:
        return [str(e)], None
    if len(fmt) < 16:
        return ["fmt chunk too short"], None
    tag, ch, rate, bps, align, bits = struct.unpack_from("<HHIIHH", fmt)
    if (tag, ch, rate, bps, align, bits) != (1, 1, 22050, 22050, 1, 8):
        faults.append("format %s is not PCM mono 22050 Hz 8-bit" %
                      ((tag, ch, rate, bps, align, bits),))
    sec = len(body) / 22050.0
    if not (0.75 * target <= sec <= 1.25 * target):
        faults.append("length %.3f s, wanted %.2f s" % (sec, target))
    if body:
        peak = max(abs(b - 128) for b in body)
        if peak >= 127:
            faults.append("clipped (peak sample %d)" % max(body))
        lufs = loudness.momentary_max((np.frombuffer(body, dtype=np.uint8) - 128.0) / 128, 22050)
        if abs(lufs - level) > LOUDNESS_WINDOW:
            faults.append("momentary loudness %.1f LUFS, wanted %.0f" % (lufs, level))
        edge = max(abs(body[0] - 128), abs(body[-1] - 128))
        if edge > 4:
            faults.append("no fade at the ends (edge sample off centre by %d)" % edge)
        return faults, "%.2f s  %.1f LUFS" % (sec, lufs)
    return faults, "%.2f s" % sec


def read_vlq(data, pos):
    n = 0
    for _ in range(4):
        b = data[pos]
        pos += 1
        n = (n << 7) | (b & 0x7F)
        if not b & 0x80:
            return n, pos
    raise ValueError("variable-length number longer than 4 bytes")


def parse_midi(data):
    """Returns (format, ppq, tracks), each track a list of
    (tick, kind, payload): kind is 'on', 'off', 'tempo', 'eot', 'other'."""
    if data[:4] != b"MThd":
        raise ValueError("no MThd header")
    hlen, fmt, ntrk, div = struct.unpack_from(">IHHH", data, 4)
    if hlen != 6:
        raise ValueError("MThd length %d" % hlen)
    if div & 0x8000 or div == 0:
        raise ValueError("division is not ticks per quarter note")
    pos, tracks = 8 + hlen, []
    for i in range(ntrk):
        if data[pos:pos + 4] != b"MTrk":
            raise ValueError("track %d: no MTrk chunk" % i)
        tlen = struct.unpack_from(">I", data, pos + 4)[0]
        p, end = pos + 8, pos + 8 + tlen
        if end > len(data):
            raise ValueError("track %d runs past the end of the file" % i)
        tick, status, evs = 0, None, []
        while p < end:
            delta, p = read_vlq(data, p)
            tick += delta
            b = data[p]
            if b == 0xFF:
                kind, (mlen, q) = data[p + 1], read_vlq(data, p + 2)
                payload = data[q:q + mlen]
                p = q + mlen
                if kind == 0x2F:
                    evs.append((tick, "eot", None))
                    break
                evs.append((tick, "tempo" if kind == 0x51 else "other", payload))
                continue
            if b in (0xF0, 0xF7):
                slen, q = read_vlq(data, p + 1)
                p = q + slen
                continue
            if b & 0x80:
                status, p = b, p + 1
            elif status is None:
                raise ValueError("track %d: running status with no status" % i)
            hi = status & 0xF0
            n = 1 if hi in (0xC0, 0xD0) else 2
            args = data[p:p + n]
            p += n
            if hi == 0x90 and args[1] > 0:
                evs.append((tick, "on", (status & 0x0F, args[0])))
            elif hi in (0x80, 0x90):
                evs.append((tick, "off", (status & 0x0F, args[0])))
        if not evs or evs[-1][1] != "eot":
            raise ValueError("track %d has no end-of-track event" % i)
        if p != end:
            raise ValueError("track %d: data after the end-of-track event" % i)
        tracks.append(evs)
        pos = end
    if pos != len(data):
        raise ValueError("trailing bytes after the last track")
    return fmt, div, tracks


def midi_seconds(ppq, tracks, end_tick):
    tempos = sorted((t, int.from_bytes(pl, "big")) for tr in tracks
                    for t, k, pl in tr if k == "tempo")
    sec, last, us = 0.0, 0, 500000
    for t, new in tempos:
        if t >= end_tick:
            break
        sec += (t - last) * us / ppq / 1e6
        last, us = t, new
    return sec + (end_tick - last) * us / ppq / 1e6


def check_midi(path, limits):
    with open(path, "rb") as f:
        data = f.read()
    try:
        fmt, ppq, tracks = parse_midi(data)
    except (ValueError, IndexError, struct.error) as e:
        return [str(e)], None
    faults = []
    if fmt != 1:
        faults.append("format %d, wanted 1" % fmt)
    ends = {tr[-1][0] for tr in tracks}
    if len(ends) != 1:
        faults.append("tracks end on different ticks %s" % sorted(ends))
    end = max(ends)
    if end % (4 * ppq):
        faults.append("end tick %d is not on a bar line" % end)
    notes = 0
    for i, tr in enumerate(tracks):
        held = {}
        for t, k, pl in tr:
            if k == "on":
                held[pl] = held.get(pl, 0) + 1
                notes += 1
            elif k == "off" and held.get(pl):
                held[pl] -= 1
        if any(held.values()):
            faults.append("track %d leaves notes held at the end" % i)
    if notes == 0:
        faults.append("no notes")
    if not any(pl and pl[0] == 9 for tr in tracks for t, k, pl in tr if k == "on"):
        faults.append("no drums on channel 10")
    sec = midi_seconds(ppq, tracks, end)
    lo, hi = limits
    if not (lo <= sec <= hi):
        faults.append("length %.1f s outside %d..%d s" % (sec, lo, hi))
    return faults, "%.2f s" % sec


# What each voice says (either spelling of a homophone counts), and words
# a listener could take one of them for. The team cheers are two calls.
VOICES = {
    175: "go", 181: "one|won", 183: "two", 182: "three", 197: "yes", 195: "i win",
    196: "hooray", 194: "yahoo", 223: "we win we win", 224: "we win we win",
}
NEAR_MISSES = ["oh", "no", "so", "whoa", "ah", "well", "while", "do", "who", "free", "tree", "yeah",
               "yay", "yep", "all right", "oh right", "i", "we", "win", "we live", "wow", "you", "we win",
               "we live we live", "we win we live", "we live we win"]
MODEL = "/usr/share/pocketsphinx/model/en-us"
PADS = (0.25, 0.5, 0.75)


def heard(body, tmp):
    """What the recogniser hears in the 8-bit samples, with each amount of
    silence around them."""
    words = sorted({w for ws in VOICES.values() for w in ws.split("|")} | set(NEAR_MISSES))
    grammar = os.path.join(tmp, "words.gram")
    with open(grammar, "w") as f:
        f.write("#JSGF V1.0;\ngrammar words;\npublic <any> = %s ;\n" % " | ".join(words))
    out = []
    for pad in PADS:
        silence = bytes([128]) * int(pad * 22050)
        src, dst = os.path.join(tmp, "in.wav"), os.path.join(tmp, "16k.wav")
        with wave.open(src, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(1)
            w.setframerate(22050)
            w.writeframes(silence + body + silence)
        subprocess.run(["sox", "-v", "0.9", src, "-D", "-r", "16000", "-b", "16", dst], check=True)
        r = subprocess.run(["pocketsphinx_continuous", "-infile", dst, "-hmm", MODEL + "/en-us", "-jsgf",
                            grammar, "-dict", MODEL + "/cmudict-en-us.dict"],
                           capture_output=True, text=True, check=True)
        out.append(" ".join(r.stdout.split()))
    return out


def check_voices(sdir):
    bad = 0
    with tempfile.TemporaryDirectory() as tmp:
        for sid, said in VOICES.items():
            with open(os.path.join(sdir, "%03d.wav" % sid), "rb") as f:
                body = parse_wave(f.read())[1]
            got = heard(body, tmp)
            ok = all(h in said.split("|") for h in got)
            bad += not ok
            print("%s %03d.wav  says %-8s heard %s" % ("ok  " if ok else "FAIL", sid, said.split("|")[0],
                                                      " / ".join(repr(h) for h in got)))
    print("%d voice(s) misheard" % bad if bad else "all heard")
    return 1 if bad else 0


def main(argv):
    if len(argv) > 1 and argv[1] == "--voices":
        return check_voices(argv[2] if len(argv) > 2 else os.path.join(ROOT, "assets", "sounds"))
    sdir = argv[1] if len(argv) > 1 else os.path.join(ROOT, "assets", "sounds")
    mdir = argv[2] if len(argv) > 2 else os.path.join(ROOT, "assets", "music")
    bad = 0
    jobs = [(os.path.join(sdir, "%03d.wav" % i), check_wave, (t, LOUDNESS[i]))
            for i, t in sorted(LENGTHS.items())]
    jobs += [(os.path.join(mdir, n), check_midi, lim) for n, lim in sorted(MUSIC.items())]
    for path, fn, arg in jobs:
        name = os.path.basename(path)
        if not os.path.exists(path):
            print("FAIL %s: missing" % name)
            bad += 1
            continue
        faults, sec = fn(path, arg)
        if faults:
            bad += 1
            print("FAIL %s: %s" % (name, "; ".join(faults)))
        else:
            print("ok   %s  %s" % (name, sec))
    print("%d fault(s)" % bad if bad else "all good")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
