#!/usr/bin/env python3
"""How the voices come across over the music in the game's own output.

    python3 tools/sounds/heard_over_music.py capture.raw [sounds_dir]
    E2E_CAPTURE=/tmp/capture.raw tests/scripts/test_e2e_play.sh build .   # one such capture

The capture is what SDL's disk audio driver wrote while the game played
(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=capture.raw): 16-bit stereo at
44,100 Hz. Each voice (the count-down, the cheers) is found in it by its
own waveform (normalised cross-correlation), cut out with a quarter of a
second of what surrounds it (the music included), and given to the same
recogniser and word list as check_sounds.py --voices. For each voice
found it prints the time, the word said, the word heard, and the music's
level just before the voice against the level under it; then the count
of count-down words and of cheers heard right. Then how far the closing
jingle stands over the music under it: the jingle's own part of the output
(its waveform at the gain that fits best) against what is left, both by
their BS.1770 loudness over the jingle's length.
"""

import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

import check_sounds
import loudness

RATE = 44100
JINGLE = 177
COUNT_DOWN = (182, 183, 181, 175)  # three, two, one, go
CHEERS = (194, 195, 196, 197, 223, 224)
PAD = 0.25


def voice_at_mixer_rate(path):
    with open(path, "rb") as f:
        body = check_sounds.parse_wave(f.read())[1]
    v = (np.frombuffer(body, dtype=np.uint8).astype(np.float64) - 128) / 128
    # The game widens 22,050 Hz to 44,100 Hz with a low-pass interpolator; linear is near enough to find it.
    up = np.empty(2 * len(v))
    up[0::2] = v
    up[1::2] = np.append((v[:-1] + v[1:]) / 2, v[-1])
    return up


def find(mono, voice, threshold=0.6):
    """Start frames where the voice plays, by normalised cross-correlation."""
    n = len(mono) + len(voice)
    size = 1 << (n - 1).bit_length()
    corr = np.fft.irfft(np.fft.rfft(mono, size) * np.conj(np.fft.rfft(voice, size)), size)[:len(mono) - len(voice)]
    energy = np.concatenate(([0.0], np.cumsum(mono * mono)))
    local = np.sqrt(np.maximum(energy[len(voice):len(mono)] - energy[:len(mono) - len(voice)], 1e-12))
    score = corr / (local * np.linalg.norm(voice))
    starts = []
    for i in np.flatnonzero(score > threshold):
        if starts and i - starts[-1] < len(voice):
            if score[i] > score[starts[-1]]:
                starts[-1] = i
            continue
        starts.append(i)
    return starts


def level_db(x):
    return 20 * np.log10(max(np.sqrt(np.mean(x * x)), 1e-9))


def heard(clip, tmp, grammar):
    src, dst = os.path.join(tmp, "clip.wav"), os.path.join(tmp, "clip16k.wav")
    with wave.open(src, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes((np.clip(clip, -1, 1) * 32767).astype("<i2").tobytes())
    subprocess.run(["sox", src, "-D", "-r", "16000", "-b", "16", dst], check=True)
    r = subprocess.run(["pocketsphinx_continuous", "-infile", dst, "-hmm", check_sounds.MODEL + "/en-us", "-jsgf",
                        grammar, "-dict", check_sounds.MODEL + "/cmudict-en-us.dict"],
                       capture_output=True, text=True, check=True)
    return " ".join(r.stdout.split())


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    sdir = argv[2] if len(argv) > 2 else os.path.join(check_sounds.ROOT, "assets", "sounds")
    raw = np.fromfile(argv[1], dtype="<i2").astype(np.float64) / 32768
    stereo = raw[: len(raw) // 2 * 2].reshape(-1, 2)
    mono = stereo.mean(axis=1)
    words = sorted({w for ws in check_sounds.VOICES.values() for w in ws.split("|")} | set(check_sounds.NEAR_MISSES))
    right = {"count-down": [0, 0], "cheer": [0, 0]}
    with tempfile.TemporaryDirectory() as tmp:
        grammar = os.path.join(tmp, "words.gram")
        with open(grammar, "w") as f:
            f.write("#JSGF V1.0;\ngrammar words;\npublic <any> = %s ;\n" % " | ".join(words))
        found = []
        for sid in COUNT_DOWN + CHEERS:
            voice = voice_at_mixer_rate(os.path.join(sdir, "%03d.wav" % sid))
            found += [(start, sid, len(voice)) for start in find(mono, voice)]
        for start, sid, length in sorted(found):
            pad = int(PAD * RATE)
            clip = mono[max(0, start - pad): start + length + pad]
            before = mono[max(0, start - 2 * pad): start]
            said = check_sounds.VOICES[sid]
            got = heard(clip, tmp, grammar)
            ok = got in said.split("|")
            kind = "count-down" if sid in COUNT_DOWN else "cheer"
            right[kind][0] += ok
            right[kind][1] += 1
            print("%s %7.2f s  %03d says %-14s heard %-16r music before %6.1f dBFS, voice and music %6.1f dBFS" %
                  ("ok  " if ok else "MISS", start / RATE, sid, said.split("|")[0], got, level_db(before),
                   level_db(mono[start: start + length])))
    for kind, (ok, total) in right.items():
        print("%s: %d of %d heard right" % (kind, ok, total))
    jingle = voice_at_mixer_rate(os.path.join(sdir, "%03d.wav" % JINGLE))
    for start in find(mono, jingle, 0.3):
        heard_part = mono[start: start + len(jingle)]
        own = jingle * np.dot(heard_part, jingle) / np.dot(jingle, jingle)
        rest = heard_part - own
        over = loudness.integrated([own, own], RATE) - loudness.integrated([rest, rest], RATE)
        print("jingle %03d at %.2f s: %+.1f LU over the music under it" % (JINGLE, start / RATE, over))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
