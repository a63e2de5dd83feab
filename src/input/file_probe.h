#pragma once
#include <string_view>

namespace vormel {

// A quick look at a loaded text before any run: its size from the header (or a .pla file's .i and
// .o lines), so the window can choose the methods that take it, and whether a .pla text is in the
// common dialect of other tools, which only Import PLA reads.
struct FileProbe {
    int inputs = 0;   // 0: not known (equations, or no header found)
    int outputs = 0;
    bool common_dialect = false;
};

// pla: the file's extension is .pla (its own reader); otherwise the first line with ":" (or "=>")
// is the table's header. Only the first rows are looked at.
FileProbe probe_input_text(std::string_view text, bool pla);

}  // namespace vormel
