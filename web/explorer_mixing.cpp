// How many riffles mix a deck, as a curve the page draws.

#include <emscripten/emscripten.h>
#include <vector>

#include "deal/limits.hpp"
#include "floating/riffle_curve.hpp"
#include "web/answer.hpp"
#include "web/fields.hpp"
#include "web/request.hpp"

extern "C" {

// The total variation distance from a random deck after 0 to "shuffles"
// riffles of a deck of "cards" cards, at most floating::max_curve_cards, in
// floating point, for the curve of the drop (deal-mix prints it exactly).
EMSCRIPTEN_KEEPALIVE web::answer* explorer_mixing(const char* text, int length) {
    const web::request r(text, length);
    auto* a = new web::answer;
    const std::vector<double> curve =
        floating::riffle_distances(web::clamped(r, "cards", 1, floating::max_curve_cards),
                                   web::clamped(r, "shuffles", 1, deal::max_shuffles));
    a->key("distances").floats({curve.begin(), curve.end()});
    return a;
}

} // extern "C"
