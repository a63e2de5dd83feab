#include "ui/window_layout.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vormel {

WindowLayout::WindowLayout(QWidget& area, QSize design_size, int band_left, int band_right, int bottom_rows)
    : QObject(&area), area_(area), design_(design_size), band_left_(band_left), band_right_(band_right),
      bottom_rows_(bottom_rows) {
    area_.installEventFilter(this);
}

void WindowLayout::capture() {
    items_.clear();
    int top_rows_end = 0;
    int bottom_rows_start = design_.height();
    for (QObject* child : area_.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        const QRect design = widget->geometry();
        items_.push_back({widget, design});
        // The work area spans both rows; everything else sits in one of them.
        if (design.top() < bottom_rows_ && design.bottom() >= bottom_rows_) continue;
        if (design.top() >= bottom_rows_) {
            bottom_rows_start = std::min(bottom_rows_start, design.top());
        } else {
            top_rows_end = std::max(top_rows_end, design.bottom() + 1);
        }
    }
    // The band may narrow to half its width; the height only by the gap between the two rows.
    const int band = band_right_ - band_left_;
    const int gap = std::max(0, bottom_rows_start - top_rows_end - design_.height() / 100);
    minimum_ = QSize(design_.width() - band / 2, design_.height() - gap);
    area_.setMinimumSize(minimum_);
}

QRect WindowLayout::place(QRect design, QSize size) const {
    size = size.expandedTo(minimum_);
    const int right_shift = size.width() - design_.width();
    const int bottom_shift = size.height() - design_.height();
    auto band_x = [&](int x) {
        const int band = band_right_ - band_left_;
        return band_left_ + static_cast<int>((static_cast<long long>(x - band_left_) * (band + right_shift)) / band);
    };
    int left = design.left();
    int right = design.left() + design.width();
    if (design.left() >= band_right_) {
        left += right_shift;
        right += right_shift;
    } else if (design.left() >= band_left_) {
        left = band_x(left);
        right = band_x(right);
    }
    int top = design.top();
    int bottom = design.top() + design.height();
    if (design.top() >= bottom_rows_) {
        top += bottom_shift;
        bottom += bottom_shift;
    } else if (bottom > bottom_rows_) {
        bottom += bottom_shift;
    }
    return QRect(left, top, right - left, bottom - top);
}

void WindowLayout::apply() {
    for (const Item& item : items_) item.widget->setGeometry(place(item.design, area_.size()));
}

bool WindowLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &area_ && event->type() == QEvent::Resize && !items_.empty()) apply();
    return QObject::eventFilter(watched, event);
}

QRect child_on_screen(const QWidget& window, const char* child_name) {
    const auto* child = window.findChild<QWidget*>(child_name);
    if (!child || !child->isVisible()) return window.frameGeometry();
    return QRect(child->mapToGlobal(QPoint(0, 0)), child->size());
}

void fit_to_screen_share(QWidget& window, const QWidget& owner, double width_share, double height_share) {
    const QScreen* screen = owner.screen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    const QSize size(static_cast<int>(available.width() * width_share), static_cast<int>(available.height() * height_share));
    window.resize(size);
    window.move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace vormel
