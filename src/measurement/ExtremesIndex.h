#pragma once

// Where the lowest and the highest value of any stretch of a long series
// are, found without reading the stretch: blocks of Block values, then of
// 2 Block, 4 Block, ... values remember the positions of their extremes.
// A look-up reads at most about 2 Block values and two blocks a level, so
// a chart of a week of records finds its extremes per pixel column in the
// same time as one of a minute. The index costs about 8 / Block bytes a
// value and grows with the series, one finished block at a time.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class ExtremesIndex {
public:
    static constexpr std::size_t Block = 16;

    // Takes in the values that values gained since the last call (values
    // only ever grow at their end; Clear() starts again).
    void Update(const std::vector<float>& values);
    void Clear();

    // Positions of the lowest and of the highest value in [begin, end) of
    // values (the same values Update saw); the earliest one on a tie. The
    // range must hold numbers only and must not be empty.
    std::pair<std::size_t, std::size_t> Find(const std::vector<float>& values, std::size_t begin,
                                             std::size_t end) const;

    std::size_t HeapBytes() const;

private:
    struct Extremes {
        std::uint32_t low;
        std::uint32_t high;
    };
    // levels_[k][j]: the extremes of values [j, j + 1) * (Block << k).
    std::vector<std::vector<Extremes>> levels_;
};
