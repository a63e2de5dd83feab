#pragma once
#include <QLabel>

namespace vormel {

// A one-line label that shows as much of its text as fits and marks a cut with an ellipsis; the
// whole text stays available and comes back when the label grows.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    ElidedLabel(const QString& text, QWidget* parent);

    void set_full_text(const QString& text);
    const QString& full_text() const { return full_text_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();
    QString full_text_;
};

}  // namespace vormel
