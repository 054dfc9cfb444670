#!/usr/bin/env python3
"""End-to-end speed of deal against the plain reference build and against cat.

Each workload's output is made once and checked byte for byte against the
plain reference; cat then replays those very bytes into the same sink, which
is the speed limit of the sink itself. The contenders run interleaved, and
the medians are compared. Peak resident memory comes from GNU time.

    bench/compare.py [--build build/test] [--reps 5] [--only W1,W3] [--sinks null,pipe]
                     [--baseline OTHER_DEAL] [--instructions]

--baseline times another build of deal (say, one from before a change) in the
same interleaved runs, and --instructions counts, with valgrind's callgrind,
the instructions each deal takes on a smaller copy of each workload: the same
count for the same binary and input however busy the machine is.
"""

import argparse
import hashlib
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

WORKLOADS = {  # name: (hands, rounds)
    "W1": (1010, 40_000),
    "W2": (1, 20_000_000),
    "W3": (10, 2_000_000),
}
# The figures to reach on each workload: at least this many times faster than
# the plain build (judged into /dev/null: into a pipe, the pipe's own speed
# caps the ratio); at most this many times cat's time into a pipe and /dev/null.
TARGETS = {"W1": (40, 1.10, 1.5), "W2": (30, 1.25, 3.0), "W3": (40, 1.15, 2.5)}
TIME = "/usr/bin/time"


def make_input(path, hands, rounds):
    with open(path, "wb") as f:
        f.write(b"%d" % hands)
        block = b" 1" * 100_000
        for _ in range(rounds // 100_000):
            f.write(block)
        f.write(b" 1" * (rounds % 100_000) + b"\n")


def digest(command, stdin_path):
    h = hashlib.sha256()
    size = 0
    with open(stdin_path, "rb") as stdin:
        proc = subprocess.Popen(command, stdin=stdin, stdout=subprocess.PIPE)
        while chunk := proc.stdout.read(1 << 20):
            h.update(chunk)
            size += len(chunk)
        if proc.wait() != 0:
            sys.exit(f"compare: {command[0]} failed")
    return h.hexdigest(), size


def timed(command, stdin_path, sink, rss_path):
    """Seconds for the command, its output into the sink; its peak RSS in KiB."""
    command = [TIME, "-f", "%M", "-o", rss_path] + command
    with open(stdin_path, "rb") as stdin, open(os.devnull, "wb") as null:
        start = time.perf_counter()
        if sink == "null":
            subprocess.run(command, stdin=stdin, stdout=null, check=True)
        else:
            producer = subprocess.Popen(command, stdin=stdin, stdout=subprocess.PIPE)
            consumer = subprocess.Popen(["cat"], stdin=producer.stdout, stdout=null)
            producer.stdout.close()
            if consumer.wait() != 0 or producer.wait() != 0:
                sys.exit("compare: a pipeline failed")
        seconds = time.perf_counter() - start
    with open(rss_path) as f:
        return seconds, int(f.read().split()[-1])


def instructions(command, hands, rounds, tmp):
    """The instructions that the command runs, as callgrind counts them, on
    the workload cut to a hundredth of its rounds."""
    given = os.path.join(tmp, "small.in")
    make_input(given, hands, max(rounds // 100, 1))
    with open(given, "rb") as stdin:
        out = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"]
                             + command, stdin=stdin, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, check=True, text=True).stderr
    return int(next(l for l in out.splitlines() if "Collected" in l).split()[-1])


def machine():
    model = "unknown processor"
    try:
        with open("/proc/cpuinfo") as f:
            model = next(l.split(":", 1)[1].strip() for l in f if l.startswith("model name"))
    except (OSError, StopIteration):
        pass
    return f"{model}, {os.cpu_count()} cores, Linux {platform.release()}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/test")
    parser.add_argument("--reps", type=int, default=5)
    parser.add_argument("--only", default=",".join(WORKLOADS))
    parser.add_argument("--sinks", default="null,pipe")
    parser.add_argument("--baseline", help="another build of deal to time beside this one")
    parser.add_argument("--instructions", action="store_true",
                        help="count instructions with callgrind instead of timing")
    args = parser.parse_args()
    deal = os.path.join(args.build, "deal")
    plain = os.path.join(args.build, "tests", "plain_deal")
    for path in (deal, plain, TIME):
        if not os.access(path, os.X_OK):
            sys.exit(f"compare: {path} is missing; build with: cmake --workflow --preset release")

    if args.instructions:
        with tempfile.TemporaryDirectory(prefix="deal-bench-") as tmp:
            print(f"{'':4} {'rounds':>8} {'deal':>12} {'baseline':>12} {'change':>8}")
            for name in args.only.split(","):
                hands, rounds = WORKLOADS[name]
                mine = instructions([deal], hands, rounds, tmp)
                line = f"{name:4} {max(rounds // 100, 1):8} {mine:12}"
                if args.baseline:
                    theirs = instructions([args.baseline], hands, rounds, tmp)
                    line += f" {theirs:12} {100 * (mine - theirs) / theirs:+7.2f}%"
                print(line, flush=True)
        return

    print(f"machine: {machine()}; {args.reps} interleaved runs each, medians")
    print(f"{'':4} {'sink':5} {'deal s':>8} {'plain s':>8} {'cat s':>7} "
          f"{'plain/deal':>10} {'deal/cat':>8}  {'targets':22} {'deal RSS':>9}"
          + (f" {'baseline s':>10} {'deal/base':>9}" if args.baseline else ""))
    with tempfile.TemporaryDirectory(prefix="deal-bench-") as tmp:
        rss_path = os.path.join(tmp, "rss")
        for name in args.only.split(","):
            hands, rounds = WORKLOADS[name]
            given = os.path.join(tmp, name + ".in")
            replay = os.path.join(tmp, name + ".out")
            make_input(given, hands, rounds)
            with open(given, "rb") as stdin, open(replay, "wb") as out:
                subprocess.run([deal], stdin=stdin, stdout=out, check=True)
            if digest([deal], given) != digest([plain], given):
                sys.exit(f"compare: {name}: deal and the plain build disagree")
            contenders = {"deal": ([deal], given), "plain": ([plain], given),
                          "cat": (["cat", replay], os.devnull)}
            if args.baseline:
                if digest([args.baseline], given) != digest([deal], given):
                    sys.exit(f"compare: {name}: deal and the baseline disagree")
                contenders["base"] = ([args.baseline], given)
            for sink in args.sinks.split(","):
                seconds = {who: [] for who in contenders}
                peak = 0
                for rep in range(args.reps):
                    turn = rep % len(contenders)
                    order = list(contenders)[turn:] + list(contenders)[:turn]
                    for who in order:
                        command, stdin_path = contenders[who]
                        s, rss = timed(command, stdin_path, sink, rss_path)
                        seconds[who].append(s)
                        if who == "deal":
                            peak = max(peak, rss)
                m = {who: statistics.median(v) for who, v in seconds.items()}
                speedup, to_cat = m["plain"] / m["deal"], m["deal"] / m["cat"]
                faster, pipe_limit, null_limit = TARGETS[name]
                limit = pipe_limit if sink == "pipe" else null_limit
                versus_plain = (("ok" if speedup >= faster else "MISS") + f" >={faster}x"
                                if sink == "null" else "(pipe-bound)")
                verdict = f"{versus_plain}, {'ok' if to_cat <= limit else 'MISS'} <={limit}x"
                extra = (f" {m['base']:10.3f} {m['deal'] / m['base']:8.3f}x"
                         if args.baseline else "")
                print(f"{name:4} {sink:5} {m['deal']:8.3f} {m['plain']:8.3f} {m['cat']:7.3f} "
                      f"{speedup:9.1f}x {to_cat:7.2f}x  {verdict:22} {peak:6} KiB{extra}",
                      flush=True)
            os.remove(replay)


if __name__ == "__main__":
    main()
