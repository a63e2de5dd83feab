#pragma once
#include <string>
#include <vector>

#include "model/final_output.h"
#include "model/term_table.h"
#include "report/work_area.h"

namespace vormel {

// The report lines of a run of rows of an expanded table, as the term-table display writes them:
// the row number right-aligned in number_width, `gap` blanks, the inputs, two blanks, the outputs
// (a Y don't care as `dash`), CR LF.
struct ExpandedRowLayout {
    int number_width = 0;
    int gap = 0;
    char dash = '-';
};

// Output values shown against the expanded input are coloured: blue bold where the input has a
// don't care, red bold where they differ. `blue` counts the first, `failed` notes the second.
struct ExpandedRowText {
    std::string text;
    int lines = 0;
    std::vector<FormatRun> runs;  // offsets into text, ascending
    long long blue = 0;
    bool failed = false;
};

// Formats rows first .. last (inclusive) of an ExpandedTable or a FinalOutput. expected may be
// null; rows past its last have nothing to compare. Blocks of rows can be formatted in parallel and
// joined in row order.
template <typename Table>
void format_expanded_rows(const Table& table, const ExpandedTable* expected, const ExpandedRowLayout& layout, int first,
                          int last, ExpandedRowText& out);

}  // namespace vormel
