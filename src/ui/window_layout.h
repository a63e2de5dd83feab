#pragma once
#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace vormel {

// Keeps the controls of a fixed design in their order while their parent is resized. The places
// the children have when capture() runs are their design places on design_size; at any other size
// the left column stays, the right column follows the right edge, the band between them (the work
// area and the file fields and status lines above it) takes the width that is left, the controls
// in the lowest rows (progress, time, prompt, Quit, Start) follow the bottom edge, and the work
// area takes the height between. The parent cannot be made smaller than minimum_size(), below
// which controls of the two rows would overlap.
class WindowLayout : public QObject {
    Q_OBJECT
public:
    // band_left, band_right: where the stretching band starts and ends; bottom_rows: the first y of
    // the rows that follow the bottom edge; all in the design's pixels.
    WindowLayout(QWidget& area, QSize design_size, int band_left, int band_right, int bottom_rows);

    void capture();
    void apply();
    QSize minimum_size() const { return minimum_; }
    QSize design_size() const { return design_; }
    // Where a design rectangle goes when the area has the given size.
    QRect place(QRect design, QSize size) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QWidget* widget;
        QRect design;
    };
    QWidget& area_;
    QSize design_;
    int band_left_, band_right_, bottom_rows_;
    QSize minimum_;
    std::vector<Item> items_;
};

// The rectangle of window's child named child_name in screen coordinates; window's frame when it
// has no such child or the child is hidden.
QRect child_on_screen(const QWidget& window, const char* child_name);

// Sizes window as the given shares of the available area of owner's screen and centres it there,
// so it is as large on a big screen as on a small one.
void fit_to_screen_share(QWidget& window, const QWidget& owner, double width_share, double height_share);

}  // namespace vormel
