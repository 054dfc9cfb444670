#!/usr/bin/env python3
"""Speed and memory of the companions, as figures (never a pass or a fail).

    bench/companions.py [--build build/test] [--reps 5]

- deal-after at 1010 hands with one round number of a million digits on
  standard input (the target: under 0.1 s), and the peak memory for one of
  200 million digits;
- deal-picture at 1010 hands over 100 rounds, in each format;
- each companion over every count from 1 to 1010: deal-period once with all
  counts as arguments, deal-after and deal-cycles once per count.
"""

import argparse
import os
import random
import statistics
import subprocess
import tempfile
import time


def timed(command, stdin=None, reps=5):
    times = []
    for _ in range(reps):
        if stdin is not None:
            stdin.seek(0)
        start = time.perf_counter()
        subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def peak_kib(command, stdin=None):
    if stdin is not None:
        stdin.seek(0)
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdin=stdin,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    return int(result.stderr.split()[-1])


def digits_file(count, directory):
    path = os.path.join(directory, f"rounds-{count}")
    rng = random.Random(count)
    with open(path, "wb") as f:
        f.write(b"9")
        left = count - 1
        while left:
            chunk = min(left, 1 << 20)
            f.write(bytes(rng.choice(b"0123456789") for _ in range(chunk)) if chunk < 4096
                    else (b"1234567890" * (chunk // 10 + 1))[:chunk])
            left -= chunk
        f.write(b"\n")
    return open(path, "rb")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/test")
    parser.add_argument("--reps", type=int, default=5)
    args = parser.parse_args()
    program = lambda name: os.path.join(args.build, name)

    with tempfile.TemporaryDirectory() as directory:
        million = digits_file(1_000_000, directory)
        seconds = timed([program("deal-after"), "1010"], million, args.reps)
        print(f"deal-after 1010 < one round number of 1,000,000 digits: {seconds * 1000:.1f} ms"
              f" (median of {args.reps}), peak RSS {peak_kib([program('deal-after'), '1010'], million)} KiB")
        huge = digits_file(200_000_000, directory)
        print(f"deal-after 1010 < one round number of 200,000,000 digits: peak RSS "
              f"{peak_kib([program('deal-after'), '1010'], huge)} KiB, "
              f"{timed([program('deal-after'), '1010'], huge, 1):.2f} s")

    if os.path.exists(program("deal-picture")):
        with tempfile.TemporaryDirectory() as directory:
            for kind in ["png", "svg", "pdf"]:
                path = os.path.join(directory, "largest." + kind)
                seconds = timed([program("deal-picture"), "-o", path, "1010"], reps=args.reps)
                print(f"deal-picture -o largest.{kind} 1010 (101 rows of 5050 cells): "
                      f"{seconds:.2f} s, {os.path.getsize(path) / 1e6:.1f} MB")
            seconds = timed([program("deal-picture"), "-o", os.path.join(directory, "p.png"), "12",
                             "200"], reps=args.reps)
            print(f"deal-picture -o p.png 12 200 (60 dots a row, and lines): {seconds:.2f} s")

    counts = [str(c) for c in range(1, 1011)]
    start = time.perf_counter()
    subprocess.run([program("deal-period")] + counts, stdout=subprocess.DEVNULL, check=True)
    print(f"deal-period 1 2 ... 1010 (one run): {(time.perf_counter() - start) * 1000:.1f} ms")
    # Ranges: every count of deal's own deal, every deck size dealt into two
    # piles, and every deck size of two routines, each one run.
    for arguments in (["1..1010"], ["--packets", "1", "--cards", "1..5050", "2"],
                      ["--packets", "13,2", "--rest", "top", "--cards", "1..5050", "7"],
                      ["--routine", "faro out", "1..5050"],
                      ["--routine", "deal 4 --packets 1; cut 26; monge", "26..5050"]):
        command = [program("deal-period")] + arguments
        seconds = timed(command, reps=args.reps)
        shown = " ".join(f"'{a}'" if " " in a else a for a in arguments)
        print(f"deal-period {shown}: {seconds * 1000:.1f} ms, peak RSS {peak_kib(command)} KiB")
    for name, extra in [("deal-after", ["1" + "0" * 100]), ("deal-cycles", [])]:
        start = time.perf_counter()
        for count in counts:
            subprocess.run([program(name), count] + extra, stdout=subprocess.DEVNULL, check=True)
        total = time.perf_counter() - start
        shown = name + " COUNT" + (" 10^100" if extra else "")
        print(f"{shown} for every COUNT 1 to 1010 "
              f"(1010 runs): {total:.2f} s, {total / 1010 * 1000:.2f} ms a run")
    # A card followed through 100 deals with a chosen pile, on the largest
    # deck, to a round number of 100,000 digits.
    trick = "; ".join(["deal 3 --packets 1 --chosen-pile 1"] * 100)
    command = [program("deal-after"), "--routine", trick, "--where", "17", "5050", "9" * 100000]
    seconds = timed(command, reps=args.reps)
    print(f"deal-after --where through 100 chosen-pile deals of 5050 cards, a round of "
          f"100,000 digits: {seconds * 1000:.1f} ms, peak RSS {peak_kib(command)} KiB")
    # Repeats, each a power of its group's permutation: a trillion faros cost
    # what one does; and the deck the 21-card trick leaves for a chosen card,
    # a hundred deals a round, on the largest deck.
    for name, arguments in [
            ("deal-period", ["--routine", "faro out", "5050"]),
            ("deal-period", ["--routine", "(faro out) x1000000000000", "5050"]),
            ("deal-after", ["--routine", "((cut 1; faro out) x1000000000000; count 2525) "
                            "x1000000000000", "5050", "1" + "0" * 100]),
            ("deal-after", ["--routine", "deal 3 --packets 1 --chosen-pile 1 x100",
                            "--chosen-card", "17", "5050", "9" * 100])]:
        command = [program(name)] + arguments
        seconds = timed(command, reps=args.reps)
        shown = " ".join(f"'{a}'" if " " in a else a for a in arguments)
        print(f"{name} {shown[:90]}: {seconds * 1000:.1f} ms, peak RSS {peak_kib(command)} KiB")
    # A routine of a hundred moves on a pack, whose round is all a run holds.
    hundred = "; ".join(["deal 4 --packets 1", "faro out"] * 50)
    for name in ("deal-period", "deal-cycles"):
        command = [program(name), "--routine", hundred, "52"]
        seconds = timed(command, reps=args.reps)
        print(f"{name} --routine (100 moves) 52: {seconds * 1000:.1f} ms, "
              f"peak RSS {peak_kib(command)} KiB")
    # Searches: 10,000 cuts on the largest deck, every shortest routine too;
    # Elmsley's faros; Gergonne's piles.
    for arguments in (["--moves", "cut -4999..5000", "5050", "17", "4000"],
                      ["--all", "--moves", "cut -4999..5000", "5050", "17", "4000"],
                      ["--moves", "faro in | faro out", "52", "51", "0"],
                      ["--moves", "deal 3 --packets 1 --chosen-pile 0..2", "27", "0", "13"],
                      ["--any-card", "--all", "--moves", "deal 3 --packets 1 --chosen-pile 0..2",
                       "27", "13"],
                      ["--any-card", "--closest", "--moves", "deal 3 --packets 1 --chosen-pile 1",
                       "21"],
                      ["--any-card", "--moves", "deal 4 --packets 1 --chosen-pile 0..3 | cut 1..51",
                       "52", "17"],
                      ["--any-card", "--closest", "--moves",
                       "deal 4 --packets 1 --chosen-pile 0..3 | cut 1..51", "52"],
                      ["--any-card", "--closest", "--moves",
                       "cut 1 | monge | down-under | deal 2 --packets 13 --chosen-pile 0", "26"]):
        command = [program("deal-solve")] + arguments
        seconds = timed(command, reps=args.reps)
        shown = " ".join(f"'{a}'" if " " in a else a for a in arguments)
        print(f"deal-solve {shown}: {seconds * 1000:.1f} ms, peak RSS {peak_kib(command)} KiB")


if __name__ == "__main__":
    main()
