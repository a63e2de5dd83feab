#pragma once
// The inputs of whole-run tests (examples and benchmark files), private copies to run them in, and an
// independent check that the final terms realise the expanded input.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vormel {
struct Problem;
}

namespace vormel::testing {

struct InputFile {
    std::filesystem::path path;
    std::string name;  // test name: the file name without characters gtest refuses
    int pla_inputs = 0;  // the .i count of a .pla file, 0 for the other kinds
};

inline void PrintTo(const InputFile& file, std::ostream* out) { *out << file.path.string(); }

// The name of a test instantiated over InputFile values.
inline std::string input_name(const ::testing::TestParamInfo<InputFile>& info) { return info.param.name; }

// The examples and the benchmark .pla files, by name; .pla files declaring more inputs are left out.
std::vector<InputFile> list_inputs(int largest_pla_inputs);

// Whole-run suites split list_inputs: the examples and the .pla files of at most kSmallPlaInputs
// inputs run in the quick suite and under the sanitizers; the rest, instantiated as LargeInputs/...,
// carry the long label and run in the release build only.
constexpr int kSmallPlaInputs = 7;
std::vector<InputFile> small_inputs(int largest_pla_inputs);
std::vector<InputFile> large_inputs(int largest_pla_inputs);

// A private copy of the input: a run writes its reports beside it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string read_text(const std::filesystem::path& path);

// Each output j of the final terms realises its chosen set: a minterm that a term of j covers takes
// polarity(j), any other 1 - polarity(j). Returns the first term fed against its output's polarity or
// the first minterm and output that disagree with a specified value of the expanded input, as text,
// or "" when all agree.
std::string check_realisation(const Problem& p);

}  // namespace vormel::testing
