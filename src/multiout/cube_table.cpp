#include "multiout/cube_table.h"

namespace vormel {

void cube_from_bytes(const std::uint8_t* x, int nx, std::uint32_t& care, std::uint32_t& value) {
    care = 0;
    value = 0;
    for (int i = 0; i < nx; ++i) {
        if (x[i] == kDash) continue;
        care |= 1u << i;
        if (x[i] == kOne) value |= 1u << i;
    }
}

void cube_to_bytes(std::uint32_t care, std::uint32_t value, int nx, std::uint8_t* x) {
    for (int i = 0; i < nx; ++i) {
        x[i] = ((care >> i) & 1u) == 0 ? kDash : static_cast<std::uint8_t>((value >> i) & 1u);
    }
}

CubeTable to_cube_table(const TermTable& table) {
    CubeTable out;
    out.nx = table.nx;
    out.ny = table.ny;
    out.rows.resize(static_cast<std::size_t>(table.rows()));
    for (int r = 0; r <= table.last; ++r) {
        CubeRow& row = out.rows[static_cast<std::size_t>(r)];
        cube_from_bytes(table.x(r), table.nx, row.care, row.value);
        const std::uint8_t* y = table.y(r);
        for (int j = 0; j < table.ny; ++j) {
            if (y[j] != kDash) row.outs.set(j);
        }
    }
    return out;
}

TermTable to_term_table(const CubeTable& table, const std::vector<int>& polarity) {
    TermTable out(table.nx, table.ny, static_cast<int>(table.rows.size()));
    for (const CubeRow& row : table.rows) {
        const int r = out.append_row();
        cube_to_bytes(row.care, row.value, table.nx, out.x(r));
        std::uint8_t* y = out.y(r);
        for (int j = 0; j < table.ny; ++j) {
            if (row.outs.test(j)) y[j] = static_cast<std::uint8_t>(polarity[static_cast<std::size_t>(j)]);
        }
    }
    return out;
}

}  // namespace vormel
