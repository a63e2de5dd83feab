#include "ui/ui_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QUrl>

namespace vormel {

namespace {

QString qt_text(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

QStringList qt_name_filters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (patterns == "*.*") patterns = "*";
        // The description lists the patterns for dialogs that show no others; Qt shows its own.
        QString description = parts[i];
        const qsizetype listed = description.lastIndexOf('(');
        if (listed > 0 && description.endsWith(')')) description = description.left(listed).trimmed();
        filters << description + " (" + patterns + ")";
    }
    return filters;
}

MessageAnswer QtDialogs::message_box(QWidget* parent, const std::string& caption, const std::string& text,
                                     MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(qt_text(caption));
    box.setText(qt_text(text));
    box.setIcon(icon == MessageIcon::error      ? QMessageBox::Critical
                : icon == MessageIcon::question ? QMessageBox::Question
                                                : QMessageBox::Information);
    switch (buttons) {
        case MessageButtons::ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MessageButtons::yes_no: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MessageButtons::yes_no_cancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return MessageAnswer::yes;
        case QMessageBox::No: return MessageAnswer::no;
        case QMessageBox::Ok: return MessageAnswer::ok;
        default: return MessageAnswer::cancel;
    }
}

std::optional<std::string> QtDialogs::open_file_name(QWidget* parent, const std::string& title,
                                                     const std::string& filter, const std::string& preset) {
    QFileDialog dialog(parent, QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qt_name_filters(filter));
    if (!preset.empty()) dialog.selectFile(QString::fromStdString(preset));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::save_file_name(QWidget* parent, const std::string& title,
                                                     const std::string& filter, int filter_index,
                                                     const std::string& preset) {
    QFileDialog dialog(parent, QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Overwriting is asked by the program itself where it matters.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = qt_name_filters(filter);
    dialog.setNameFilters(filters);
    if (filter_index >= 1 && filter_index <= filters.size()) dialog.selectNameFilter(filters[filter_index - 1]);
    if (!preset.empty()) dialog.selectFile(QString::fromStdString(preset));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

bool QtDialogs::open_in_viewer(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtDialogs::print_setup(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vormel
