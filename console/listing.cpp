#include "console/listing.hpp"

#include "console/writer.hpp"
#include "text/listing.hpp"

namespace console {

// The listing of the largest deck goes into the writer's buffer in one piece.
static_assert(text::listing_room_max <= writer::capacity);

void print_listing(const deal::card* cards, int count) {
    char* out = output.reserve(text::listing_room(count));
    output.end_line(text::format_listing(cards, count, out));
}

} // namespace console
