#include "ui/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vormel {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle("Vormel Help");
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpText");
    browser_->setOpenExternalLinks(true);
    QFile guide(":/docs/user_guide.md");
    if (guide.open(QIODevice::ReadOnly)) {
        browser_->setMarkdown(QString::fromUtf8(guide.readAll()));
    } else {
        browser_->setPlainText("The user guide is missing from this build of Vormel.");
    }

    search_ = new QLineEdit(this);
    search_->setObjectName("helpSearch");
    search_->setPlaceholderText("Search the guide");
    search_->setClearButtonEnabled(true);
    auto* next = new QPushButton("Find &Next", this);
    next->setObjectName("helpFindNext");
    search_result_ = new QLabel(this);
    search_result_->setObjectName("helpSearchResult");
    auto* search_row = new QHBoxLayout;
    search_row->addWidget(new QLabel("Find:", this));
    search_row->addWidget(search_, 1);
    search_row->addWidget(next);
    search_row->addWidget(search_result_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(search_row);
    column->addWidget(browser_, 1);

    connect(search_, &QLineEdit::returnPressed, this, &HelpWindow::find_next);
    connect(next, &QPushButton::clicked, this, &HelpWindow::find_next);
    connect(search_, &QLineEdit::textChanged, search_result_, &QLabel::clear);
}

bool HelpWindow::find_next() {
    const QString needle = search_->text();
    search_result_->clear();
    if (needle.isEmpty()) return false;
    if (browser_->find(needle)) return true;
    // From the top again, so that every occurrence is reached from anywhere.
    const QTextCursor kept = browser_->textCursor();
    browser_->moveCursor(QTextCursor::Start);
    if (browser_->find(needle)) {
        search_result_->setText("from the top");
        return true;
    }
    browser_->setTextCursor(kept);
    search_result_->setText("not found");
    return false;
}

}  // namespace vormel
