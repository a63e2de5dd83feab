#pragma once
#include <string>
#include <vector>

#include "export/picture.h"

namespace vormel {

struct Problem;
struct ResultView;

// Beyond six inputs a map has more cells than a reader can take in.
inline constexpr int kMaxKmapInputs = 6;

enum class CellValue { zero, one, dont_care };

// One rectangle of a group: rows and columns counted in the map's Gray-code order. A group that
// wraps around an edge is split into pieces; the side facing the edge it wraps over is open.
struct KmapPiece {
    int submap = 0;
    int row = 0, col = 0, rows = 1, cols = 1;
    bool open_top = false, open_bottom = false, open_left = false, open_right = false;
};

// The cells of one product term of the output's cover.
struct KmapGroup {
    int term = -1;   // row of ResultView::terms
    int colour = 0;  // index into kmap_palette(); the same term has the same colour in every map
    std::string product;
    std::vector<KmapPiece> pieces;
};

// The map of one output. With more than four inputs the first n - 4 inputs pick one of several
// 4 x 4 submaps drawn side by side.
struct Kmap {
    int output = -1;
    std::string title;
    bool covers_zeros = false;  // the output is realised inverted: its groups cover the 0 cells
    std::vector<int> outer_inputs, row_inputs, col_inputs;  // input indices, most significant first
    std::string row_title, col_title;                        // the axes' input names
    std::vector<std::string> submap_labels;                  // "a b = 01"
    std::vector<std::string> row_labels, col_labels;         // Gray codes
    int rows = 1, cols = 1;
    std::vector<Point> submap_origins;  // top left corner of each submap's grid
    std::vector<int> minterms;          // per cell: index (submap * rows + row) * cols + col
    std::vector<CellValue> values;
    std::vector<KmapGroup> groups;
    double x = 0, y = 0, width = 0, height = 0;  // the whole map with its labels and legend
};

struct KmapSet {
    double cell = 36;  // side of a cell
    std::vector<Kmap> maps;
    double width = 0, height = 0;
};

// The Karnaugh map of every output of the final result, cell values from the expanded input
// table. Empty (no maps) when the problem has more than kMaxKmapInputs inputs.
KmapSet kmap_geometry(const Problem& problem, const ResultView& view);

// Where a cell sits in the picture.
Point cell_origin(const KmapSet& set, const Kmap& map, int submap, int row, int col);

const std::vector<Rgb>& kmap_palette();

// The maps as drawing steps.
Picture draw_kmaps(const KmapSet& set);

}  // namespace vormel
