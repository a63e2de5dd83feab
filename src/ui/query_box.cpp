#include "ui/query_box.h"

#include <QPushButton>
#include <QShortcut>

namespace vormel {

QueryBox::QueryBox(const LayoutScale& scale, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
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
    setStyleSheet("QueryBox { border: 1px solid rgb(0,0,128); }");
    setAutoFillBackground(true);

    connect(break_button_, &QPushButton::clicked, this, [this] { answer(QueryAnswer::stop); });
    connect(continue_button_, &QPushButton::clicked, this, [this] { answer(QueryAnswer::proceed); });
    auto* go = new QShortcut(QKeySequence("Ctrl+G"), this);
    connect(go, &QShortcut::activated, this, [this] { answer(QueryAnswer::proceed); });
    auto* stop = new QShortcut(QKeySequence("Ctrl+Q"), this);
    connect(stop, &QShortcut::activated, this, [this] { answer(QueryAnswer::stop); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { answer(QueryAnswer::stop); });
}

void QueryBox::open(QueryKind kind, std::function<void(QueryAnswer)> done) {
    done_ = std::move(done);
    break_button_->setText(kind == QueryKind::page_end ? "Interrupt" : "Break");
    break_button_->setEnabled(true);
    continue_button_->setEnabled(true);
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->geometry();
        move(frame.right() - width() - 40, frame.bottom() - height() - 120);
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
