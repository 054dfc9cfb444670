// What the page asks the core, as one text: each field as its name, '=', the
// length of its value in bytes, ':' and the value itself, one after another,
// so that a value may hold any byte. The page writes every field it shows
// into each request; a field it leaves out is empty.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace web {

class request {
public:
    explicit request(std::string_view encoded);
    // The request of `length` bytes at `text`, as a call of the page hands it.
    request(const char* text, int length);

    // The value of field `name`, or "" where it was not given.
    std::string_view operator[](std::string_view name) const;
    bool has(std::string_view name) const;

private:
    std::vector<std::pair<std::string_view, std::string_view>> fields_;
};

} // namespace web
