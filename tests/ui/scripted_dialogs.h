#pragma once
// A UiDialogs for the GUI tests: answers every box from queues and records what was asked.
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QPrinter>

#include "ui/ui_dialogs.h"

namespace vormel {

struct ScriptedDialogs : UiDialogs {
    std::deque<MessageAnswer> answers;
    std::vector<std::pair<std::string, std::string>> messages;
    std::deque<std::optional<std::string>> open_names;
    std::deque<std::optional<std::string>> save_names;
    int save_dialogs = 0;
    int last_save_filter = 0;

    MessageAnswer message_box(QWidget*, const std::string& caption, const std::string& text, MessageIcon,
                              MessageButtons) override {
        messages.emplace_back(caption, text);
        if (answers.empty()) return MessageAnswer::ok;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> open_file_name(QWidget*, const std::string&, const std::string&, const std::string&) override {
        if (open_names.empty()) return std::nullopt;
        auto name = open_names.front();
        open_names.pop_front();
        return name;
    }
    std::optional<std::string> save_file_name(QWidget*, const std::string&, const std::string&, int filter_index,
                                              const std::string&) override {
        ++save_dialogs;
        last_save_filter = filter_index;
        if (save_names.empty()) return std::nullopt;
        auto name = save_names.front();
        save_names.pop_front();
        return name;
    }
    // Printing goes to this PDF file when it is set; otherwise the setup is cancelled.
    std::string print_pdf;
    bool print_setup(QWidget*, QPrinter& printer) override {
        if (print_pdf.empty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(print_pdf));
        return true;
    }
    bool viewer_available = false;
    std::vector<std::string> viewed;
    bool open_in_viewer(const std::string& path) override {
        viewed.push_back(path);
        return viewer_available;
    }
};

}  // namespace vormel
