"""A deal played the plain way, card by card, as a person deals at a table:
the one reference model that the tests hold every program and the page to.

    from reference_deal import Deal
    d = Deal(hands=2, cards=52, packets=[1], first_card="bottom")
    d.listing(3), d.period(), d.cycles(), d.hands(3), d.where(9, 3)

The deck is a list from the bottom card up; each card is named by the
position it starts in. A Routine plays its moves in turn the same way:

    from reference_deal import Routine
    r = Routine(52, [("faro", "out"), ("cut", 26), ("deal", Deal(3, packets=[1]))])

A repeat is ("repeat", (times, moves)); `spelled(text)` writes any routine's
text out move by move, as a check of the repeats a program writes.
"""


import collections
import copy
import math
import re


class Deal:
    def __init__(self, hands, cards=None, packets=(2, 2, 1), rest="again",
                 first_card="top", bottom_hand="last", gather=None, chosen_pile=None):
        self.hand_count = hands
        self.packets = list(packets)
        self.cards_given = cards is not None
        self.cards = cards if cards is not None else max(hands, 0) * sum(self.packets)
        self.rest = rest
        self.first_card = first_card
        self.bottom_hand = bottom_hand
        self.gather = gather  # the hands from the top down, if given
        self.chosen_pile = chosen_pile

    def options(self):
        """The command-line options that describe this deal."""
        given = []
        if self.packets != [2, 2, 1]:
            given += ["--packets", ",".join(map(str, self.packets))]
        if self.cards_given:
            given += ["--cards", str(self.cards)]
        for name, value, default in [("rest", self.rest, "again"),
                                     ("first-card", self.first_card, "top"),
                                     ("bottom-hand", self.bottom_hand, "last")]:
            if value != default:
                given += [f"--{name}", value]
        if self.gather is not None:
            given += ["--gather", ",".join(map(str, self.gather))]
        if self.chosen_pile is not None:
            given += ["--chosen-pile", str(self.chosen_pile)]
        return given

    def deal(self, deck):
        """The hands that dealing `deck` gives, each in the order it received
        its cards, and the stock the passes leave (bottom first)."""
        pile = list(deck)  # its top is its end
        hands = [[] for _ in range(max(self.hand_count, 0))]
        j = 0
        while pile and hands:
            for hand in hands:
                for _ in range(self.packets[j]):
                    if pile:
                        hand.append(pile.pop())
            j += 1
            if j == len(self.packets):
                if self.rest != "again":
                    break
                j = 0
        return hands, pile

    def round(self, deck, followed=None):
        """The deck after one round: dealt, then gathered from the bottom up,
        the pile that holds the followed card moved where the chosen pile
        says."""
        hands, stock = self.deal(deck)
        top_down = list(self.gather) if self.gather is not None else list(range(len(hands)))
        if self.gather is None and self.bottom_hand == "first":
            top_down.reverse()
        if self.chosen_pile is not None:
            holding = [h for h, hand in enumerate(hands) if followed in hand]
            if holding:
                top_down.remove(holding[0])
                top_down.insert(self.chosen_pile, holding[0])
        gathered = list(stock) if self.rest == "bottom" else []
        for hand in (hands[h] for h in reversed(top_down)):
            # A hand picked up with its first card on top has its last lowest.
            gathered += hand[::-1] if self.first_card == "top" else hand
        if self.rest == "top":
            gathered += stock
        return gathered

    def deck(self, rounds):
        """The deck after `rounds` rounds, 0 or more: played out where they
        are few, else one round raised to that power by squaring."""
        deck = list(range(self.cards))
        if rounds <= 64:
            for _ in range(rounds):
                deck = self.round(deck)
            return deck
        # After one round position q holds what position once[q] held.
        base = self.round(deck)
        while rounds:
            if rounds & 1:
                deck = [deck[q] for q in base]
            base = [base[q] for q in base]
            rounds >>= 1
        return deck

    def listing(self, rounds):
        """As deal lists it: every card as printf("%2d ") writes it."""
        return "".join("%2d " % c for c in self.deck(rounds)) + "\n"

    def period(self):
        """The least common multiple of the cycle lengths."""
        return math.lcm(*(len(c) for c in self.cycles()))

    def cycles(self):
        """Each cycle from its lowest position, each position followed by the
        one its card moves to."""
        if hasattr(self, "_cycles"):
            return self._cycles
        once = self.deck(1)
        goes_to = {card: position for position, card in enumerate(once)}
        seen, found = set(), []
        for start in range(self.cards):
            if start in seen:
                continue
            cycle, p = [], start
            while p not in seen:
                seen.add(p)
                cycle.append(p)
                p = goes_to[p]
            found.append(cycle)
        self._cycles = found
        return found

    def hands(self, rounds):
        return self.deal(self.deck(rounds))[0]

    def where(self, card, rounds):
        return self.deck(rounds).index(card)

    def way(self, card, rounds):
        """Where the card is after 0, 1, ..., `rounds` - 1 rounds."""
        deck, way = list(range(self.cards)), []
        for _ in range(rounds):
            way.append(deck.index(card))
            deck = self.round(deck)
        return way


def fitted(cards, move):
    """A move of a routine of `cards` cards: a deal's deck is the routine's."""
    kind, argument = move
    if kind == "deal":
        argument = copy.copy(argument)
        argument.cards, argument.cards_given = cards, False
    if kind == "repeat":
        argument = (argument[0], [fitted(cards, m) for m in argument[1]])
    return kind, argument


def play(move, deck, followed=None):
    """One move of a routine on the deck, bottom first, as done by hand."""
    kind, argument = move
    top_down = deck[::-1]
    if kind == "deal":
        return argument.round(deck, followed)
    if kind == "cut":
        k = argument % len(deck) if deck else 0
        return deck[len(deck) - k:] + deck[:len(deck) - k]
    if kind == "faro":
        half = (len(deck) + 1) // 2 if argument == "out" else len(deck) // 2
        first, second = top_down[:half], top_down[half:]
        if argument == "in":
            first, second = second, first
        woven = []
        for i in range(max(len(first), len(second))):
            woven += first[i:i + 1] + second[i:i + 1]
        return woven[::-1]
    if kind == "reverse":
        return deck[::-1]
    if kind == "count":
        # Dealt one at a time onto a pile: the top k come back in reverse.
        return deck[:len(deck) - argument] + deck[len(deck) - argument:][::-1]
    if kind == "repeat":
        return repeated(argument, deck, followed)
    if kind == "monge":
        pile = collections.deque()
        for i, card in enumerate(top_down):
            if i % 2 == 1 or i == 0:
                pile.append(card)  # on top
            else:
                pile.appendleft(card)  # under
        return list(pile)
    if kind in ("down-under", "under-down"):
        held, table, down = collections.deque(top_down), [], kind == "down-under"
        while held:
            card = held.popleft()
            if down:
                table.append(card)
            else:
                held.append(card)
            down = not down
        return table
    raise ValueError(kind)


def repeated(argument, deck, followed):
    """The moves done `times` times: one by one where they are few or follow
    a card, else the group's permutation raised to that power by squaring."""
    times, moves = argument
    if times <= 64 or followed is not None:
        for _ in range(times):
            for move in moves:
                deck = play(move, deck, followed)
        return deck
    once = list(range(len(deck)))
    for move in moves:
        once = play(move, once)
    while times:  # after the group, position q holds what position once[q] held
        if times & 1:
            deck = [deck[q] for q in once]
        once = [once[q] for q in once]
        times >>= 1
    return deck


def move_text(kind, argument):
    if kind == "deal":
        return " ".join(["deal", str(argument.hand_count)] + argument.options())
    if kind == "faro":
        return "faro " + argument
    if kind == "repeat":
        return "(" + "; ".join(move_text(*m) for m in argument[1]) + f") x{argument[0]}"
    return kind if argument is None else f"{kind} {argument}"


def spelled(text):
    """A routine's text as its moves one by one: every repeat, `MOVE xN` or
    `(MOVES) xN`, written out N times, and a deal with a list of chosen piles
    as a deal for each."""
    def sequence(at):
        moves = []
        while True:
            while at < len(text) and text[at] == " ":
                at += 1
            if at < len(text) and text[at] == "(":
                group, at = sequence(at + 1)
                at += 1  # the ")"
            else:
                end = at
                while end < len(text) and text[end] not in ";)":
                    end += 1
                piece, at = text[at:end].strip(), end
                times = re.fullmatch(r"(.*) x(\d+)", piece)
                group = piles(times[1]) * int(times[2]) if times else piles(piece)
            count = re.match(r" *x(\d+) *", text[at:])
            if count:
                group, at = group * int(count[1]), at + count.end()
            moves += group
            if at >= len(text) or text[at] == ")":
                return moves, at
            at += 1  # the ";"

    def piles(move):
        listed = re.search(r"--chosen-pile (\d+(?:,\d+)+)$", move)
        if not listed:
            return [move]
        return [move[:listed.start(1)] + p for p in listed[1].split(",")]
    return sequence(0)[0] if text else []


class Routine(Deal):
    """Moves done in turn, each on the whole deck of `cards` cards; a deal
    move is a Deal whose deck is the routine's."""

    def __init__(self, cards, moves):
        self.cards, self.moves = cards, [fitted(cards, m) for m in moves]

    def text(self):
        return "; ".join(move_text(*m) for m in self.moves)

    def options(self):
        return ["--routine", self.text()]

    def round(self, deck, followed=None):
        for move in self.moves:
            deck = play(move, deck, followed)
        return deck

    def deals(self, deck, followed=None):
        """Each deal's hands in the round that starts with `deck`, a
        repeated deal each time it is played."""
        found = []

        def each(moves, deck):
            for move in moves:
                if move[0] == "repeat":
                    for _ in range(move[1][0]):
                        deck = each(move[1][1], deck)
                    continue
                if move[0] == "deal":
                    found.append(move[1].deal(deck)[0])
                deck = play(move, deck, followed)
            return deck
        each(self.moves, deck)
        return found

    def hands(self, rounds):
        return self.deals(self.deck(rounds))

    def follow(self, card, rounds):
        """Where `card` is after `rounds` rounds, each round played with it
        followed."""
        deck = list(range(self.cards))
        for _ in range(rounds):
            deck = self.round(deck, card)
        return deck.index(card)


# ---- stacks and faces, modelled apart from the programs ----------------------

# The new deck from the bottom: spades and diamonds ace to king, clubs and
# hearts king to ace.
RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]
NEW_DECK = ([r + "♠" for r in RANKS] + [r + "♦" for r in RANKS] +
            [r + "♣" for r in RANKS[::-1]] + [r + "♥" for r in RANKS[::-1]])


def cyclic_stack(ranks):
    """52 cards from the top: the ranks given in turn, the suits ♣ ♥ ♠ ♦ in turn."""
    return [NEW_DECK.index(ranks[i % 13] + "♣♥♠♦"[i % 4]) for i in range(52)]


SI_STEBBINS = cyclic_stack([RANKS[3 * i % 13] for i in range(13)])
EIGHT_KINGS = cyclic_stack(["8", "K", "3", "10", "2", "7", "9", "5", "Q", "4", "A", "6", "J"])


def packet(top_down):
    """A packet of a pack's cards named from the top, as a deck of its own:
    each card numbered by its order among them in a new deck. Returns the
    cards' names by number, and the numbers from the top."""
    faces = sorted(top_down, key=NEW_DECK.index)
    return faces, [faces.index(name) for name in top_down]


def turned(deck, k=None):
    """The top k cards (all without k), cards being (number, face up),
    turned over together and put back on top."""
    k = len(deck) if k is None else k
    top = deck[len(deck) - k:]
    return deck[:len(deck) - k] + [(card, not up) for card, up in top[::-1]]


class Faces:
    """A routine's moves on a deck of (number, face up) cards that starts as
    `top_down` gives it; a move is ("turn", k) or any move play() takes."""

    def __init__(self, moves, top_down):
        self.moves, self.start = [], top_down[::-1]
        for kind, argument in moves:
            if kind == "deal":
                argument = copy.copy(argument)
                argument.cards, argument.cards_given = len(top_down), False
            self.moves.append((kind, argument))

    def round(self, deck):
        for move in self.moves:
            deck = turned(deck, move[1]) if move[0] == "turn" else play(move, deck)
        return deck

    def deck(self, rounds):
        deck = self.start
        for _ in range(rounds):
            deck = self.round(deck)
        return deck

    def period(self):
        deck, rounds = self.round(self.start), 1
        while deck != self.start:
            deck, rounds = self.round(deck), rounds + 1
        return rounds

    def listing(self, rounds, names=False):
        """As deal-after writes it: a mark after each card where one may lie
        face up, a '^' or a blank."""
        cards = self.deck(rounds)
        marks = any(k == "turn" for k, _ in self.moves) or any(up for _, up in self.start)
        mark = (lambda up: "^" if up else " ") if marks else (lambda up: "")
        if names:
            return "".join("%3s%s " % (NEW_DECK[c], mark(up)) for c, up in cards) + "\n"
        return "".join("%2d%s " % (c, mark(up)) for c, up in cards) + "\n"
