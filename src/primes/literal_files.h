#pragma once
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vormel {

// Marks a deleted entry of the live consensus cubes: bit 31 lies outside every cube, so a marked
// entry neither contains nor is contained in anything.
inline constexpr std::uint32_t kDeadBit = 0x80000000u;

// The live consensus cubes of a level filed under one of their literals. Every new consensus row
// asks whether a live cube contains it; on wide dense sets one scan over all live cubes for every
// new one was most of the prime generation. A cube that contains another has all its literals
// among the other's, so only the files of the new row's literals need a scan. Entries are numbered
// as in the live list; the files are only worth keeping for long lists.
class LiteralFiles {
public:
    static constexpr std::size_t kWorthFrom = 4096;

    bool active() const { return active_; }
    // Levels are entered millions of times; most never file.
    void reset() {
        if (active_) drop();
    }
    // Files entries 0 .. count - 1; marked ones keep their numbers but are left out.
    void build(const std::uint32_t* care, const std::uint32_t* value, std::size_t count);
    // Files the next entry.
    void add(std::uint32_t care, std::uint32_t value);
    void kill(std::size_t k);

    // Whether a filed cube contains (care, value) with fewer literals; `scan` answers that for one
    // array of cubes, as for the whole list.
    template <typename Scan>
    bool strictly_contains(std::uint32_t care, std::uint32_t value, Scan scan) const {
        const auto in_file = [&](int f) {
            return scan(files_->care[f].data(), files_->value[f].data(), files_->care[f].size(), care, value);
        };
        if (in_file(kFreeFile)) return true;
        for (std::uint32_t rest = care; rest != 0; rest &= rest - 1) {
            const int bit = std::countr_zero(rest);
            if (in_file(2 * bit + static_cast<int>((value >> bit) & 1u))) return true;
        }
        return false;
    }

private:
    // Two files per variable (its 0 and its 1 literal) and one for the cube without literals.
    static constexpr int kFiles = 65;
    static constexpr int kFreeFile = 64;

    void drop();

    // Apart, so that the levels that never file keep their lists small.
    struct Files {
        std::array<std::vector<std::uint32_t>, kFiles> care;
        std::array<std::vector<std::uint32_t>, kFiles> value;
        std::vector<std::uint8_t> file_of;  // per entry: its file and its place there
        std::vector<int> slot_of;
    };
    bool active_ = false;
    std::unique_ptr<Files> files_;
};

}  // namespace vormel
