#pragma once

class QPainter;

namespace vormel {

struct Picture;

// Paints the picture in picture units onto the painter's current transform, as the SVG writer
// writes it.
void paint_picture(QPainter& painter, const Picture& picture);

}  // namespace vormel
