#include "console/decks.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "console/deal_options.hpp"
#include "console/quote.hpp"
#include "console/report.hpp"
#include "text/deal_words.hpp"
#include "text/deck_words.hpp"
#include "text/move_words.hpp"

namespace console {

namespace {

// The whole of a deck's file, its comments left out, into `text`; false
// after a report.
bool read_deck_file(const char* path, std::string& text) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    std::string file;
    // A stack is a few hundred bytes; a file far larger is no deck.
    constexpr std::size_t most = std::size_t{1} << 20;
    while (fd >= 0 && error == 0) {
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        file.append(buffer, static_cast<std::size_t>(n));
        if (file.size() > most) {
            report("the deck file %s holds more than %zu bytes: no deck is so long",
                   quoted(path, quoted::shown_most).c_str(), most);
            close(fd);
            return false;
        }
    }
    if (fd >= 0)
        close(fd);
    if (error != 0) {
        report("cannot read the deck file %s: %s", quoted(path, quoted::shown_most).c_str(),
               std::strerror(error));
        return false;
    }
    std::vector<char> room;
    text = text::without_comments(file, room);
    if (text.find_first_not_of(" \t\n\r\v\f,") == std::string::npos) {
        report("the deck file %s holds no card: write the cards from the top, such as 'KS QS JS'",
               quoted(path, quoted::shown_most).c_str());
        return false;
    }
    return true;
}

} // namespace

std::string stacks_folder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data && data[0] == '/') {
        folder = data;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] == '\0') {
            const passwd* user = getpwuid(getuid());
            home = user ? user->pw_dir : "";
        }
        folder = std::string(home) + "/.local/share";
    }
    return folder + "/deal/stacks";
}

std::optional<std::string> deck_order(const char* order, const char* file) {
    if (order && file) {
        report("--deck and --deck-file both give the deck: give one");
        return std::nullopt;
    }
    std::string text;
    if (order && text::may_name_own_stack(order)) {
        const std::string folder = stacks_folder();
        const std::string path = folder + "/" + std::string(text::trimmed(order));
        struct stat found;
        if (stat(path.c_str(), &found) != 0) {
            report("%s is no stack and no card: give new, si-stebbins, eight-kings, a stack "
                   "saved in %s, or the cards from the top, such as 'KS QS JS'",
                   quoted(order).c_str(), quoted(folder, quoted::shown_most).c_str());
            return std::nullopt;
        }
        if (!read_deck_file(path.c_str(), text))
            return std::nullopt;
    } else if (order) {
        text = order;
    } else if (file && !read_deck_file(file, text)) {
        return std::nullopt;
    }
    return text;
}

std::string deck_name(const char* order, const char* file) {
    if (order)
        return std::string(text::trimmed(order));
    if (!file)
        return "";
    const char* slash = std::strrchr(file, '/');
    return slash ? slash + 1 : file;
}

std::optional<deal::start> start_of(const std::string& order, int cards) {
    char words[text::words_room];
    auto start = text::read_start(order, cards, shown_quoted, words, sizeof words);
    if (!start)
        report("%s", words);
    return start;
}

} // namespace console
