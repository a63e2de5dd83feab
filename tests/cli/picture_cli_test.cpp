// vormelc --kmap and --diagram as a user calls them.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/picture_run.h"
#include "support/run_program.h"

namespace vormel {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::run_program;
using testing::TempDir;
using testing::vormelc;

const char* const kHalfAdder = "a, b : sum, carry\n0 0 : 0 0\n0 1 : 1 0\n1 0 : 1 0\n1 1 : 0 1\n";

TEST(VormelcPictures, WritesTheMapsAndTheDiagramAsSvg) {
    TempDir dir;
    const std::string input = dir.write("adder.tab", kHalfAdder);
    const auto outcome = run_program(dir, vormelc("-q " + input + " --kmap " + dir.path() + "/k.svg --diagram " + dir.path() + "/d.svg"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string kmap = read_file(dir.path() + "/k.svg");
    const std::string diagram = read_file(dir.path() + "/d.svg");
    for (const std::string* svg : {&kmap, &diagram}) {
        EXPECT_EQ(svg->rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u) << *svg;
        EXPECT_TRUE(svg->ends_with("</svg>\n"));
    }
    EXPECT_NE(kmap.find(">SUM</text>"), std::string::npos);
    EXPECT_NE(kmap.find(">CARRY</text>"), std::string::npos);
    EXPECT_NE(diagram.find(">CARRY</text>"), std::string::npos);
    EXPECT_TRUE(fs::exists(input + ".rpt"));
}

TEST(VormelcPictures, MapsOfMoreThanSixInputsAreRefusedAfterTheReportIsSaved) {
    TempDir dir;
    const std::string input = dir.write("wide.tab", testing::random_tab(3, 7, 1, 0));
    const auto outcome = run_program(dir, vormelc("-q " + input + " --kmap " + dir.path() + "/k.svg --diagram " + dir.path() + "/d.svg"));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Karnaugh maps are drawn for up to 6 inputs, this problem has 7"), std::string::npos) << outcome.err;
    EXPECT_TRUE(fs::exists(input + ".rpt"));
    EXPECT_FALSE(fs::exists(dir.path() + "/k.svg"));
    EXPECT_TRUE(fs::exists(dir.path() + "/d.svg"));
}

TEST(VormelcPictures, ANameNotEndingInSvgIsAUsageError) {
    TempDir dir;
    const std::string input = dir.write("adder.tab", kHalfAdder);
    const auto outcome = run_program(dir, vormelc("-q " + input + " --diagram " + dir.path() + "/d.png"));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("must end in .svg"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(input + ".rpt"));
}

TEST(VormelcPictures, SeveralInputFilesRefuseOnePictureFile) {
    TempDir dir;
    const std::string a = dir.write("a.tab", kHalfAdder);
    const std::string b = dir.write("b.tab", kHalfAdder);
    const auto outcome = run_program(dir, vormelc("-q " + a + " " + b + " --kmap " + dir.path() + "/k.svg"));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("--kmap and --diagram name one file"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace vormel
