#include "python/decks.hpp"

#include <pybind11/stl.h>
#include <string>

#include "deal/pack.hpp"
#include "text/cards.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/listing.hpp"

namespace python {

namespace {

// A card's text: its name on a pack, else its number; '^' after it face up.
std::string card_text(deal::card number, bool face_up, bool named) {
    std::string text;
    if (named) {
        char name[text::card_name_room];
        text = text::card_name(number, name);
    } else {
        text = std::to_string(number);
    }
    return face_up ? text + "^" : text;
}

card_value card_from(py::handle given, bool face_up) {
    if (py::isinstance<py::str>(given)) {
        std::string name = given.cast<std::string>();
        if (!name.empty() && name.back() == '^') {
            name.pop_back();
            face_up = true;
        }
        words w;
        const auto number =
            text::read_card(name, deal::max_playing_cards, shown, w.text, sizeof w.text);
        if (!number)
            w.raise();
        return {*number, face_up};
    }
    return {static_cast<deal::card>(bounded_integer(given, "card", 0, deal::max_cards - 1)),
            face_up};
}

// A deck's order as --deck takes it, from the top: each card's text.
std::string order_of(py::handle items) {
    std::string order;
    for (const py::handle item : items) {
        if (!order.empty())
            order += ' ';
        if (py::isinstance<card_value>(item)) {
            const auto& c = item.cast<const card_value&>();
            order += card_text(c.number, c.face_up, false);
        } else if (py::isinstance<py::str>(item)) {
            order += item.cast<std::string>();
        } else {
            order += integer_text(item, "card");
        }
    }
    return order;
}

std::string deck_text(const deck_value& d, bool shown_as_text) {
    const bool named = d.size() <= deal::max_playing_cards;
    std::string text;
    for (int i = 0; i < d.size(); ++i) {
        const deal::card c = d.at(i);
        if (i > 0)
            text += ' ';
        text += card_text(deal::number_of(c), deal::is_face_up(c), named);
    }
    return shown_as_text ? text : "Deck('" + text + "')";
}

} // namespace

deck_value deck_of(py::handle given) {
    std::string order;
    int cards = 0;
    if (py::isinstance<py::str>(given)) {
        order = given.cast<std::string>();
        cards = text::deck_size(order).value_or(deal::max_playing_cards);
    } else if (PyIndex_Check(given.ptr()) && !py::isinstance<py::bool_>(given)) {
        cards = static_cast<int>(bounded_integer(given, "card count", 1, deal::max_cards));
        const deal::start fresh = deal::start::new_deck(cards);
        return {{fresh.cards().begin(), fresh.cards().end()}};
    } else if (py::isinstance<py::iterable>(given)) {
        const py::list items(py::reinterpret_borrow<py::object>(given));
        order = order_of(items);
        cards = static_cast<int>(items.size());
    } else {
        throw py::type_error("a deck is a number of cards, a stack's name or the cards from the "
                             "top, not " +
                             std::string(py::str(py::type::handle_of(given).attr("__name__"))));
    }
    deck_value d;
    words w;
    if (!text::read_deck(order, cards, d.bottom_first, shown, w.text, sizeof w.text))
        w.raise();
    return d;
}

deal::start start_of(py::handle given, int cards) {
    if (given.is_none())
        return deal::start::new_deck(cards);
    deck_value d = py::isinstance<deck_value>(given) ? given.cast<deck_value>() : deck_of(given);
    if (d.size() != cards)
        value_error("the deck holds " + std::to_string(d.size()) +
                    " cards, and the routine deals " + std::to_string(cards));
    return deal::start(std::move(d.bottom_first));
}

int card_number(py::handle given, int cards) {
    if (py::isinstance<card_value>(given)) {
        const int number = given.cast<const card_value&>().number;
        if (number >= cards)
            value_error("card " + std::to_string(number) + " is outside the supported range 0 to " +
                        std::to_string(cards - 1));
        return number;
    }
    const std::string written =
        py::isinstance<py::str>(given) ? given.cast<std::string>() : integer_text(given, "card");
    words w;
    const auto number = text::read_card(written, cards, shown, w.text, sizeof w.text);
    if (!number)
        w.raise();
    return *number;
}

std::string listing(const deck_value& d, bool marks, bool faces) {
    std::string line(std::max(text::faces_room(d.size()), text::marked_listing_room(d.size())),
                     '\0');
    char* end = faces   ? text::format_faces(d.bottom_first.data(), d.size(), line.data(), marks)
                : marks ? text::format_marked_cards(d.bottom_first.data(), d.size(), line.data())
                        : text::format_cards(d.bottom_first.data(), d.size(), line.data());
    line.resize(static_cast<std::size_t>(end - line.data()));
    return line;
}

namespace {

void bind_card(py::module_& m) {
    py::class_<card_value>(m, "Card", R"(A playing card, or a card of a larger deck.

Card(name_or_number, face_up=False): a name as the programs read it ('AS',
'10d', 'Q\u2665', a '^' after it face up) or the card's number, its place in
a new deck counted from the bottom: 0 the ace of spades, 51 the ace of
hearts on top. A card keeps its number wherever a stack puts it; cards are
equal when their numbers and faces are.)")
        .def(py::init([](a_card given, bool face_up) { return card_from(given, face_up); }),
             py::arg("card"), py::arg("face_up") = false)
        .def_property_readonly(
            "number", [](const card_value& c) { return c.number; },
            "The card's place in a new deck, from the bottom: 0 the ace of spades.")
        .def_property_readonly(
            "name",
            [](const card_value& c) -> py::object {
                if (c.number >= deal::max_playing_cards)
                    return py::none();
                return py::str(card_text(c.number, false, true));
            },
            "The card's name on a pack ('A\u2660'), or None past a pack's 52 cards.")
        .def_property_readonly(
            "face_up", [](const card_value& c) { return c.face_up; }, "Whether it lies face up.")
        .def("__eq__",
             [](const card_value& a, py::object b) {
                 if (!py::isinstance<card_value>(b))
                     return false;
                 const auto& c = b.cast<const card_value&>();
                 return a.number == c.number && a.face_up == c.face_up;
             })
        .def("__hash__",
             [](const card_value& c) { return py::hash(py::make_tuple(c.number, c.face_up)); })
        .def("__str__",
             [](const card_value& c) {
                 return card_text(c.number, c.face_up, c.number < deal::max_playing_cards);
             })
        .def("__repr__", [](const card_value& c) {
            const bool named = c.number < deal::max_playing_cards;
            const std::string card =
                named ? "'" + card_text(c.number, false, true) + "'" : std::to_string(c.number);
            return "Card(" + card + (c.face_up ? ", face_up=True)" : ")");
        });
}

card_value card_at(const deck_value& d, py::ssize_t i) {
    if (i < 0)
        i += d.size();
    if (i < 0 || i >= d.size())
        throw py::index_error("deck index out of range");
    const deal::card c = d.at(static_cast<int>(i));
    return {deal::number_of(c), deal::is_face_up(c)};
}

// Where `card` lies in `d`, from the top, or -1.
int find(const deck_value& d, py::handle card) {
    const bool exact = py::isinstance<card_value>(card);
    deal::card wanted = 0;
    if (exact) {
        const auto& c = card.cast<const card_value&>();
        wanted = c.number | (c.face_up ? deal::face_up : 0);
    } else {
        wanted = card_number(card, d.size());
    }
    for (int i = 0; i < d.size(); ++i)
        if ((exact ? d.at(i) : deal::number_of(d.at(i))) == wanted)
            return i;
    return -1;
}

int index_of(const deck_value& d, a_card card) {
    const int i = find(d, card);
    if (i < 0)
        throw py::value_error(std::string(py::repr(card)) + " is not in the deck");
    return i;
}

} // namespace

void bind_decks(py::module_& m) {
    bind_card(m);
    py::class_<deck_value>(m, "Deck", R"(A deck, read from the top as a magician reads it.

Deck(52) is a new deck of 52 cards, face down, the ace of hearts on top;
Deck('si-stebbins') or Deck('eight-kings') a stack; Deck('KS QS JS^') or
Deck(['KS', 'QS', Card('JS', face_up=True)]) the cards from the top, names on
a pack, else the numbers 0 to M-1. A deck is a sequence of Cards: deck[0] is
the top card, len(deck) its size; decks are equal when every card and face
is, and hashable.)")
        .def(py::init([](a_deck given) { return deck_of(given); }), py::arg("cards") = 52)
        .def("__len__", &deck_value::size)
        .def("__getitem__", &card_at)
        .def("__getitem__",
             [](const deck_value& d, const py::slice& s) {
                 py::list cards;
                 std::size_t start = 0, stop = 0, step = 0, length = 0;
                 if (!s.compute(static_cast<std::size_t>(d.size()), &start, &stop, &step, &length))
                     throw py::error_already_set();
                 for (std::size_t k = 0; k < length; ++k, start += step)
                     cards.append(card_at(d, static_cast<py::ssize_t>(start)));
                 return cards;
             })
        .def("__eq__",
             [](const deck_value& a, py::object b) {
                 return py::isinstance<deck_value>(b) &&
                        a.bottom_first == b.cast<const deck_value&>().bottom_first;
             })
        .def("__hash__",
             [](const deck_value& d) { return py::hash(py::tuple(py::cast(d.bottom_first))); })
        .def(
            "numbers",
            [](const deck_value& d) {
                py::list numbers;
                for (int i = 0; i < d.size(); ++i)
                    numbers.append(deal::number_of(d.at(i)));
                return py::tuple(numbers);
            },
            "The cards' numbers from the top: where each started in a new deck.")
        .def(
            "listing",
            [](const deck_value& d, bool faces) {
                bool marks = d.marked;
                for (const deal::card c : d.bottom_first)
                    marks = marks || deal::is_face_up(c);
                if (faces && d.size() > deal::max_playing_cards)
                    value_error("faces name the cards of a pack of 52, and the deck holds " +
                                std::to_string(d.size()));
                return listing(d, marks, faces);
            },
            py::arg("faces") = false,
            "The deck as deal-after lists it: from the bottom, '%2d ' a card, '^' after a card "
            "face up; with faces=True, as deal-after --faces names them.")
        .def("index", &index_of, py::arg("card"),
             "The index of `card` from the top, 0 the top card: a Card where it lies so, face and "
             "all, or a name or number wherever it lies. ValueError where it is not there.")
        .def("__contains__",
             [](const deck_value& d, py::object card) {
                 // As index() finds it; what names no card is in no deck.
                 try {
                     return find(d, card) >= 0;
                 } catch (const py::value_error&) {
                     return false;
                 } catch (const py::type_error&) {
                     return false;
                 }
             })
        .def("__str__", [](const deck_value& d) { return deck_text(d, true); })
        .def("__repr__", [](const deck_value& d) { return deck_text(d, false); });
}

} // namespace python
