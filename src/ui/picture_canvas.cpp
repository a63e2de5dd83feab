#include "ui/picture_canvas.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/picture_painter.h"

namespace vormel {

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(1, 1);
}

void PictureCanvas::set_picture(Picture picture) {
    picture_ = std::move(picture);
    set_zoom(zoom_);
    update();
}

void PictureCanvas::set_zoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    resize(std::max(1, static_cast<int>(std::ceil(picture_.width * zoom_))),
           std::max(1, static_cast<int>(std::ceil(picture_.height * zoom_))));
    update();
    emit zoom_changed(zoom_);
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.setClipRect(event->rect());
    painter.scale(zoom_, zoom_);
    paint_picture(painter, picture_);
}

void PictureCanvas::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // One notch of 120 eighths of a degree zooms by a quarter.
    set_zoom(zoom_ * std::pow(1.25, event->angleDelta().y() / 120.0));
    event->accept();
}

}  // namespace vormel
