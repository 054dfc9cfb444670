// A space of flips: sets of pairs that a group turns over (or, for a deck,
// sets of cards turned) with nothing else moved, which compose by symmetric
// difference. Kept as rows in echelon form over the field of two elements,
// a bit a pair, each row with its own lowest bit, so that a set is in the
// space where eliminating with the rows leaves nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace group {

class flip_space {
public:
    using row = std::vector<std::uint64_t>;

    // The space {0} of sets of `pairs` pairs.
    explicit flip_space(int pairs);

    // Adds a set; false where it was in the space already.
    bool add(row v);
    bool holds(row v) const;
    int dimension() const { return static_cast<int>(rows_.size()); }
    // The row the last add() that returned true made; every row.
    const row& last() const { return rows_.back(); }
    const std::vector<row>& rows() const { return rows_; }

private:
    // Eliminates with the rows: the lowest bit left, or -1 for none.
    int reduce(row& v) const;

    std::vector<int> row_at_; // the row whose lowest bit each pair is, or -1
    std::vector<row> rows_;
};

} // namespace group
