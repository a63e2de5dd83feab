#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QLabel;

namespace vormel {

// Keeps the Time field counting while a step runs: the run sets the total only when a step
// ends, so between those the field shows that total plus the time the step has run so far.
// Time spent waiting for the user (paused) is not counted, as the run does not count it either.
class RunningClock : public QObject {
    Q_OBJECT
public:
    using Paused = std::function<bool()>;
    RunningClock(QLabel& field, Paused paused, QObject* parent = nullptr);

    // The run's own text for the field: a total (" 1.23 s") or a caption (counts from 0).
    void show_total(const QString& text);
    // A command runs (true) or has ended (false).
    void set_running(bool running);
    // One pass of the clock, with the milliseconds passed since the last one (exposed for tests).
    void advance(qint64 milliseconds);

private:
    void tick();

    QLabel& field_;
    Paused paused_;
    QTimer timer_;
    QElapsedTimer since_tick_;
    double total_seconds_ = 0;
    qint64 step_ms_ = 0;
    bool running_ = false;
};

}  // namespace vormel
