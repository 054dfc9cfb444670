"""deal: decks dealt, cut, faroed, turned and riffled, exactly.

The family's core (the programs deal-period, deal-after, deal-cycles,
deal-solve, deal-mix and deal-picture), bound for Python: the same answers,
as Python's own values.

    >>> import deal
    >>> faro = deal.Routine("faro out", cards=52)
    >>> faro.period
    8
    >>> deal.mix(52, 7).total_variation > 0.33
    True

Positions count from the top of the deck, 0 the top card, as a Deck's
indices do (the programs count from the bottom, or from 1 with --from-top).
Cards are named as on a pack ('AS', '10d', 'Q\u2665') or numbered by their
place in a new deck, 0 the ace of spades at the bottom. Chances, distances
and periods are exact: Fractions and ints. A bad value raises ValueError (or
TypeError) with the programs' own words.

Deck, Card        a deck read from the top, and its cards
Routine           moves done in turn: period, cycles(), after(), where(), ...
Run               a routine with moves by chance, played from a seed
chances()         where a card may be after rounds, with what chance
mix(), cutoff()   how far riffles leave a deck from random
solve(), solve_any(), closest()   the fewest moves that bring a card there
Group             the orders a set of moves reaches: order, orbits, reach()
draw(), draw_chances(), draw_mix()   pictures, inline in Jupyter
"""

from collections import namedtuple as _namedtuple
from collections.abc import Sequence as _Sequence

from deal._deal import (  # noqa: F401
    Card,
    Deck,
    Group,
    Routine,
    Run,
    __version__,
    chances,
    closest,
    cutoff,
    solve,
    solve_any,
)
from deal import _deal

__all__ = [
    "Card", "Deck", "Group", "Routine", "Run", "Mixing", "chances", "mix", "cutoff", "solve",
    "solve_any", "closest",
]
try:
    from deal._deal import Picture, draw, draw_chances, draw_mix  # noqa: F401
    __all__ += ["Picture", "draw", "draw_chances", "draw_mix"]
except ImportError:  # built without Cairo
    pass

# A Deck is a sequence of Cards, from the top: count(), reversed() and
# isinstance(deck, Sequence) as for any other.
_Sequence.register(Deck)
# Pickled, and so copied or sent to another process, as their cards.
Card.__reduce__ = lambda self: (Card, (self.number, self.face_up))
Deck.__reduce__ = lambda self: (Deck, (list(self),))
Deck.count = lambda self, card: int(card in self)
Deck.count.__doc__ = "1 where `card` is in the deck, as index() finds it, else 0."
Deck.__reversed__ = lambda self: (self[i] for i in range(len(self) - 1, -1, -1))

Mixing = _namedtuple("Mixing", ["shuffles", "total_variation", "separation"])
Mixing.__doc__ = """How far `shuffles` riffles leave a deck from a random one: the total
variation distance and the separation distance, each a Fraction."""


def mix(cards, shuffles, *, packets=2):
    """How far riffles leave a deck of `cards` cards from a uniformly random
    one, exactly, as deal-mix works it out: a Mixing of the total variation
    distance and the separation distance, Fractions, after `shuffles`
    riffles (0 to 100), or a list of them for a range or any iterable of
    riffle counts (range(11) starts from the deck as it was). With `packets`,
    each riffle cuts the deck into that many packets (2 to 16), as the move
    'riffle A' does."""
    if isinstance(shuffles, int) or not hasattr(shuffles, "__iter__"):
        return Mixing(*_deal._mix(cards, [shuffles], packets)[0])
    return [Mixing(*row) for row in _deal._mix(cards, list(shuffles), packets)]

