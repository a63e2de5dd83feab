#pragma once

namespace vormel {

struct TermTable;

// Orders the final terms by their first output, and within one first output the terms used by fewer
// later outputs first: the selection sort by descending key 2^(ymax - f + 1) - b, where f is the first
// output fed and b holds the later outputs fed as bits (the last output most significant).
void sort_final_terms(TermTable& table);

}  // namespace vormel
