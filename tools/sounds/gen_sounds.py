#!/usr/bin/env python3
"""Generates the game's sound effects as 8-bit mono 22050 Hz WAVE files.

Voices come from espeak-ng, everything else is synthesised with numpy.
Every random choice uses a fixed seed, so running this twice gives the
same bytes.

    python3 tools/sounds/gen_sounds.py [output_dir]
"""

import io
import os
import struct
import subprocess
import sys
import wave

import numpy as np

import loudness

SR = 22050
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT_DIR = os.path.join(ROOT, "assets", "sounds")

# Id -> target length in seconds. The game relies on these lengths for
# its timing (count-down voices between steps, jingles over their scenes).
LENGTHS = {
    174: 2.63, 175: 0.55, 176: 0.19, 177: 11.13, 178: 0.48, 179: 2.53,
    180: 0.06, 181: 0.49, 182: 0.49, 183: 0.51, 184: 1.82, 185: 0.55,
    194: 0.97, 195: 1.01, 196: 1.07, 197: 0.90, 198: 0.56, 220: 0.25,
    222: 0.68, 223: 1.50, 224: 1.66, 228: 8.97,
}

# Momentary loudness (BS.1770, loudest 400 ms) per kind of sound: the
# round's hits and the voices must stand out over the music, the screens'
# sounds a little less, the jingles least. check_sounds.py keeps a copy.
HIT, SCREEN, JINGLE = -12.0, -14.0, -16.0
TARGETS = {
    174: SCREEN, 175: HIT, 176: SCREEN, 177: JINGLE, 178: HIT, 179: SCREEN,
    180: SCREEN, 181: HIT, 182: HIT, 183: HIT, 184: SCREEN, 185: HIT,
    194: HIT, 195: HIT, 196: HIT, 197: HIT, 198: SCREEN, 220: HIT,
    222: HIT, 223: HIT, 224: HIT, 228: JINGLE,
}
# Limiter ceiling: the largest 8-bit step is 127, and 120 leaves room for
# rounding and the resampling in the mixer.
CEILING = 120 / 127


def nsamples(sec):
    return int(round(sec * SR))


def tvec(sec):
    return np.arange(nsamples(sec)) / SR


def midi_hz(n):
    return 440.0 * 2.0 ** ((n - 69) / 12.0)


# ---------------------------------------------------------------- building blocks

def osc_additive(freq, sec, partials, phase=0.0):
    """Band-limited oscillator: `partials` maps harmonic -> amplitude.
    `freq` may be an array (a sweep); harmonics above Nyquist are dropped
    per sample so sweeps do not alias."""
    n = nsamples(sec)
    f = np.broadcast_to(np.asarray(freq, dtype=float), (n,))
    ph = 2 * np.pi * np.cumsum(f) / SR + phase
    out = np.zeros(n)
    for h, a in partials.items():
        ok = (f * h) < SR * 0.45
        out += np.where(ok, a * np.sin(h * ph), 0.0)
    return out


def square_partials(k=15):
    return {h: 1.0 / h for h in range(1, 2 * k, 2)}


def saw_partials(k=20):
    return {h: 1.0 / h for h in range(1, k + 1)}


def tri_partials(k=7):
    return {h: ((-1) ** ((h - 1) // 2)) / (h * h) for h in range(1, 2 * k, 2)}


def env_adsr(sec, a, d, s, r, total=None):
    """Attack/decay/sustain/release envelope; the release ends at `sec`."""
    n = nsamples(sec)
    e = np.full(n, s, dtype=float)
    na, nd, nr = nsamples(a), nsamples(d), nsamples(r)
    na = max(1, min(na, n))
    e[:na] = np.linspace(0, 1, na)
    nd = min(nd, n - na)
    if nd > 0:
        e[na:na + nd] = np.linspace(1, s, nd)
    nr = min(nr, n)
    if nr > 0:
        e[n - nr:] *= np.linspace(1, 0, nr)
    return e


def env_exp(sec, tau, attack=0.002):
    t = tvec(sec)
    e = np.exp(-t / tau)
    na = max(1, nsamples(attack))
    e[:na] *= np.linspace(0, 1, na)
    return e


def fft_filter(x, lo=None, hi=None, slope=4):
    """Zero-phase band filter with smooth (Butterworth-like) edges."""
    n = len(x)
    spectrum = np.fft.rfft(x)
    f = np.fft.rfftfreq(n, 1.0 / SR)
    g = np.ones_like(f)
    if lo is not None:
        g *= 1.0 / np.sqrt(1.0 + (lo / np.maximum(f, 1e-3)) ** (2 * slope))
    if hi is not None:
        g *= 1.0 / np.sqrt(1.0 + (f / hi) ** (2 * slope))
    return np.fft.irfft(spectrum * g, n)


def swept_noise(sec, centre, q, rng):
    """Noise through a band-pass whose centre follows the array `centre`,
    made by overlap-adding filtered Hann-windowed frames."""
    n = nsamples(sec)
    hop, size = 256, 1024
    out = np.zeros(n + size)
    win = np.hanning(size)
    f = np.fft.rfftfreq(size, 1.0 / SR)
    for start in range(0, n, hop):
        c = centre[min(start, n - 1)]
        bw = c / q
        g = np.exp(-0.5 * ((f - c) / bw) ** 2)
        frame = rng.standard_normal(size) * win
        out[start:start + size] += np.fft.irfft(np.fft.rfft(frame) * g, size) * win
    return out[:n]


def place(buf, x, at):
    """Mixes `x` into `buf` starting at second `at`, cutting what overhangs."""
    i = nsamples(at)
    if i >= len(buf):
        return
    m = min(len(x), len(buf) - i)
    buf[i:i + m] += x[:m]


def room(x, rng, mix=0.15, decay=0.25):
    """A short diffuse tail so dry synth and speech sound less boxy."""
    ir_len = nsamples(decay * 3)
    ir = rng.standard_normal(ir_len) * np.exp(-np.arange(ir_len) / (decay * SR / 3))
    ir = fft_filter(ir, lo=200, hi=5000)
    ir /= np.sqrt(np.sum(ir ** 2)) + 1e-12
    wet = np.fft.irfft(np.fft.rfft(x, len(x) + ir_len) * np.fft.rfft(ir, len(x) + ir_len))
    wet = wet[:len(x)]
    return x + mix * wet


def fit(x, sec):
    n = nsamples(sec)
    if len(x) >= n:
        return x[:n].copy()
    return np.concatenate([x, np.zeros(n - len(x))])


# ---------------------------------------------------------------- speech

def espeak(text, voice, pitch, speed, amp=180, gap=0):
    cmd = ["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed),
           "-a", str(amp), "-g", str(gap), "--stdout", text]
    data = subprocess.run(cmd, check=True, capture_output=True).stdout
    with wave.open(io.BytesIO(data)) as w:
        if w.getframerate() != SR or w.getsampwidth() != 2:
            raise RuntimeError("unexpected espeak-ng output format")
        raw = w.readframes(w.getnframes())
    x = np.frombuffer(raw, dtype="<i2").astype(float) / 32768.0
    return trim(x)


def trim(x, thresh=0.01):
    idx = np.nonzero(np.abs(x) > thresh * np.max(np.abs(x)))[0]
    if len(idx) == 0:
        return x
    a = max(0, idx[0] - nsamples(0.005))
    b = min(len(x), idx[-1] + nsamples(0.02))
    return x[a:b]


def f0_track(x, hop, lo=70, hi=500):
    """The fundamental per hop by autocorrelation; 0 where unvoiced or quiet.
    A second pass looks only within half an octave of the first pass's
    median, where a strong first formant can no longer pass for the pitch."""
    f0 = f0_pass(x, hop, lo, hi)
    if not np.any(f0):
        return f0
    base = np.median(f0[f0 > 0])
    return f0_pass(x, hop, base / 1.45, base * 1.45)


def f0_pass(x, hop, lo, hi):
    w = nsamples(0.04)
    pad = np.concatenate([np.zeros(w // 2), x, np.zeros(w)])
    level = np.sqrt(np.convolve(pad ** 2, np.ones(w) / w, "same"))
    shortest, longest = int(SR / hi), int(SR / lo) + 1
    # divided by the window's own autocorrelation, long lags are not
    # penalised against short ones
    win = np.hanning(w)
    wac = np.correlate(win, win, "full")[w - 1:w - 1 + longest]
    f0 = np.zeros(len(x) // hop + 1)
    for i in range(len(f0)):
        if level[i * hop + w // 2] < 0.05 * level.max():
            continue
        frame = pad[i * hop:i * hop + w] * win
        ac = np.correlate(frame, frame, "full")[w - 1:w - 1 + longest] / wac
        k = shortest + int(np.argmax(ac[shortest:longest]))
        if ac[0] > 0 and ac[k] / ac[0] > 0.4:
            f0[i] = SR / k
    return f0


def pitch_marks(x, f0, hop):
    """(sample, period) pairs: one per period on the waveform's peaks where
    voiced, one per hop with period 0 elsewhere."""
    marks, t = [], 0
    while t < len(x):
        f = f0[min(t // hop, len(f0) - 1)]
        if f == 0:
            marks.append((t, 0))
            t += hop
            continue
        period = int(SR / f)
        a, b = t, t + period
        if marks and marks[-1][1]:
            a, b = marks[-1][0] + period - period // 4, marks[-1][0] + period + period // 4
        a, b = max(0, a), min(len(x), b)
        if b <= a:
            break
        p = a + int(np.argmax(x[a:b]))
        marks.append((p, period))
        t = p + 1
    return marks


def repitch(x, contour, rng, jitter=0.012):
    """Pitch-synchronous overlap-add. Across the voiced stretch (u from 0 to
    1) the pitch follows `contour`, (u, multiple of the voice's own median
    pitch) points, with each period a little uneven as in a real voice."""
    hop = nsamples(0.005)
    f0 = f0_track(x, hop)
    if not np.any(f0):
        return x
    base = np.median(f0[f0 > 0])
    marks = pitch_marks(x, f0, hop)
    at = np.array([m for m, _ in marks])
    voiced = [m for m, p in marks if p]
    v0, v1 = voiced[0], max(voiced[-1], voiced[0] + 1)
    us, ks = zip(*contour)
    out = np.zeros(len(x) + SR)
    src = dst = 0.0
    while src < len(x):
        m, period = marks[int(np.argmin(np.abs(at - src)))]
        half = period or hop
        grain = x[max(0, m - half):m + half]
        win = np.hanning(2 * half + 1)[half - (m - max(0, m - half)):][:len(grain)]
        start = int(round(dst)) - (m - max(0, m - half))
        if start >= 0:
            out[start:start + len(grain)] += grain * win
        if period:
            u = min(1.0, max(0.0, (src - v0) / (v1 - v0)))
            want = base * np.interp(u, us, ks) * (1 + jitter * rng.standard_normal())
            step = SR / want
        else:
            step = hop
        src += step
        dst += step
    return out[:int(dst)]


def liven(x, rng, verb=0.12):
    """Clears the low rumble and adds presence, then a little room. No
    saturation: it blurs the consonants, and the limiter evens the level."""
    x = fft_filter(x, lo=120, hi=8000)
    x = x + 0.6 * fft_filter(x, lo=2000, hi=5000, slope=2)
    return room(x, rng, mix=verb, decay=0.15)


# Pitch shapes over a word: an exclamation rises, then falls further.
CALL = ((0, 1.0), (0.3, 1.3), (1, 0.8))
# Two syllables, the second high: hoo-RAY.
LIFT = ((0, 0.95), (0.4, 0.95), (0.6, 1.4), (1, 0.85))


def speak(text, voice, pitch, speed, contour, seed):
    rng = np.random.default_rng(seed)
    x = repitch(espeak(text, voice, pitch, speed), contour, rng)
    return liven(x, rng)


def voice_fx(sec, *args, lead=0.01):
    buf = np.zeros(nsamples(sec))
    x = speak(*args)
    fits(x, lead, sec)
    place(buf, x, lead)
    return buf


def fits(x, at, sec):
    # a word cut short is worse than none: slow voices must be sped up here
    if at + len(x) / SR > sec - 0.02:
        raise ValueError("speech of %.2f s at %.2f s overruns its %.2f s" % (len(x) / SR, at, sec))


# The count-down announcer: one voice for the numbers and "Go!", each word
# at its own pitch and pace.
ANNOUNCER = "en-us+anika"
COUNT_WORDS = {
    181: ("One!", 45, 140), 183: ("Two!", 45, 140), 182: ("Three!", 45, 140),
    175: ("Go!", 45, 140),
}


def fx_count(sid, sec):
    text, pitch, speed = COUNT_WORDS[sid]
    return voice_fx(sec, text, ANNOUNCER, pitch, speed, CALL, sid)


# Each player's winning voice and word; the team cheers reuse the voices.
PLAYER_VOICES = {
    1: dict(voice="en-us+m3", pitch=40, text="Yes!", speed=130, contour=CALL),
    2: dict(voice="en-us+f3", pitch=60, text="I win!", speed=150, contour=CALL),
    3: dict(voice="en-gb-x-rp+f4", pitch=80, text="Hooray!", speed=150, contour=LIFT),
    4: dict(voice="en-gb-x-rp+edward", pitch=70, text="Yahoo!", speed=150, contour=LIFT),
}


def fx_cheer(player, sec):
    v = PLAYER_VOICES[player]
    return voice_fx(sec, v["text"], v["voice"], v["pitch"], v["speed"], v["contour"], 190 + player)


def fx_team(a, b, sec, seed, speed):
    """The two players call "We win!" in turn, the second cutting in just
    before the first ends: two voices at once would blur the words."""
    buf = np.zeros(nsamples(sec))
    at = 0.01
    for k, p in enumerate((a, b)):
        v = PLAYER_VOICES[p]
        x = speak("We win!", v["voice"], v["pitch"], speed, CALL, seed + k)
        fits(x, at, sec)
        place(buf, x * (1.0 if k == 0 else 0.9), at)
        at += len(x) / SR - 0.1
    return buf


# ---------------------------------------------------------------- synthesised effects

def fx_shimmer(sec):
    """Magic sparkle: a rising bell glissando over twinkles."""
    rng = np.random.default_rng(174)
    n = nsamples(sec)
    buf = np.zeros(n)
    scale = [0, 2, 4, 7, 9]
    notes = [72 + 12 * (i // 5) + scale[i % 5] for i in range(16)]
    for i, note in enumerate(notes):
        at = 0.05 * i
        d = 0.9
        bell = osc_additive(midi_hz(note), d, {1: 1.0, 2.76: 0.35, 5.4: 0.12})
        place(buf, bell * env_exp(d, 0.25) * 0.5, at)
    # twinkles scattered over the rest, thinning out towards the end
    for k in range(40):
        at = 0.3 + 2.0 * (k / 40) ** 1.3 + rng.uniform(0, 0.05)
        note = 84 + scale[rng.integers(5)] + 12 * rng.integers(2)
        d = 0.35
        tw = osc_additive(midi_hz(note), d, {1: 1.0, 3.0: 0.2})
        place(buf, tw * env_exp(d, 0.07) * 0.3 * (1 - k / 50), at)
    t = np.arange(n) / SR
    air = swept_noise(sec, 5000 + 3000 * np.sin(2 * np.pi * 1.3 * t), 4, rng)
    buf += 0.25 * air / (np.max(np.abs(air)) + 1e-12) * np.exp(-t / 0.9)
    shape = np.minimum(1, t / 0.03) * np.clip((sec - t) / 0.6, 0, 1)
    return room(buf * shape, rng, mix=0.3, decay=0.4)


def fx_blip(sec):
    buf = np.zeros(nsamples(sec))
    for at, note in ((0.0, 88), (0.06, 95)):
        d = 0.12
        x = osc_additive(midi_hz(note), d, square_partials(6))
        place(buf, x * env_exp(d, 0.04), at)
    return buf


def fx_tick(sec):
    """A woodblock tock: two short modes and a click, held long enough to
    be heard over the title music."""
    rng = np.random.default_rng(180)
    t = tvec(sec)
    x = osc_additive(1850, sec, {1: 1.0, 2.32: 0.45, 3.9: 0.2}) * np.exp(-t / 0.035)
    click = fft_filter(rng.standard_normal(len(t)), lo=2000, hi=7000) * np.exp(-t / 0.004)
    x = x + 0.5 * click / (np.max(np.abs(click)) + 1e-12)
    return x * np.minimum(1, t / 0.0007)


def fx_count_tick(sec):
    """Brighter and longer than the cursor tick, with a short ring."""
    d = sec
    x = osc_additive(midi_hz(93), d, {1: 1.0, 2: 0.3, 4.2: 0.15}) * env_exp(d, 0.05, 0.001)
    rng = np.random.default_rng(220)
    x += 0.3 * fft_filter(rng.standard_normal(len(x)), lo=4000) * env_exp(d, 0.004, 0.0003)
    return x


def fx_bump(sec):
    """Cartoon bonk: a hollow knock whose pitch drops from 900 to 420 Hz,
    then a short springy wobble; nothing much under 200 Hz, so small
    speakers play all of it."""
    rng = np.random.default_rng(178)
    t = tvec(sec)
    f = 420 + 480 * np.exp(-t / 0.025)
    body = osc_additive(f, sec, {1: 1.0, 2: 0.25, 3: 0.45, 5: 0.12}) * env_exp(sec, 0.07, 0.001)
    wob = 330 * (1 + 0.07 * np.sin(2 * np.pi * 16 * t))
    spring = osc_additive(wob, sec, {1: 1.0, 2: 0.3, 3: 0.15})
    spring *= np.clip((t - 0.05) / 0.04, 0, 1) * np.exp(-np.maximum(t - 0.05, 0) / 0.11)
    knock = fft_filter(rng.standard_normal(len(t)), lo=700, hi=3000) * env_exp(sec, 0.008, 0.0005)
    knock /= np.max(np.abs(knock)) + 1e-12
    x = body + 0.45 * spring + 0.5 * knock
    return fft_filter(x, lo=220)


def snare(sec, rng, tone=190):
    n = fft_filter(rng.standard_normal(nsamples(sec)), lo=1200, hi=9000)
    n /= np.max(np.abs(n)) + 1e-12
    body = osc_additive(tone, sec, {1: 1.0, 1.6: 0.5})
    return (0.8 * n + 0.5 * body * env_exp(sec, 0.03)) * env_exp(sec, 0.06, 0.001)


def fx_scroll_roll(sec):
    """A parchment unrolling (fluttering swish) over a swelling drum roll."""
    rng = np.random.default_rng(179)
    n = nsamples(sec)
    t = np.arange(n) / SR
    swish = swept_noise(sec, 800 + 2500 * np.clip(t / 1.4, 0, 1), 2.5, rng)
    swish /= np.max(np.abs(swish)) + 1e-12
    flutter = 0.55 + 0.45 * np.abs(np.sin(2 * np.pi * (6 + 10 * t) * t))
    unroll = swish * flutter * np.clip(t / 0.1, 0, 1) * np.clip((1.6 - t) / 0.5, 0, 1)
    roll = np.zeros(n)
    k, at = 0, 0.15
    while at < sec - 0.45:
        g = 0.25 + 0.75 * (at / (sec - 0.45)) ** 1.5
        place(roll, snare(0.12, rng) * g * (0.8 + 0.2 * (k % 2)), at)
        at += 1.0 / 22.0
        k += 1
    # the final hit with a low drum under it
    hit = snare(0.4, rng) * 1.3
    t2 = tvec(0.4)
    hit += 1.2 * osc_additive(55 + 60 * np.exp(-t2 / 0.03), 0.4, {1: 1.0}) * env_exp(0.4, 0.15)
    place(roll, hit, sec - 0.42)
    return 0.7 * unroll + roll


def brass_note(note, sec, rng, bright=1.0, vib=True):
    t = tvec(sec)
    f = midi_hz(note) * np.ones(len(t))
    if vib:
        f = f * (1 + 0.006 * np.sin(2 * np.pi * 5.5 * t) * np.clip((t - 0.15) / 0.2, 0, 1))
    x = osc_additive(f, sec, saw_partials(14))
    # the tone brightens on the attack, like a horn
    dark = fft_filter(x, hi=900)
    mixv = np.clip(np.exp(-t / 0.12) * bright + 0.35, 0, 1)
    return (mixv * x + (1 - mixv) * dark) * env_adsr(sec, 0.02, 0.1, 0.75, 0.08)


def fx_tada(sec):
    rng = np.random.default_rng(184)
    buf = np.zeros(nsamples(sec))
    chord1 = [60, 64, 67, 72]
    chord2 = [60, 64, 67, 72, 76]
    for nt in chord1:
        place(buf, brass_note(nt + 5, 0.16, rng, vib=False) * 0.25, 0.0)
    long = sec - 0.22
    for nt in chord2:
        x = brass_note(nt + 5, long, rng) * 0.25
        x *= np.clip((long - tvec(long)) / 0.9, 0, 1) ** 0.7
        place(buf, x, 0.2)
    cym = fft_filter(rng.standard_normal(nsamples(1.2)), lo=4000) * env_exp(1.2, 0.35)
    place(buf, 0.15 * cym, 0.2)
    return room(buf, rng, mix=0.25, decay=0.3)


def fx_splat(sec):
    """Wet splat, all within 150 ms (the game restarts it every 0.16 s in a
    burst): a squelching burst whose band falls, two quick droplets, and
    only a faint drip after."""
    rng = np.random.default_rng(185)
    n = nsamples(sec)
    t = np.arange(n) / SR
    squelch = swept_noise(sec, 600 + 2200 * np.exp(-t / 0.04), 1.6, rng)
    squelch /= np.max(np.abs(squelch)) + 1e-12
    squelch *= np.minimum(1, t / 0.002) * np.exp(-t / 0.03)
    slap = fft_filter(rng.standard_normal(n), lo=300, hi=5000) * env_exp(sec, 0.012, 0.001)
    slap /= np.max(np.abs(slap)) + 1e-12
    buf = squelch + 0.6 * slap
    for at, f0, g in ((0.04, 650, 0.5), (0.085, 900, 0.4)):
        d = 0.04
        td = tvec(d)
        drop = osc_additive(f0 * np.exp(td / 0.03), d, {1: 1.0}) * env_exp(d, 0.012, 0.002)
        place(buf, drop * g, at)
    return fft_filter(buf, lo=200)


def fx_crash(sec):
    """Cymbal crash over a drum boom: metallic shimmer on top, a noise band
    in the middle and a low boom whose overtones carry on small speakers."""
    rng = np.random.default_rng(198)
    n = nsamples(sec)
    t = np.arange(n) / SR
    noise = fft_filter(rng.standard_normal(n), lo=3000, hi=10000)
    noise /= np.max(np.abs(noise)) + 1e-12
    metal = np.zeros(n)
    for f in (587, 845, 1137, 1510, 2233, 3110, 4270):
        metal += np.sign(np.sin(2 * np.pi * f * t + rng.uniform(0, 6.28)))
    metal = fft_filter(metal, lo=2500, hi=9000)
    metal /= np.max(np.abs(metal)) + 1e-12
    mid = fft_filter(rng.standard_normal(n), lo=500, hi=3000)
    mid /= np.max(np.abs(mid)) + 1e-12
    boom = osc_additive(110 + 90 * np.exp(-t / 0.03), sec, {1: 1.0})
    boom = fft_filter(np.tanh(3 * boom), lo=180, slope=2) * np.exp(-t / 0.16)
    attack = np.minimum(1, t / 0.002)
    top = (noise + 0.5 * metal) * np.exp(-t / 0.3)
    return attack * (top + 0.55 * mid * np.exp(-t / 0.14) + 0.6 * boom)


def fx_powerup(sec):
    """A stepped rising sweep: arpeggio notes climbing two octaves."""
    t = tvec(sec)
    steps = np.floor(t / 0.035)
    arp = np.array([0, 4, 7, 12])
    semis = 60 + (steps // 4) * 5 + arp[(steps % 4).astype(int)]
    f = midi_hz(semis) * (1 + 0.02 * np.sin(2 * np.pi * 25 * t))
    x = osc_additive(f, sec, square_partials(5)) * 0.7
    x += 0.4 * osc_additive(f * 2, sec, {1: 1.0})
    return x * np.minimum(1, t / 0.01) * np.clip((sec - t) / 0.2, 0, 1)


# ---------------------------------------------------------------- jingles

def pluck(note, sec, bright=8):
    """Mallet-like tone (marimba/bell) decaying over `sec`."""
    f = midi_hz(note)
    parts = {1: 1.0, 4.0: 0.25 * bright / 8, 10.0: 0.06 * bright / 8}
    return osc_additive(f, sec, parts) * env_exp(sec, min(sec, 0.35), 0.002)


def pulse(note, sec, duty_partials=None, rel=0.05):
    f = midi_hz(note)
    x = osc_additive(f, sec, duty_partials or square_partials(8))
    return x * env_adsr(sec, 0.005, 0.08, 0.6, min(rel, sec / 2))


def bass(note, sec):
    x = osc_additive(midi_hz(note), sec, tri_partials(5))
    return x * env_adsr(sec, 0.005, 0.1, 0.7, min(0.04, sec / 2))


def kick(rng, sec=0.25):
    t = tvec(sec)
    return osc_additive(45 + 110 * np.exp(-t / 0.025), sec, {1: 1.0}) * env_exp(sec, 0.1, 0.001)


def hat(rng, sec=0.05):
    n = fft_filter(rng.standard_normal(nsamples(sec)), lo=6000)
    return n / (np.max(np.abs(n)) + 1e-12) * env_exp(sec, 0.012, 0.0005)


def render_song(sec, bpm, melody, chords, bassline, lead, rng, drums=True, tail=1.2):
    """Small sequencer: melody [(beat, beats, note)], chords [(beat, beats,
    [notes])], bass [(beat, beats, note)]."""
    beat = 60.0 / bpm
    buf = np.zeros(nsamples(sec))
    for b, d, nt in melody:
        place(buf, lead(nt, d * beat) * 0.35, b * beat)
    for b, d, notes in chords:
        for nt in notes:
            place(buf, pluck(nt, max(d * beat, 0.4), bright=4) * 0.12, b * beat)
    for b, d, nt in bassline:
        place(buf, bass(nt, d * beat * 0.9) * 0.4, b * beat)
    if drums:
        last = (len(buf) / SR - tail) / beat
        b = 0.0
        while b < last:
            if b % 2 == 0:
                place(buf, kick(rng) * 0.5, b * beat)
            else:
                place(buf, snare(0.15, rng) * 0.25, b * beat)
            place(buf, hat(rng) * 0.12, b * beat)
            place(buf, hat(rng) * 0.08, (b + 0.5) * beat)
            b += 1
    return buf


def motif_line(motif, start, transpose=0):
    return [(start + b, d, n + transpose) for b, d, n in motif]


def crowd_voice(sec, rng):
    """One cheering voice: a buzzy glottal tone gliding up then down through
    two vowel formants, like a long "woo" or "yeah"."""
    t = tvec(sec)
    f0 = rng.uniform(130, 320)
    glide = f0 * (1 + 0.25 * np.sin(np.pi * t / sec) + 0.02 * np.sin(2 * np.pi * 5.5 * t))
    x = osc_additive(glide, sec, saw_partials(24))
    f1, f2 = rng.uniform(350, 750), rng.uniform(900, 2200)
    x = fft_filter(x, lo=f1 * 0.7, hi=f1 * 1.3, slope=2) + 0.6 * fft_filter(x, lo=f2 * 0.8, hi=f2 * 1.2,
                                                                           slope=2)
    return x * env_adsr(sec, 0.08, 0.1, 0.8, sec * 0.4)


def fx_winner_jingle(sec):
    """A crowd celebrating: cheers, applause, whistles and party horns at
    random moments, no key and no beat, so it sits over any tune."""
    rng = np.random.default_rng(177)
    n = nsamples(sec)
    t = np.arange(n) / SR
    cheer = np.zeros(n)
    for _ in range(70):
        d = rng.uniform(0.5, 1.4)
        v = crowd_voice(d, rng)
        place(cheer, v / (np.max(np.abs(v)) + 1e-12) * rng.uniform(0.3, 1.0), rng.uniform(0, sec - 1.5))
    clap = np.zeros(n)
    for _ in range(30):
        at = rng.uniform(0, 0.3)
        while at < sec - 0.1:
            d = 0.012
            c = fft_filter(rng.standard_normal(nsamples(d)), lo=rng.uniform(700, 1400),
                           hi=rng.uniform(2500, 5000))
            place(clap, c * env_exp(d, 0.003, 0.0005) * rng.uniform(0.4, 1.0), at)
            at += rng.uniform(0.13, 0.3)
    clap /= np.max(np.abs(clap)) + 1e-12
    whistle = np.zeros(n)
    for at in (0.4, 2.1, 3.6, 5.2, 7.4):
        d = rng.uniform(0.4, 0.8)
        td = tvec(d)
        f = rng.uniform(2300, 2900) * (1 + 0.12 * np.sin(np.pi * td / d)) \
            * (1 + 0.03 * np.sign(np.sin(2 * np.pi * 22 * td)))
        w = osc_additive(f, d, {1: 1.0, 2: 0.1}) + 0.15 * fft_filter(rng.standard_normal(len(td)), lo=2000,
                                                                    hi=4000)
        place(whistle, w * env_adsr(d, 0.02, 0.05, 0.8, 0.1), at + rng.uniform(0, 0.3))
    horn = np.zeros(n)
    for at in (1.0, 2.9, 4.4, 6.3, 8.2):
        d = rng.uniform(0.35, 0.65)
        td = tvec(d)
        f = rng.uniform(330, 470) * (0.85 + 0.15 * np.minimum(1, td / 0.08))
        h = osc_additive(f, d, saw_partials(12)) * (1 + 0.35 * np.sin(2 * np.pi * 27 * td))
        h += 0.3 * fft_filter(rng.standard_normal(len(td)), lo=800, hi=3000)
        place(horn, h * env_adsr(d, 0.01, 0.05, 0.9, 0.08), at + rng.uniform(0, 0.3))
    swell = np.minimum(1, t / 0.5) * np.clip((sec - t) / 3.0, 0, 1)
    cheer /= np.max(np.abs(cheer)) + 1e-12
    buf = swell * (cheer + 0.5 * clap) + 0.35 * whistle / (np.max(np.abs(whistle)) + 1e-12) \
        + 0.3 * horn / (np.max(np.abs(horn)) + 1e-12) * np.clip((sec - t) / 3.0, 0, 1)
    return room(fft_filter(buf, lo=180), rng, mix=0.25, decay=0.35)


def fx_label_jingle(sec):
    """The logo tune: a bright bell melody over C-Am-F-G, ending on C."""
    rng = np.random.default_rng(228)
    bpm = 136
    a = [(0, 1, 76), (1, 0.5, 79), (1.5, 0.5, 84), (2, 1.5, 83), (3.5, 0.5, 79)]
    b = [(0, 1, 81), (1, 0.5, 79), (1.5, 0.5, 77), (2, 2, 76)]
    c = [(0, 1, 77), (1, 0.5, 76), (1.5, 0.5, 74), (2, 1, 72), (3, 1, 74)]
    d = [(0, 1, 79), (1, 0.5, 83), (1.5, 0.5, 86), (2, 2, 84)]
    mel = []
    for i, m in enumerate((a, b, c, d)):
        mel += motif_line(m, 4 * i)
    prog = [(48, [60, 64, 67]), (45, [57, 60, 64]), (41, [57, 60, 65]), (43, [59, 62, 67])]
    chords, bl = [], []
    for i, (root, notes) in enumerate(prog):
        chords += [(4 * i + h, 1, notes) for h in range(4)]
        bl += [(4 * i, 1.5, root), (4 * i + 1.5, 0.5, root + 7), (4 * i + 2, 2, root + 12)]
    chords += [(16, 4, [60, 64, 67, 72])]
    bl += [(16, 4, 36)]
    lead = lambda nt, dd: pluck(nt, max(dd, 0.6), bright=10)
    buf = render_song(sec, bpm, mel, chords, bl, lead, rng, drums=False)
    # sparkle on the last chord
    for k, nt in enumerate([72, 76, 79, 84, 88, 91, 96]):
        place(buf, pluck(nt, 0.8, bright=12) * 0.2, 16 * 60 / bpm + 0.06 * k)
    t = np.arange(len(buf)) / SR
    buf *= np.clip((sec - t) / 1.0, 0, 1)
    return room(buf, rng, mix=0.25, decay=0.35)


# ---------------------------------------------------------------- output

def limit(x, ceiling=CEILING, look=0.002, release=0.05):
    """Peak limiter: the gain falls smoothly over `look` seconds before a
    peak so no sample passes the ceiling, and recovers over `release`."""
    w = max(1, nsamples(look))
    need = np.minimum(1.0, ceiling / np.maximum(np.abs(x), 1e-12))
    padded = np.concatenate([np.ones(w), need, np.ones(w)])
    g = np.lib.stride_tricks.sliding_window_view(padded, 2 * w + 1).min(axis=1)
    # a centred average narrower than the minimum's window stays under `need`
    h = w // 2
    c = np.concatenate([[0.0], np.cumsum(np.concatenate([np.full(h, g[0]), g, np.full(h, g[-1])]))])
    g = (c[2 * h + 1:] - c[:-2 * h - 1]) / (2 * h + 1)
    step = 1.0 / nsamples(release)
    held = g.tolist()
    for i in range(1, len(held)):
        up = held[i - 1] + step
        if held[i] > up:
            held[i] = up
    return x * np.array(held)


def finish(x, sec, target):
    x = fit(np.asarray(x, dtype=float), sec)
    x = x - np.mean(x)
    # fades against clicks at both ends
    fi, fo = min(nsamples(0.003), len(x) // 4), min(nsamples(0.015), len(x) // 3)
    x[:fi] *= np.linspace(0, 1, fi)
    x[len(x) - fo:] *= np.linspace(1, 0, fo)
    x = x / (np.max(np.abs(x)) + 1e-12)
    gain = 1.0
    for _ in range(12):
        y = limit(x * gain)
        miss = target - loudness.momentary_max(y * 127 / 128, SR)
        if abs(miss) < 0.05:
            break
        gain *= 10 ** (miss / 20)
    return y


def to_u8(x):
    return np.clip(np.round(x * 127.0 + 128.0), 0, 255).astype(np.uint8)


def wav_bytes(samples_u8):
    data = samples_u8.tobytes()
    fmt = struct.pack("<HHIIHH", 1, 1, SR, SR, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\x00"
    return b"RIFF" + struct.pack("<I", len(body)) + body


MAKERS = {
    174: fx_shimmer,
    175: lambda s: fx_count(175, s),
    176: fx_blip,
    177: fx_winner_jingle,
    178: fx_bump,
    179: fx_scroll_roll,
    180: fx_tick,
    181: lambda s: fx_count(181, s),
    182: lambda s: fx_count(182, s),
    183: lambda s: fx_count(183, s),
    184: fx_tada,
    185: fx_splat,
    194: lambda s: fx_cheer(4, s),
    195: lambda s: fx_cheer(2, s),
    196: lambda s: fx_cheer(3, s),
    197: lambda s: fx_cheer(1, s),
    198: fx_crash,
    220: fx_count_tick,
    222: fx_powerup,
    223: lambda s: fx_team(1, 2, s, 223, 130),
    224: lambda s: fx_team(3, 4, s, 224, 150),
    228: fx_label_jingle,
}


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else OUT_DIR
    os.makedirs(out_dir, exist_ok=True)
    only = {int(a) for a in argv[2:]}
    for sid, sec in sorted(LENGTHS.items()):
        if only and sid not in only:
            continue
        x = finish(MAKERS[sid](sec), sec, TARGETS[sid])
        x8 = to_u8(x)
        with open(os.path.join(out_dir, "%03d.wav" % sid), "wb") as f:
            f.write(wav_bytes(x8))
        y = (x8.astype(float) - 128) / 128
        print("%03d.wav  %.2f s  peak %.1f dBFS  %.1f LUFS momentary" % (
            sid, len(y) / SR, 20 * np.log10(np.max(np.abs(y)) + 1e-12), loudness.momentary_max(y, SR)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
