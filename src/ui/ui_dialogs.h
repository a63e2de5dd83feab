#pragma once
#include <optional>
#include <QStringList>
#include <string>

#include "report/run_window.h"

class QWidget;
class QPrinter;

namespace vormel {

// Every box and dialog the window shows, behind one interface so that tests can answer them.
class UiDialogs {
public:
    virtual ~UiDialogs() = default;
    virtual MessageAnswer message_box(QWidget* parent, const std::string& caption, const std::string& text,
                                      MessageIcon icon, MessageButtons buttons) = 0;
    // filter in the form "Description|patterns|Description|patterns"; index is 1-based.
    virtual std::optional<std::string> open_file_name(QWidget* parent, const std::string& title,
                                                      const std::string& filter, const std::string& preset) = 0;
    virtual std::optional<std::string> save_file_name(QWidget* parent, const std::string& title,
                                                      const std::string& filter, int filter_index,
                                                      const std::string& preset) = 0;
    // The printer setup; false when cancelled.
    virtual bool print_setup(QWidget* parent, QPrinter& printer) = 0;
    // Opens a file in the desktop's viewer for its type; false when no viewer took it.
    virtual bool open_in_viewer(const std::string& path) = 0;
};

// The real boxes: QMessageBox, QFileDialog, QPrintDialog, and the desktop's viewers.
class QtDialogs : public UiDialogs {
public:
    MessageAnswer message_box(QWidget* parent, const std::string& caption, const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> open_file_name(QWidget* parent, const std::string& title, const std::string& filter,
                                              const std::string& preset) override;
    std::optional<std::string> save_file_name(QWidget* parent, const std::string& title, const std::string& filter,
                                              int filter_index, const std::string& preset) override;
    bool print_setup(QWidget* parent, QPrinter& printer) override;
    bool open_in_viewer(const std::string& path) override;
};

// "Input File (*.tab, *.bol)|*.tab;*.bol|All Files (*.*)|*.*" as the Qt name filters
// "Input File (*.tab *.bol)" and "All Files (*)".
QStringList qt_name_filters(const std::string& filter);

}  // namespace vormel
