#include "ui/picture_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "export/picture.h"

namespace vormel {

namespace {

QColor colour_of(const Rgb& c, double opacity = 1.0) {
    QColor colour(c.r, c.g, c.b);
    colour.setAlphaF(static_cast<float>(opacity));
    return colour;
}

QPointF point_of(const Point& p) { return {p.x, p.y}; }

void set_style(QPainter& painter, const Style& style) {
    if (style.stroke && style.stroke_width > 0) {
        QPen pen(colour_of(*style.stroke), style.stroke_width);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(style.fill ? QBrush(colour_of(*style.fill, style.fill_opacity)) : QBrush(Qt::NoBrush));
}

QPainterPath path_of(const Shape& shape) {
    QPainterPath path;
    for (const PathStep& step : shape.path) {
        switch (step.op) {
            case PathStep::Op::move: path.moveTo(point_of(step.to)); break;
            case PathStep::Op::line: path.lineTo(point_of(step.to)); break;
            case PathStep::Op::cubic: path.cubicTo(point_of(step.c1), point_of(step.c2), point_of(step.to)); break;
            case PathStep::Op::close: path.closeSubpath(); break;
        }
    }
    return path;
}

void paint_text(QPainter& painter, const Shape& shape) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(1, qRound(shape.font_size)));
    font.setBold(shape.bold);
    painter.setFont(font);
    painter.setPen(colour_of(shape.style.fill.value_or(Rgb{})));
    const QString text = QString::fromStdString(shape.text);
    double x = shape.points[0].x;
    if (shape.anchor != Anchor::start) {
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        x -= shape.anchor == Anchor::middle ? width / 2 : width;
    }
    painter.drawText(QPointF(x, shape.points[0].y), text);
}

}  // namespace

void paint_picture(QPainter& painter, const Picture& picture) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Shape& shape : picture.shapes) {
        switch (shape.kind) {
            case Shape::Kind::rect:
                set_style(painter, shape.style);
                painter.drawRect(QRectF(point_of(shape.points[0]), QSizeF(shape.points[1].x, shape.points[1].y)));
                break;
            case Shape::Kind::polyline: {
                set_style(painter, shape.style);
                painter.setBrush(Qt::NoBrush);
                QPolygonF line;
                for (const Point& p : shape.points) line << point_of(p);
                painter.drawPolyline(line);
                break;
            }
            case Shape::Kind::path:
                set_style(painter, shape.style);
                painter.drawPath(path_of(shape));
                break;
            case Shape::Kind::circle:
                set_style(painter, shape.style);
                painter.drawEllipse(point_of(shape.points[0]), shape.points[1].x, shape.points[1].x);
                break;
            case Shape::Kind::text: paint_text(painter, shape); break;
        }
    }
    painter.restore();
}

}  // namespace vormel
