#!/usr/bin/python3
"""Times numpy and scipy on the sizes of bench_smoothing (10^6 samples), for the ratios in the
notes: numpy.convolve with 101 taps (the moving kernel filter's work in doubles),
scipy.signal.lfilter and filtfilt with a 4- and 8-pole Chebyshev, scipy.ndimage.median_filter.
Run with Debian's python3-scipy: /usr/bin/python3 bench/peers/smoothing_peers.py"""
import math
import timeit

import numpy as np
from scipy import ndimage, signal

N = 1_000_000
rng = np.random.default_rng(1)
x = np.sin(np.arange(1, N + 1) * 0.001) + rng.normal(0, 0.3, N)
taps = signal.firwin(101, 0.1, window="blackman")


def report(name, fn, repeat=5):
    t = min(timeit.repeat(fn, number=1, repeat=repeat))
    print(f"{name:40s} {t * 1e3:9.2f} ms  {N / t / 1e6:8.2f} M samples/s")


report("numpy.convolve 101 taps", lambda: np.convolve(x, taps, mode="same"))
report("scipy.signal.lfilter 101 taps", lambda: signal.lfilter(taps, [1.0], x))
for poles in (4, 8):
    rp = 20 * math.log10(100 / 99.5)
    b, a = signal.cheby1(poles, rp, 0.1)
    report(f"scipy.signal.lfilter cheby1 {poles} poles", lambda: signal.lfilter(b, a, x))
    report(f"scipy.signal.filtfilt cheby1 {poles} poles", lambda: signal.filtfilt(b, a, x))
for w in (5, 25, 101):
    report(f"scipy.ndimage.median_filter {w}", lambda: ndimage.median_filter(x, w), repeat=3)
report("scipy.signal.savgol_filter 25", lambda: signal.savgol_filter(x, 25, 2))
