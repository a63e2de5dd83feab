#include "primes/cube_mask.h"

#include <algorithm>

namespace vormel {

std::string cube_string(Cube c, int inputs, std::uint32_t dashed) {
    std::string text(static_cast<std::size_t>(inputs), '-');
    for (int i = 0; i < inputs; ++i) {
        const std::uint32_t bit = input_bit(inputs, i);
        if ((c.care & bit) != 0 && (dashed & bit) == 0) text[static_cast<std::size_t>(i)] = (c.value & bit) != 0 ? '1' : '0';
    }
    return text;
}

Cube cube_from_bytes(const std::uint8_t* row, int inputs) {
    Cube c;
    for (int i = 0; i < inputs; ++i) {
        const std::uint32_t bit = input_bit(inputs, i);
        if (row[i] == kOne) c.care |= bit, c.value |= bit;
        else if (row[i] == kZero) c.care |= bit;
    }
    return c;
}

TermTable cubes_to_table(std::span<const Cube> cubes, int inputs) {
    TermTable table(inputs, 0, static_cast<int>(cubes.size()));
    for (std::size_t r = 0; r < cubes.size(); ++r) {
        std::uint8_t* row = table.x(static_cast<int>(r));
        for (int i = 0; i < inputs; ++i) row[i] = cube_entry(cubes[r], inputs, i);
    }
    table.last = static_cast<int>(cubes.size()) - 1;
    return table;
}

}  // namespace vormel
