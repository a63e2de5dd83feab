// Whole runs over the examples and the small benchmark inputs: every method and polarity mode must end
// with the proof passed, and the final terms must realise the expanded input by a check of their own.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "model/problem.h"
#include "report/text_work_area.h"
#include "run/command_fsm.h"
#include "run/session.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;

constexpr int kLargestTestedInputs = 12;
constexpr int kLargestCombinationOutputs = 8;
// Keeps the suite short under the sanitizers: Quine-McCluskey on a large 0-set takes seconds, and
// the 0-Set and Automatic modes double the prime work of problems with many outputs.
constexpr int kLargestQmcInputs = 8;
constexpr int kLargestAllModesOutputs = 16;

struct InputFile {
    fs::path path;
    std::string name;  // test name: the file name without characters gtest refuses
};

void PrintTo(const InputFile& file, std::ostream* out) { *out << file.path.string(); }

// The ".i" count of a .pla file (0 when it declares none); other kinds are checked after reading.
int declared_pla_inputs(const fs::path& path) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".i ", 0) == 0) return std::atoi(line.c_str() + 3);
    }
    return 0;
}

std::vector<InputFile> list_inputs() {
    static const std::set<std::string> kinds = {".tab", ".tdf", ".dcb", ".pla", ".bol"};
    std::vector<InputFile> files;
    for (const fs::path& dir : {fs::path(VORMEL_SOURCE_DIR) / "examples", fs::path(VORMEL_BENCH_DIR) / "pla"}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (!entry.is_regular_file() || kinds.count(entry.path().extension().string()) == 0) continue;
            if (entry.path().extension() == ".pla" && declared_pla_inputs(entry.path()) > kLargestTestedInputs) continue;
            std::string name = entry.path().filename().string();
            for (char& c : name) {
                if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
            }
            files.push_back({entry.path(), name});
        }
    }
    std::sort(files.begin(), files.end(), [](const InputFile& a, const InputFile& b) { return a.name < b.name; });
    return files;
}

// A private copy of the input: a run writes its reports beside it.
class ScratchDir {
public:
    ScratchDir() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("vormel_e2e_" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each output j of the final terms realises its chosen set: a minterm that a term of j covers takes
// polarity(j), any other 1 - polarity(j). Returns the first term fed against its output's polarity or
// the first minterm and output that disagree with a specified value of the expanded input, as text,
// or "" when all agree.
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

class EndToEnd : public ::testing::TestWithParam<InputFile> {};

TEST_P(EndToEnd, EveryMethodAndPolarityProvesItsResult) {
    ScratchDir scratch;
    const fs::path input = scratch.path() / GetParam().path.filename();
    fs::copy_file(GetParam().path, input);

    for (int method : {method_qmc, method_cns}) {
        for (int mode : {polarity_one_set, polarity_zero_set, polarity_automatic, polarity_combination}) {
            SCOPED_TRACE("method " + std::to_string(method) + " polarity mode " + std::to_string(mode));
            TextWorkArea area;
            SilentRunWindow window;
            Session session(area, window);
            RunContext& ctx = session.ctx;
            area.set_plain_text(read_text(input));
            ctx.input_file = input.string();
            ctx.options.display_level = 1;
            ctx.options.page_by_page = 0;
            ctx.options.prime_method = method;
            ctx.options.polarity_mode = mode;
            ctx.run_state = 4;

            // Level 1 returns after each step: the first call reads and expands.
            Vormel_CommandFSM(session);
            ASSERT_EQ(ctx.run_state, 5) << area.text();
            const Problem& p = session.problem;
            if (p.inputs() > kLargestTestedInputs) GTEST_SKIP() << p.inputs() << " inputs";
            if (method == method_qmc && p.inputs() > kLargestQmcInputs) break;
            if (mode == polarity_combination && p.outputs() > kLargestCombinationOutputs) continue;
            if (mode != polarity_one_set && p.outputs() > kLargestAllModesOutputs) continue;
            for (int guard = 0; guard < 10 && ctx.run_state != 10; ++guard) Vormel_CommandFSM(session);

            EXPECT_TRUE(session.report_saved);
            EXPECT_NE(area.text().find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
            EXPECT_NE(area.text().find(" *** End of "), std::string::npos);
            EXPECT_EQ(check_realisation(p), "");
            if (HasFailure()) return;
        }
    }
}

// Regression: the merged covers of a full random 5-input, 100-output table hold more rows than six
// times the expanded table (the old fixed bound of expand_x2, System Error 4); the working table
// grows instead and the run proves its result.
TEST(EndToEndBounds, TableAboveSixTimesTheExpandedRowsIsOptimizedNotRefused) {
    ScratchDir scratch;
    const fs::path input = scratch.path() / "full_random.tab";
    std::mt19937 random(1);
    std::ostringstream text;
    text << "a0,a1,a2,a3,a4:";
    for (int j = 0; j < 100; ++j) text << (j > 0 ? "," : "") << "y" << j;
    text << "\n";
    for (int m = 0; m < 32; ++m) {
        for (int i = 4; i >= 0; --i) text << ((m >> i) & 1);
        text << ':';
        for (int j = 0; j < 100; ++j) text << (random() % 2);
        text << "\n";
    }
    std::ofstream(input) << text.str();

    TextWorkArea area;
    SilentRunWindow window;
    Session session(area, window);
    RunContext& ctx = session.ctx;
    ctx.input_file = input.string();
    ctx.options.display_level = 0;
    ctx.options.page_by_page = 0;
    ctx.run_state = 4;
    Vormel_CommandFSM(session);
    EXPECT_EQ(area.text().find("System Error"), std::string::npos) << area.text();
    EXPECT_TRUE(session.report_saved);
    EXPECT_NE(area.text().find(" *** Comparison with original expanded Inputs successful."), std::string::npos);
    EXPECT_EQ(check_realisation(session.problem), "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, EndToEnd, ::testing::ValuesIn(list_inputs()),
                         [](const ::testing::TestParamInfo<InputFile>& info) { return info.param.name; });

}  // namespace
}  // namespace vormel
