"""Loudness after ITU-R BS.1770: K-weighted power, 400 ms blocks, the
integrated measure gated at -70 LUFS and 10 LU under the ungated mean.

Shared by the sound generator, its checker and the music measurement.
Uses scipy's filter when it is installed and a plain loop otherwise; both
compute the same two biquads.
"""

import math

import numpy as np

try:
    from scipy.signal import lfilter
except ImportError:  # the checker runs where only numpy is installed
    lfilter = None


def _k_filters(rate):
    # Coefficients from the analogue prototypes, so any rate matches the
    # published 48 kHz values.
    k = math.tan(math.pi * 1681.974450955533 / rate)
    q = 0.7071752369554196
    vh = 10 ** (3.999843853973347 / 20)
    vb = vh ** 0.4996667741545416
    a0 = 1 + k / q + k * k
    shelf = ([(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0],
             [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0])
    k = math.tan(math.pi * 38.13547087602444 / rate)
    q = 0.5003270373238773
    a0 = 1 + k / q + k * k
    high = ([1.0, -2.0, 1.0], [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0])
    return shelf, high


def _biquad(b, a, x):
    if lfilter is not None:
        return lfilter(b, a, x)
    y = [0.0] * len(x)
    x1 = x2 = y1 = y2 = 0.0
    b0, b1, b2 = b
    _, a1, a2 = a
    for i, v in enumerate(x.tolist()):
        out = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, v, y1, out
        y[i] = out
    return np.array(y)


def weighted_power(channels, rate):
    """Sum over channels of the K-weighted signal squared, per sample.
    `channels` is a 1-D array (mono) or a list of 1-D arrays."""
    if isinstance(channels, np.ndarray) and channels.ndim == 1:
        channels = [channels]
    shelf, high = _k_filters(rate)
    total = None
    for x in channels:
        y = _biquad(*high, _biquad(*shelf, np.asarray(x, dtype=float)))
        total = y * y if total is None else total + y * y
    return total


def _lufs(mean_power):
    return -0.691 + 10 * np.log10(np.maximum(mean_power, 1e-20))


def block_loudness(power, rate, hop_sec=0.1, block_sec=0.4):
    """Loudness of every 400 ms block, one per hop. A sound shorter than
    one block counts as padded with silence, as a meter would show it."""
    n = int(round(block_sec * rate))
    if len(power) < n:
        power = np.concatenate([power, np.zeros(n - len(power))])
    hop = max(1, int(round(hop_sec * rate)))
    c = np.concatenate([[0.0], np.cumsum(power)])
    starts = np.arange(0, len(power) - n + 1, hop)
    return _lufs((c[starts + n] - c[starts]) / n)


def momentary_max(channels, rate):
    """The loudest 400 ms of the sound, on a 5 ms grid."""
    return float(np.max(block_loudness(weighted_power(channels, rate), rate, hop_sec=0.005)))


def integrated(channels, rate):
    blocks = block_loudness(weighted_power(channels, rate), rate)
    power = 10 ** ((blocks + 0.691) / 10)
    kept = power[blocks > -70]
    if len(kept) == 0:
        return -70.0
    gate = _lufs(np.mean(kept)) - 10
    kept = power[(blocks > -70) & (blocks > gate)]
    return float(_lufs(np.mean(kept)))
