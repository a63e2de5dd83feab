#include "input/term_table_display.h"

namespace vormel {

// Not built yet.
void display_term_table(RunContext&, Problem&, const TermTable&, bool, TableMode) {}
void display_term_table(RunContext&, Problem&, const ExpandedTable&, bool, TableMode) {}

}  // namespace vormel
