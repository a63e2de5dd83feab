#pragma once
#include <QWidget>
#include <functional>

#include "report/run_window.h"
#include "ui/layout_scale.h"

class QPushButton;

namespace vormel {

// The Break/Interrupt box of page ends and "Reset ?": always on top, no title bar. The run waits
// for its answer; the main window stays usable for the display level and Page-by-Page meanwhile.
class QueryBox : public QWidget {
    Q_OBJECT
public:
    QueryBox(const LayoutScale& scale, QWidget* owner);

    void open(QueryKind kind, std::function<void(QueryAnswer)> done);
    // Start/Continue/Ctrl+G give proceed; Quit/Break/Interrupt/Ctrl+Q give stop.
    void answer(QueryAnswer answer);
    bool is_open() const { return static_cast<bool>(done_); }

private:
    QPushButton* break_button_;
    QPushButton* continue_button_;
    std::function<void(QueryAnswer)> done_;
};

}  // namespace vormel
