#include "ui/background_task.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <thread>

namespace vormel {

void run_in_background(QWidget* parent, const QString& label, bool cancellable,
                       const std::function<void(TaskControl&)>& work) {
    TaskControl control;
    std::atomic<bool> done{false};
    QProgressDialog progress(label, cancellable ? QString("Cancel") : QString(), 0, 100, parent);
    progress.setObjectName("backgroundProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    if (!cancellable) progress.setCancelButton(nullptr);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
        int percent = control.percent.load();
        if (const std::uint64_t expected = control.expected_bytes.load(); expected > 0) {
            percent = static_cast<int>(std::min<std::uint64_t>(99, control.bytes.load() * 100 / expected));
        }
        if (percent < 0) {
            progress.setRange(0, 0);
            progress.setValue(0);
        } else {
            progress.setRange(0, 100);
            progress.setValue(percent);
        }
        if (progress.wasCanceled()) control.cancelled = true;
        if (done.load()) loop.quit();
    });
    poll.start(50);
    std::thread worker([&] {
        work(control);
        done = true;
    });
    loop.exec();
    worker.join();
}

}  // namespace vormel
