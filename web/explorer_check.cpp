// The fields checked, as the page checks what is typed before it shows it.

#include <emscripten/emscripten.h>

#include "text/deal_words.hpp"
#include "web/answer.hpp"
#include "web/fields.hpp"
#include "web/request.hpp"

extern "C" {

// The first fault of the deal's fields; of the round, where the request gives
// it, with the card followed by where it starts ("followed"); and of a card
// typed ("card"), or a list of them separated by commas ("card-list"), with
// where each starts ("followed").
EMSCRIPTEN_KEEPALIVE web::answer* explorer_check(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    web::fields f;
    if (!web::read_into(r, f, *a))
        return a;
    if (r.has("round")) {
        if (f.chance) {
            char words[text::words_room];
            const auto round = web::chance_round(r, words, sizeof words);
            a->key("round").string(round ? "" : words);
        } else {
            const int followed = web::position_in(r["followed"], f.size);
            a->key("round").string(web::read_round(r["round"], f.round, followed).fault);
        }
    }
    for (const char* field : {"card", "card-list"}) {
        if (!r.has(field))
            continue;
        std::string fault;
        auto followed =
            web::read_followed(r[field], std::string_view(field) == "card-list", f, fault);
        a->key(field).string(fault);
        a->key("followed").ints(followed ? std::move(*followed) : std::vector<std::int32_t>{});
    }
    return a;
}

} // extern "C"
