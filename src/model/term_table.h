#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vormel {

// Value codes of every table entry.
inline constexpr std::uint8_t kZero = 0;
inline constexpr std::uint8_t kOne = 1;
inline constexpr std::uint8_t kDash = 2;        // input absent / output unspecified
inline constexpr std::uint8_t kUnassigned = 3;  // only inside the expansion

// Rows of cubes with the outputs they belong to: an X byte matrix (one column per input), a Y byte
// matrix (one column per output) and the highest valid row (-1 = empty). Storage is row-major and
// contiguous; capacity grows, keeping its contents.
struct TermTable {
    int nx = 0;
    int ny = 0;
    int last = -1;
    std::vector<std::uint8_t> xs;
    std::vector<std::uint8_t> ys;

    TermTable() = default;
    TermTable(int inputs, int outputs, int capacity_rows = 0) : nx(inputs), ny(outputs) { reserve_rows(capacity_rows); }

    int rows() const { return last + 1; }
    int capacity() const { return nx > 0 ? static_cast<int>(xs.size() / nx) : static_cast<int>(ys.size() / (ny ? ny : 1)); }
    // Makes room for at least `count` rows, keeping the rows held.
    void reserve_rows(int count) {
        if (count > capacity()) {
            xs.resize(static_cast<std::size_t>(count) * nx, kDash);
            ys.resize(static_cast<std::size_t>(count) * ny, kDash);
        }
    }
    std::uint8_t* x(int row) { return xs.data() + static_cast<std::size_t>(row) * nx; }
    const std::uint8_t* x(int row) const { return xs.data() + static_cast<std::size_t>(row) * nx; }
    std::uint8_t* y(int row) { return ys.data() + static_cast<std::size_t>(row) * ny; }
    const std::uint8_t* y(int row) const { return ys.data() + static_cast<std::size_t>(row) * ny; }
    // Appends a row of all "-" (grows by doubling) and returns its index.
    int append_row() {
        if (last + 1 >= capacity()) reserve_rows(capacity() < 16 ? 16 : capacity() * 2);
        ++last;
        std::fill_n(x(last), nx, kDash);
        std::fill_n(y(last), ny, kDash);
        return last;
    }
    void copy_row(int to, const TermTable& from, int row) {
        std::copy_n(from.x(row), nx, x(to));
        std::copy_n(from.y(row), ny, y(to));
    }
    void clear() { last = -1; }
};

// The fully expanded table: row r is minterm r, input 0 the most significant bit. Its X part is
// implied by the row number, so only the Y part is stored (4,194,304 rows at 22 inputs).
struct ExpandedTable {
    int nx = 0;
    int ny = 0;
    int last = -1;
    std::vector<std::uint8_t> ys;

    int rows() const { return last + 1; }
    std::uint8_t x(int row, int input) const { return static_cast<std::uint8_t>((row >> (nx - 1 - input)) & 1); }
    std::uint8_t* y(int row) { return ys.data() + static_cast<std::size_t>(row) * ny; }
    const std::uint8_t* y(int row) const { return ys.data() + static_cast<std::size_t>(row) * ny; }
    void create(int inputs, int outputs, std::uint8_t fill) {
        nx = inputs;
        ny = outputs;
        last = static_cast<int>((1u << inputs) - 1);
        ys.assign(static_cast<std::size_t>(last + 1) * ny, fill);
    }
};

}  // namespace vormel
