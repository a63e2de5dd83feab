// Seeded mutation fuzzing of the whole Read Input File + Expand Inputs step: mutated example files,
// mutated format snippets and random bytes must end in a numbered input error or in a consistent
// expanded table (checked against the plain expansion), never in a crash, a hang or a huge table.
// VORMEL_FUZZ_ITERATIONS and VORMEL_FUZZ_SEED set a longer or different run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "expansion_oracle.h"
#include "input/text_decoding.h"
#include "input_test_support.h"

namespace vormel::testing {
namespace {

struct Seed {
    std::string ext;
    std::string text;
};

std::vector<Seed> seeds() {
    std::vector<Seed> list = {
        {"tab", "Example title\na, b, c : f, g     ; header\n0 0 - : 1 0\n1 X 1 : 0 1\n$REST : - -\n"},
        {"tdf", "SUBDESIGN example\n( a, b, c : INPUT; f, g : OUTPUT; )\nBEGIN\nTABLE\n(a, b, c) => (f, g);\n"
                "B\"00X\" => B\"10\";\nB\"1X1\" => B\"01\";\nEND TABLE;\nEND;\n"},
        {"dcb", "*IDE\n*FUN\n$HEADER:X[a,b,c]:Y[f,g]\nX00-:Y10\nX1-1:Y01\n*END\n"},
        {"bol", "; two outputs\nF = A AND NOT B\n    OR C\nG = !A & C # B*C\nEND\n"},
        {"pla", ".i 3\n.o 2\n.ilb a b c\n.ob f g\n.type fr\n.p 3\n1-0 1~\n0-1|01\n11- -1\n.e\n"},
    };
    const std::filesystem::path examples = std::filesystem::path(VORMEL_SOURCE_DIR) / "examples";
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".tab" && ext != ".tdf" && ext != ".dcb" && ext != ".pla" && ext != ".bol") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        list.push_back({ext.substr(1), text.str()});
    }
    return list;
}

const char kInteresting[] = ":,=-X01|~#;.*+/!& \n\r\t$[]()\"BTE";
const char* const kLines[] = {".i 1000",   ".i -5",  ".i 99999999999", ".o 0",      ".o 1000",  ".p 7",
                              ".type q",   ".i 3",   ".o 2",           ".ilb a b c", ".e",       "$REST:-",
                              "END",       "*END",   "*IDE",           "SUBDESIGN", "BEGIN",    "F = A +",
                              "= A",       "A,B:F",  "1:1",            "x=>y",      "END TABLE;", "\xc3\xa4\xc3\x9f",
                              "$REST 1",   "\xef\xbb\xbf" "a:f"};

class Mutator {
public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    std::size_t below(std::size_t n) { return n == 0 ? 0 : random_() % n; }

    char any_byte() {
        if (below(3) == 0) return static_cast<char>(below(256));
        return kInteresting[below(sizeof kInteresting - 1)];
    }

    void mutate(std::string& text, const std::vector<Seed>& pool) {
        switch (below(9)) {
            case 0:
                if (!text.empty()) text[below(text.size())] = any_byte();
                break;
            case 1: text.insert(below(text.size() + 1), 1, any_byte()); break;
            case 2: {
                const std::size_t at = below(text.size() + 1);
                text.erase(at, below(12));
                break;
            }
            case 3:
            case 4: {
                std::vector<std::string> lines = split_lines(text);
                if (lines.empty()) lines.emplace_back();
                const std::size_t at = below(lines.size() + 1);
                if (below(2) == 0) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), kLines[below(std::size(kLines))]);
                else lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[below(lines.size())]);
                text = join_lines(lines);
                break;
            }
            case 5: {
                std::vector<std::string> lines = split_lines(text);
                if (lines.size() > 1) std::swap(lines[below(lines.size())], lines[below(lines.size())]);
                text = join_lines(lines);
                break;
            }
            case 6: text.resize(below(text.size() + 1)); break;
            case 7: {
                const std::string& other = pool[below(pool.size())].text;
                text = text.substr(0, below(text.size() + 1)) + other.substr(below(other.size() + 1));
                break;
            }
            default: {
                // A wider table: repeat one line many times.
                std::vector<std::string> lines = split_lines(text);
                if (lines.empty()) break;
                const std::string line = lines[below(lines.size())];
                const std::size_t count = below(200);
                for (std::size_t i = 0; i < count; ++i) lines.push_back(line);
                text = join_lines(lines);
                break;
            }
        }
    }

    std::string random_bytes() {
        std::string text(below(400), '\0');
        for (char& c : text) c = any_byte();
        return text;
    }

private:
    static std::vector<std::string> split_lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    static std::string join_lines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        return text;
    }

    std::mt19937 random_;
};

unsigned long environment_number(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoul(value, nullptr, 10) : fallback;
}

// What every finished read + expand guarantees, and that the report with the input's text in front
// of it makes a rich-text copy of printable ASCII only.
void check_outcome(InputRun& run, const std::string& what, const std::string& input = {}) {
    const Problem& problem = run.problem();
    if (!input.empty()) {
        run.area.append(decode_input_text(input), colours::black, false);
        std::ostringstream rich;
        run.area.write_rich(rich);
        for (char c : rich.str()) {
            const auto u = static_cast<unsigned char>(c);
            ASSERT_TRUE((u >= 0x20 && u < 0x7f) || c == '\r' || c == '\n') << what << "\nbyte " << static_cast<int>(u);
        }
    }
    if (run.failed()) {
        ASSERT_GE(run.session.ctx.error_count, 1) << what;
        return;
    }
    ASSERT_GE(problem.inputs(), 1) << what;
    ASSERT_LE(problem.inputs(), kMaxInputs) << what;
    ASSERT_GE(problem.outputs(), 1) << what;
    ASSERT_LE(problem.outputs(), kMaxOutputs) << what;
    ASSERT_EQ(problem.extab.rows(), 1 << problem.inputs()) << what;
    ASSERT_EQ(problem.extab.ny, problem.outputs()) << what;
    ASSERT_TRUE(problem.expanded_final_output.rows() == 0) << what;  // made by the final comparison
    ASSERT_EQ(problem.polarity.size(), static_cast<std::size_t>(problem.outputs())) << what;
    ASSERT_FALSE(problem.rest_used) << what;
    for (std::uint8_t v : problem.extab.ys) ASSERT_LE(v, kDash) << what;
    if (problem.inputs() <= 12) {
        const OracleExpansion expected = oracle_expand(problem);
        ASSERT_TRUE(expected.conflict.empty()) << what;
        ASSERT_TRUE(expected.ys == problem.extab.ys) << what;
    }
}

TEST(ReaderFuzz, MutatedInputsEndInAnErrorOrAConsistentTable) {
    const unsigned long iterations = environment_number("VORMEL_FUZZ_ITERATIONS", 1500);
    const auto seed = static_cast<unsigned>(environment_number("VORMEL_FUZZ_SEED", 20261207));
    const char* const extensions[] = {"tab", "tdf", "dcb", "pla", "bol", "txt"};
    const std::vector<Seed> pool = seeds();
    Mutator mutator(seed);
    int succeeded = 0;
    for (unsigned long i = 0; i < iterations; ++i) {
        Seed input = pool[mutator.below(pool.size())];
        if (mutator.below(10) == 0) input.text = mutator.random_bytes();
        const std::size_t mutations = 1 + mutator.below(4);
        for (std::size_t m = 0; m < mutations; ++m) mutator.mutate(input.text, pool);
        if (mutator.below(8) == 0) input.ext = extensions[mutator.below(std::size(extensions))];
        const int level = static_cast<int>(mutator.below(5));
        auto run = run_file(write_input(input.text, input.ext, "fuzz"), level);
        check_outcome(*run,
                      "seed " + std::to_string(seed) + " iteration " + std::to_string(i) + " ." + input.ext + "\n" +
                          input.text,
                      input.text);
        if (::testing::Test::HasFatalFailure()) return;
        succeeded += run->failed() ? 0 : 1;
    }
    // Mutations keep many inputs readable; if none is, the test is not exercising the expansion.
    EXPECT_GT(succeeded, static_cast<int>(iterations / 20));
}

TEST(ReaderFuzz, HostileFiles) {
    std::mt19937 random(3);
    std::string binary(4096, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    std::string long_line = "a,b:f\n" + std::string(10'000'000, '1') + ":1\n";
    std::string many_lines = "a:f\n";
    for (int i = 0; i < 1'000'000; ++i) many_lines += i % 2 ? "1:1\n" : "0:1\n";
    const std::string long_name(1000, 'N');
    std::string wide = "x0";
    for (int i = 1; i < 22; ++i) wide += ",x" + std::to_string(i);
    wide += ":f\n";
    for (int i = 0; i < 20000; ++i) wide += std::string(22, '-') + ":1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"tab", ""},
        {"tab", binary},
        {"pla", binary},
        {"tab", long_line},
        {"tab", many_lines},
        {"tab", long_name + "," + long_name + "B:" + long_name + "\n1-:1\n"},
        {"bol", "F = " + long_name + " + /" + long_name + "\n"},
        {"tab", std::string("a,b:f\n\0\0\0", 9)},
        {"tab", wide},
    };
    for (const auto& [ext, text] : cases) {
        auto run = run_file(write_input(text, ext, "hostile"));
        check_outcome(*run, "." + ext + " of " + std::to_string(text.size()) + " bytes");
    }
}

}  // namespace
}  // namespace vormel::testing
