"""A deal played the plain way, card by card, as a person deals at a table:
the one reference model that the tests hold every program and the page to.

    from reference_deal import Deal
    d = Deal(hands=2, cards=52, packets=[1], first_card="bottom")
    d.listing(3), d.period(), d.cycles(), d.hands(3), d.where(9, 3)

The deck is a list from the bottom card up; each card is named by the
position it starts in.
"""


import math


class Deal:
    def __init__(self, hands, cards=None, packets=(2, 2, 1), rest="again",
                 first_card="top", bottom_hand="last"):
        self.hand_count = hands
        self.packets = list(packets)
        self.cards_given = cards is not None
        self.cards = cards if cards is not None else max(hands, 0) * sum(self.packets)
        self.rest = rest
        self.first_card = first_card
        self.bottom_hand = bottom_hand

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

    def round(self, deck):
        """The deck after one round: dealt, then gathered from the bottom up."""
        hands, stock = self.deal(deck)
        order = reversed(hands) if self.bottom_hand == "last" else hands
        gathered = list(stock) if self.rest == "bottom" else []
        for hand in order:
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
