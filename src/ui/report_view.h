#pragma once
#include <QAbstractScrollArea>
#include <QFont>
#include <cstddef>
#include <functional>
#include <vector>

#include "report/colour.h"

namespace vormel {

// One line as the view paints it: its text and the coloured stretches (in characters of text).
struct ShownLine {
    struct Piece {
        int from = 0;
        int length = 0;
        Rgb colour{};
        bool bold = false;
    };
    QString text;
    std::vector<Piece> pieces;  // where none covers, the text is plain black
    std::size_t start = 0;      // position of the line's first byte in the whole text
};

// A read-only view of a text too long for a text document: it paints only the lines in sight,
// fetched on demand, so its memory does not grow with the text. Scrolls by line; shows one
// selected stretch (a found text).
class ReportView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Lines first..first+count-1 (fewer at the end).
    using LineSource = std::function<std::vector<ShownLine>(std::size_t first, std::size_t count)>;
    explicit ReportView(QWidget* parent, LineSource source);

    void set_font(const QFont& font);
    // The colour behind the text: the work area's colour of the run's phase.
    void set_background(const QColor& colour);
    // The text now has lines lines, the longest of longest characters.
    void set_extent(std::size_t lines, std::size_t longest);
    std::size_t line_count() const { return lines_; }
    std::size_t first_visible_line() const;
    int visible_line_count() const;
    void scroll_to_end();
    // Marks [start, start + length) of the whole text, and brings its line into sight.
    void select(std::size_t start, std::size_t length, std::size_t line);
    std::size_t selection_start() const { return selection_start_; }
    std::size_t selection_length() const { return selection_length_; }

signals:
    // Ctrl+C: the view holds no text of its own, its owner copies.
    void copy_requested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void update_scroll_ranges();
    int line_height() const;

    LineSource source_;
    QFont font_;
    QFont bold_font_;
    std::size_t lines_ = 0;
    std::size_t longest_ = 0;
    std::size_t selection_start_ = 0;
    std::size_t selection_length_ = 0;
};

}  // namespace vormel
