#!/usr/bin/python3
"""Bit-exact results of the plain algorithms, the references of the fast kernels' tests.

The comb sort, the matrix products, the LU factorisation with scaled partial pivoting, the
inversion by its solves, the cyclic Jacobi sweep and the agglomerative clustering's full scan,
written plainly in Python (IEEE doubles, every operation rounded on its own, as the library
computes with -ffp-contract=off; long double through numpy's x87 type). The inputs come from the same SplitMix64 stream
as zeq::test::TTestRandom; long results are recorded as the hash of zeq::test::TBitsHash.

    tests/tools/plain_reference.py            rewrites the reference files
    tests/tools/plain_reference.py --dump     prints every value instead (to find a difference)
"""
import math
import struct

import numpy
import sys
from pathlib import Path

MASK = (1 << 64) - 1
ROOT = Path(__file__).resolve().parents[2]
DUMP = "--dump" in sys.argv


class Random:
    """SplitMix64; uniform() is a double in [-1, 1) from the top 53 bits."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & MASK
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK
        return z ^ (z >> 31)

    def uniform(self):
        return float(self.next() >> 11) * 2.0**-53 * 2.0 - 1.0


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def bits_hash(values):
    """FNV-1a over the 64-bit patterns, in order."""
    h = 14695981039346656037
    for x in values:
        if DUMP:
            print(f"  {x!r}")
        h = ((h ^ bits(x)) * 1099511628211) & MASK
    return h


def random_pair(n, gen):
    """A random n x n matrix, 1-based rows; a small first row forces row exchanges."""
    a = [[0.0] * (n + 1) for _ in range(n + 1)]
    for i in range(1, n + 1):
        for j in range(1, n + 1):
            a[i][j] = gen.uniform() * (1e-3 if i == 1 else 1)
    return a


def lu(a, n, columns=None):
    """Factors a in place; the row exchanges, the sign, and False for a zero row or a tiny
    pivot. Columns stops before column columns + 1, as an abort there does."""
    scale = [0.0] * (n + 1)
    index = [0] * (n + 1)
    sign = 1
    for i in range(1, n + 1):
        big = max(abs(a[i][j]) for j in range(1, n + 1))
        if big == 0:
            return False, index, sign
        scale[i] = 1 / big
    fail = False
    for j in range(1, (n if columns is None else columns) + 1):
        for i in range(1, j):
            s = 0.0
            for k in range(1, i):
                s = s + a[i][k] * a[k][j]
            a[i][j] = a[i][j] - s
        big, imax = 0.0, 0
        for i in range(j, n + 1):
            s = 0.0
            for k in range(1, j):
                s = s + a[i][k] * a[k][j]
            a[i][j] = a[i][j] - s
            d = scale[i] * abs(a[i][j])
            if d >= big:
                big, imax = d, i
        if imax != j:
            a[imax], a[j] = a[j], a[imax]
            scale[imax] = scale[j]
            sign = -sign
        index[j] = imax
        if abs(a[j][j]) < 1.0e-100:
            a[j][j], fail = 1.0e-100, True
        for i in range(j + 1, n + 1):
            a[i][j] = a[i][j] / a[j][j]
    return not fail, index, sign


def invert(a, n):
    ok, index, _ = lu(a, n)
    if not ok:
        return False
    res = [[0.0] * (n + 1) for _ in range(n + 1)]
    for j in range(1, n + 1):
        x = [0.0] * (n + 1)
        x[j] = 1.0
        ii = 0
        for i in range(1, n + 1):
            p = index[i]
            s = x[p]
            x[p] = x[i]
            if ii != 0:
                t = 0.0
                for k in range(ii, i):
                    t = t + a[i][k] * x[k]
                s = s - t
            elif s != 0:
                ii = i
            x[i] = s
        for i in range(n, 0, -1):
            t = 0.0
            for k in range(i + 1, n + 1):
                t = t + a[i][k] * x[k]
            x[i] = (x[i] - t) / a[i][i]
        for i in range(1, n + 1):
            res[i][j] = x[i]
    a[:] = res
    return True


def rows_hash(a, n):
    return bits_hash(a[i][j] for i in range(1, n + 1) for j in range(1, n + 1))


def invert_reference():
    out = []
    gen = Random(31)
    for n in (1, 2, 3, 7, 8, 9, 16, 23, 40, 97, 150):
        a = random_pair(n, gen)
        f = [row[:] for row in a]
        _, _, sign = lu(f, n)
        det = 1.0
        for i in range(1, n + 1):
            det = det * f[i][i]
        assert invert(a, n)
        out.append(f"invert {n} {bits(sign * det):016x} {rows_hash(a, n):016x}")
    n = 12
    a = random_pair(n, Random(3))
    assert lu(a, n)[0]
    low = [[a[i][j] if i > j else float(i == j) for j in range(n + 1)] for i in range(n + 1)]
    up = [[a[i][j] if i <= j else 0.0 for j in range(n + 1)] for i in range(n + 1)]
    out.append(f"lu {n} {rows_hash(low, n):016x} {rows_hash(up, n):016x}")
    n = 97
    for step in (60, n + 3):
        a = random_pair(n, Random(5))
        lu(a, n, min(step - 1, n))
        out.append(f"abort {step} {rows_hash(a, n):016x}")
    return out


def jacobi(m, n):
    """The cyclic Jacobi sweep on the triangle a(i, j), i < j: converged, d, v and a."""
    a = [[m[i][j] if j > i else 0.0 for j in range(n)] for i in range(n)]
    v = [[float(i == j) for j in range(n)] for i in range(n)]
    d = [m[i][i] for i in range(n)]
    b, z = d[:], [0.0] * n

    def rot(g, h, s, tau):
        return g - s * (h + g * tau), h + s * (g - h * tau)

    for sweep in range(1, 101):
        sm = 0.0
        for p in range(n - 1):
            for q in range(p + 1, n):
                sm = sm + abs(a[p][q])
        if sm == 0:
            return True, d, v, a
        tresh = 0.2 * sm / (float(n) * float(n)) if sweep < 4 else 0.0
        for p in range(n - 1):
            for q in range(p + 1, n):
                g = 200.0 * abs(a[p][q])
                if sweep > 4 and abs(d[p]) + g == abs(d[p]) and abs(d[q]) + g == abs(d[q]):
                    a[p][q] = 0.0
                elif abs(a[p][q]) > tresh:
                    h = d[q] - d[p]
                    if abs(h) + g == abs(h):
                        t = a[p][q] / h
                    else:
                        theta = h / (2.0 * a[p][q])
                        t = 1.0 / (abs(theta) + math.sqrt(1.0 + theta * theta))
                        if theta < 0:
                            t = -t
                    c = 1.0 / math.sqrt(1 + t * t)
                    s = t * c
                    tau = s / (1.0 + c)
                    h = t * a[p][q]
                    z[p], z[q], d[p], d[q] = z[p] - h, z[q] + h, d[p] - h, d[q] + h
                    a[p][q] = 0.0
                    for j in range(p):
                        a[j][p], a[j][q] = rot(a[j][p], a[j][q], s, tau)
                    for j in range(p + 1, q):
                        a[p][j], a[j][q] = rot(a[p][j], a[j][q], s, tau)
                    for j in range(q + 1, n):
                        a[p][j], a[q][j] = rot(a[p][j], a[q][j], s, tau)
                    for k in range(n):
                        v[p][k], v[q][k] = rot(v[p][k], v[q][k], s, tau)
        for i in range(n):
            b[i] = b[i] + z[i]
            d[i] = b[i]
            z[i] = 0.0
    return False, d, v, a


def symmetric(n, gen):
    """A random symmetric n x n matrix, 0-based, filled row by row on and above the diagonal."""
    m = [[0.0] * n for _ in range(n)]
    for i in range(n):
        for j in range(i, n):
            m[i][j] = m[j][i] = gen.uniform()
    return m


def jacobi_reference():
    out = []
    gen = Random(21)
    for n in (1, 2, 3, 7, 16, 33):
        ok, d, v, a = jacobi(symmetric(n, gen), n)
        values = d + [x for row in v for x in row]
        values += [a[i][k] for i in range(n) for k in range(i + 1, n)]
        out.append(f"jacobi {n} {int(ok)} {bits_hash(values):016x}")
    return out


def fill_random(cols, rows, gen):
    """A matrix [row][column], 1-based, filled column by column over a wide range."""
    m = [[0.0] * (cols + 1) for _ in range(rows + 1)]
    for c in range(1, cols + 1):
        for r in range(1, rows + 1):
            u = gen.uniform()
            m[r][c] = math.ldexp(u, gen.next() % 61 - 30)
    return m


def product(form, a, b, m, n, p):
    """C(i, j) = sum_k op(A)(i, k) op(B)(k, j), every sum from 0.0 with k rising."""
    rows = n if form == 2 else m
    k_end = m if form == 2 else n
    out = []
    for i in range(1, rows + 1):
        for j in range(1, p + 1):
            s = 0.0
            for k in range(1, k_end + 1):
                x = a[k][i] if form == 2 else a[i][k]
                y = b[j][k] if form == 1 else b[k][j]
                s = s + x * y
            out.append(s)
    return out


def product_reference():
    """Multiply (0), MultiplyTransposed (1) and TransposeAndMultiply (2) of an m x n matrix."""
    out = []
    gen = Random(17)
    shapes = [(1, 1, 1), (1, 7, 1), (7, 1, 1), (1, 1, 9), (3, 5, 2), (17, 13, 11), (16, 12, 12),
              (33, 300, 29), (64, 257, 40), (129, 70, 131), (5, 0, 4), (0, 4, 3), (4, 3, 0),
              (200, 600, 7)]
    for m, n, p in shapes:
        for form in (0, 1, 2):
            for handler in (0, 1):
                a = fill_random(n, m, gen)
                b = fill_random(*[(p, n), (n, p), (p, m)][form], gen)
                h = bits_hash(product(form, a, b, m, n, p))
                out.append(f"product {m} {n} {p} {form} {handler} {h:016x}")
    return out


def comb_sort(d, ascending):
    """The comb sort with gaps shrinking by 10 / 13: its passes (d sorted in place)."""
    n, gap, passes = len(d), len(d), 0
    if n < 2:
        return 0
    while True:
        gap = max(gap * 10 // 13, 1)
        exchanged = False
        for i in range(n - gap):
            if (d[i] > d[i + gap]) if ascending else (d[i] < d[i + gap]):
                d[i], d[i + gap] = d[i + gap], d[i]
                exchanged = True
        passes += 1
        if gap == 1 and not exchanged:
            return passes


def awkward(n, gen, shape, floating):
    """Repeats (shape 0), sorted (1) or reversed (2); floats with NaN and signed zeros."""
    d = []
    for i in range(n):
        x = float(gen.next() % 41 - 20 if shape == 0 else i if shape == 1 else n - i)
        if floating and i % 7 == 3:
            x = math.nan
        if floating and i % 11 == 5:
            x = -0.0 if i % 2 else 0.0
        d.append(x)
    return d


def sort_reference():
    out = []
    gen = Random(31)
    for kind in ("double", "float", "int32"):
        for n in (0, 1, 2, 15, 16, 17, 100, 1000, 40001):
            for shape in (0, 1, 2):
                for ascending in (1, 0):
                    d = awkward(n, gen, shape, kind != "int32")
                    passes = comb_sort(d, ascending)
                    out.append(f"sort {kind} {n} {shape} {ascending} {passes} {bits_hash(d):016x}")
    return out


def agglomerate(d, n, method, alpha):
    """The full scan of every merge, the distances updated in long double (x87, as the
    library's long double): the merges (cluster, cluster, distance)."""
    ld = numpy.longdouble
    ids, size, merges = list(range(1, n + 1)), [ld(1)] * n, []
    for step in range(1, n):
        best, bi, bj = sys.float_info.max, n, n
        for i in range(n):
            for j in range(i + 1, n):
                if ids[i] > 0 and ids[j] > 0 and d[i][j] < best:
                    best, bi, bj = d[i][j], i, j
        if bi == n:  # nothing below the largest double: the first two active clusters
            bi = next(i for i in range(n) if ids[i])
            bj = next(j for j in range(bi + 1, n) if ids[j])
            best = d[bi][bj]
        merges += [float(ids[bi]), float(ids[bj]), best]
        dij, ni, nj, a = ld(d[bi][bj]), size[bi], size[bj], ld(alpha)
        for k in range(n):
            if ids[k] == 0 or k in (bi, bj):
                continue
            dki, dkj, nk = ld(d[k][bi]), ld(d[k][bj]), size[k]
            new = [min(dki, dkj), max(dki, dkj),
                   ((nk + ni) * dki + (nk + nj) * dkj - nk * dij) / (nk + ni + nj),
                   (dki + dkj) / 2, a * (dki + dkj) + (1 - 2 * a) * dij,
                   (ni * dki + nj * dkj) / (ni + nj)][method]
            d[k][bj] = d[bj][k] = float(new)
        ids[bj], size[bj], ids[bi], size[bi] = n + step, size[bj] + size[bi], 0, ld(0)
    return merges


def agglom_reference():
    """Single, complete, Ward (squared distances), average, flexible (0.3) and UPGMA linkage
    of 60 random points in three dimensions, with (small integers) and without ties."""
    out = []
    for ties in (0, 1):
        for method in range(6):
            gen = Random(100 + method)
            p = [float(gen.next() % 4) if ties else gen.uniform() for _ in range(180)]
            d = [[0.0] * 60 for _ in range(60)]
            for i in range(60):
                for j in range(60):
                    s = 0.0
                    for v in range(3):
                        x = p[i * 3 + v] - p[j * 3 + v]
                        s = s + x * x
                    d[i][j] = s if method == 2 else math.sqrt(s)
            h = bits_hash(agglomerate(d, 60, method, 0.3))
            out.append(f"agglom {method} {ties} {h:016x}")
    return out


def check_linkage_against_scipy():
    """The plain merges give scipy's linkage heights (scipy.cluster.hierarchy.linkage) for 12
    points x(i, j) = 3 sin(1.7 i + 0.3 j) + 0.01 i j: a check of the transcription itself. Ward
    works on squared distances, so its heights are scipy's squared."""
    from scipy.cluster.hierarchy import linkage
    pts = [[3 * math.sin(1.7 * i + 0.3 * j) + 0.01 * i * j for j in range(3)] for i in range(1, 13)]
    for method, name in ((0, "single"), (1, "complete"), (2, "ward"), (3, "weighted"),
                         (5, "average")):
        power = 2 if name == "ward" else 1
        d = [[math.dist(p, q) ** power for q in pts] for p in pts]
        got = agglomerate(d, 12, method, 0)[2::3]
        want = linkage(pts, name)[:, 2] ** power
        assert numpy.allclose(got, want, rtol=0, atol=1e-13), name


def write(rel, lines):
    header = "# Written by tests/tools/plain_reference.py: the plain algorithm's results.\n"
    if DUMP:
        print("\n".join(lines))
    else:
        (ROOT / rel).write_text(header + "\n".join(lines) + "\n")


check_linkage_against_scipy()
write("zeq/matrix/testdata/invert_reference.txt", invert_reference())
write("zeq/math2/testdata/jacobi_reference.txt", jacobi_reference())
write("zeq/matrix/testdata/product_reference.txt", product_reference())
write("zeq/math1/testdata/sort_reference.txt", sort_reference())
write("zeq/math2/testdata/agglom_reference.txt", agglom_reference())
