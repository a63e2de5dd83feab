#pragma once
#include <QFrame>
#include <functional>

#include "report/run_window.h"
#include "ui/layout_scale.h"

class QPushButton;

namespace vormel {

// The Break/Interrupt box of page ends and "Reset ?": always on top, no title bar. The run waits
// for its answer; the main window stays usable for the display level and Page-by-Page meanwhile.
// Its keys are its own while it has the focus: Ctrl+G, Enter and Return continue, Ctrl+Q and
// Escape break, whichever button has the focus; the menu's shortcuts never see them.
class QueryBox : public QFrame {
    Q_OBJECT
public:
    QueryBox(const LayoutScale& scale, QWidget* owner);

    void open(QueryKind kind, std::function<void(QueryAnswer)> done);
    // Start/Continue/Ctrl+G give proceed; Quit/Break/Interrupt/Ctrl+Q give stop.
    void answer(QueryAnswer answer);
    bool is_open() const { return static_cast<bool>(done_); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* break_button_;
    QPushButton* continue_button_;
    std::function<void(QueryAnswer)> done_;
};

}  // namespace vormel
