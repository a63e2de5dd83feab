#include "export/svg_writer.h"

#include <fmt/format.h>

#include "export/picture.h"

namespace vormel {

namespace {

std::string colour_text(const Rgb& c) { return fmt::format("#{:02x}{:02x}{:02x}", c.r, c.g, c.b); }

// Two decimals keep files small and the same on every machine.
std::string number(double v) {
    std::string text = fmt::format("{:.2f}", v);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string style_attributes(const Style& style) {
    std::string text = " fill=\"" + (style.fill ? colour_text(*style.fill) : std::string("none")) + "\"";
    if (style.fill && style.fill_opacity < 1.0) text += " fill-opacity=\"" + number(style.fill_opacity) + "\"";
    if (style.stroke && style.stroke_width > 0) {
        text += " stroke=\"" + colour_text(*style.stroke) + "\" stroke-width=\"" + number(style.stroke_width) + "\"";
    } else {
        text += " stroke=\"none\"";
    }
    return text;
}

std::string path_data(const Shape& shape) {
    std::string d;
    for (const PathStep& step : shape.path) {
        if (!d.empty()) d += ' ';
        switch (step.op) {
            case PathStep::Op::move: d += "M" + number(step.to.x) + "," + number(step.to.y); break;
            case PathStep::Op::line: d += "L" + number(step.to.x) + "," + number(step.to.y); break;
            case PathStep::Op::cubic:
                d += "C" + number(step.c1.x) + "," + number(step.c1.y) + " " + number(step.c2.x) + "," + number(step.c2.y) +
                     " " + number(step.to.x) + "," + number(step.to.y);
                break;
            case PathStep::Op::close: d += "Z"; break;
        }
    }
    return d;
}

std::string element(const Shape& shape) {
    const std::string style = style_attributes(shape.style);
    switch (shape.kind) {
        case Shape::Kind::rect:
            return "<rect x=\"" + number(shape.points[0].x) + "\" y=\"" + number(shape.points[0].y) + "\" width=\"" +
                   number(shape.points[1].x) + "\" height=\"" + number(shape.points[1].y) + "\"" + style + "/>";
        case Shape::Kind::polyline: {
            std::string points;
            for (const Point& p : shape.points) points += (points.empty() ? "" : " ") + number(p.x) + "," + number(p.y);
            return "<polyline points=\"" + points + "\"" + style + "/>";
        }
        case Shape::Kind::path: return "<path d=\"" + path_data(shape) + "\"" + style + "/>";
        case Shape::Kind::circle:
            return "<circle cx=\"" + number(shape.points[0].x) + "\" cy=\"" + number(shape.points[0].y) + "\" r=\"" +
                   number(shape.points[1].x) + "\"" + style + "/>";
        case Shape::Kind::text: break;
    }
    static const char* const kAnchors[] = {"start", "middle", "end"};
    return "<text x=\"" + number(shape.points[0].x) + "\" y=\"" + number(shape.points[0].y) + "\" font-size=\"" +
           number(shape.font_size) + "\" text-anchor=\"" + kAnchors[static_cast<int>(shape.anchor)] + "\"" +
           (shape.bold ? " font-weight=\"bold\"" : "") + " fill=\"" + colour_text(shape.style.fill.value_or(Rgb{})) +
           "\">" + xml_escaped(shape.text) + "</text>";
}

}  // namespace

std::string xml_escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // XML 1.0 has no way to write the other control characters.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
        }
    }
    return out;
}

std::string write_svg(const Picture& picture) {
    const std::string width = number(picture.width), height = number(picture.height);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width + "\" height=\"" + height +
            "\" viewBox=\"0 0 " + width + " " + height + "\" font-family=\"DejaVu Sans, Liberation Sans, sans-serif\">\n";
    text += "<title>" + xml_escaped(picture.title) + "</title>\n";
    text += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n";
    for (const Shape& shape : picture.shapes) text += element(shape) + "\n";
    return text + "</svg>\n";
}

}  // namespace vormel
