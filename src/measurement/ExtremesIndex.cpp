#include "measurement/ExtremesIndex.h"

#include <cmath>

namespace {

// Which of two positions holds the lower (or higher) value; a value that is
// not a number loses, the earlier position wins a tie.
std::uint32_t Lower(const std::vector<float>& values, std::uint32_t a, std::uint32_t b) {
    if (std::isnan(values[a]))
        return b;
    return values[b] < values[a] ? b : a;
}

std::uint32_t Higher(const std::vector<float>& values, std::uint32_t a, std::uint32_t b) {
    if (std::isnan(values[a]))
        return b;
    return values[b] > values[a] ? b : a;
}

} // namespace

void ExtremesIndex::Update(const std::vector<float>& values) {
    if (levels_.empty())
        levels_.emplace_back();
    // Finished blocks of single values.
    std::vector<Extremes>& first = levels_[0];
    for (std::size_t block = first.size(); (block + 1) * Block <= values.size(); ++block) {
        auto at = static_cast<std::uint32_t>(block * Block);
        Extremes extremes{at, at};
        for (std::size_t i = block * Block + 1; i < (block + 1) * Block; ++i) {
            extremes.low = Lower(values, extremes.low, static_cast<std::uint32_t>(i));
            extremes.high = Higher(values, extremes.high, static_cast<std::uint32_t>(i));
        }
        first.push_back(extremes);
    }
    // Each level above: a block for every two finished blocks below.
    for (std::size_t level = 1; levels_[level - 1].size() >= 2; ++level) {
        if (levels_.size() == level)
            levels_.emplace_back();
        const std::vector<Extremes>& below = levels_[level - 1];
        std::vector<Extremes>& blocks = levels_[level];
        for (std::size_t block = blocks.size(); 2 * block + 1 < below.size(); ++block) {
            const Extremes& left = below[2 * block];
            const Extremes& right = below[2 * block + 1];
            blocks.push_back(Extremes{Lower(values, left.low, right.low),
                                      Higher(values, left.high, right.high)});
        }
    }
}

void ExtremesIndex::Clear() {
    levels_.clear();
}

std::pair<std::size_t, std::size_t> ExtremesIndex::Find(const std::vector<float>& values,
                                                        std::size_t begin, std::size_t end) const {
    auto low = static_cast<std::uint32_t>(begin);
    auto high = low;
    std::size_t i = begin;
    while (i < end) {
        // The largest finished block that starts at i and ends within the range.
        std::size_t level = 0;
        std::size_t size = Block;
        if (i % Block != 0 || i + Block > end || levels_.empty() ||
            i / Block >= levels_[0].size()) {
            const auto at = static_cast<std::uint32_t>(i);
            low = Lower(values, low, at);
            high = Higher(values, high, at);
            ++i;
            continue;
        }
        while (level + 1 < levels_.size() && i % (2 * size) == 0 && i + 2 * size <= end &&
               i / (2 * size) < levels_[level + 1].size()) {
            ++level;
            size *= 2;
        }
        const Extremes& block = levels_[level][i / size];
        low = Lower(values, low, block.low);
        high = Higher(values, high, block.high);
        i += size;
    }
    return {low, high};
}

std::size_t ExtremesIndex::HeapBytes() const {
    std::size_t bytes = levels_.capacity() * sizeof(std::vector<Extremes>);
    for (const std::vector<Extremes>& level : levels_)
        bytes += level.capacity() * sizeof(Extremes);
    return bytes;
}
