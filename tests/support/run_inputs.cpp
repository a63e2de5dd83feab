#include "support/run_inputs.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "model/problem.h"

namespace vormel::testing {

namespace fs = std::filesystem;

namespace {

// The ".i" count of a .pla file (0 when it declares none); other kinds are checked after reading.
int declared_pla_inputs(const fs::path& path) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".i ", 0) == 0) return std::atoi(line.c_str() + 3);
    }
    return 0;
}

}  // namespace

std::vector<InputFile> list_inputs(int largest_pla_inputs) {
    static const std::set<std::string> kinds = {".tab", ".tdf", ".dcb", ".pla", ".bol"};
    std::vector<InputFile> files;
    for (const fs::path& dir : {fs::path(VORMEL_SOURCE_DIR) / "examples", fs::path(VORMEL_BENCH_DIR) / "pla"}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (!entry.is_regular_file() || kinds.count(entry.path().extension().string()) == 0) continue;
            const int pla_inputs = entry.path().extension() == ".pla" ? declared_pla_inputs(entry.path()) : 0;
            if (pla_inputs > largest_pla_inputs) continue;
            std::string name = entry.path().filename().string();
            for (char& c : name) {
                if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
            }
            files.push_back({entry.path(), name, pla_inputs});
        }
    }
    std::sort(files.begin(), files.end(), [](const InputFile& a, const InputFile& b) { return a.name < b.name; });
    return files;
}

std::vector<InputFile> small_inputs(int largest_pla_inputs) {
    std::vector<InputFile> files = list_inputs(largest_pla_inputs);
    std::erase_if(files, [](const InputFile& file) { return file.pla_inputs > kSmallPlaInputs; });
    return files;
}

std::vector<InputFile> large_inputs(int largest_pla_inputs) {
    std::vector<InputFile> files = list_inputs(largest_pla_inputs);
    std::erase_if(files, [](const InputFile& file) { return file.pla_inputs <= kSmallPlaInputs; });
    return files;
}

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("vormel_e2e_" + std::to_string(random()));
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string check_realisation(const Problem& p) {
    const int n = p.inputs();
    const TermTable& terms = p.final_terms;
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(p.extab.rows()) * p.outputs(), 0);
    for (int t = 0; t <= terms.last; ++t) {
        std::uint32_t care = 0, value = 0;
        for (int i = 0; i < n; ++i) {
            const std::uint32_t bit = std::uint32_t{1} << (n - 1 - i);
            if (terms.x(t)[i] != kDash) care |= bit;
            if (terms.x(t)[i] == kOne) value |= bit;
        }
        for (int j = 0; j < p.outputs(); ++j) {
            if (terms.y(t)[j] != kDash && terms.y(t)[j] != p.polarity[j]) {
                return "term " + std::to_string(t) + " feeds " + p.ynames[j] + " against its polarity";
            }
        }
        for (int r = 0; r <= p.extab.last; ++r) {
            if ((static_cast<std::uint32_t>(r) & care) != value) continue;
            for (int j = 0; j < p.outputs(); ++j) {
                if (terms.y(t)[j] != kDash) covered[static_cast<std::size_t>(r) * p.outputs() + j] = 1;
            }
        }
    }
    for (int r = 0; r <= p.extab.last; ++r) {
        for (int j = 0; j < p.outputs(); ++j) {
            const std::uint8_t expected = p.extab.y(r)[j];
            if (expected == kDash) continue;
            const int polarity = p.polarity[j];
            const int realised = covered[static_cast<std::size_t>(r) * p.outputs() + j] ? polarity : 1 - polarity;
            if (realised != expected) return "minterm " + std::to_string(r) + " output " + p.ynames[j];
        }
    }
    return "";
}

}  // namespace vormel::testing
