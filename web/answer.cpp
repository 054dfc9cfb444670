#include "web/answer.hpp"

#include <cstdio>

namespace web {

void answer::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (written_.back())
        text_ += ',';
    written_.back() = true;
}

answer& answer::key(std::string_view name) {
    string(name);
    text_ += ':';
    after_key_ = true;
    return *this;
}

answer& answer::string(std::string_view value) {
    before_value();
    text_ += '"';
    // Runs that need no escape go in whole: a listing is a long one.
    const auto plain = [](char c) {
        return c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20;
    };
    while (!value.empty()) {
        std::size_t run = 0;
        while (run < value.size() && plain(value[run]))
            ++run;
        text_.append(value.substr(0, run));
        value.remove_prefix(run);
        if (value.empty())
            break;
        const char c = value.front();
        value.remove_prefix(1);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (c == '\n') {
            text_ += "\\n";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            text_ += escaped;
        }
    }
    text_ += '"';
    return *this;
}

answer& answer::string(const char* from, const char* to) {
    return string(std::string_view(from, static_cast<std::size_t>(to - from)));
}

answer& answer::integer(std::int64_t value) {
    before_value();
    char digits[24];
    std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
    text_ += digits;
    return *this;
}

answer& answer::boolean(bool value) {
    before_value();
    text_ += value ? "true" : "false";
    return *this;
}

answer& answer::null() {
    before_value();
    text_ += "null";
    return *this;
}

answer& answer::open_object() {
    before_value();
    text_ += '{';
    written_.push_back(false);
    return *this;
}

answer& answer::close_object() {
    text_ += '}';
    written_.pop_back();
    return *this;
}

answer& answer::open_array() {
    before_value();
    text_ += '[';
    written_.push_back(false);
    return *this;
}

answer& answer::close_array() {
    text_ += ']';
    written_.pop_back();
    return *this;
}

answer& answer::place(const char* type, const void* at, std::size_t length) {
    open_object();
    key("type").string(type);
    key("at").integer(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(at)));
    key("length").integer(static_cast<std::int64_t>(length));
    return close_object();
}

answer& answer::ints(std::vector<std::int32_t> values) {
    ints_.push_back(std::move(values));
    return place("i32", ints_.back().data(), ints_.back().size());
}

answer& answer::ints(std::span<const std::int16_t> values) {
    return ints(std::vector<std::int32_t>(values.begin(), values.end()));
}

answer& answer::floats(std::vector<float> values) {
    floats_.push_back(std::move(values));
    return place("f32", floats_.back().data(), floats_.back().size());
}

answer& answer::pixels(std::vector<std::uint32_t> values) {
    pixels_.push_back(std::move(values));
    return place("u32", pixels_.back().data(), pixels_.back().size());
}

std::span<std::int32_t> answer::ints_room(std::size_t count) {
    // Left uninitialised: new T[n], as the WebAssembly build's libc++ lacks
    // make_unique_for_overwrite.
    int_rooms_.emplace_back(new std::int32_t[count]);
    place("i32", int_rooms_.back().get(), count);
    return {int_rooms_.back().get(), count};
}

std::span<std::uint32_t> answer::pixels_room(std::size_t count) {
    pixel_rooms_.emplace_back(new std::uint32_t[count]);
    place("u32", pixel_rooms_.back().get(), count);
    return {pixel_rooms_.back().get(), count};
}

answer& answer::utf8(std::string text) {
    texts_.push_back(std::move(text));
    return place("utf8", texts_.back().data(), texts_.back().size());
}

const char* answer::text() {
    if (!closed_) {
        text_ += '}';
        closed_ = true;
    }
    return text_.c_str();
}

} // namespace web
