#include "ui/running_clock.h"

#include <QLabel>

#include "report/diagnostics.h"

namespace vormel {

namespace {
// The field changes only once a step has run this long, so short commands leave the run's figure.
constexpr qint64 kFirstShownMs = 1000;
}  // namespace

RunningClock::RunningClock(QLabel& field, Paused paused, QObject* parent)
    : QObject(parent), field_(field), paused_(std::move(paused)) {
    connect(&timer_, &QTimer::timeout, this, &RunningClock::tick);
    timer_.setInterval(250);
}

void RunningClock::show_total(const QString& text) {
    field_.setText(text);
    QString number = text.trimmed();
    if (number.endsWith(" s")) number.chop(2);
    bool ok = false;
    const double seconds = number.toDouble(&ok);
    total_seconds_ = ok ? seconds : 0;
    step_ms_ = 0;
}

void RunningClock::set_running(bool running) {
    running_ = running;
    step_ms_ = 0;
    if (running) {
        since_tick_.start();
        timer_.start();
    } else {
        timer_.stop();
    }
}

void RunningClock::tick() {
    const qint64 passed = since_tick_.restart();
    if (paused_ && paused_()) return;
    advance(passed);
}

void RunningClock::advance(qint64 milliseconds) {
    if (!running_) return;
    step_ms_ += milliseconds;
    if (step_ms_ < kFirstShownMs) return;
    field_.setText(QString::fromStdString(Diagnostics::format_time(total_seconds_ + step_ms_ / 1000.0)));
}

}  // namespace vormel
