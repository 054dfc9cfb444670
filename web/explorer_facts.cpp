// What the page lays itself out by and names things with, all from here:
// every fact of the one table that the programs' help and manual pages
// state, by its name there; the names of the choices and of the moves, and
// the followed cards' colors.

#include <cstdint>
#include <emscripten/emscripten.h>
#include <vector>

#include "colors/colormap.hpp"
#include "deal/routine.hpp"
#include "facts/facts.hpp"
#include "text/deal_words.hpp"
#include "text/routine_words.hpp"
#include "web/answer.hpp"
#include "web/cells.hpp"

namespace {

// Each fact by its name: a number, or a list as the help writes it ("2,2,1").
void write_table(web::answer& a) {
    a.key("table").open_object();
    for (const facts::fact& f : facts::table()) {
        a.key(f.name);
        if (f.list_length == 0) {
            a.integer(f.number);
        } else {
            char value[facts::value_room];
            a.string(facts::value_text(f, value));
        }
    }
    a.close_object();
}

void write_choices(web::answer& a) {
    a.key("choices").open_array();
    for (const text::choice* c :
         {&text::rest_choice, &text::first_card_choice, &text::bottom_hand_choice}) {
        a.open_array();
        for (const char* name : c->names)
            a.string(name);
        a.close_array();
    }
    a.close_array();
}

void write_moves(web::answer& a) {
    a.key("moves").open_array();
    for (const text::move_words& m : text::moves()) {
        a.open_object();
        a.key("name").string(m.name);
        a.key("example").string(m.example);
        a.key("help").string(m.help);
        a.key("chance").boolean(deal::by_chance(m.kind));
        a.close_object();
    }
    a.close_array();
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE web::answer* explorer_facts() {
    auto* a = new web::answer;
    write_table(*a);
    write_choices(*a);
    write_moves(*a);
    std::vector<std::uint32_t> followed;
    for (int i = 0; i < colors::followed_colors; ++i)
        followed.push_back(web::rgba(colors::followed_color(i)));
    a->key("followedColors").pixels(std::move(followed));
    return a;
}

} // extern "C"
