#!/usr/bin/env python3
"""deal-group against GAP, as figures (never a pass or a fail).

    bench/group.py [--build build/test] [--reps 3] [--gap-seconds 600] [--no-sweep]

--gap-seconds 0 leaves GAP out.

- For each case, deal-group's time (the median of --reps runs) and GAP's,
  `Size(Group(...))` on the permutations deal-cycles --gap writes, the time
  including GAP's start, once, stopped after --gap-seconds; whether the two
  orders agree.
- In and out faros on every even deck from 2 to 5050 cards, each held to the
  closed form (Diaconis, Graham and Kantor): the total and the slowest, and
  the time of a few sizes.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

# The faros' closed form, as the tests hold deal-group to it.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from group_end_to_end import closed_form  # noqa: E402

sys.set_int_max_str_digits(0)

CASES = [
    (52, "faro out | cut 1"),
    (52, "faro in | faro out"),
    (100, "faro in | faro out"),
    (200, "faro in | faro out"),
    (400, "faro out | monge"),
    (1000, "deal 4 --packets 1 | faro in"),
    (1000, "faro in | faro out"),
    (5050, "faro in | faro out"),
    (52, "monge | down-under"),
    (52, "turn | faro out | cut 1"),
    (52, "faro in | faro out | turn"),
    (1000, "turn 1 | cut 1"),
    (5050, "turn 1 | cut 1"),
    (4096, "faro in | faro out"),
    (5050, "cut 1..5049 | faro out"),
]


def timed(command, reps):
    times, out = [], b""
    for _ in range(reps):
        start = time.perf_counter()
        out = subprocess.run(command, capture_output=True, check=True).stdout
        times.append(time.perf_counter() - start)
    return statistics.median(times), out.decode().strip()


def gap_size(build, cards, moves, seconds):
    """GAP's order and time, or None for the order where it gave none in time."""
    turned = any(m.split()[0] == "turn" for m in moves)
    deck = []
    if turned:
        deck = ["--deck", " ".join([f"{cards - 1}^"] + [str(c) for c in range(cards - 2, -1, -1)])]
    gens = [subprocess.run([os.path.join(build, "deal-cycles"), "--gap", "--routine", m] + deck +
                           [str(cards)], capture_output=True, check=True).stdout.decode().strip()
            for m in moves]
    script = ('SetPrintFormattingStatus("*stdout*", false);\n'
              f"Print(Size(Group([{','.join(gens)}], ())), \"\\n\");\nQUIT;\n")
    start = time.perf_counter()
    try:
        out = subprocess.run(["gap", "-q", "-A"], input=script.encode(), capture_output=True,
                             timeout=seconds).stdout.decode().strip()
    except subprocess.TimeoutExpired:
        return None, time.perf_counter() - start
    return out, time.perf_counter() - start


def expanded(moves):
    """The moves one by one, a range written out, as deal-cycles needs them."""
    found = []
    for m in moves.split("|"):
        m = m.strip()
        if ".." in m:
            head, _, tail = m.rpartition(" ")
            a, b = tail.split("..")
            found += [f"{head} {v}" for v in range(int(a), int(b) + 1)]
        else:
            found.append(m)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/test")
    parser.add_argument("--reps", type=int, default=3)
    parser.add_argument("--gap-seconds", type=float, default=600)
    parser.add_argument("--no-sweep", action="store_true")
    args = parser.parse_args()
    program = os.path.join(args.build, "deal-group")
    have_gap = shutil.which("gap") is not None and args.gap_seconds > 0
    print("| moves | cards | deal-group | GAP (with its start) | same order |")
    print("| --- | --- | --- | --- | --- |")
    for cards, moves in CASES:
        ours, order = timed([program, "--moves", moves, str(cards)], args.reps)
        theirs, same = "not asked", ""
        if have_gap:
            answer, seconds = gap_size(args.build, cards, expanded(moves), args.gap_seconds)
            theirs = f"no answer in {seconds:.0f} s" if answer is None else f"{seconds:.2f} s"
            same = "" if answer is None else ("yes" if answer == order else "NO")
        print(f"| {moves} | {cards:,} | {ours * 1000:.1f} ms | {theirs} | {same} |", flush=True)
    if args.no_sweep:
        return
    total, slowest, wrong, shown = 0.0, (0.0, 0), 0, []
    for cards in range(2, 5051, 2):
        seconds, order = timed([program, "--moves", "faro in | faro out", str(cards)], 1)
        total += seconds
        slowest = max(slowest, (seconds, cards))
        wrong += order != str(closed_form(cards))
        if cards in (52, 100, 1000, 1024, 2048, 4096, 5000, 5050):
            shown.append(f"{cards}: {seconds * 1000:.1f} ms")
    print(f"\nin and out faros, every even deck 2..5050 (2525 decks): {total:.1f} s in all, "
          f"the slowest {slowest[0] * 1000:.0f} ms ({slowest[1]} cards), "
          f"{wrong} away from the closed form")
    print("; ".join(shown))


if __name__ == "__main__":
    main()
