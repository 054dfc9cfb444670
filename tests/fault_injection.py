#!/usr/bin/env python3
"""Runs deal and deal-after under faults injected into read() and write() with
libfiu, and holds each run to the fault-free output.

    fault_injection.py BUILD CHOOSER POSIX_PRELOAD [--runs N] [--seed S] [--only I] [--jobs J]

CHOOSER is the preloaded library (tests/fault_chooser.cpp) that tells libfiu's
POSIX wrappers, POSIX_PRELOAD, which calls fail. Run i depends only on the
seed and i, so `--only i` replays it. Every run gets soft faults (EINTR and
EAGAIN at a high rate, and reads and writes cut short); half of them also
one hard error (EIO, ENOSPC, EBADF, EPIPE or EFBIG) on a read or a write at a
random call. Then:
  - no hard error hit: exit 0, no message, output identical to the byte;
  - a hard error hit: exit 1, exactly one line "PROGRAM: write error: ..." or
    "PROGRAM: read error: ..." with that errno's text, and standard output an
    exact prefix of the fault-free output, made of whole listings when the
    error hit a read.
The last line is "N passed, M failed", and the figures above it.
"""

import argparse
import concurrent.futures
import errno
import os
import random
import subprocess
import sys
import tempfile

SOFT = [errno.EINTR, errno.EAGAIN]
HARD = [errno.EIO, errno.ENOSPC, errno.EBADF, errno.EPIPE, errno.EFBIG]


def make_run(seed, i):
    """The program, its arguments, its input and the faults of run i."""
    rng = random.Random(f"{seed}:{i}")
    white = [b" ", b"\n", b"\t", b"  \r\n", b"\v", b"\f"]
    if rng.random() < 0.7:
        program, args = "deal", []
        hands = rng.choice([1, 2, 4, 7, 10, 100, 1010, rng.randint(-3, 1010)])
        width = 5 * max(hands, 0) * 4 + 1
        rounds = rng.choice([0, 1, 3, 20, 200, rng.randint(0, 3000)])
        rounds = min(rounds, 1_500_000 // width)
        tokens = [b"%d" % hands] + [b"%d" % rng.randint(-99, 10**6) for _ in range(rounds)]
    else:
        program = "deal-after"
        hands = rng.choice([1, 3, 10, 500, 1010])
        args = [str(hands)]
        tokens = [b"%d" % rng.choice([0, 1, -1, rng.randint(0, 10**9),
                                      rng.randint(-(10**40), 10**40)])
                  for _ in range(rng.choice([1, 10, 60, 300]))]
        if rng.random() < 0.2:
            tokens.append(b"7" * rng.randint(70_000, 300_000))  # longer than the buffer
    data = b"".join(t + rng.choice(white) for t in tokens)
    if rng.random() < 0.1:
        data += b"junk 1 1"
    env = {
        "DEAL_FAULT_SEED": str(rng.getrandbits(48)),
        "DEAL_FAULT_READ": "%.2f:%s" % (rng.choice([0.3, 0.6, 0.9]), ",".join(map(str, SOFT))),
        "DEAL_FAULT_WRITE": "%.2f:%s" % (rng.choice([0.3, 0.6, 0.9]), ",".join(map(str, SOFT))),
        "DEAL_FAULT_SHORT": "%.2f" % rng.choice([0.0, 0.3, 0.8]),
    }
    hard = None
    if rng.random() < 0.5:
        side = rng.choice(["READ", "WRITE"])
        # Calls are counted faults included: up to a few per 64 KiB block.
        blocks = len(data) // 65536 + 2 if side == "READ" else max(len(data) * 4, 1) // 65536 + 2
        hard = (side, rng.randint(1, 8 * blocks), rng.choice(HARD))
        env["DEAL_FAULT_" + side] += "/%d:%d" % hard[1:]
    return program, args, data, env, hard


def run(build, chooser, preload, program, args, data, env=None):
    full = dict(os.environ)
    report = None
    if env is not None:
        report = tempfile.NamedTemporaryFile(prefix="faults-", delete=False)
        report.close()
        # The order matters: the wrappers must be ready before the chooser
        # enables their failure points.
        full.update(env, LD_PRELOAD=f"{chooser} {preload}", DEAL_FAULT_REPORT=report.name)
        full["ASAN_OPTIONS"] = full.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
    result = subprocess.run([os.path.join(build, program)] + args, input=data,
                            capture_output=True, env=full, timeout=120)
    hits = None
    if report is not None:
        with open(report.name) as f:
            words = f.read().split()
        os.unlink(report.name)
        hits = dict(soft=int(words[1]) + int(words[4]), hard=int(words[2]) + int(words[5]),
                    short=int(words[7])) if words else None
    return result, hits


def check(build, chooser, preload, seed, i):
    """Returns (problem or None, figures)."""
    program, args, data, env, hard = make_run(seed, i)
    clean, _ = run(build, chooser, preload, program, args, data)
    if clean.returncode != 0:
        return f"run {i}: the fault-free run failed: {clean.stderr!r}", {}
    result, hits = run(build, chooser, preload, program, args, data, env)
    if hits is None:
        return f"run {i}: no fault report (exit {result.returncode})", {}
    figures = dict(hits, runs=1, identical=0, prefix=0)
    if hits["hard"] == 0:
        if (result.returncode, result.stderr) != (0, b""):
            return f"run {i}: exit {result.returncode}, {result.stderr!r}", figures
        if result.stdout != clean.stdout:
            return f"run {i}: the output differs from the fault-free run", figures
        figures["identical"] = 1
        return None, figures
    side, _, err = hard
    what = "read" if side == "READ" else "write"
    line = f"{program}: {what} error: {os.strerror(err)}\n".encode()
    if (result.returncode, result.stderr) != (1, line):
        return f"run {i}: exit {result.returncode}, {result.stderr!r}, not {line!r}", figures
    if not clean.stdout.startswith(result.stdout):
        return f"run {i}: the output is not a prefix of the fault-free output", figures
    if what == "read" and result.stdout and not result.stdout.endswith(b"\n"):
        return f"run {i}: a read error cut a listing short", figures
    figures["prefix"] = 1
    return None, figures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("chooser")
    parser.add_argument("preload")
    parser.add_argument("--runs", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", type=int)
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args()
    runs = [args.only] if args.only is not None else range(args.runs)
    totals = dict(runs=0, soft=0, short=0, hard=0, identical=0, prefix=0)
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for problem, figures in pool.map(
                lambda i: check(args.build, args.chooser, args.preload, args.seed, i), runs):
            for key, value in figures.items():
                totals[key] += value
            if problem:
                failed += 1
                print(problem + f" (replay: --seed {args.seed} --only {problem.split()[1][:-1]})")
    print("faults that hit: %(soft)d EINTR or EAGAIN, %(short)d short reads or writes, "
          "%(hard)d hard errors" % totals)
    print("outputs: %(identical)d identical, %(prefix)d exact prefixes with the one error line"
          % totals)
    print(f"{totals['runs'] - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
