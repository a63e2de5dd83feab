#include "ui/emergency_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "ui/layout_scale.h"
#include "ui/window_layout.h"

namespace vormel {

namespace {

constexpr int kRows = 6;
constexpr int kColumns = 44;
// The counter starts on the label's final blank; the star's field 10 columns further on.
constexpr int kCounterColumn = 13;
constexpr int kStarField = kCounterColumn + 10;

}  // namespace

EmergencyWindow::EmergencyWindow(QWidget* main_window, ProgressSource progress, ExitAction exit_now)
    // A dialog-type window is transient for the main window: every window manager keeps it above.
    : QWidget(main_window, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_window_(main_window),
      progress_(std::move(progress)),
      exit_now_(std::move(exit_now)),
      font_(monospaced_font(10)) {
    setObjectName("emergencyWindow");
    setWindowTitle("Emergency Exit");
    setAttribute(Qt::WA_QuitOnClose, false);
    since_start_.start();
    last_progress_ = progress_ ? progress_() : 0;
    fit_size();
    redraw_lines();
    connect(&clock_, &QTimer::timeout, this, &EmergencyWindow::tick);
    clock_.start(50);
}

int EmergencyWindow::title_strip_height() const {
    return own_title_bar_ ? QFontMetrics(font_).height() + 6 : 0;
}

QRect EmergencyWindow::close_box() const {
    if (!own_title_bar_) return {};
    const int side = title_strip_height() - 4;
    return QRect(width() - side - 2, 2, side, side);
}

void EmergencyWindow::fit_size() {
    const QFontMetrics metrics(font_);
    setFixedSize(metrics.horizontalAdvance(QString(kColumns, 'M')) + 8, metrics.height() * kRows + 8 + title_strip_height());
}

void EmergencyWindow::set_own_title_bar(bool own) {
    if (own == own_title_bar_) return;
    own_title_bar_ = own;
    fit_size();
    update();
}

QSize EmergencyWindow::frame_size() const {
    if (isVisible() && frameGeometry().size() != size()) return frameGeometry().size();
    // Not shown yet: a title bar and a frame as the main window reckons them.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int title = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 2 * fontMetrics().height());
    return size() + QSize(2 * frame, title + 2 * frame);
}

void EmergencyWindow::place(const QRect& available) {
    const QSize frame = frame_size();
    const QRect anchor = main_window_ ? child_on_screen(*main_window_, "workArea") : available;
    const int margin = QFontMetrics(font_).height();
    const int x = anchor.right() + 1 - margin - frame.width();
    const int y = anchor.top() + margin;
    // A screen too small for the whole window still shows its top left, where the close button
    // and the first lines are.
    const int x_max = std::max(available.left(), available.right() + 1 - frame.width());
    const int y_max = std::max(available.top(), available.bottom() + 1 - frame.height());
    move(std::clamp(x, available.left(), x_max), std::clamp(y, available.top(), y_max));
}

void EmergencyWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_) return;
    placed_ = true;
    const QScreen* screen = main_window_ ? main_window_->screen() : this->screen();
    if (screen) place(screen->availableGeometry());
}

void EmergencyWindow::put(int row, int column, const QString& text) {
    QString& line = rows_[row];
    for (int i = 0; i < text.size() && column + i < kColumns; ++i) line[column + i] = text[i];
}

void EmergencyWindow::redraw_lines() {
    for (QString& line : rows_) line = QString(kColumns, ' ');
    put(0, 0, " Vormel Time: ");
    put(1, 0, " Emergency Exit:     Click [X]");
    put(2, 0, "             or:     Ctrl+Q");
    put(3, 0, on_top_ ? " Keep in Background: Press B" : " Keep on Top   :     Press T");
    if (seconds_ > 0) put(0, kCounterColumn, " " + QString::number(seconds_));
    put(0, kStarField + star_position_ - 1, "*");
    update();
}

void EmergencyWindow::tick() {
    const qint64 now = since_start_.elapsed();
    // No window manager gives it a title bar (none runs, or it has not yet): the window draws its
    // own, so the close button its second line points to exists.
    if (isVisible()) set_own_title_bar(geometry().top() - frameGeometry().top() < QFontMetrics(font_).height() / 2);
    bool changed = false;
    if (now - last_second_ms_ > 1000) {
        last_second_ms_ += 1000;
        seconds_ = now / 1000;
        put(0, kCounterColumn, " " + QString::number(seconds_));
        changed = true;
    }
    if (now - last_star_ms_ >= 200) {
        last_star_ms_ = now;
        const int progress = progress_ ? progress_() : 0;
        if (progress != last_progress_) {
            last_progress_ = progress;
            put(0, kStarField + star_position_ - 1, " ");
            if (star_position_ + star_direction_ < 1 || star_position_ + star_direction_ > 10) star_direction_ = -star_direction_;
            star_position_ += star_direction_;
            put(0, kStarField + star_position_ - 1, "*");
            changed = true;
        }
    }
    if (changed) update();
}

void EmergencyWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 128));
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    const int top = title_strip_height();
    if (own_title_bar_) {
        painter.fillRect(QRect(0, 0, width(), top), QColor(192, 192, 192));
        painter.setPen(Qt::black);
        painter.drawText(QRect(6, 0, width() - 12, top), Qt::AlignVCenter | Qt::AlignLeft, windowTitle());
        const QRect box = close_box();
        painter.fillRect(box, QColor(200, 0, 0));
        painter.setPen(QPen(Qt::white, 2));
        painter.drawLine(box.topLeft() + QPoint(4, 4), box.bottomRight() - QPoint(4, 4));
        painter.drawLine(box.topRight() + QPoint(-4, 4), box.bottomLeft() + QPoint(4, -4));
    }
    painter.setPen(Qt::white);
    for (int row = 0; row < kRows; ++row) {
        painter.drawText(4, top + 4 + metrics.ascent() + row * metrics.height(), rows_[row]);
    }
}

void EmergencyWindow::mousePressEvent(QMouseEvent* event) {
    if (own_title_bar_ && event->button() == Qt::LeftButton && close_box().contains(event->position().toPoint())) {
        exit_now_();
        return;
    }
    QWidget::mousePressEvent(event);
}

void EmergencyWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Q && (event->modifiers() & Qt::ControlModifier)) {
        exit_now_();
        return;
    }
    if (!on_top_ && event->key() == Qt::Key_T) {
        on_top_ = true;
        setWindowTitle("Emergency Exit On Top");
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        redraw_lines();
        show();
        raise();
    } else if (on_top_ && event->key() == Qt::Key_B) {
        on_top_ = false;
        setWindowTitle("Emergency Exit");
        redraw_lines();
        // A short pause so the change is seen; it then stays above the main window only.
        QTimer::singleShot(500, this, [this] {
            setWindowFlag(Qt::WindowStaysOnTopHint, false);
            show();
            raise();
            if (main_window_) main_window_->activateWindow();
        });
    }
}

void EmergencyWindow::closeEvent(QCloseEvent* event) {
    // Only the user's [X] is the emergency exit. The application closes every window as it ends
    // normally; that close must not turn a normal end into exit status 1.
    if (!event->spontaneous()) {
        event->accept();
        return;
    }
    event->ignore();
    exit_now_();
}

}  // namespace vormel
