#include "web/request.hpp"

#include <charconv>

namespace web {

request::request(std::string_view encoded) {
    while (!encoded.empty()) {
        const std::size_t equals = encoded.find('=');
        const std::size_t colon = encoded.find(':', equals);
        if (equals == std::string_view::npos || colon == std::string_view::npos)
            return;
        std::size_t length = 0;
        const auto [end, error] =
            std::from_chars(encoded.data() + equals + 1, encoded.data() + colon, length);
        if (error != std::errc{} || end != encoded.data() + colon ||
            length > encoded.size() - colon - 1)
            return;
        fields_.emplace_back(encoded.substr(0, equals), encoded.substr(colon + 1, length));
        encoded.remove_prefix(colon + 1 + length);
    }
}

request::request(const char* text, int length)
    : request(std::string_view(text, static_cast<std::size_t>(length > 0 ? length : 0))) {}

std::string_view request::operator[](std::string_view name) const {
    for (const auto& [key, value] : fields_)
        if (key == name)
            return value;
    return {};
}

bool request::has(std::string_view name) const {
    for (const auto& field : fields_)
        if (field.first == name)
            return true;
    return false;
}

} // namespace web
