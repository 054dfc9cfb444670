"""import deal, held to the programs: the same cases to the module and to
the built programs, the answers compared.

    tests/python_module.py BUILD [pytest arguments]

BUILD is the build folder: its python/ holds the package, the programs its
top. Run through pytest; without pytest the test is skipped (status 77),
and with DEAL_REQUIRE_TOOLS=1 it fails."""

import ast
import os
import pathlib
import pickle
import re
import subprocess
import sys
import tempfile
import threading
from collections.abc import Sequence
from fractions import Fraction

BUILD = os.environ.get("DEAL_BUILD", "")
if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv[1])
    try:
        import pytest
    except ImportError:
        print("pytest is not installed (Debian: python3-pytest)", file=sys.stderr)
        sys.exit(1 if os.environ.get("DEAL_REQUIRE_TOOLS") == "1" else 77)
    os.environ["DEAL_BUILD"] = BUILD
    sys.path.insert(0, os.path.join(BUILD, "python"))
    sys.exit(pytest.main(["-q", "-p", "no:cacheprovider", __file__] + sys.argv[2:]))

import pytest  # noqa: E402

sys.path.insert(0, os.path.join(BUILD, "python"))
import deal  # noqa: E402


def program(name, *args):
    """What a program prints, as text."""
    result = subprocess.run([os.path.join(BUILD, name), *map(str, args)], capture_output=True,
                            check=True)
    return result.stdout.decode()


def refusal(name, *args):
    """A program's error line, without its name."""
    result = subprocess.run([os.path.join(BUILD, name), *map(str, args)], capture_output=True)
    assert result.returncode == 1
    return result.stderr.decode().split(": ", 1)[1].rstrip("\n")


ROUTINES = [("faro out", 52), ("faro in", 52), ("deal 4 --packets 1 --first-card bottom", 52),
            ("turn 4; cut 3", 10), ("monge; down-under", 13), ("deal 2", 10),
            ("cut 1; reverse; faro out", 2), ("deal 3 --packets 3,2", 52)]


@pytest.mark.parametrize("moves,cards", ROUTINES)
def test_periods_cycles_and_listings(moves, cards):
    r = deal.Routine(moves, cards)
    assert r.period == int(program("deal-period", "--routine", moves, cards).split()[1])
    rounds = [0, 1, r.period - 1, -1, 10 ** 40 + 7]
    lines = program("deal-after", "--routine", moves, cards, *rounds).splitlines()
    assert [d.listing() for d in r.after(rounds)] == lines
    # From a stack, and in a magician's order, when the deck is a pack.
    if cards == 52:
        lines = program("deal-after", "--routine", moves, "--deck", "si-stebbins", "--faces",
                        cards, "0..3").splitlines()
        assert [d.listing(faces=True) for d in r.after(range(4), deck="si-stebbins")] == lines
    # The cycles, counted from the top, each the one deal-cycles lists.
    listed = program("deal-cycles", "--routine", moves, cards).splitlines()
    want = sorted(tuple(sorted(cards - 1 - int(p) for p in line.split(": ")[1].split()))
                  for line in listed)
    assert sorted(tuple(sorted(c)) for c in r.cycles()) == want
    assert r.to_sympy().order() == r.period
    assert (r ** 3).permutation == tuple(r.after(3).index(c.number) for c in deal.Deck(cards))


@pytest.mark.parametrize("moves,cards,card,rounds,deck", [
    ("deal 3 --packets 1 --chosen-pile 1", 21, "7S", range(4), None),
    ("faro in; faro out; faro in", 52, "AH", [1, 2, 10 ** 30], None),
    ("cut 17", 52, "AC", [0, 1], "si-stebbins"),
    ("deal 3 --packets 1 --chosen-pile 1; deal 3 --packets 1 --chosen-pile 2; "
     "deal 3 --packets 1 --chosen-pile 0", 27, 13, [1], None),
])
def test_places(moves, cards, card, rounds, deck):
    r = deal.Routine(moves, cards)
    extra = ["--deck", deck] if deck else []
    got = program("deal-after", "--routine", moves, "--from-top", "--where", card, *extra, cards,
                  *rounds).split()
    assert r.where(card, rounds, deck=deck) == [int(p) - 1 for p in got]


@pytest.mark.parametrize("moves,cards,start,to,any_card", [
    ("faro in | faro out", 52, 0, 17, False),
    ("deal 3 --packets 1 --chosen-pile 0..2", 27, "AS", 8, False),
    ("cut 1..51 | faro out", 52, 5, 40, False),
    ("deal 3 --packets 1 --chosen-pile 0..2", 27, None, 7, True),
    ("deal 3 --packets 1 --chosen-pile 1", 21, None, None, True),
])
def test_searches(moves, cards, start, to, any_card):
    if any_card and to is None:
        routine, places = deal.closest(moves, cards)
        lines = program("deal-solve", "--any-card", "--closest", "--from-top", "--moves", moves,
                        cards).splitlines()
        assert [str(routine), " ".join(str(p + 1) for p in places)] == lines
        return
    if any_card:
        found = deal.solve_any(moves, cards, to, all=True)
        args = ["--any-card", "--all", "--from-top", "--moves", moves, cards, to + 1]
    else:
        found = deal.solve(moves, cards, start, to, all=True)
        place = start + 1 if isinstance(start, int) else start
        args = ["--all", "--from-top", "--moves", moves, cards, place, to + 1]
    assert [str(r) for r in found] == program("deal-solve", *args).splitlines()


@pytest.mark.parametrize("moves,cards,order", [
    ("faro in | faro out", 52, "si-stebbins"), ("faro in | faro out", 52, "reversed"),
    ("turn 1 | cut 1", 5, "1 0^ 4 3 2"), ("faro out", 8, None), ("monge | down-under", 13, None),
    (["faro out", "cut 1..3"], 12, "reversed"),
])
def test_groups(moves, cards, order):
    g = deal.Group(moves, cards)
    allowed = moves if isinstance(moves, str) else " | ".join(moves)
    lines = program("deal-group", "--moves", allowed, "--summary", "--from-top",
                    cards).splitlines()
    def classes(c):
        return "-" if c is None else "none" if not c else " | ".join(
            " ".join(str(p + 1) for p in block) for block in c)
    assert [f"order: {g.order}", f"reaches: {g.reaches}", f"orbits: {classes(g.orbits)}",
            f"blocks: {classes(g.blocks)}"] == lines
    if order is None:
        return
    if order == "reversed":
        order = deal.Deck(list(reversed(deal.Deck(cards))))
    found = g.reach(order)
    given = order if isinstance(order, str) else " ".join(str(c.number) for c in order)
    assert str(found or "never") == program("deal-group", "--moves", allowed, "--reach",
                                            given, cards).rstrip("\n")
    assert (found is not None) == (order in g)
    assert pickle.loads(pickle.dumps(g)).order == g.order
    if found is not None:
        assert found.after(1) == deal.Deck(order)


def spread_text(spread, cards, digits):
    """A card's chances as deal-after --chances writes them, from its dict."""
    from decimal import Decimal, ROUND_HALF_EVEN, getcontext
    getcontext().prec = 100
    q = Decimal(1).scaleb(-digits)
    return " ".join(f"{cards - 1 - i}:"
                    f"{(Decimal(p.numerator) / Decimal(p.denominator)).quantize(q, ROUND_HALF_EVEN):f}"
                    for i, p in sorted(spread.items(), reverse=True))


@pytest.mark.parametrize("moves,cards,card,rounds", [
    ("riffle", 8, "AS", range(4)), ("riffle 3; faro out", 9, 4, range(3)),
    ("riffle; cut random", 7, 2, [1]), ("deal 3 --packets 1 --chosen-pile 1; riffle", 12, 5,
                                        range(3)),
])
def test_chances(moves, cards, card, rounds):
    r = deal.Routine(moves, cards)
    lines = program("deal-after", "--routine", moves, "--where", card, "--chances", "--digits",
                    30, cards, f"{rounds[0]}..{rounds[-1]}").splitlines()
    exact = deal.chances(r, card, rounds)
    assert all(sum(s.values()) == 1 for s in exact)
    assert [spread_text(s, cards, 30) for s in exact] == lines
    # Past the exact integers, exactly rounded to the digits asked.
    assert [spread_text(s, cards, 30) for s in deal.chances(r, card, rounds, digits=30)] == lines


def test_chances_past_the_exact_integers():
    r = deal.Routine("riffle", 601)
    line = program("deal-after", "--routine", "riffle", "--where", 7, "--chances", "--digits", 12,
                   601, 2)
    assert spread_text(deal.chances(r, 7, 2, digits=12), 601, 12) == line.strip()
    with pytest.raises(ValueError, match="give digits=D"):
        deal.chances(r, 7, 2)


@pytest.mark.parametrize("cards,packets", [(1, 2), (5, 2), (52, 2), (13, 3), (104, 4)])
def test_distances_and_cutoffs(cards, packets):
    rows = program("deal-mix", "--riffle", packets, "--shuffles", "0..12", "--digits", 30, cards)
    got = deal.mix(cards, range(13), packets=packets)
    assert [m.shuffles for m in got] == list(range(13))
    for m, line in zip(got, rows.splitlines()):
        k, tv, sep = line.split()
        for exact, written in [(m.total_variation, tv), (m.separation, sep)]:
            assert abs(exact - Fraction(written)) <= Fraction(1, 2 * 10 ** 30)
    for flags in [[], ["--separation"]]:
        assert deal.cutoff(cards, packets=packets, separation=bool(flags)) == int(
            program("deal-mix", "--cutoff", "--riffle", packets, *flags, cards))
    assert deal.mix(cards, 0).total_variation == 1 - Fraction(1, __import__("math").factorial(cards))


@pytest.mark.parametrize("moves,cards,seed", [("riffle", 8, 1), ("riffle 3; cut random", 20, 7),
                                              ("deal 3 --packets 1 --chosen-pile 1; riffle", 21,
                                               2 ** 64 - 1)])
def test_seeds(moves, cards, seed):
    run = deal.Routine(moves, cards).run(seed=seed)
    if "chosen" in moves:
        got = program("deal-after", "--routine", moves, "--seed", seed, "--where", "5S", cards,
                      "0..20").split()
        assert run.where("5S", range(21)) == [cards - 1 - int(p) for p in got]
        return
    lines = program("deal-after", "--routine", moves, "--seed", seed, cards, "0..20")
    assert [d.listing() for d in run.after(range(21))] == lines.splitlines()
    again = deal.Routine(moves, cards).run()
    assert again.after(5) == deal.Routine(moves, cards).run(seed=again.seed).after(5)


def numbered(svg):
    """An SVG with Cairo's surfaces numbered from 1: Cairo counts them over
    a whole process."""
    least = min(int(n) for n in re.findall(rb"surface(\d+)", svg))
    return re.sub(rb"surface(\d+)", lambda m: b"surface%d" % (int(m[1]) - least + 1), svg)


@pytest.mark.parametrize("draw,args", [
    (lambda: deal.draw(deal.Routine("deal 4 --packets 1", 20), follow=["AS"], color="cycle"),
     ["--routine", "deal 4 --packets 1", "--card", "AS", "--color", "cycle", 20]),
    (lambda: deal.draw(deal.Routine("faro out", 52), view="map", from_top=True),
     ["--routine", "faro out", "--view", "map", "--from-top", 52]),
    (lambda: deal.draw(deal.Routine("monge", 12), 5, first=10 ** 30),
     ["--routine", "monge", "--from", 10 ** 30, 12, 5]),
    (lambda: deal.draw_chances(deal.Routine("riffle 3", 12), "AS", 4),
     ["--routine", "riffle 3", "--view", "chances", "--card", "AS", 12, 4]),
    (lambda: deal.draw_chances(deal.Routine("riffle", 8)),
     ["--routine", "riffle", "--view", "chances", 8]),
    (lambda: deal.draw_mix([13, 52], 12), ["--view", "mix", "13,52", 12]),
    (lambda: deal.draw_mix(52, packets=3), ["--view", "mix", "--riffle", 3, 52]),
])
def test_pictures(draw, args):
    picture = draw()
    with tempfile.TemporaryDirectory() as folder:
        for kind in ["png", "svg"]:
            path = os.path.join(folder, "p." + kind)
            program("deal-picture", "-o", path, *args)
            with open(path, "rb") as f:
                want = f.read()
            got = picture.png() if kind == "png" else numbered(picture.svg().encode())
            assert got == (want if kind == "png" else numbered(want))
        picture.save(pathlib.Path(folder, "saved.svg"))
        with open(os.path.join(folder, "saved.svg"), "rb") as f:
            assert f.read() == picture._repr_svg_().encode()


@pytest.mark.parametrize("call,program_args", [
    (lambda: deal.Routine("faro out; cut 53", 52), ["deal-period", "--routine", "faro out; cut 53",
                                                    52]),
    (lambda: deal.Routine("riffle 17", 8), ["deal-period", "--routine", "riffle 17", 8]),
    (lambda: deal.Routine("deal 3 --packets 1 --chosen-pile 1", 21).where("7S", -1),
     ["deal-after", "--routine", "deal 3 --packets 1 --chosen-pile 1", "--where", "7S", 21, -1]),
    (lambda: deal.Deck("AS AS"), ["deal-after", "--deck", "AS AS", 52, 0]),
    (lambda: deal.Routine("riffle", 8).run(seed=2 ** 64), ["deal-after", "--routine", "riffle",
                                                          "--seed", 2 ** 64, 8, 1]),
    (lambda: deal.mix(52, 101), ["deal-mix", "--shuffles", "0..101", 52]),
    (lambda: deal.solve("cut 1 | riffle", 52, 0, 1), ["deal-solve", "--moves", "cut 1 | riffle",
                                                      52, 0, 1]),
    (lambda: deal.Group("faro in | deal 3 --packets 1 --chosen-pile 1 x2", cards=21),
     ["deal-group", "--moves", "faro in | deal 3 --packets 1 --chosen-pile 1 x2", 21]),
])
def test_errors_in_the_programs_words(call, program_args):
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == refusal(*program_args)


def test_pythons_ways():
    deck = deal.Deck("si-stebbins")
    assert eval(repr(deck), vars(deal)) == deck and len({deck, deal.Deck("si-stebbins")}) == 1
    assert str(deck).split()[:4] == ["A♣", "4♥", "7♠", "10♦"] and deck[-1] == deal.Card("JD")
    assert "JD" in deck and deck.count("JD") == 1 and "ZZ" not in deck and deck.index("JD") == 51
    assert deal.Deck([2, deal.Card(1, face_up=True), 0]).listing() == program(
        "deal-after", "--deck", "2 1^ 0", 3, 0).rstrip("\n")
    assert eval(repr(deal.Card("AS", face_up=True)), vars(deal)) == deal.Card(0, face_up=True)
    a, b = deal.Routine("faro out", 52), deal.Routine("cut 26", 52)
    assert (a * b).to_sympy() == a.to_sympy() * b.to_sympy()
    assert (a ** -1).permutation == (a ** 7).permutation and (a ** (10 ** 20 + 4)).period == 2
    for value in [deck, deal.Deck([2, deal.Card(1, face_up=True), 0]), a * b, a ** 10 ** 20]:
        assert pickle.loads(pickle.dumps(value)) == value
    assert all(f.__doc__ for f in [deal.Routine.after, deal.chances, deal.mix, deal.solve,
                                   deal.Deck, deal.draw])
    with pytest.raises(TypeError):
        deal.Routine("faro out", 52).after("1")


def test_examples_as_shown():
    # The README's session and the package's docstring, run as doctests.
    import doctest
    readme = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "README.md")
    with open(readme, encoding="utf-8") as f:
        session = re.search(r"\n    >>> import deal\n.*?\n\n", f.read(), re.S)[0]
    test = doctest.DocTestParser().get_doctest(session, {}, "README.md", readme, 0)
    runner = doctest.DocTestRunner()
    runner.run(test)
    assert runner.summarize(verbose=False) == (0, len(test.examples))
    assert doctest.testmod(deal).failed == 0


def test_stubs_tell_what_the_module_has():
    # Every name the package exports, and every public member of its
    # classes, is in the stubs that type checkers read, and nothing more.
    with open(os.path.join(os.path.dirname(deal.__file__), "__init__.pyi")) as f:
        stubs = ast.parse(f.read())
    declared = {node.name: node for node in stubs.body
                if isinstance(node, (ast.ClassDef, ast.FunctionDef))}
    assert set(deal.__all__) <= set(declared)
    for name, node in declared.items():
        assert hasattr(deal, name), name
        if isinstance(node, ast.ClassDef) and name != "Mixing":
            members = {m.name for m in node.body if isinstance(m, ast.FunctionDef)}
            # What a stub's class has from its base, Sequence's mixins.
            if any("Sequence" in ast.unparse(base) for base in node.bases):
                members |= set(dir(Sequence))
            public = {m for m in dir(getattr(deal, name)) if not m.startswith("_")}
            assert public == {m for m in members if not m.startswith("_")}, name


def test_threads_agree_with_one():
    # Four threads at once, each asking everything, get what one thread gets.
    def work():
        r = deal.Routine("riffle; faro out", 60)
        return (deal.chances(r, 3, 4), deal.mix(400, range(5, 9)), deal.cutoff(300),
                deal.Routine("riffle 3", 30).run(seed=5).after(range(0, 200, 40)),
                deal.solve("cut 1..999 | faro out", 1000, 3, 700),
                deal.Routine("deal 7 --packets 1", 3000).after(10 ** 50),
                deal.draw_chances(deal.Routine("riffle", 20), 3, 5).png(),
                deal.Group("faro in | faro out", 1000).order,
                deal.Group("faro out | cut 1", 300).blocks)
    alone = work()
    answers = [None] * 4

    def thread(i):
        answers[i] = work()
    threads = [threading.Thread(target=thread, args=(i,)) for i in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert answers == [alone] * 4
