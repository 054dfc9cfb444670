// A number of rounds of any length, kept modulo the period as its digits
// arrive, so that a count of a million digits costs one pass over them and a
// few bytes of memory. It takes its text as the reader gives it: sign(c),
// then digits(from, to) a run at a time.
#pragma once

#include <cstdint>
#include <string_view>

#include "deal/period.hpp"

namespace deal {

class rounds_modulo {
public:
    // `period` must be at least 1 and below 2^124, as every deck's is.
    explicit rounds_modulo(round_count period);

    void sign(char c) { negative_ = c == '-'; }
    void digits(const char* from, const char* to);

    // Takes, in place of any count read, the whole of `integer`: an optional
    // sign and then digits, as a command line or a page gives a round number.
    void assign(std::string_view integer);

    // The count read, reduced to 0 <= rounds < period; a negative count runs
    // the deal backwards, which is as far forwards as the period less it.
    round_count rounds() const {
        return negative_ && residue_ != 0 ? period_ - residue_ : residue_;
    }

    // Forgets the count read, ready for the next one.
    void clear() {
        residue_ = 0;
        negative_ = false;
    }

private:
    round_count period_;
    round_count residue_ = 0;
    bool negative_ = false;
    // Digits taken per step: as many as the residue, scaled by ten to their
    // number, has room for in 128 bits; 19 at most, so that a step's digits
    // fit in 64 bits.
    int step_ = 1;
};

} // namespace deal
