#include "model/expanded_bits.h"

#include <atomic>
#include <bit>

#include <tbb/blocked_range.h>

#include "report/run_threads.h"

namespace vormel {

namespace {

// Blocks of whole words of lines, so that no two blocks write the same word.
tbb::blocked_range<std::size_t> word_blocks(std::size_t words) { return {0, words, 256}; }

}  // namespace

bool ExpandedBits::pack(const ExpandedTable& table) {
    inputs_ = table.nx;
    lines_ = table.rows();
    outputs_ = table.ny;
    words_ = (static_cast<std::size_t>(lines_) + 63) / 64;
    bits_.assign(2 * static_cast<std::size_t>(outputs_) * words_, 0);
    std::atomic<bool> other{false};
    threads::for_each_range(word_blocks(words_), [&](const tbb::blocked_range<std::size_t>& range) {
        const auto ny = static_cast<std::size_t>(outputs_);
        std::vector<std::uint64_t> word(2 * ny);
        for (std::size_t w = range.begin(); w < range.end(); ++w) {
            std::fill(word.begin(), word.end(), 0);
            const int first = static_cast<int>(w * 64);
            const int end = std::min(lines_, first + 64);
            for (int r = first; r < end; ++r) {
                const std::uint8_t* y = table.y(r);
                const std::uint64_t bit = std::uint64_t{1} << (r - first);
                for (std::size_t j = 0; j < ny; ++j) {
                    if (y[j] <= kOne) word[2 * j + y[j]] |= bit;
                    else if (y[j] != kDash) other = true;
                }
            }
            for (std::size_t k = 0; k < 2 * ny; ++k) bits_[k * words_ + w] = word[k];
        }
    });
    if (other) bits_ = std::vector<std::uint64_t>();
    return !other;
}

void ExpandedBits::unpack(ExpandedTable& table) const {
    table.create(inputs_, outputs_, kDash);
    threads::for_each_range(word_blocks(words_), [&](const tbb::blocked_range<std::size_t>& range) {
        for (int j = 0; j < outputs_; ++j) {
            for (int v = 0; v <= 1; ++v) {
                const auto set = lines_of(j, v);
                for (std::size_t w = range.begin(); w < range.end(); ++w) {
                    for (std::uint64_t word = set[w]; word != 0; word &= word - 1) {
                        table.y(static_cast<int>(w * 64) + std::countr_zero(word))[j] = static_cast<std::uint8_t>(v);
                    }
                }
            }
        }
    });
}

std::int64_t ExpandedBits::count(int j, int v) const {
    std::int64_t total = 0;
    for (std::uint64_t word : lines_of(j, v)) total += std::popcount(word);
    return total;
}

}  // namespace vormel
