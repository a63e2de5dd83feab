#pragma once
#include <QString>

namespace vormel {

// Find-next in the work area: the search starts one character after the selection's start, so a
// repeated search moves on; an occurrence at the very first character is still found while it is
// not already the selection. Forward, and from the top again after the last occurrence. Returns
// the start or -1 when the text holds none.
qsizetype find_next_position(const QString& text, const QString& needle, qsizetype selection_start,
                             qsizetype selection_length, bool match_case);

}  // namespace vormel
