#pragma once
#include <QString>
#include <QStringView>
#include <cstddef>
#include <functional>
#include <vector>

class QPrinter;

namespace vormel {

// The pieces of one text line as printed: lines longer than columns continue on the next printed
// line, so nothing is cut at the page's right edge. An empty line is one empty piece.
std::vector<QStringView> printed_pieces(QStringView line, int columns);

// How many pages text (lines separated by '\n') takes at columns by rows.
int printed_page_count(QStringView text, int columns, int rows);

struct TaskControl;

// Prints text in the monospaced face at points on printer: page after page, each with its number
// and the page count at the foot. Reports progress to control and stops at its cancel; false when
// cancelled or the printer could not start. May run on any thread.
bool print_text(QPrinter& printer, const QString& text, double points, TaskControl& control);
// The same for a text handed over line by line (line(index) without its end), so that a long
// report is never held a second time to be printed.
using PrintedLine = std::function<QString(std::size_t index)>;
bool print_lines(QPrinter& printer, std::size_t line_count, const PrintedLine& line, double points, TaskControl& control);

}  // namespace vormel
