#include "ui/layout_scale.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace vormel {

namespace {

constexpr double kExtentWidthTwips = 16500;
constexpr double kExtentHeightTwips = 11100;

QString installed_face(const char* design_face) {
    const QString wanted = QString::fromLatin1(design_face);
    if (QFontDatabase::hasFamily(wanted)) return wanted;
    // Metric twins first, then the common sans faces.
    const bool arial_like = std::strcmp(design_face, "Arial") == 0 || std::strcmp(design_face, "Microsoft Sans Serif") == 0;
    const QStringList candidates = arial_like ? QStringList{"Liberation Sans", "Arimo", "DejaVu Sans"}
                                              : QStringList{"DejaVu Sans", "Liberation Sans", "Noto Sans"};
    for (const QString& face : candidates) {
        if (QFontDatabase::hasFamily(face)) return face;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

LayoutScale LayoutScale::for_area(QSize area, int reserved_height, double dpi) {
    LayoutScale scale = with_factor(1.0, dpi);
    if (area.isEmpty()) return scale;
    scale.factor = std::min(area.width() / (kExtentWidthTwips * scale.pixels_per_twip),
                            (area.height() - reserved_height) / (kExtentHeightTwips * scale.pixels_per_twip));
    scale.factor = std::max(scale.factor, 0.1);
    return scale;
}

LayoutScale LayoutScale::with_factor(double factor, double dpi) {
    LayoutScale scale;
    scale.factor = factor;
    scale.pixels_per_twip = dpi / 1440.0;
    return scale;
}

int LayoutScale::pixels(int twips) const { return static_cast<int>(std::lround(twips * pixels_per_twip * factor)); }

QRect LayoutScale::rect(int x, int y, int width, int height) const {
    return QRect(pixels(x), pixels(y), pixels(width), pixels(height));
}

QFont LayoutScale::font(const char* design_face, double points) const {
    QFont font(installed_face(design_face));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(std::max(1.0, points * factor));
    return font;
}

QFont monospaced_font(double points) {
    QString face = QStringLiteral("Liberation Mono");
    if (!QFontDatabase::hasFamily(face)) face = QStringLiteral("DejaVu Sans Mono");
    QFont font(face);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    return font;
}

}  // namespace vormel
