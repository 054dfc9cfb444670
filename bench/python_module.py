#!/usr/bin/env python3
"""The cost of a call to import deal, against the same number from a
program started for it and from plain Python (figures, never a pass or a
fail).

    bench/python_module.py [--build build/test] [--reps 7]

The teacher's question: the total variation distance of 52 cards from a
random deck after 1 to 10 riffles, exactly.
- deal.mix(52, range(1, 11)): both distances, as Fractions;
- deal-mix 52 as a process, its ten lines read back;
- plain Python: the Eulerian numbers and the exact sum in Python's
  integers and Fractions, as a notebook would write it.
Each is timed in --reps runs of a loop, per call: the best run, which is
what the call costs (the others met the machine's other work), and the
median beside it."""

import argparse
import math
import os
import statistics
import subprocess
import sys
import timeit
from fractions import Fraction


def plain_total_variations(n, shuffles):
    """The distances in plain Python: A(n, r) rising sequences, each
    arrangement with chance C(a + n - r, n)/a^n, a = 2^k."""
    eulerian = [0] * (n + 1)
    eulerian[1] = 1
    for m in range(2, n + 1):
        for r in range(m, 0, -1):
            eulerian[r] = r * eulerian[r] + (m - r + 1) * eulerian[r - 1]
    factorial = math.factorial(n)
    distances = []
    for k in shuffles:
        a = 2 ** k
        power = a ** n
        # n! C(a + n - r, n) for r = 1, 2, ...: each from the last.
        product = math.prod(range(a, a + n))
        total = 0
        for r in range(1, n + 1):
            total += eulerian[r] * abs(product - power)
            product = product * (a - r) // (a + n - r)
        distances.append(Fraction(total, 2 * factorial * power))
    return distances


def per_call(statement, number, reps, namespace):
    times = timeit.repeat(statement, number=number, repeat=reps, globals=namespace)
    return min(times) / number, statistics.median(times) / number


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/test")
    parser.add_argument("--reps", type=int, default=7)
    args = parser.parse_args()
    sys.path.insert(0, os.path.join(args.build, "python"))
    import deal

    program = os.path.join(args.build, "deal-mix")
    module = [m.total_variation for m in deal.mix(52, range(1, 11))]
    assert module == plain_total_variations(52, range(1, 11))
    namespace = dict(deal=deal, subprocess=subprocess, program=program,
                     plain=plain_total_variations)
    figures = [
        ("import deal: deal.mix(52, range(1, 11))", "deal.mix(52, range(1, 11))", 200),
        ("deal-mix 52 as a process", "subprocess.run([program, '52'], capture_output=True)", 20),
        ("plain Python: Eulerian numbers and Fractions", "plain(52, range(1, 11))", 200),
    ]
    times = {}
    for name, statement, number in figures:
        best, median = per_call(statement, number, args.reps, namespace)
        times[name] = best
        print(f"{name}: {best * 1000:.3f} ms a call, best of {args.reps} "
              f"(median {median * 1000:.3f} ms)")
    first = figures[0][0]
    for name, _, _ in figures[1:]:
        print(f"  the module is {times[name] / times[first]:.1f}x as fast as {name}")


if __name__ == "__main__":
    main()
