#!/usr/bin/python3
"""Times scipy's hierarchical clustering (Ward, from the points) on the sizes of bench_cluster:
1000, 3000 and 5000 objects of 8 variables. Run with Debian's python3-scipy:
/usr/bin/python3 bench/peers/cluster_peers.py"""
import timeit

import numpy as np
from scipy.cluster.hierarchy import linkage

rng = np.random.default_rng(42)
for n in (1000, 3000, 5000):
    x = rng.normal(size=(n, 8))
    t = min(timeit.repeat(lambda: linkage(x, method="ward"), number=1, repeat=3))
    print(f"scipy.cluster.hierarchy.linkage ward n={n:5d}  {t * 1e3:9.1f} ms")
