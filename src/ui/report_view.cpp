#include "ui/report_view.h"

#include <QFontMetrics>
#include <QPalette>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace vormel {

ReportView::ReportView(QWidget* parent, LineSource source) : QAbstractScrollArea(parent), source_(std::move(source)) {
    setObjectName("reportView");
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAutoFillBackground(false);
    set_font(font());
}

void ReportView::set_background(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
    viewport()->update();
}

void ReportView::set_font(const QFont& font) {
    font_ = font;
    bold_font_ = font;
    bold_font_.setBold(true);
    update_scroll_ranges();
    viewport()->update();
}

int ReportView::line_height() const { return std::max(1, QFontMetrics(font_).lineSpacing()); }

int ReportView::visible_line_count() const { return std::max(1, viewport()->height() / line_height()); }

std::size_t ReportView::first_visible_line() const { return static_cast<std::size_t>(verticalScrollBar()->value()); }

void ReportView::set_extent(std::size_t lines, std::size_t longest) {
    if (lines == lines_ && longest == longest_) return;
    lines_ = lines;
    longest_ = longest;
    update_scroll_ranges();
    viewport()->update();
}

void ReportView::update_scroll_ranges() {
    const int page = visible_line_count();
    // The scroll bars count in int: a text of more lines than that would be cut, which no report reaches.
    const auto last = static_cast<int>(std::min<std::size_t>(lines_, INT32_MAX));
    verticalScrollBar()->setRange(0, std::max(0, last - page));
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(1);
    const int advance = QFontMetrics(font_).horizontalAdvance('M');
    const auto width = static_cast<int>(std::min<std::size_t>(longest_ * static_cast<std::size_t>(advance) + 8, INT32_MAX / 2));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(advance);
}

void ReportView::scroll_to_end() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

void ReportView::select(std::size_t start, std::size_t length, std::size_t line) {
    selection_start_ = start;
    selection_length_ = length;
    const std::size_t first = first_visible_line();
    const auto page = static_cast<std::size_t>(visible_line_count());
    if (line < first || line >= first + page) verticalScrollBar()->setValue(static_cast<int>(line > page / 2 ? line - page / 2 : 0));
    viewport()->update();
}

void ReportView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_ranges();
}

void ReportView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const QFontMetrics metrics(font_);
    const int height = line_height();
    const int advance = metrics.horizontalAdvance('M');
    const int left = 4 - horizontalScrollBar()->value();
    const std::size_t first = first_visible_line();
    const std::vector<ShownLine> shown = source_(first, static_cast<std::size_t>(visible_line_count()) + 1);
    int y = 0;
    for (const ShownLine& line : shown) {
        const int baseline = y + metrics.ascent();
        // The selection, counted in bytes of the whole text; lines shown here are plain ASCII or close.
        if (selection_length_ > 0) {
            const std::size_t end = line.start + static_cast<std::size_t>(line.text.size());
            const std::size_t from = std::max(selection_start_, line.start);
            const std::size_t to = std::min(selection_start_ + selection_length_, end + 1);
            if (from < to) {
                painter.fillRect(left + static_cast<int>(from - line.start) * advance, y,
                                 static_cast<int>(to - from) * advance, height, palette().highlight());
            }
        }
        int at = 0;
        const auto draw = [&](int from, int length, Rgb colour, bool bold) {
            if (length <= 0) return;
            painter.setFont(bold ? bold_font_ : font_);
            painter.setPen(QColor(colour.r, colour.g, colour.b));
            painter.drawText(left + from * advance, baseline, line.text.mid(from, length));
        };
        for (const ShownLine::Piece& piece : line.pieces) {
            draw(at, piece.from - at, colours::black, false);
            draw(piece.from, piece.length, piece.colour, piece.bold);
            at = piece.from + piece.length;
        }
        draw(at, static_cast<int>(line.text.size()) - at, colours::black, false);
        y += height;
    }
}

void ReportView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
        verticalScrollBar()->setValue(0);
    } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
        scroll_to_end();
    } else if (event->matches(QKeySequence::Copy)) {
        emit copy_requested();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

}  // namespace vormel
