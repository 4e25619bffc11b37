"""Benchmarks of the Python module (release build):

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python/kestrin_bench.py

1. The overhead of one kestrin.estimate call on 1,000 points over the C++
   estimator itself: against estimate_many on one thread, which has no
   per-call Python cost (compare also kestrin-bench
   --benchmark_filter=BM_ComputeWindow/n:1000/D:4/M:3).
2. 10,000 series of 1,000 points: estimate_many, a loop of estimate calls,
   and a plain numpy implementation of the same estimator vectorised over the
   lags (and checked against the module to 1e-9).
3. The bootstrap of 100 series of 4,096 points on all cores.
"""
import argparse
import os
import time

import numpy as np

import kestrin


def numpy_estimate(y, D=4, M=3):
    """The curve-length estimator in numpy: for each lag r, the lengths of
    the segments between D-dimensional delay vectors r values apart, summed;
    then the least-squares line through (log10 r, log10(L(r)/r))."""
    n = len(y)
    log_r = np.log10(np.arange(1, M + 1, dtype=float))
    log_l = np.zeros(M)
    for r in range(1, M + 1):
        segments = (n - D) // r
        if segments <= 0:
            continue
        starts = np.arange(segments) * r
        idx = starts[:, None] + np.arange(D)[None, :]
        d = y[idx] - y[idx + r]
        length = np.sqrt((d * d).sum(axis=1)).sum()
        q = length / r
        log_l[r - 1] = np.log10(q) if q > 0 else 0.0
    b, _ = np.polyfit(log_r, log_l, 1)
    return b + 2.0


def best_of(repeats, call):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        call()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--series", type=int, default=10000)
    parser.add_argument("--bootstrap-series", type=int, default=100)
    parser.add_argument("--replicates", type=int, default=200)
    args = parser.parse_args()
    rng = np.random.default_rng(1)
    batch = np.cumsum(rng.standard_normal((args.series, 1000)), axis=1)
    y = batch[0]

    calls = 20000
    single = best_of(5, lambda: [kestrin.estimate(y) for _ in range(calls)]) / calls
    rows = np.repeat(y[None, :], 2000, axis=0)
    core = best_of(5, lambda: kestrin.estimate_many(rows, threads=1)) / len(rows)
    print(f"estimate, 1,000 points: {single * 1e6:.2f} us per call; "
          f"in a one-thread batch {core * 1e6:.2f} us; Python overhead {max(single - core, 0) * 1e6:.2f} us")

    many = best_of(3, lambda: kestrin.estimate_many(batch))
    loop = best_of(3, lambda: [kestrin.estimate(row) for row in batch])
    count = min(len(batch), 1000)
    plain = best_of(1, lambda: [numpy_estimate(row) for row in batch[:count]]) * len(batch) / count
    check = max(abs(numpy_estimate(row) - kestrin.estimate(row).H) for row in batch[:20])
    print(f"{len(batch)} series of 1,000 points on {os.cpu_count()} cores: estimate_many {many:.3f} s, "
          f"loop of estimate {loop:.3f} s, numpy (vectorised over the lags) {plain:.2f} s "
          f"(largest difference in H {check:.1e})")

    series = [np.cumsum(rng.standard_normal(4096)) for _ in range(args.bootstrap_series)]
    estimates = kestrin.estimate_many(series)
    start = time.perf_counter()
    kestrin.bootstrap_many(estimates, replicates=args.replicates)
    elapsed = time.perf_counter() - start
    print(f"bootstrap_many of {len(series)} series of 4,096 points, {args.replicates} replicates: {elapsed:.1f} s")


if __name__ == "__main__":
    main()
