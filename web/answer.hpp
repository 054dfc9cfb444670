// What the page gets back from the core: a JSON text, and the arrays of
// numbers it names by their kind, where they lie in the module's memory and
// how long they are, {"type": "i32", "at": 1234, "length": 52}. The answer owns them all until the
// page frees it, so that every call of the page's interface is a function of its arguments alone.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace web {

class answer {
public:
    answer() { text_ += '{'; }
    // An answer may carry more, for the page to hand back in a later call.
    virtual ~answer() = default;
    answer(const answer&) = delete;
    answer& operator=(const answer&) = delete;

    // Writes "name": before the value that follows; in an object only.
    answer& key(std::string_view name);
    answer& string(std::string_view value);
    // The text from `from` up to `to`, as the text writers return its end.
    answer& string(const char* from, const char* to);
    answer& integer(std::int64_t value);
    answer& boolean(bool value);
    answer& null();
    answer& open_object();
    answer& close_object();
    answer& open_array();
    answer& close_array();
    // An array of numbers kept with the answer, named by its place.
    answer& ints(std::vector<std::int32_t> values);
    answer& ints(std::span<const std::int16_t> values);
    answer& floats(std::vector<float> values);
    answer& pixels(std::vector<std::uint32_t> values);
    // Room for `count` numbers, named here and filled by the caller: rows of
    // a deck, or lines of pixels, which the caller writes whole, so that
    // nothing is cleared first.
    std::span<std::int32_t> ints_room(std::size_t count);
    std::span<std::uint32_t> pixels_room(std::size_t count);
    // A long text kept as it is, UTF-8, for the page to decode: a listing
    // or a deal's hands, which JSON would only have to escape.
    answer& utf8(std::string text);

    // The text, once the outermost object is closed.
    const char* text();

private:
    void before_value();
    // {"type": "i32", "at": 1234, "length": 52}: an array's kind of number,
    // its place and its length.
    answer& place(const char* type, const void* at, std::size_t length);

    std::string text_;
    // Whether a value has been written at each depth, for the commas.
    std::vector<char> written_{false};
    bool after_key_ = false;
    bool closed_ = false;
    std::vector<std::vector<std::int32_t>> ints_;
    std::vector<std::vector<float>> floats_;
    std::vector<std::vector<std::uint32_t>> pixels_;
    std::vector<std::string> texts_;
    std::vector<std::unique_ptr<std::int32_t[]>> int_rooms_;
    std::vector<std::unique_ptr<std::uint32_t[]>> pixel_rooms_;
};

} // namespace web
