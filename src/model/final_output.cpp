#include "model/final_output.h"

#include <algorithm>
#include <array>
#include <atomic>

namespace vormel {

namespace {

std::uint64_t next_id() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

}  // namespace

FinalOutput::FinalOutput(int inputs, const TermTable& terms, std::vector<std::uint8_t> uncovered)
    : nx(inputs), ny(static_cast<int>(uncovered.size())), uncovered_(std::move(uncovered)), id_(next_id()) {
    last = static_cast<int>((1u << inputs) - 1);
    for (int i = 0; i <= terms.last; ++i) {
        Term term;
        term.fed_begin = static_cast<int>(fed_outputs_.size());
        const std::uint8_t* outputs = terms.y(i);
        for (int j = 0; j < ny; ++j) {
            if (outputs[j] == kDash) continue;
            fed_outputs_.push_back(j);
            fed_values_.push_back(outputs[j]);
        }
        term.fed_end = static_cast<int>(fed_outputs_.size());
        if (term.fed_end == term.fed_begin) continue;
        // Input 0 is the most significant bit of the row number.
        const std::uint8_t* cube = terms.x(i);
        for (int k = 0; k < nx; ++k) {
            const std::uint32_t bit = std::uint32_t{1} << (nx - 1 - k);
            if (cube[k] == kOne) term.base |= bit;
            else if (cube[k] == kDash) term.free |= bit;
        }
        terms_.push_back(term);
    }
}

void FinalOutput::fill_rows(int first, int last_row, std::uint8_t* into) const {
    if (last_row < first) return;
    const auto width = static_cast<std::size_t>(ny);
    for (int r = first; r <= last_row; ++r) {
        std::copy(uncovered_.begin(), uncovered_.end(), into + static_cast<std::size_t>(r - first) * width);
    }
    // Within an aligned block only the term's low inputs vary: a term whose other inputs do not
    // match the block's is skipped, the others visit their points in the block once each.
    constexpr std::uint32_t kLow = kBlockRows - 1;
    for (int block = first & ~static_cast<int>(kLow); block <= last_row; block += kBlockRows) {
        for (const Term& term : terms_) {
            if (((static_cast<std::uint32_t>(block) ^ term.base) & ~kLow & ~term.free) != 0) continue;
            const std::uint32_t free = term.free & kLow;
            const std::uint32_t base = term.base & kLow;
            std::uint32_t subset = 0;
            do {
                const int r = block + static_cast<int>(base | subset);
                if (r >= first && r <= last_row) {
                    std::uint8_t* y = into + static_cast<std::size_t>(r - first) * width;
                    for (int k = term.fed_begin; k < term.fed_end; ++k) y[fed_outputs_[k]] = fed_values_[k];
                }
                subset = (subset - free) & free;
            } while (subset != 0);
        }
    }
}

const std::uint8_t* FinalOutput::y(int row) const {
    struct Slot {
        std::uint64_t id = 0;
        int block = -1;
        std::vector<std::uint8_t> rows;
    };
    // A few tables read side by side on one thread each keep their own block.
    thread_local std::array<Slot, 4> slots;
    thread_local unsigned replace = 0;
    Slot* slot = nullptr;
    for (Slot& s : slots) {
        if (s.id == id_) {
            slot = &s;
            break;
        }
    }
    if (slot == nullptr) {
        slot = &slots[replace++ % slots.size()];
        slot->id = id_;
        slot->block = -1;
    }
    const int block = row >> kBlockBits;
    if (slot->block != block) {
        const int first = block << kBlockBits;
        const int end = std::min(last, first + kBlockRows - 1);
        slot->rows.resize(static_cast<std::size_t>(end - first + 1) * static_cast<std::size_t>(ny));
        fill_rows(first, end, slot->rows.data());
        slot->block = block;
    }
    return slot->rows.data() + static_cast<std::size_t>(row & (kBlockRows - 1)) * static_cast<std::size_t>(ny);
}

ExpandedTable FinalOutput::to_table() const {
    ExpandedTable table;
    if (last < 0) return table;
    table.create(nx, ny, kZero);
    fill_rows(0, last, table.ys.data());
    return table;
}

}  // namespace vormel
