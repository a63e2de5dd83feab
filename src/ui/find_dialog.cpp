#include "ui/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vormel {

FindDialog::FindDialog(QWidget* owner) : QDialog(owner) {
    setObjectName("findDialog");
    setWindowTitle("Find");
    setModal(false);
    text_ = new QLineEdit(this);
    text_->setObjectName("findText");
    match_case_ = new QCheckBox("Match &case", this);
    match_case_->setObjectName("matchCase");
    auto* next = new QPushButton("&Find Next", this);
    next->setObjectName("findNextButton");
    next->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    result_ = new QLabel(this);
    result_->setObjectName("findResult");
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Find what:", this), 0, 0);
    grid->addWidget(text_, 0, 1);
    grid->addWidget(next, 0, 2);
    grid->addWidget(match_case_, 1, 0, 1, 2);
    grid->addWidget(cancel, 1, 2);
    grid->addWidget(result_, 2, 0, 1, 3);
    connect(next, &QPushButton::clicked, this, [this] { emit find_requested(text_->text(), match_case_->isChecked()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(text_, &QLineEdit::textChanged, result_, &QLabel::clear);
}

void FindDialog::show_result(const QString& text) { result_->setText(text); }

QString FindDialog::result() const { return result_->text(); }

}  // namespace vormel
