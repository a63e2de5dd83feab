#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vormel {

// The find box of the work area: a search string, match case, Find Next. Forward, wrapping at the end.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* owner);
    QLineEdit& text_field() { return *text_; }
    QCheckBox& match_case() { return *match_case_; }
    // What the last search found: "not found" or "from the top", empty when it simply moved on.
    void show_result(const QString& text);
    QString result() const;

signals:
    void find_requested(const QString& needle, bool match_case);

private:
    QLineEdit* text_;
    QCheckBox* match_case_;
    QLabel* result_;
};

}  // namespace vormel
