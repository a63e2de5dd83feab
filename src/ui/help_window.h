#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace vormel {

// The user guide (docs/user_guide.md, built into the program) in a window of its own, with a
// search field: Enter or Find Next selects the next occurrence, from the top again after the last.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner);

    QTextBrowser& browser() { return *browser_; }
    QLineEdit& search_field() { return *search_; }
    // Selects the next occurrence of the search text; false when there is none.
    bool find_next();

private:
    QTextBrowser* browser_;
    QLineEdit* search_;
    QLabel* search_result_;
};

}  // namespace vormel
