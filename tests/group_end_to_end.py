"""Runs deal-group as a user would: its orders, orbits, blocks and membership
against GAP on the permutations deal-cycles --gap writes, the closed form for
in and out faros, its routines played by deal-after and held to a search done
by hand. Its faults are among the companions' (companions_end_to_end.py),
which hold them to its manual."""

import math
import os
import random
import shutil
import subprocess
import sys
import unittest

from reference_deal import play, turned

BUILD = None
sys.set_int_max_str_digits(0)


def run(args, name="deal-group"):
    return subprocess.run([os.path.join(BUILD, name)] + args, capture_output=True, timeout=120)


def turns(moves):
    return any(m.split()[0] == "turn" for m in moves)


def points(cards, moves):
    """Each move as deal-cycles --gap writes it, as a list from 0: on 2M
    points, each position face down and face up, where a move turns cards."""
    deck = []
    if turns(moves):
        # A card face up makes deal-cycles write every move on 2M points.
        deck = ["--deck", " ".join([f"{cards - 1}^"] + [str(c) for c in range(cards - 2, -1, -1)])]
    degree = 2 * cards if turns(moves) else cards
    found = []
    for m in moves:
        text = run(["--gap", "--routine", m] + deck + [str(cards)], "deal-cycles").stdout.decode()
        p = list(range(degree))
        for cycle in text.strip()[1:-1].split(")(") if text.strip() != "()" else []:
            c = [int(x) - 1 for x in cycle.split(",")]
            for i, x in enumerate(c):
                p[x] = c[(i + 1) % len(c)]
        found.append(p)
    return found


def gap_text(p):
    return "PermList([" + ",".join(str(x + 1) for x in p) + "])"


def gap(script):
    # Each answer on a line of its own, however long.
    script = 'SetPrintFormattingStatus("*stdout*", false);\n' + script
    return subprocess.run(["gap", "-q", "-A"], input=script.encode(), capture_output=True,
                          timeout=600, check=True).stdout.decode()


def closed_form(cards):
    """The order of the group in and out faros generate on `cards` cards
    (Diaconis, Graham and Kantor, 1983)."""
    n = cards // 2
    if cards == 2:
        return 2
    if cards & (cards - 1) == 0:
        k = cards.bit_length() - 1
        return k * 2**k
    if n == 6:
        return 7680
    if n == 12:
        return 194641920
    return {0: 2**(n - 2), 1: 2**(n - 1), 2: 2**n, 3: 2**(n - 1)}[n % 4] * math.factorial(n)


# Cards, and moves; chosen to take every way the group is taken apart: a
# giant, pairs of positions or faces with each kind of flips, a product of
# orbits, orbits that copy one another (deals in pairs), a chain, small and
# exceptional groups.
GROUPS = [
    (52, ["faro out", "cut 1"]),
    (52, ["faro in", "faro out"]),
    (24, ["faro in", "faro out"]),
    (12, ["faro out", "faro in"]),
    (32, ["faro in", "faro out"]),
    (52, ["deal 4 --packets 1", "faro in"]),
    (52, ["monge", "down-under"]),
    (41, ["monge", "cut 2"]),
    (52, ["faro out", "reverse"]),
    (52, ["cut 26", "faro out"]),
    (40, ["deal 4 --packets 2", "cut 5"]),
    (60, ["deal 3 --packets 2", "deal 4 --packets 2"]),
    (42, ["deal 3 --packets 2", "deal 2 --packets 1 --rest top"]),
    (30, ["turn", "faro out", "cut 1"]),
    (20, ["turn 1", "cut 1"]),
    (16, ["turn", "cut 1"]),
    (18, ["turn 3", "faro in", "faro out"]),
    (21, ["turn 2", "monge", "down-under"]),
    (9, ["deal 2 --packets 1", "cut 3"]),
    (6, ["reverse", "cut 2"]),
    (1, ["faro out"]),
]


class AgainstGap(unittest.TestCase):
    def setUp(self):
        if not shutil.which("gap"):
            self.skipTest("GAP is not installed (Debian: gap-core gap-libs)")

    def check(self, groups):
        # One GAP run for the table: for each group its order, the orbits of
        # its positions, the smallest minimal blocks where they are one orbit
        # (or "none"), and whether it holds each of four orders: three drawn
        # at random, faces down, and the one the first and last moves make.
        rng = random.Random(41)
        script, asked = "", []
        for cards, moves in groups:
            gens = points(cards, moves)
            positions = [[x % cards for x in p[:cards]] for p in gens]
            # Each order as deal-after lists a deck: bottom first, a '^' after
            # a card face up.
            targets = []
            for _ in range(3):
                order = list(range(cards))
                rng.shuffle(order)
                targets.append([str(c) for c in order])
            made = run(["--routine", f"{moves[0]}; {moves[-1]}", str(cards), "1"], "deal-after")
            targets.append(made.stdout.decode().split())
            asked.append((cards, moves, positions, targets))
            script += f"G := Group([{','.join(gap_text(p) for p in gens)}], ());;\n"
            script += f"P := Group([{','.join(gap_text(p) for p in positions)}], ());;\n"
            script += f'Print(Size(G), "\\n");\n'
            script += f'Print(List(Orbits(P, [1..{cards}]), o -> Set(o)), "\\n");\n'
            script += (f"if {cards} = 1 then Print(\"none\\n\"); "
                       f"elif IsTransitive(P, [1..{cards}]) then "
                       f"b := RepresentativesMinimalBlocks(P, [1..{cards}]);; "
                       f"m := Minimum(List(b, Length));; "
                       f'if m = {cards} then Print("none\\n"); else '
                       f'Print(Minimum(Filtered(List(b, Set), s -> Length(s) = m)), "\\n"); fi; '
                       f'else Print("-\\n"); fi;\n')
            for t in targets:
                # The permutation taking position p's card to where it lies
                # in the order, turned over where it lies face up.
                where, up = [0] * cards, [False] * cards
                for position, card in enumerate(t):
                    where[int(card.rstrip("^"))] = position
                    up[int(card.rstrip("^"))] = card.endswith("^")
                q = list(range(2 * cards if turns(moves) else cards))
                for p in range(cards):
                    q[p] = where[p] + (cards if up[p] else 0)
                    if turns(moves):
                        q[p + cards] = where[p] + (0 if up[p] else cards)
                script += f'Print({gap_text(q)} in G, "\\n");\n'
        answers = gap(script + "QUIT;\n").split("\n")
        for cards, moves, positions, targets in asked:
            with self.subTest(cards=cards, moves=moves):
                size, orbits, blocks = answers[0:3]
                held = answers[3:3 + len(targets)]
                answers = answers[3 + len(targets):]
                summary = run(["--summary", "--moves", " | ".join(moves), str(cards)])
                self.assertEqual(summary.returncode, 0, summary.stderr)
                lines = summary.stdout.decode().splitlines()
                self.assertEqual(lines[0], f"order: {size}")
                every = math.factorial(cards) * (2**cards if turns(moves) else 1)
                reaches = ("every order and facing" if int(size) == every else
                           "some orders and facings") if turns(moves) else (
                    "every order" if int(size) == every else
                    "every even order" if cards > 1 and 2 * int(size) == every and all(
                        not odd(p) for p in positions) else "some orders")
                self.assertEqual(lines[1], f"reaches: {reaches}")
                ours = [sorted(int(p) + 1 for p in o.split()) for o in lines[2][8:].split(" | ")]
                self.assertEqual(sorted(ours), sorted(eval(orbits)))
                if blocks in ("none", "-"):
                    self.assertEqual(lines[3], f"blocks: {blocks}")
                else:
                    system = [[int(p) for p in b.split()] for b in lines[3][8:].split(" | ")]
                    self.assertEqual([p + 1 for p in system[0]], eval(blocks))
                    self.assertTrue(is_block_system(system, positions, cards))
                # Membership: a routine deal-after plays to the order, or never;
                # the random orders a group holds (a giant's) may need a routine
                # longer than any, which takes a few seconds to say.
                for i, (t, member) in enumerate(zip(targets, held)):
                    if member == "true" and i < len(targets) - 1:
                        continue
                    reach = run(["--moves", " | ".join(moves), "--reach", " ".join(reversed(t)),
                                 str(cards)])
                    if member == "false":
                        self.assertEqual(reach.stdout, b"never\n")
                    else:
                        self.assertEqual(played(cards, reach.stdout.decode().strip()), t)

    def test_groups(self):
        self.check(GROUPS)

    def test_random_moves(self):
        # Moves drawn at random, with their arguments, on decks of 2 to 60.
        rng = random.Random(2026)
        groups = []
        for _ in range(14):
            cards = rng.randint(2, 60)
            moves = []
            for _ in range(rng.randint(1, 3)):
                kind = rng.choice(["cut", "faro out", "faro in", "reverse", "monge",
                                   "down-under", "under-down", "turn", "deal"])
                if kind == "cut":
                    kind += f" {rng.randint(-cards, cards)}"
                elif kind == "turn" and rng.random() < 0.6:
                    kind += f" {rng.randint(1, cards)}"
                elif kind == "deal":
                    kind += (f" {rng.randint(1, min(cards, 6))} --packets "
                             f"{rng.randint(1, 3)}")
                moves.append(kind)
            groups.append((cards, moves))
        self.check(groups)


def odd(p):
    seen, transpositions = set(), 0
    for x in range(len(p)):
        length = 0
        while x not in seen:
            seen.add(x)
            x = p[x]
            length += 1
        transpositions += max(length - 1, 0)
    return transpositions % 2 == 1


def is_block_system(system, generators, cards):
    block_of = {p: i for i, b in enumerate(system) for p in b}
    covered = sorted(block_of) == list(range(cards)) and len(set(map(len, system))) == 1
    return covered and all(len({block_of[g[p]] for p in b}) == 1
                           for g in generators for b in system)


def played(cards, routine):
    """The deck after one round of `routine` from new deck order, as
    deal-after lists it: bottom first, a '^' after a card face up."""
    routine = routine or "cut 0"
    return run(["--routine", routine, str(cards), "1"], "deal-after").stdout.decode().split()


class Faros(unittest.TestCase):
    def test_the_closed_form(self):
        for cards in list(range(2, 131, 2)) + [256, 1000, 1024, 2018, 4096, 5048, 5050]:
            with self.subTest(cards=cards):
                self.assertEqual(run(["--moves", "faro in | faro out", str(cards)]).stdout,
                                 b"%d\n" % closed_form(cards))


def reference_routines(moves, start):
    """For every deck the moves reach from `start` (top first, (card, face
    up)), bottom first, its shortest routine that prefers, move by move, the
    move listed first: breadth first, each move played by hand."""
    first = tuple(start[::-1])
    found, order = {first: []}, [first]
    for deck in order:
        for i, move in enumerate(moves):
            after = tuple(turned(list(deck), move[1]) if move[0] == "turn" else
                          play(move, list(deck)))
            if after not in found:
                found[after] = found[deck] + [i]
                order.append(after)
    return found


class Reach(unittest.TestCase):
    def test_shortest_routines_are_the_reference_models(self):
        # Every deck a small group reaches, with faces and a stack: the
        # routine deal-group writes is the search by hand's.
        cases = [
            (6, [("cut", 1), ("faro", "out")], ["cut 1", "faro out"], [(c, False) for c in range(5, -1, -1)]),
            (5, [("turn", 2), ("cut", 1)], ["turn 2", "cut 1"], [(c, c == 3) for c in (2, 4, 0, 3, 1)]),
            (8, [("faro", "in"), ("faro", "out"), ("reverse", None)], ["faro in", "faro out", "reverse"],
             [(c, False) for c in range(7, -1, -1)]),
        ]
        for cards, model, moves, start in cases:
            with self.subTest(moves=moves):
                deck = ["--deck", " ".join(f"{c}^" if up else str(c) for c, up in start)]
                routines = reference_routines(model, start)
                for after, routine in sorted(routines.items())[:200]:
                    order = " ".join(f"{c}^" if up else str(c) for c, up in reversed(after))
                    answer = run(["--moves", " | ".join(moves), "--reach", order] + deck +
                                 [str(cards)])
                    self.assertEqual(answer.stdout.decode(),
                                     "; ".join(moves[i] for i in routine) + "\n", order)

    def test_routines_play_to_the_order(self):
        # Orders far past the search's whole layers, on a pack and more.
        for cards, moves, routine in [
                (52, "faro in | faro out", "faro in; faro out; faro in; faro in; faro out"),
                (52, "cut 1..51 | faro out", "cut 7; faro out; cut 30; faro out; cut 3; faro out"),
                (100, "faro in | faro out | cut 50", "cut 50; faro in; faro in; cut 50; faro out"),
                (52, "turn | faro out | cut 1", "turn; faro out; cut 1; cut 1; turn; faro out"),
                (1000, "faro out | cut 1", "faro out; cut 1; faro out; faro out")]:
            with self.subTest(moves=moves):
                after = run(["--routine", routine, str(cards), "1"], "deal-after").stdout.decode()
                order = " ".join(reversed(after.split()))
                answer = run(["--moves", moves, "--reach", order, str(cards)])
                self.assertEqual(answer.returncode, 0, answer.stderr)
                self.assertLessEqual(answer.stdout.count(b";"), routine.count(";"))
                self.assertEqual(run(["--routine", answer.stdout.decode().strip(), str(cards), "1"],
                                     "deal-after").stdout.decode(), after)
        # The deck as it starts: an empty line; and a stack faros never make.
        self.assertEqual(run(["--moves", "cut 1", "--reach", "new", "52"]).stdout, b"\n")
        self.assertEqual(run(["--moves", "faro in | faro out | cut 26", "--reach", "si-stebbins",
                              "52"]).stdout, b"never\n")
        self.assertEqual(run(["--moves", "faro in", "--reach", "51^ " + " ".join(
            str(c) for c in range(50, -1, -1)), "52"]).stdout, b"never\n")


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
