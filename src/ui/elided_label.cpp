#include "ui/elided_label.h"

#include <QEvent>
#include <QFontMetrics>

namespace vormel {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(parent) { set_full_text(text); }

void ElidedLabel::set_full_text(const QString& text) {
    full_text_ = text;
    elide();
}

void ElidedLabel::elide() {
    const int room = contentsRect().width() - 2 * margin() - std::max(0, indent());
    setText(fontMetrics().elidedText(full_text_, Qt::ElideRight, std::max(0, room)));
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) elide();
}

}  // namespace vormel
