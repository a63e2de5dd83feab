#pragma once
#include <optional>
#include <string>
#include <vector>

#include "report/colour.h"

namespace vormel {

// A picture as plain drawing steps in picture units (1 unit = 1 pixel at zoom 1), so the SVG writer
// and the window's painter draw exactly the same thing.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct PathStep {
    enum class Op { move, line, cubic, close };
    Op op = Op::move;
    Point to;
    Point c1, c2;  // cubic: the two control points
};

enum class Anchor { start, middle, end };

// Every picture's blank border and the size of its name labels, so K-maps and diagrams match.
inline constexpr double kPictureMargin = 16;
inline constexpr double kLabelSize = 11;

struct Style {
    std::optional<Rgb> stroke = Rgb{0, 0, 0};
    std::optional<Rgb> fill;
    double fill_opacity = 1.0;
    double stroke_width = 1.0;
};

// A line of the colour, nothing filled.
inline Style stroke_only(Rgb colour, double width = 1.0) { return {colour, std::nullopt, 1.0, width}; }

struct Shape {
    enum class Kind { rect, polyline, path, circle, text };
    Kind kind = Kind::polyline;
    Style style;
    std::vector<Point> points;  // rect: corner, size; polyline: vertices; circle: centre, (radius, 0)
    std::vector<PathStep> path;
    std::string text;           // UTF-8
    double font_size = 12;
    Anchor anchor = Anchor::start;  // text: where points[0] sits on the baseline
    bool bold = false;
};

struct Picture {
    std::string title;
    double width = 0;
    double height = 0;
    std::vector<Shape> shapes;

    Shape& rect(double x, double y, double w, double h, Style style) {
        return add({Shape::Kind::rect, style, {{x, y}, {w, h}}, {}, {}, 12, Anchor::start, false});
    }
    Shape& polyline(std::vector<Point> points, Style style = {}) {
        return add({Shape::Kind::polyline, style, std::move(points), {}, {}, 12, Anchor::start, false});
    }
    Shape& path(std::vector<PathStep> steps, Style style) {
        return add({Shape::Kind::path, style, {}, std::move(steps), {}, 12, Anchor::start, false});
    }
    Shape& circle(Point centre, double radius, Style style) {
        return add({Shape::Kind::circle, style, {centre, {radius, 0}}, {}, {}, 12, Anchor::start, false});
    }
    // A text whose baseline passes through `at`.
    Shape& text(Point at, std::string text, double size, Anchor anchor = Anchor::start, Rgb colour = {}, bool bold = false) {
        return add({Shape::Kind::text, {std::nullopt, colour, 1.0, 1.0}, {at}, {}, std::move(text), size, anchor, bold});
    }

private:
    Shape& add(Shape shape) {
        shapes.push_back(std::move(shape));
        return shapes.back();
    }
};

// A width for laying out a text of `text` at `size` before any font is at hand: an average
// advance per character, a little generous so labels do not touch.
inline double estimated_text_width(const std::string& text, double size) {
    std::size_t characters = 0;
    for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
    return static_cast<double>(characters) * size * 0.62;
}

}  // namespace vormel
