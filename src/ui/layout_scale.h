#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

namespace vormel {

// The window is designed in twips on 16 500 x 11 100; one factor fits that extent into the
// screen's work area and scales every position, size and font.
struct LayoutScale {
    double factor = 1.0;
    double pixels_per_twip = 96.0 / 1440.0;

    // The largest factor at which the design extent fits area less reserved_height (the pixels
    // that the title and menu bars take).
    static LayoutScale for_area(QSize area, int reserved_height, double dpi);
    static LayoutScale with_factor(double factor, double dpi);
    QRect rect(int x, int y, int width, int height) const;
    int pixels(int twips) const;
    // The nearest installed face for a design face; sizes in design points.
    QFont font(const char* design_face, double points) const;
};

// Liberation Mono or DejaVu Sans Mono, whichever is installed.
QFont monospaced_font(double points);

}  // namespace vormel
