#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/term_table.h"

namespace vormel {

struct RunContext;

// The prime implicants (after Select Cover: the selected cover) of every output and polarity value.
// One list per (output, value); the common prime capacity is kept as a number so that the growth
// warnings match what the user expects of one large table.
class PrimeStore {
public:
    void create(int outputs, int inputs, int capacity);
    int outputs() const { return outputs_; }
    int inputs() const { return inputs_; }
    int capacity() const { return capacity_; }
    void set_capacity(int capacity) { capacity_ = capacity; }

    // lallprimes(j, v): last stored index, -1 = none.
    int last(int output, int value) const { return lasts_[index(output, value)]; }
    void set_last(int output, int value, int last_index);
    const std::uint8_t* prime(int output, int value, int p) const {
        return lists_[index(output, value)].data() + static_cast<std::size_t>(p) * inputs_;
    }
    // Writes rows 0 .. last of the table's X part as primes 0 .. last of (output, value) and records
    // last; primes stored earlier beyond last stay where they are.
    void assign(int output, int value, const TermTable& table, int last_index);

    // The output and polarity value that store_allprimes and restore_from_allprimes act on.
    int current_output = 0;
    int current_value = 1;
    // Row capacity bound of the generators' working tables.
    int maxlpnum = 0;

private:
    int index(int output, int value) const { return output * 2 + value; }
    int outputs_ = 0;
    int inputs_ = 0;
    int capacity_ = 0;
    std::vector<int> lasts_;
    std::vector<std::vector<std::uint8_t>> lists_;
};

// Stores rows 0 .. last_index of table as the primes of the current output and value; grows the
// capacity to exactly last_index (System Warning 1 when outputs x 2 x primes x inputs exceeds 2^30
// bytes). On Break at the warning sets error_flag and stores nothing.
void store_allprimes(RunContext& ctx, PrimeStore& store, const TermTable& table, int last_index);
// Loads the current output and value into rows 0 .. last of table's X part and sets table.last;
// returns the last index (-1: none, table untouched). A list longer than maxlpnum + 1 rows
// re-creates the table with exactly its rows.
int restore_from_allprimes(RunContext& ctx, const PrimeStore& store, TermTable& table);
// The same for a given output and value (outputs worked on at once).
int restore_from_allprimes(RunContext& ctx, const PrimeStore& store, int output, int value, TermTable& table);

}  // namespace vormel
