#include "ui/print_pages.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "ui/background_task.h"
#include "ui/layout_scale.h"

namespace vormel {

std::vector<QStringView> printed_pieces(QStringView line, int columns) {
    columns = std::max(1, columns);
    std::vector<QStringView> pieces;
    qsizetype at = 0;
    do {
        pieces.push_back(line.mid(at, columns));
        at += columns;
    } while (at < line.size());
    return pieces;
}

namespace {

// Calls each(line) for every line of text.
template <typename Each>
void for_each_line(QStringView text, Each each) {
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        // A final line end starts no further line.
        if (start == text.size() && start > 0) break;
        if (!each(text.mid(start, end - start), end)) return;
        start = end + 1;
    }
}

}  // namespace

int printed_page_count(QStringView text, int columns, int rows) {
    columns = std::max(1, columns);
    rows = std::max(1, rows);
    long long printed = 0;
    for_each_line(text, [&](QStringView line, qsizetype) {
        printed += std::max<qsizetype>(1, (line.size() + columns - 1) / columns);
        return true;
    });
    return static_cast<int>(std::max(1LL, (printed + rows - 1) / rows));
}

bool print_text(QPrinter& printer, const QString& text, double points, TaskControl& control) {
    std::vector<QStringView> lines;
    for_each_line(text, [&](QStringView line, qsizetype) {
        lines.push_back(line);
        return true;
    });
    return print_lines(printer, lines.size(), [&](std::size_t i) { return lines[i].toString(); }, points, control);
}

bool print_lines(QPrinter& printer, std::size_t line_count, const PrintedLine& line, double points, TaskControl& control) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QFont font = monospaced_font(points);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int line_height = std::max(1, metrics.lineSpacing());
    // The last two rows of a page hold its number.
    const int rows = std::max(1, page.height() / line_height - 2);
    const int columns = std::max(1, page.width() / std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))));
    long long printed_rows = 0;
    for (std::size_t i = 0; i < line_count; ++i) {
        printed_rows += std::max<qsizetype>(1, (line(i).size() + columns - 1) / columns);
        if (control.cancelled.load()) {
            painter.end();
            printer.abort();
            return false;
        }
    }
    const int pages = static_cast<int>(std::max(1LL, (printed_rows + rows - 1) / rows));
    int page_number = 1;
    int row = 0;
    auto foot = [&] {
        const QString number = QString("Page %1 of %2").arg(page_number).arg(pages);
        painter.drawText(QRect(0, page.height() - line_height, page.width(), line_height), Qt::AlignHCenter, number);
    };
    bool cancelled = false;
    for (std::size_t i = 0; i < line_count && !cancelled; ++i) {
        const QString text = line(i);
        for (QStringView piece : printed_pieces(text, columns)) {
            if (row == rows) {
                foot();
                if (control.cancelled.load()) {
                    cancelled = true;
                    break;
                }
                control.percent = static_cast<int>(100.0 * static_cast<double>(i) / static_cast<double>(line_count));
                printer.newPage();
                ++page_number;
                row = 0;
            }
            painter.drawText(0, metrics.ascent() + row * line_height, piece.toString());
            ++row;
        }
    }
    if (cancelled) {
        printer.abort();
    } else {
        foot();
    }
    painter.end();
    return !cancelled;
}

}  // namespace vormel
