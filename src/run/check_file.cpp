#include "run/check_file.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "report/run_context.h"

namespace vormel {

namespace fs = std::filesystem;

bool check_file(RunContext& ctx, int step_field, const std::string& name, const std::string& mode) {
    ctx.current_sub = "check_file";
    std::string lower = mode;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool writing = lower == "w";

    std::error_code error;
    const fs::file_status status = fs::status(name, error);
    const bool exists = fs::exists(status);
    std::string message;
    if (fs::is_directory(status)) {
        message = "Requested file is a folder, not a file:  ";
    } else if (exists && !fs::is_regular_file(status)) {
        message = "Requested file is not a plain file:  ";
    } else if (exists && writing && access(name.c_str(), W_OK) != 0) {
        message = "Requested file is write-protected:  ";
    } else if (exists) {
        std::ifstream probe(name, std::ios::binary);
        if (!probe) message = "Requested File is not accessible:  ";
    } else if (!writing) {
        message = "Requested File is not accessible:  ";
    } else {
        // It will be created: its folder must take it.
        const fs::path folder = fs::absolute(fs::path(name), error).parent_path();
        if (!fs::is_directory(folder, error) || access(folder.c_str(), W_OK) != 0) {
            message = "Requested File cannot be written (no such folder, or no permission to write there):  ";
        }
    }
    if (message.empty()) return true;

    ctx.window.set_step_field(step_field, StepPart::status, "Error", StepLook::error);
    if (step_field == 5) {
        ctx.report.text_red(1);
        ctx.report.print_direct("*** Error: " + message + name, 1);
    }
    ctx.window.message_box(writing ? " Save Error" : " Open Error", message + "\r\n\r\n" + name, MessageIcon::error,
                           MessageButtons::ok);
    ctx.error_flag = -1;
    return false;
}

}  // namespace vormel
