// Feeds any bytes through the reader, the round and the listing, and checks
// what must hold for every input:
//  - the reader finds exactly the integers that the C library's "%d" finds
//    in the same bytes, and the same hand count;
//  - a count outside the supported range never reaches the deck;
//  - every listing has 5N fields in the "%2d " form and names every card
//    from 0 to 5N-1 once.
#include <bitset>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <sys/mman.h>
#include <unistd.h>

#include "console/reader.hpp"
#include "filter/deck.hpp"
#include "filter/round.hpp"
#include "text/listing.hpp"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_deal: %s\n", what);
        std::abort();
    }
}

void check_listing(const char* text, const char* end) {
    std::bitset<filter::deck_capacity> seen;
    int fields = 0;
    const char* at = text;
    while (at < end && *at != '\n') {
        int value = 0;
        const char* digits = *at == ' ' ? at + 1 : at; // "%2d" pads one digit with a blank
        const auto [stop, ec] = std::from_chars(digits, end, value);
        check(ec == std::errc{} && stop < end && *stop == ' ', "field is not a number and a blank");
        const auto width = stop - at;
        check(value < 10 ? width == 2
                         : width == (value < 100    ? 2
                                     : value < 1000 ? 3
                                                    : 4),
              "field is not in the %2d form");
        check(value >= 0 && value < filter::deck_size() && !seen[std::size_t(value)],
              "listing is not a permutation");
        seen[std::size_t(value)] = true;
        ++fields;
        at = stop + 1;
    }
    check(at + 1 == end && *at == '\n', "listing does not end in one newline");
    check(fields == filter::deck_size(), "listing does not hold 5N fields");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("fuzz-input", 0);
    static std::optional<console::reader> input;
    static char listing[text::listing_room_max];
    if (size == 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, data, size, 0) != static_cast<ssize_t>(size) || lseek(fd, 0, SEEK_SET) != 0)
        return 0;
    input.emplace(fd);
    FILE* oracle = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    check(oracle != nullptr, "fmemopen failed");

    // Every run of deal starts with N at 0; so does every input here.
    filter::N = 0;
    text::integer_text count;
    const console::read_status status = input->read_integer(count);
    int want = 0;
    const int found = std::fscanf(oracle, "%d", &want);
    check((status == console::read_status::integer) == (found == 1), "count read differs from %d");
    if (status == console::read_status::integer) {
        if (!deal::hand_count_supported(count.value())) {
            std::fclose(oracle);
            return 0; // refused before the deck is touched
        }
        check(count.value() == want, "count value differs from %d");
        filter::N = static_cast<std::int32_t>(count.value());
    }
    filter::set_starting_order();

    for (;;) {
        const bool token = input->skip_integer() == console::read_status::integer;
        int ignored;
        check(token == (std::fscanf(oracle, "%d", &ignored) == 1), "token read differs from %d");
        if (!token)
            break;
        check_listing(listing, text::format_listing(filter::stack, filter::deck_size(), listing));
        filter::simulate_round();
    }
    std::fclose(oracle);
    return 0;
}
