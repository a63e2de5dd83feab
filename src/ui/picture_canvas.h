#pragma once
#include <QWidget>

#include "export/picture.h"

namespace vormel {

// One picture at a zoom factor, sized to it so a scroll area around it scrolls; Ctrl+wheel zooms,
// a plain wheel scrolls the area.
class PictureCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PictureCanvas(QWidget* parent = nullptr);

    void set_picture(Picture picture);
    const Picture& picture() const { return picture_; }
    double zoom() const { return zoom_; }
    // Clamped to [kMinZoom, kMaxZoom].
    void set_zoom(double zoom);

    static constexpr double kMinZoom = 0.1;
    static constexpr double kMaxZoom = 8.0;

signals:
    void zoom_changed(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Picture picture_;
    double zoom_ = 1.0;
};

}  // namespace vormel
