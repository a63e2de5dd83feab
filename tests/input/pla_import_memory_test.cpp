// The importer's cost: a .phase complement on cubes, and memory running out as a refusal, never an
// abort.
#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "input/input_test_support.h"
#include "input/pla_import.h"
#include "input/text_cubes.h"
#include "support/address_space.h"
#include "support/run_program.h"

namespace vormel {
namespace {

bool holds(const std::string& cube, unsigned point) {
    const std::size_t n = cube.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (cube[i] != '-' && static_cast<unsigned>(cube[i] - '0') != ((point >> (n - 1 - i)) & 1u)) return false;
    }
    return true;
}

TEST(TextCubes, ComplementAndSharpHoldExactlyThePointsLeftOut) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const std::size_t width = 1 + rng() % 7;
        TextCover cover;
        for (unsigned c = rng() % 6; c > 0; --c) {
            cover.emplace_back();
            for (std::size_t i = 0; i < width; ++i) cover.back() += "01--"[rng() % 4];
        }
        TextCube cube;
        for (std::size_t i = 0; i < width; ++i) cube += "01--"[rng() % 4];
        const TextCover off = complement(cover, width);
        const TextCover rest = sharp(cube, cover);
        for (unsigned point = 0; point < (1u << width); ++point) {
            bool in_cover = false, in_off = false, in_rest = false;
            for (const TextCube& c : cover) in_cover = in_cover || holds(c, point);
            for (const TextCube& c : off) in_off = in_off || holds(c, point);
            for (const TextCube& c : rest) in_rest = in_rest || holds(c, point);
            ASSERT_EQ(in_off, !in_cover) << "point " << point << " round " << round;
            ASSERT_EQ(in_rest, holds(cube, point) && !in_cover) << "point " << point << " round " << round;
        }
    }
}

// A type f file with a .phase of all 0: its ON sets are the complements, on cubes, and stay a few
// hundred rows where the union of the cubes leaves little out.
TEST(PlaImportCost, PhaseZeroWithoutOffSetIsTheComplementOnCubes) {
    std::mt19937 rng(28);
    const int inputs = 16;
    std::string text = ".i 16\n.o 3\n.type f\n.phase 000\n";
    for (int c = 0; c < 300; ++c) {
        std::string in;
        for (int i = 0; i < inputs; ++i) in += "01----"[rng() % 6];
        text += in + " " + "01"[rng() % 2] + "01\n";
    }
    const PlaImport imported = import_pla(text);
    ASSERT_EQ(imported.error, "");
    const std::size_t rows = static_cast<std::size_t>(std::count(imported.text.begin(), imported.text.end(), '\n'));
    EXPECT_LT(rows, 1000u);
    const auto run = testing::run_file(testing::write_input(imported.text, "pla", "phase_all_0"));
    ASSERT_FALSE(run->failed()) << run->text();
    // Output 1 is 0 in every cube (no part of the ON set): complemented, it is 1 everywhere.
    const std::string expanded = run->expanded();
    for (std::size_t k = 1; k < expanded.size(); k += 4) ASSERT_EQ(expanded[k], '1') << k;
}

#if !defined(__SANITIZE_ADDRESS__)
// The address-space sanitizer reserves terabytes up front: capped address spaces are left to the
// plain build.

using testing::address_space_bytes;
using testing::cap_address_space;

// Millions of one-input cubes, about 100 bytes each once read; the last line is wrong, so a run
// with memory to spare ends with a refusal instead of a long run.
std::string many_cubes(int count) {
    std::string text = ".i 1\n.o 1\n";
    for (int c = 0; c < count; ++c) text += "1 1\n";
    return text + "x 1\n";
}

// std::bad_alloc escaped --import and aborted the program (exit 134).
TEST(PlaImportMemory, MemoryRunningOutIsAnswerNotAbort) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string text = many_cubes(2'000'000);
    EXPECT_EXIT(
        {
            cap_address_space(static_cast<rlim_t>(address_space_bytes() + (32 << 20)));
            const PlaImport imported = import_pla(text);
            cap_address_space(RLIM_INFINITY);
            std::_Exit(imported.out_of_memory && imported.text.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");

    testing::TempDir dir;
    const std::string input = dir.write("many.pla", many_cubes(6'000'000));
    const testing::ProgramOutcome outcome = testing::run_program(dir, "ulimit -v 300000; " + testing::vormelc("--import " + input));
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_NE(outcome.out.find("Error   7"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.err.find("Out of memory"), std::string::npos) << outcome.err;
}
#endif

}  // namespace
}  // namespace vormel
