#pragma once
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>

class QWidget;

namespace vormel {

// What long work off the GUI thread reports and is told: its progress in percent (-1 while it
// cannot say) and whether the user cancelled it.
// Work that counts bytes instead sets expected_bytes before it starts and adds to bytes.
struct TaskControl {
    std::atomic<int> percent{-1};
    std::atomic<bool> cancelled{false};
    std::atomic<std::uint64_t> bytes{0};
    std::atomic<std::uint64_t> expected_bytes{0};
};

// Runs work on a thread of its own and returns when it has ended. Meanwhile the GUI thread's
// event loop goes on, so the window repaints and the emergency window counts and answers, and a
// progress window (modal to parent, with Cancel when cancellable) shows once the work takes
// longer than a moment.
void run_in_background(QWidget* parent, const QString& label, bool cancellable,
                       const std::function<void(TaskControl&)>& work);

}  // namespace vormel
