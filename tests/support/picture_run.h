#pragma once
// A whole run of a table text at display level 0, for tests of the result's pictures. Header only,
// so the GUI tests can use it without the rest of the test support.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"

namespace vormel::testing {

class PictureRun {
public:
    // `name` picks the reader by its extension (.tab, .pla, ...).
    PictureRun(const std::string& name, const std::string& text, int polarity_mode = polarity_one_set,
               int method = method_cns) {
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() / ("vormel_pictures_" + std::to_string(random()));
        std::filesystem::create_directories(dir_);
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        RunContext& ctx = session.ctx;
        area.set_plain_text(text);
        ctx.input_file = path;
        ctx.options.display_level = 0;
        ctx.options.page_by_page = 0;
        ctx.options.polarity_mode = polarity_mode;
        ctx.options.prime_method = method;
        ctx.run_state = 4;
        Vormel_CommandFSM(session);
    }
    ~PictureRun() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    PictureRun(const PictureRun&) = delete;
    PictureRun& operator=(const PictureRun&) = delete;

    const Problem& problem() const { return session.problem; }
    const std::filesystem::path& dir() const { return dir_; }

    TextWorkArea area;
    SilentRunWindow window;
    Session session{area, window};

private:
    std::filesystem::path dir_;
};

// A .tab text of n inputs and m outputs, every minterm listed; each output value 0, 1 or (with
// dc_percent) don't care, drawn from the seed.
inline std::string random_tab(unsigned seed, int n, int m, int dc_percent) {
    std::mt19937 rng(seed);
    std::string text = "; seeded random table " + std::to_string(seed) + "\n";
    for (int i = 0; i < n; ++i) text += (i ? ", x" : "x") + std::to_string(i);
    text += " : ";
    for (int j = 0; j < m; ++j) text += (j ? ", y" : "y") + std::to_string(j);
    text += "\n";
    for (int r = 0; r < (1 << n); ++r) {
        for (int i = 0; i < n; ++i) text += ((r >> (n - 1 - i)) & 1) ? '1' : '0';
        text += " : ";
        for (int j = 0; j < m; ++j) text += static_cast<int>(rng() % 100) < dc_percent ? '-' : "01"[rng() % 2];
        text += "\n";
    }
    return text;
}

}  // namespace vormel::testing
