#!/usr/bin/env python3
"""Renders the three tunes on every installed General MIDI soundfont with
the `fluidsynth` program and prints their loudness as the game plays them.

    python3 tools/music/measure_music.py [music_dir [sounds_dir]]

Per soundfont: each tune's integrated loudness at the game's music gain
for that font (read from platform/PlatformMusicPlayer.cpp), the gain that
would give -20 LUFS, the melody tracks and the rest of the band measured
apart, the tune-to-tune spread, and how far the round's key effects rise
over the round music. Effects are mixed at half volume into both stereo
channels, so an effect file's mono loudness plays 3 LU lower in the game.
Needs fluidsynth and python3-numpy (python3-scipy makes it faster).
"""

import os
import re
import struct
import subprocess
import sys
import tempfile
import wave

import numpy as np

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "sounds"))
import loudness  # noqa: E402

RATE = 44100
RENDER_GAIN = 0.2
FONTS = ["/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"]
TUNES = ["Music01.mid", "Music02.mid", "Music03.mid"]
ROUND_TUNE = "Music02.mid"
ROUND_EFFECTS = [178, 185, 220, 222]
# Mix_Volume(MIX_MAX_VOLUME / 2) on a mono effect copied into two channels.
EFFECT_OFFSET_DB = 20 * np.log10(0.5) + 10 * np.log10(2)
TARGET = -20.0


def game_gains():
    """The font name -> gain table and the default, from the player's source."""
    src = open(os.path.join(ROOT, "platform", "PlatformMusicPlayer.cpp")).read()
    table = dict((n, float(g)) for n, g in re.findall(r'\{"([^"]+)",\s*([0-9.]+)\}', src))
    default = re.search(r"kDefaultSynthGain\s*=\s*([0-9.]+)", src)
    return table, float(default.group(1)) if default else 0.4


def split_tracks(data):
    head = data[:14]
    pos, tracks = 14, []
    while pos < len(data):
        size = struct.unpack_from(">I", data, pos + 4)[0]
        tracks.append(data[pos:pos + 8 + size])
        pos += 8 + size
    return head, tracks


def track_name(chunk):
    m = re.search(rb"\xff\x03(.)", chunk, re.S)
    return chunk[m.end():m.end() + m.group(1)[0]].decode("ascii", "replace") if m else ""


def midi_subset(data, keep):
    """The file with the conductor track and the tracks `keep` accepts."""
    head, tracks = split_tracks(data)
    chosen = [tracks[0]] + [t for t in tracks[1:] if keep(track_name(t))]
    return head[:10] + struct.pack(">H", len(chosen)) + head[12:] + b"".join(chosen)


def render(font, midi_bytes, tmp):
    mid, out = os.path.join(tmp, "in.mid"), os.path.join(tmp, "out.wav")
    with open(mid, "wb") as f:
        f.write(midi_bytes)
    subprocess.run(["fluidsynth", "-ni", "-q", "-F", out, "-T", "wav", "-O", "s16", "-r", str(RATE),
                    "-g", str(RENDER_GAIN), font, mid], check=True, capture_output=True)
    with wave.open(out) as w:
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(float) / 32768
    return [x[0::2], x[1::2]]


def is_melody(name):
    return name.startswith("Melody")


def effect_loudness(path):
    with open(path, "rb") as f:
        data = f.read()
    body = data[data.index(b"data") + 8:]
    size = struct.unpack_from("<I", data, data.index(b"data") + 4)[0]
    x = (np.frombuffer(body[:size], dtype=np.uint8).astype(float) - 128) / 128
    return loudness.momentary_max(x, 22050)


def main(argv):
    mdir = argv[1] if len(argv) > 1 else os.path.join(ROOT, "assets", "music")
    sdir = argv[2] if len(argv) > 2 else os.path.join(ROOT, "assets", "sounds")
    gains, default_gain = game_gains()
    fonts = [f for f in FONTS if os.path.exists(f)]
    effects = {i: effect_loudness(os.path.join(sdir, "%03d.wav" % i)) for i in ROUND_EFFECTS}
    with tempfile.TemporaryDirectory() as tmp:
        for font in fonts:
            name = os.path.basename(os.path.realpath(font))
            gain = gains.get(name, default_gain)
            shift = 20 * np.log10(gain / RENDER_GAIN)
            print("%s  game gain %.3f" % (name, gain))
            print("  %-12s %8s %10s %8s %8s %8s" % ("tune", "LUFS", "gain->-20", "melody", "band",
                                                   "mel-band"))
            level = {}
            for tune in TUNES:
                data = open(os.path.join(mdir, tune), "rb").read()
                played = render(font, data, tmp)
                whole = loudness.integrated(played, RATE) + shift
                if tune == ROUND_TUNE:
                    blocks = loudness.block_loudness(loudness.weighted_power(played, RATE), RATE) + shift
                    loud = np.percentile(blocks[blocks > whole - 20], 95)
                mel = loudness.integrated(render(font, midi_subset(data, is_melody), tmp), RATE) + shift
                band = loudness.integrated(render(font, midi_subset(data, lambda n: not is_melody(n)),
                                                  tmp), RATE) + shift
                level[tune] = whole
                need = gain * 10 ** ((TARGET - whole) / 20)
                print("  %-12s %8.1f %10.3f %8.1f %8.1f %+8.1f" % (tune, whole, need, mel, band,
                                                                   mel - band))
            print("  spread %.1f LU; %s's loudest 5%% of moments reach %.1f LUFS" % (
                max(level.values()) - min(level.values()), ROUND_TUNE, loud))
            for i, lm in effects.items():
                played = lm + EFFECT_OFFSET_DB
                print("  effect %d: %.1f LUFS in the game, %+.1f LU over %s" % (
                    i, played, played - level[ROUND_TUNE], ROUND_TUNE))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
