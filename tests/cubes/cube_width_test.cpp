// The cube code at every width: functions of a few inputs scattered among up to 300 (and outputs
// among up to 300) give, in every class wide enough, the answers of the point oracle and exactly the
// answers the narrowest class gives on the same function with the unused inputs removed.
#include <algorithm>
#include <numeric>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "width/width_case.h"

namespace vormel::width_test {

WidthCase packed(const WidthCase& c) {
    WidthCase p = c;
    p.inputs = static_cast<int>(c.used_inputs.size());
    p.outputs = static_cast<int>(c.used_outputs.size());
    p.used_inputs.resize(c.used_inputs.size());
    std::iota(p.used_inputs.begin(), p.used_inputs.end(), 0);
    p.used_outputs.resize(c.used_outputs.size());
    std::iota(p.used_outputs.begin(), p.used_outputs.end(), 0);
    return p;
}

namespace {

struct ClassCopy {
    const char* name;
    Transcript (*cube_operations)(const WidthCase&, int);
    Transcript (*minimized)(const WidthCase&, bool);
};

#define VORMEL_CLASS_COPY(index, name, in_words, out_words) {#name, name::cube_operations, name::minimized},
const ClassCopy kCopies[] = {VORMEL_CUBE_CLASSES(VORMEL_CLASS_COPY)};
#undef VORMEL_CLASS_COPY

// `count` of [0, n), always with the first and last and those next to word edges when there are
// any, the rest drawn; ascending.
std::vector<int> scattered(std::mt19937& rng, int n, int count) {
    std::set<int> pick;
    for (int edge : {0, n - 1, 31, 32, 63, 64, 127, 128}) {
        if (static_cast<int>(pick.size()) < count && edge < n) pick.insert(edge);
    }
    while (static_cast<int>(pick.size()) < std::min(count, n)) pick.insert(static_cast<int>(rng() % n));
    return {pick.begin(), pick.end()};
}

WidthCase make_case(int inputs, int outputs, int used_in, int used_out, unsigned seed) {
    std::mt19937 rng(seed);
    WidthCase c;
    c.inputs = inputs;
    c.outputs = outputs;
    c.used_inputs = scattered(rng, inputs, used_in);
    c.used_outputs = scattered(rng, outputs, used_out);
    c.seed = seed;
    return c;
}

constexpr int kInputWidths[] = {1, 31, 32, 33, 64, 65, 127, 128, 300};

TEST(CubeWidths, OperationsMatchThePointsAndThePackedFunctionInEveryClass) {
    int compared = 0;
    for (int inputs : kInputWidths) {
        for (int outputs : {3, 70, 129, 300}) {
            const unsigned seed = static_cast<unsigned>(1000 * inputs + outputs);
            const WidthCase c = make_case(inputs, outputs, std::min(inputs, 6), 3, seed);
            const Transcript narrow = kCopies[0].cube_operations(packed(c), 40);
            ASSERT_EQ(narrow.errors, "");
            const int first = cubes::width_class_for(inputs, outputs);
            ASSERT_GE(first, 0);
            for (int k = first; k < cubes::kWidthClassCount; ++k) {
                SCOPED_TRACE(std::string(kCopies[k].name) + ": " + std::to_string(inputs) + " inputs, " +
                             std::to_string(outputs) + " outputs");
                const Transcript wide = kCopies[k].cube_operations(c, 40);
                EXPECT_EQ(wide.errors, "");
                EXPECT_EQ(wide.text, narrow.text);
                ++compared;
            }
        }
    }
    // Every case in at least its own class (a build may compile fewer classes).
    EXPECT_GE(compared, static_cast<int>(std::size(kInputWidths)) * 4);
}

TEST(CubeWidths, HeuristicAndExactGiveThePackedCoverInEveryClass) {
    for (int inputs : kInputWidths) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const WidthCase c = make_case(inputs, 3, std::min(inputs, 6), 3, seed * 7919u + static_cast<unsigned>(inputs));
            for (bool exact : {false, true}) {
                const Transcript narrow = kCopies[0].minimized(packed(c), exact);
                ASSERT_EQ(narrow.errors, "");
                const int first = cubes::width_class_for(inputs, 3);
                ASSERT_GE(first, 0);
                for (int k = first; k < cubes::kWidthClassCount; ++k) {
                    SCOPED_TRACE(std::string(kCopies[k].name) + (exact ? " exact, " : " heuristic, ") +
                                 std::to_string(inputs) + " inputs, seed " + std::to_string(seed));
                    const Transcript wide = kCopies[k].minimized(c, exact);
                    EXPECT_EQ(wide.errors, "");
                    EXPECT_EQ(wide.text, narrow.text);
                }
            }
        }
    }
}

}  // namespace
}  // namespace vormel::width_test
