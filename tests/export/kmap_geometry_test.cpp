// Karnaugh maps of whole runs: groups worked out by hand for small functions with a unique
// minimum cover, and on seeded random functions the cells under each group against the term's
// own minterms.
#include <algorithm>
#include <array>
#include <cmath>
#include <bit>
#include <set>

#include <gtest/gtest.h>

#include "export/kmap_geometry.h"
#include "export/result_view.h"
#include "model/problem.h"
#include "support/picture_run.h"

namespace vormel {
namespace {

using testing::PictureRun;

struct PieceText {
    int submap, row, col, rows, cols;
    std::string open;  // of "tblr"
    friend bool operator==(const PieceText&, const PieceText&) = default;
};

void PrintTo(const PieceText& p, std::ostream* out) {
    *out << "{" << p.submap << " r" << p.row << " c" << p.col << " " << p.rows << "x" << p.cols << " '" << p.open << "'}";
}

std::vector<PieceText> pieces_of(const KmapGroup& group) {
    std::vector<PieceText> out;
    for (const KmapPiece& p : group.pieces) {
        std::string open;
        if (p.open_top) open += 't';
        if (p.open_bottom) open += 'b';
        if (p.open_left) open += 'l';
        if (p.open_right) open += 'r';
        out.push_back({p.submap, p.row, p.col, p.rows, p.cols, open});
    }
    return out;
}

const KmapGroup& group_named(const Kmap& map, const std::string& product) {
    for (const KmapGroup& group : map.groups) {
        if (group.product == product) return group;
    }
    ADD_FAILURE() << "no group " << product << " in " << map.title;
    static const KmapGroup none;
    return none;
}

KmapSet maps_of(const Problem& problem) { return kmap_geometry(problem, result_view(problem, "")); }

// f = c' + a b: rows a, columns b c in the order 00 01 11 10. c' holds in the outer columns and
// wraps around the sides; a b is the right half of the lower row.
TEST(KmapGroups, ThreeInputsWrapAroundTheSides) {
    const PictureRun run("f.tab", "a, b, c : f\n000:1\n001:0\n010:1\n011:0\n100:1\n101:0\n110:1\n111:1\n");
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const KmapSet set = maps_of(run.problem());
    ASSERT_EQ(set.maps.size(), 1u);
    const Kmap& map = set.maps[0];
    EXPECT_EQ(map.title, "F");
    EXPECT_EQ(map.row_labels, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(map.col_labels, (std::vector<std::string>{"00", "01", "11", "10"}));
    ASSERT_EQ(map.groups.size(), 2u);
    EXPECT_EQ(pieces_of(group_named(map, "/C")),
              (std::vector<PieceText>{{0, 0, 0, 2, 1, "l"}, {0, 0, 3, 2, 1, "r"}}));
    EXPECT_EQ(pieces_of(group_named(map, "A * B")), (std::vector<PieceText>{{0, 1, 2, 1, 2, ""}}));
    // Cell (row 1, column 3) is a b c' = 110.
    EXPECT_EQ(map.minterms[1 * 4 + 3], 6);
    EXPECT_EQ(map.values[1 * 4 + 3], CellValue::one);
}

// The same f from its 0-set: f' = a'c + b'c, the groups on the 0 cells, no wrap.
TEST(KmapGroups, OutputRealisedInvertedCoversTheZeroCells) {
    const PictureRun run("f.tab", "a, b, c : f\n000:1\n001:0\n010:1\n011:0\n100:1\n101:0\n110:1\n111:1\n",
                         polarity_zero_set);
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const KmapSet set = maps_of(run.problem());
    ASSERT_EQ(set.maps.size(), 1u);
    const Kmap& map = set.maps[0];
    EXPECT_TRUE(map.covers_zeros);
    EXPECT_NE(map.title.find("realised inverted, the groups cover the 0 cells"), std::string::npos) << map.title;
    ASSERT_EQ(map.groups.size(), 2u);
    EXPECT_EQ(pieces_of(group_named(map, "/A * C")), (std::vector<PieceText>{{0, 0, 1, 1, 2, ""}}));
    EXPECT_EQ(pieces_of(group_named(map, "/B * C")), (std::vector<PieceText>{{0, 0, 1, 2, 1, ""}}));
}

// f = b'd' + a b c d: b'd' is the four corners (rows a b and columns c d both 00 ... 10), each
// corner open towards the two edges it wraps over; a b c d the single cell 11/11.
TEST(KmapGroups, FourInputsFourCornersAreOneGroup) {
    std::string text = "a, b, c, d : f\n";
    for (int m = 0; m < 16; ++m) {
        const bool b = m & 4, d = m & 1;
        const bool f = (!b && !d) || m == 15;
        for (int i = 3; i >= 0; --i) text += (m >> i & 1) ? '1' : '0';
        text += f ? ":1\n" : ":0\n";
    }
    const PictureRun run("f.tab", text);
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const KmapSet set = maps_of(run.problem());
    ASSERT_EQ(set.maps.size(), 1u);
    const Kmap& map = set.maps[0];
    ASSERT_EQ(map.groups.size(), 2u);
    EXPECT_EQ(pieces_of(group_named(map, "/B * /D")),
              (std::vector<PieceText>{{0, 0, 0, 1, 1, "tl"}, {0, 0, 3, 1, 1, "tr"}, {0, 3, 0, 1, 1, "bl"}, {0, 3, 3, 1, 1, "br"}}));
    EXPECT_EQ(pieces_of(group_named(map, "A * B * C * D")), (std::vector<PieceText>{{0, 2, 2, 1, 1, ""}}));
}

// A copy keeps its own cells and draws the groups of the output it repeats; a constant has none.
// Two purples of the former palette looked alike side by side, and worse to a colour-blind eye:
// every two colours stay apart as seen normally and as simulated for deuteranopia and protanopia
// (Machado, Oliveira and Fernandes 2009, full severity).
TEST(KmapPalette, TwoPurplesLookedAlike) {
    using Matrix = std::array<std::array<double, 3>, 3>;
    const Matrix normal{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const Matrix deuteranopia{{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
    const Matrix protanopia{{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
    auto seen = [](const Matrix& m, const Rgb& c) {
        std::array<double, 3> out{};
        for (int i = 0; i < 3; ++i) out[i] = std::clamp(m[i][0] * c.r + m[i][1] * c.g + m[i][2] * c.b, 0.0, 255.0);
        return out;
    };
    const std::vector<Rgb>& palette = kmap_palette();
    ASSERT_GE(palette.size(), 6u);
    for (const Matrix* eye : {&normal, &deuteranopia, &protanopia}) {
        for (std::size_t i = 0; i < palette.size(); ++i) {
            for (std::size_t j = i + 1; j < palette.size(); ++j) {
                const auto a = seen(*eye, palette[i]), b = seen(*eye, palette[j]);
                const double distance = std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
                EXPECT_GE(distance, 45.0) << "colours " << i << " and " << j;
            }
        }
    }
}

TEST(KmapGroups, CopiesAndConstantsAreNamedInTheTitle) {
    const PictureRun run("g.tab", "a, b : f, g, h, k\n00:0101\n01:1000\n10:1000\n11:1000\n");
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const KmapSet set = maps_of(run.problem());
    ASSERT_EQ(set.maps.size(), 4u);
    EXPECT_EQ(set.maps[1].title, "G = NOT F: the groups of F, covering the 0 cells");
    EXPECT_EQ(set.maps[1].groups.size(), set.maps[0].groups.size());
    EXPECT_EQ(set.maps[2].title, "H: constant 0");
    EXPECT_TRUE(set.maps[2].groups.empty());
    EXPECT_EQ(set.maps[3].values[0], CellValue::one);
}

TEST(KmapGroups, MoreThanSixInputsGiveNoMaps) {
    const PictureRun run("wide.tab", testing::random_tab(7, 7, 1, 0));
    ASSERT_TRUE(run.session.report_saved);
    EXPECT_TRUE(maps_of(run.problem()).maps.empty());
}

// Whether the minterm lies in the term's cube.
bool in_term(const ResultView& view, int term, int minterm) {
    const int n = view.terms.nx;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t literal = view.terms.x(term)[i];
        if (literal != kDash && literal != ((minterm >> (n - 1 - i)) & 1)) return false;
    }
    return true;
}

struct RandomCase {
    unsigned seed;
    int inputs;
    int polarity_mode;
};

class KmapRandom : public ::testing::TestWithParam<RandomCase> {};

TEST_P(KmapRandom, CellsUnderEachGroupAreItsTermsMintermsAndRealiseTheOutput) {
    const RandomCase c = GetParam();
    const PictureRun run("r.tab", testing::random_tab(c.seed, c.inputs, 3, 20), c.polarity_mode);
    ASSERT_TRUE(run.session.report_saved) << run.area.text();
    const Problem& p = run.problem();
    const ResultView view = result_view(p, "");
    const KmapSet set = kmap_geometry(p, view);
    ASSERT_EQ(static_cast<int>(set.maps.size()), p.outputs());
    for (const Kmap& map : set.maps) {
        SCOPED_TRACE(map.title);
        const int cells = static_cast<int>(map.minterms.size());
        ASSERT_EQ(cells, 1 << c.inputs);
        // Every minterm once, and Gray axes: cells side by side (wrapping) differ in one input.
        EXPECT_EQ(std::set<int>(map.minterms.begin(), map.minterms.end()).size(), static_cast<std::size_t>(cells));
        const int per_submap = map.rows * map.cols;
        for (int k = 0; k < cells; ++k) {
            const int s = k / per_submap, r = k % per_submap / map.cols, col = k % map.cols;
            const int right = (s * map.rows + r) * map.cols + (col + 1) % map.cols;
            const int below = (s * map.rows + (r + 1) % map.rows) * map.cols + col;
            if (map.cols > 1) {
                EXPECT_EQ(std::popcount(static_cast<unsigned>(map.minterms[k] ^ map.minterms[right])), 1);
            }
            if (map.rows > 1) {
                EXPECT_EQ(std::popcount(static_cast<unsigned>(map.minterms[k] ^ map.minterms[below])), 1);
            }
            EXPECT_EQ(map.values[k] == CellValue::dont_care, p.extab.y(map.minterms[k])[map.output] == kDash);
        }
        std::vector<int> covered(static_cast<std::size_t>(cells), 0);
        for (const KmapGroup& group : map.groups) {
            std::vector<int> under(static_cast<std::size_t>(cells), 0);
            for (const KmapPiece& piece : group.pieces) {
                for (int r = piece.row; r < piece.row + piece.rows; ++r) {
                    for (int col = piece.col; col < piece.col + piece.cols; ++col) {
                        ++under[(piece.submap * map.rows + r) * map.cols + col];
                    }
                }
                // An open side faces the edge of the map.
                EXPECT_TRUE(!piece.open_left || piece.col == 0);
                EXPECT_TRUE(!piece.open_right || piece.col + piece.cols == map.cols);
                EXPECT_TRUE(!piece.open_top || piece.row == 0);
                EXPECT_TRUE(!piece.open_bottom || piece.row + piece.rows == map.rows);
            }
            for (int k = 0; k < cells; ++k) {
                EXPECT_EQ(under[k], in_term(view, group.term, map.minterms[k]) ? 1 : 0)
                    << group.product << " at minterm " << map.minterms[k];
                covered[k] += under[k];
            }
        }
        // The groups cover the realised set's cells and never a cell of the other value.
        if (map.groups.empty()) continue;
        const CellValue realised = map.covers_zeros ? CellValue::zero : CellValue::one;
        const CellValue other = map.covers_zeros ? CellValue::one : CellValue::zero;
        for (int k = 0; k < cells; ++k) {
            if (map.values[k] == realised) {
                EXPECT_GT(covered[k], 0) << "minterm " << map.minterms[k];
            }
            if (map.values[k] == other) {
                EXPECT_EQ(covered[k], 0) << "minterm " << map.minterms[k];
            }
        }
    }
}

std::vector<RandomCase> random_cases() {
    std::vector<RandomCase> cases;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        const int modes[] = {polarity_one_set, polarity_zero_set, polarity_automatic};
        cases.push_back({seed, 1 + static_cast<int>(seed % 6), modes[seed % 3]});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Seeded, KmapRandom, ::testing::ValuesIn(random_cases()),
                         [](const ::testing::TestParamInfo<RandomCase>& info) {
                             return "seed" + std::to_string(info.param.seed) + "_inputs" + std::to_string(info.param.inputs);
                         });

}  // namespace
}  // namespace vormel
