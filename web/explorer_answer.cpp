// Every answer the core gives the page is read by its text and freed by the
// page: the one pair of calls that every other call's answer goes through.

#include <emscripten/emscripten.h>

#include "web/answer.hpp"

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* explorer_answer_text(web::answer* a) {
    return a->text();
}

EMSCRIPTEN_KEEPALIVE void explorer_free(web::answer* a) {
    delete a;
}

} // extern "C"
