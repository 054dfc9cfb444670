// What the programs write about their arguments: quoted safely, ranges
// measured exactly whatever their ends' lengths, packet lists read whole.
#include <gtest/gtest.h>
#include <string>

#include "console/quote.hpp"
#include "console/ranges.hpp"
#include "deal/description.hpp"
#include "text/deal_words.hpp"

namespace {

TEST(Quoted, NothingATerminalWouldActOn) {
    const struct {
        std::string argument, shown;
    } table[] = {
        {"12x", "'12x'"},
        {"", "''"},
        {"a\nb", "'a\\nb'"},
        {"\x1b[31mred", "'\\x1b[31mred'"},
        {"tab\there\r", "'tab\\there\\r'"},
        {"it's \\", "'it\\'s \\\\'"},
        {"\x7f", "'\\x7f'"},
        {"caf\xc3\xa9", "'caf\xc3\xa9'"}, // UTF-8 stays
        {"\xc2\x9b"
         "2J",
         "'\\xc2\\x9b2J'"},                    // a C1 control does not
        {"\xff\xc3", "'\\xff\\xc3'"},          // nor do broken sequences
        {"\xe0\x80\xaf", "'\\xe0\\x80\\xaf'"}, // nor overlong ones
        {std::string(45, '7'), "'" + std::string(40, '7') + "...'"},
        {std::string(39, '7') + "\xc3\xa9", "'" + std::string(39, '7') + "\\xc3...'"},
    };
    for (const auto& [argument, shown] : table)
        EXPECT_EQ(console::quoted(argument).c_str(), shown);
}

TEST(Ranges, DifferenceOfIntegersOfAnyLength) {
    constexpr std::int64_t huge = std::int64_t{1} << 62;
    const std::string e40 = "1" + std::string(40, '0');
    const struct {
        std::string b, a;
        std::int64_t want;
    } table[] = {
        {"27", "0", 27},
        {"3", "5", -2},
        {"-3", "-5", 2},
        {"5", "-5", 10},
        {"-5", "5", -10},
        {"+0007", "-0", 7},
        {e40 + "5", e40 + "0", 5},
        {e40 + "0", e40 + "5", -5},
        {"-" + e40 + "000000", "-" + e40 + "999999", 999999},
        {e40, "0", huge},
        {"0", e40, -huge},
        {e40, "-1", huge},
        {"999999999999999999", "-999999999999999999", 1999999999999999998},
    };
    for (const auto& [b, a, want] : table)
        EXPECT_EQ(console::difference(b, a), want) << b << " - " << a;
}

TEST(Packets, ReadWholeOrNotAtAll) {
    using text::packets_reading;
    const struct {
        const char* list;
        packets_reading::fault_kind fault;
        std::vector<std::int32_t> packets; // as read, or as they were
    } table[] = {
        {"1", packets_reading::none, {1}},
        {"3,2", packets_reading::none, {3, 2}},
        {"007,5050", packets_reading::none, {7, 5050}},
        {"", packets_reading::syntax, {2, 2, 1}},
        {"2,,1", packets_reading::syntax, {2, 2, 1}},
        {"2,", packets_reading::syntax, {2, 2, 1}},
        {",2", packets_reading::syntax, {2, 2, 1}},
        {"x", packets_reading::syntax, {2, 2, 1}},
        {"2,-1", packets_reading::syntax, {2, 2, 1}},
        {"2 1", packets_reading::syntax, {2, 2, 1}},
        {"0", packets_reading::out_of_range, {2, 2, 1}},
        {"1,5051", packets_reading::out_of_range, {2, 2, 1}},
        {"99999999999999999999999", packets_reading::out_of_range, {2, 2, 1}},
    };
    for (const auto& [list, fault, packets] : table) {
        deal::description d;
        EXPECT_EQ(text::read_packets(list, d).fault, fault) << list;
        EXPECT_EQ(std::vector<std::int32_t>(d.packets().begin(), d.packets().end()), packets)
            << list;
    }
    std::string many = "1";
    for (int i = 1; i <= deal::max_packets; ++i)
        many += ",1";
    deal::description d;
    EXPECT_EQ(text::read_packets(many, d).fault, packets_reading::too_many);
}

} // namespace
