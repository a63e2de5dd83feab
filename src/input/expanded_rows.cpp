#include "input/expanded_rows.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vormel {

template <typename Table>
void format_expanded_rows(const Table& table, const ExpandedTable* expected, const ExpandedRowLayout& layout, int first,
                          int last, ExpandedRowText& out) {
    out.text.clear();
    out.lines = 0;
    out.runs.clear();
    out.blue = 0;
    out.failed = false;
    if (last < first) return;
    std::array<char, 256> chars;
    chars.fill(layout.dash);
    chars[kZero] = '0';
    chars[kOne] = '1';
    const int nx = table.nx;
    const int ny = table.ny;
    const std::size_t longest = static_cast<std::size_t>(std::max(layout.number_width, 10) + layout.gap + nx + 2 + ny + 2);
    out.text.resize(longest * static_cast<std::size_t>(last - first + 1));
    char* const begin = out.text.data();
    char* at = begin;
    for (int r = first; r <= last; ++r) {
        char digits[12];
        int count = 0;
        unsigned number = static_cast<unsigned>(r);
        do {
            digits[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number > 0);
        for (int k = count; k < layout.number_width; ++k) *at++ = ' ';
        while (count > 0) *at++ = digits[--count];
        std::memset(at, ' ', static_cast<std::size_t>(layout.gap));
        at += layout.gap;
        // Input 0 is the most significant bit of the row number.
        for (int i = 0; i < nx; ++i) *at++ = static_cast<char>('0' + ((r >> (nx - 1 - i)) & 1));
        *at++ = ' ';
        *at++ = ' ';
        const std::uint8_t* y = table.y(r);
        const std::uint8_t* want = expected != nullptr && r <= expected->last ? expected->y(r) : nullptr;
        for (int j = 0; j < ny; ++j) {
            if (want != nullptr && (want[j] == kDash || want[j] != y[j])) {
                const Rgb colour = want[j] == kDash ? colours::blue : colours::red;
                if (want[j] == kDash) ++out.blue;
                else out.failed = true;
                const std::size_t offset = static_cast<std::size_t>(at - begin);
                FormatRun* previous = out.runs.empty() ? nullptr : &out.runs.back();
                if (previous != nullptr && previous->start + previous->length == offset && previous->colour == colour) {
                    ++previous->length;
                } else {
                    out.runs.push_back({offset, 1, colour, true});
                }
            }
            *at++ = chars[y[j]];
        }
        *at++ = '\r';
        *at++ = '\n';
        ++out.lines;
    }
    out.text.resize(static_cast<std::size_t>(at - begin));
}

template void format_expanded_rows(const ExpandedTable&, const ExpandedTable*, const ExpandedRowLayout&, int, int,
                                   ExpandedRowText&);
template void format_expanded_rows(const FinalOutput&, const ExpandedTable*, const ExpandedRowLayout&, int, int,
                                   ExpandedRowText&);

}  // namespace vormel
