#pragma once
#include <bit>
#include <cstdint>
#include <span>
#include <string>

#include "model/term_table.h"

namespace vormel {

// A cube over at most 22 inputs: input i is bit (n - 1 - i), so minterm r of the expanded table is
// the cube {all inputs cared for, value r}. Value bits are 0 wherever the input is absent ("-").
struct Cube {
    std::uint32_t care = 0;
    std::uint32_t value = 0;
    friend bool operator==(const Cube&, const Cube&) = default;
};

inline std::uint32_t input_bit(int inputs, int input) { return std::uint32_t{1} << (inputs - 1 - input); }
inline std::uint32_t all_inputs(int inputs) {
    return inputs >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << inputs) - 1;
}
inline Cube minterm_cube(int inputs, std::uint32_t minterm) { return {all_inputs(inputs), minterm}; }
inline int dash_count(Cube c, int inputs) { return inputs - std::popcount(c.care); }

// 0, 1 or 2 ("-") of one input.
inline std::uint8_t cube_entry(Cube c, int inputs, int input) {
    const std::uint32_t bit = input_bit(inputs, input);
    if ((c.care & bit) == 0) return kDash;
    return (c.value & bit) != 0 ? kOne : kZero;
}
// "0", "1", "-" per input; inputs in `dashed` print as "-" whatever the cube holds there.
std::string cube_string(Cube c, int inputs, std::uint32_t dashed = 0);
Cube cube_from_bytes(const std::uint8_t* row, int inputs);
// Rows 0 .. size - 1 of a table of `inputs` X columns and no Y columns.
TermTable cubes_to_table(std::span<const Cube> cubes, int inputs);

}  // namespace vormel
