// One function written in each of the five formats expands to one table; the shipped examples
// read and expand cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "input_test_support.h"

namespace vormel::testing {
namespace {

using Lines = std::vector<std::string>;

// A full adder: s = a xor b xor ci, co = majority(a, b, ci).
const char* const kFullAdderExpanded = "00 10 10 01 10 01 01 11";

TEST(CrossFormat, FullAdderInEveryFormat) {
    const std::pair<const char*, const char*> files[] = {
        {"tab", "full adder\na, b, ci : s, co\n000:00\n001:10\n010:10\n011:01\n100:10\n101:01\n110:01\n111:11\n"},
        {"tdf", "SUBDESIGN adder\n( a, b, ci : INPUT; s, co : OUTPUT; )\nBEGIN\nTABLE\n(a, b, ci) => (s, co);\n"
                "B\"001\" => B\"10\";\nB\"010\" => B\"10\";\nB\"011\" => B\"01\";\nB\"100\" => B\"10\";\n"
                "B\"101\" => B\"01\";\nB\"110\" => B\"01\";\nB\"111\" => B\"11\";\nEND TABLE;\nEND;\n"},
        {"dcb", "*IDE\nfull adder\n*FUN\n$HEADER:X[a,b,ci]:Y[s,co]\nX001:Y10\nX010:Y10\nX100:Y10\nX111:Y11\n"
                "X-11:Y-1\nX1-1:Y-1\nX11-:Y-1\nX011:Y0-\nX101:Y0-\nX110:Y0-\n$REST:00\n*END\n"},
        {"pla", ".i 3\n.o 2\n.ilb a b ci\n.ob s co\n.p 7\n001 10\n010 10\n100 10\n111 11\n-11 01\n1-1 01\n11- 01\n.e\n"},
        {"bol", "S = /A*/B*CI + /A*B*/CI + A*/B*/CI + A*B*CI\nCO = A AND B OR A AND CI OR B AND CI\n"},
    };
    for (const auto& [ext, text] : files) {
        auto run = run_input(text, ext);
        ASSERT_FALSE(run->failed()) << ext << "\n" << run->text();
        EXPECT_EQ(run->problem().xnames, (Lines{"A", "B", "CI"})) << ext;
        EXPECT_EQ(run->problem().ynames, (Lines{"S", "CO"})) << ext;
        EXPECT_EQ(run->expanded(), kFullAdderExpanded) << ext;
    }
}

std::string example_copy(const std::string& name) {
    std::ifstream in(std::string(VORMEL_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const auto dot = name.rfind('.');
    return write_input(text.str(), name.substr(dot + 1), "example_" + name.substr(0, dot));
}

TEST(Examples, ReadAndExpand) {
    struct Expected {
        const char* file;
        int inputs;
        int outputs;
        const char* type;
    };
    const Expected examples[] = {{"full_adder.tab", 3, 2, "TABLE"},
                                 {"seven_segment.tdf", 4, 7, "TABLE"},
                                 {"comparator.dcb", 4, 3, "TABLE"},
                                 {"multiplier2.pla", 4, 4, "TABLE"},
                                 {"majority.bol", 6, 2, "BOOLEAN"}};
    for (const Expected& e : examples) {
        auto run = run_file(example_copy(e.file));
        ASSERT_FALSE(run->failed()) << e.file << "\n" << run->text();
        EXPECT_EQ(run->problem().inputs(), e.inputs) << e.file;
        EXPECT_EQ(run->problem().outputs(), e.outputs) << e.file;
        EXPECT_EQ(run->problem().input_type, e.type) << e.file;
    }
    EXPECT_EQ(run_file(example_copy("full_adder.tab"))->expanded(), kFullAdderExpanded);
}

TEST(Examples, MultiplierComputesProducts) {
    auto run = run_file(example_copy("multiplier2.pla"));
    const ExpandedTable& ex = run->problem().extab;
    for (int m = 0; m < 16; ++m) {
        const int product = (m >> 2) * (m & 3);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(ex.y(m)[j], (product >> (3 - j)) & 1) << "minterm " << m;
    }
}

TEST(Examples, ComparatorAgreesWithArithmetic) {
    auto run = run_file(example_copy("comparator.dcb"));
    const ExpandedTable& ex = run->problem().extab;
    for (int m = 0; m < 16; ++m) {
        const int a = m >> 2;
        const int b = m & 3;
        EXPECT_EQ(ex.y(m)[0], a > b) << m;
        EXPECT_EQ(ex.y(m)[1], a == b) << m;
        EXPECT_EQ(ex.y(m)[2], a < b) << m;
    }
}

}  // namespace
}  // namespace vormel::testing
