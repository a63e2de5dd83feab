#include "ui/find_text.h"

namespace vormel {

qsizetype find_next_position(const QString& text, const QString& needle, qsizetype selection_start,
                             qsizetype selection_length, bool match_case) {
    if (needle.isEmpty()) return -1;
    const Qt::CaseSensitivity sensitivity = match_case ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype from = selection_start + 1;
    const bool first_already_selected =
        selection_length == needle.size() && QStringView(text).left(needle.size()).compare(needle, sensitivity) == 0;
    if (selection_start == 0 && !first_already_selected) from = 0;
    const qsizetype found = from > text.size() ? -1 : text.indexOf(needle, from, sensitivity);
    // Past the last occurrence the search starts again at the top.
    return found >= 0 ? found : text.indexOf(needle, 0, sensitivity);
}

}  // namespace vormel
