#include "primes/literal_files.h"

#include <bit>
#include <limits>

namespace vormel {

namespace {

constexpr std::uint8_t kNotFiled = 255;

}  // namespace

void LiteralFiles::drop() {
    active_ = false;
    for (auto& f : files_->care) f.clear();
    for (auto& f : files_->value) f.clear();
    files_->file_of.clear();
    files_->slot_of.clear();
}

void LiteralFiles::build(const std::uint32_t* care, const std::uint32_t* value, std::size_t count) {
    if (!files_) files_ = std::make_unique<Files>();
    if (active_) drop();
    active_ = true;
    for (std::size_t k = 0; k < count; ++k) add(care[k], value[k]);
}

void LiteralFiles::add(std::uint32_t care, std::uint32_t value) {
    Files& f = *files_;
    if (care == kDeadBit) {
        f.file_of.push_back(kNotFiled);
        f.slot_of.push_back(-1);
        return;
    }
    // Under its literal with the shortest file, which keeps the files even.
    int chosen = kFreeFile;
    std::size_t shortest = std::numeric_limits<std::size_t>::max();
    for (std::uint32_t rest = care; rest != 0; rest &= rest - 1) {
        const int bit = std::countr_zero(rest);
        const int file = 2 * bit + static_cast<int>((value >> bit) & 1u);
        if (f.care[file].size() < shortest) {
            shortest = f.care[file].size();
            chosen = file;
        }
    }
    f.file_of.push_back(static_cast<std::uint8_t>(chosen));
    f.slot_of.push_back(static_cast<int>(f.care[chosen].size()));
    f.care[chosen].push_back(care);
    f.value[chosen].push_back(value);
}

void LiteralFiles::kill(std::size_t k) {
    Files& f = *files_;
    if (f.file_of[k] == kNotFiled) return;
    const auto slot = static_cast<std::size_t>(f.slot_of[k]);
    f.care[f.file_of[k]][slot] = kDeadBit;
    f.value[f.file_of[k]][slot] = kDeadBit;
    f.file_of[k] = kNotFiled;
}

}  // namespace vormel
