#include "ui/query_box.h"

#include <QKeyEvent>
#include <QPushButton>

#include "ui/window_layout.h"

namespace vormel {

namespace {

// The answer a key gives in the box, or none.
QueryAnswer answer_of(const QKeyEvent& key) {
    const bool ctrl = (key.modifiers() & Qt::ControlModifier) != 0;
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return QueryAnswer::proceed;
        case Qt::Key_Escape: return QueryAnswer::stop;
        case Qt::Key_G: return ctrl ? QueryAnswer::proceed : QueryAnswer::none;
        case Qt::Key_Q: return ctrl ? QueryAnswer::stop : QueryAnswer::none;
        default: return QueryAnswer::none;
    }
}

}  // namespace

QueryBox::QueryBox(const LayoutScale& scale, QWidget* owner)
    : QFrame(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("queryBox");
    setWindowTitle("Break/Interrupt");
    const QFont font = scale.font("Microsoft Sans Serif", 9);
    break_button_ = new QPushButton("Break", this);
    break_button_->setObjectName("queryBreakButton");
    break_button_->setToolTip("Interrupt long Displays - Ctrl+Q");
    break_button_->setGeometry(scale.rect(240, 240, 1455, 375));
    break_button_->setFont(font);
    continue_button_ = new QPushButton("Continue", this);
    continue_button_->setObjectName("queryContinueButton");
    continue_button_->setToolTip("Ddisplay more of the current step - Ctrl+G");
    continue_button_->setGeometry(scale.rect(240, 960, 1455, 375));
    continue_button_->setFont(font);
    continue_button_->setDefault(true);
    setFixedSize(scale.pixels(1935), scale.pixels(1575));
    // Without a title bar the frame is all that sets the box apart from the report behind it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 128));
    setPalette(colours);
    setAutoFillBackground(true);

    connect(break_button_, &QPushButton::clicked, this, [this] { answer(QueryAnswer::stop); });
    connect(continue_button_, &QPushButton::clicked, this, [this] { answer(QueryAnswer::proceed); });
    installEventFilter(this);
    break_button_->installEventFilter(this);
    continue_button_->installEventFilter(this);
}

bool QueryBox::eventFilter(QObject* watched, QEvent* event) {
    // Taking the keys at the shortcut-override stage keeps the main window's Ctrl+G and Ctrl+Q
    // actions from competing with the box for them.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const QueryAnswer key_answer = answer_of(*static_cast<QKeyEvent*>(event));
        if (key_answer != QueryAnswer::none) {
            event->accept();
            if (event->type() == QEvent::KeyPress) answer(key_answer);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void QueryBox::open(QueryKind kind, std::function<void(QueryAnswer)> done) {
    done_ = std::move(done);
    break_button_->setText(kind == QueryKind::page_end ? "Interrupt" : "Break");
    break_button_->setEnabled(true);
    continue_button_->setEnabled(true);
    if (const QWidget* owner = parentWidget()) {
        // Over the lower right corner of the report it pauses, clear of the prompt, Page-by-Page
        // and the Start and Quit buttons beside it.
        const QRect report = child_on_screen(*owner, "workArea");
        const int margin = fontMetrics().height();
        move(report.right() + 1 - margin - width(), report.bottom() + 1 - margin - height());
    }
    show();
    raise();
    activateWindow();
    (kind == QueryKind::page_end ? break_button_ : continue_button_)->setFocus();
}

void QueryBox::answer(QueryAnswer result) {
    if (!done_) return;
    auto done = std::move(done_);
    done_ = nullptr;
    hide();
    done(result);
}

}  // namespace vormel
