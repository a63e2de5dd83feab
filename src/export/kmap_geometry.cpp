#include "export/kmap_geometry.h"

#include <algorithm>

#include "export/result_view.h"
#include "model/problem.h"

namespace vormel {

namespace {

constexpr double kTitleHeight = 22;
constexpr double kSubmapLabelHeight = 16;
constexpr double kHeaderLine = 15;
constexpr double kSubmapGap = 24;
constexpr double kLegendLine = 17;
constexpr double kMapGap = 28;
constexpr double kRowWidth = 1000;  // maps wrap to a new row beyond this width
constexpr double kValueSize = 13;
constexpr double kTitleSize = 13;

// Position p of a Gray-code axis over k inputs holds the code p ^ (p >> 1).
int gray(int position) { return position ^ (position >> 1); }

std::string code_text(int code, int bits) {
    std::string text;
    for (int b = bits - 1; b >= 0; --b) text += (code >> b & 1) ? '1' : '0';
    return text;
}

std::string joined_names(const Problem& problem, const std::vector<int>& inputs) {
    std::string text;
    for (int i : inputs) text += (text.empty() ? "" : " ") + problem.xnames[i];
    return text;
}

// The minterm bits that the axis position sets, input 0 the most significant bit of a minterm.
int axis_bits(const std::vector<int>& axis, int code, int n) {
    int bits = 0;
    const int k = static_cast<int>(axis.size());
    for (int v = 0; v < k; ++v) {
        if (code >> (k - 1 - v) & 1) bits |= 1 << (n - 1 - axis[v]);
    }
    return bits;
}

// Whether the term's literals on the axis inputs hold at the axis position.
bool term_holds(const ResultView& view, int term, const std::vector<int>& axis, int code) {
    const int k = static_cast<int>(axis.size());
    for (int v = 0; v < k; ++v) {
        const std::uint8_t literal = view.terms.x(term)[axis[v]];
        if (literal != kDash && literal != (code >> (k - 1 - v) & 1)) return false;
    }
    return true;
}

struct Run {
    int first = 0, count = 0;
    bool open_low = false, open_high = false;
};

// The maximal runs of axis positions where the term holds. When the positions neither fill the
// axis nor stop short of both ends, the group wraps: the runs touching the ends face open edges.
std::vector<Run> runs_on_axis(const ResultView& view, int term, const std::vector<int>& axis) {
    const int size = 1 << axis.size();
    std::vector<bool> held(static_cast<std::size_t>(size));
    for (int p = 0; p < size; ++p) held[p] = term_holds(view, term, axis, gray(p));
    std::vector<Run> runs;
    for (int p = 0; p < size; ++p) {
        if (!held[p]) continue;
        if (p > 0 && held[p - 1]) {
            ++runs.back().count;
        } else {
            runs.push_back({p, 1});
        }
    }
    const bool wraps = runs.size() > 1 && held.front() && held.back();
    if (wraps) {
        runs.front().open_low = true;
        runs.back().open_high = true;
    }
    return runs;
}

std::string product_of(const Problem& problem, const ResultView& view, int term) {
    std::string text;
    for (int i = 0; i < view.terms.nx; ++i) {
        const std::uint8_t literal = view.terms.x(term)[i];
        if (literal == kDash) continue;
        // The report's notation: "/A * B".
        text += (text.empty() ? "" : " * ") + std::string(literal == kZero ? "/" : "") + problem.xnames[i];
    }
    return text.empty() ? "1" : text;
}

CellValue value_of(std::uint8_t code) {
    if (code == kZero) return CellValue::zero;
    if (code == kOne) return CellValue::one;
    return CellValue::dont_care;
}

std::string title_of(const Problem& problem, const ResultView& view, int output, bool covers_zeros) {
    const OutputRealisation& out = view.realisations[output];
    const std::string& name = problem.ynames[output];
    switch (out.kind) {
        case OutputRealisation::Kind::constant: return name + ": constant " + (out.inverted ? "1" : "0");
        case OutputRealisation::Kind::copy: {
            const std::string source = problem.ynames[out.source];
            std::string title = name + " = " + (out.inverted ? "NOT " : "") + source + ": the groups of " + source;
            return covers_zeros ? title + ", covering the 0 cells" : title;
        }
        case OutputRealisation::Kind::terms: break;
    }
    return covers_zeros ? name + ": realised inverted, the groups cover the 0 cells" : name;
}

Kmap map_of(const Problem& problem, const ResultView& view, int output, double cell) {
    const int n = problem.inputs();
    Kmap map;
    map.output = output;
    const int outer = std::max(0, n - 4);
    const int row_count = (n - outer) / 2;
    for (int i = 0; i < n; ++i) {
        if (i < outer) map.outer_inputs.push_back(i);
        else if (i < outer + row_count) map.row_inputs.push_back(i);
        else map.col_inputs.push_back(i);
    }
    map.rows = 1 << map.row_inputs.size();
    map.cols = 1 << map.col_inputs.size();
    const int submaps = 1 << outer;
    for (int p = 0; p < map.rows; ++p) map.row_labels.push_back(code_text(gray(p), static_cast<int>(map.row_inputs.size())));
    for (int p = 0; p < map.cols; ++p) map.col_labels.push_back(code_text(gray(p), static_cast<int>(map.col_inputs.size())));
    for (int s = 0; s < submaps && outer > 0; ++s) {
        map.submap_labels.push_back(joined_names(problem, map.outer_inputs) + " = " + code_text(gray(s), outer));
    }

    for (int s = 0; s < submaps; ++s) {
        for (int r = 0; r < map.rows; ++r) {
            for (int c = 0; c < map.cols; ++c) {
                const int minterm = axis_bits(map.outer_inputs, gray(s), n) | axis_bits(map.row_inputs, gray(r), n) |
                                    axis_bits(map.col_inputs, gray(c), n);
                map.minterms.push_back(minterm);
                map.values.push_back(value_of(problem.extab.y(minterm)[output]));
            }
        }
    }

    bool inverted = false;
    const int source = view.term_source(output, inverted);
    map.covers_zeros = source >= 0 && inverted;
    map.title = title_of(problem, view, output, map.covers_zeros);
    map.row_title = joined_names(problem, map.row_inputs);
    map.col_title = joined_names(problem, map.col_inputs);
    if (source >= 0) {
        for (int term : view.terms_of(source)) {
            KmapGroup group;
            group.term = term;
            group.colour = term % static_cast<int>(kmap_palette().size());
            group.product = product_of(problem, view, term);
            const std::vector<Run> row_runs = runs_on_axis(view, term, map.row_inputs);
            const std::vector<Run> col_runs = runs_on_axis(view, term, map.col_inputs);
            for (int s = 0; s < submaps; ++s) {
                if (!term_holds(view, term, map.outer_inputs, gray(s))) continue;
                for (const Run& rows : row_runs) {
                    for (const Run& cols : col_runs) {
                        group.pieces.push_back({s, rows.first, cols.first, rows.count, cols.count, rows.open_low,
                                                rows.open_high, cols.open_low, cols.open_high});
                    }
                }
            }
            map.groups.push_back(std::move(group));
        }
    }

    // Sizes: the corner holds the row inputs' names, the header the column inputs' names.
    const double row_label_width =
        std::max(estimated_text_width(map.row_title, kLabelSize),
                 estimated_text_width(map.row_labels.front(), kLabelSize)) + 10;
    const double grid_width = map.cols * cell;
    double width = row_label_width + submaps * grid_width + (submaps - 1) * kSubmapGap;
    width = std::max(width, estimated_text_width(map.title, kTitleSize));
    for (const KmapGroup& group : map.groups) width = std::max(width, 26 + estimated_text_width(group.product, kLabelSize));
    const double top = kTitleHeight + (outer > 0 ? kSubmapLabelHeight : 0) + 2 * kHeaderLine;
    for (int s = 0; s < submaps; ++s) map.submap_origins.push_back({row_label_width + s * (grid_width + kSubmapGap), top});
    map.width = width;
    map.height = top + map.rows * cell + 8 + static_cast<double>(map.groups.size()) * kLegendLine;
    return map;
}

}  // namespace

const std::vector<Rgb>& kmap_palette() {
    // The colour-blind-safe set of Okabe and Ito, without its yellow (too faint on white) and with a
    // dark grey for its black (the grid's colour); terms next to each other differ most.
    static const std::vector<Rgb> palette = {{0, 114, 178},  {213, 94, 0},   {0, 158, 115}, {204, 121, 167},
                                             {230, 159, 0}, {86, 180, 233}, {60, 60, 60}};
    return palette;
}

KmapSet kmap_geometry(const Problem& problem, const ResultView& view) {
    KmapSet set;
    if (problem.inputs() > kMaxKmapInputs || problem.extab.rows() != (1 << problem.inputs())) return set;
    for (int j = 0; j < problem.outputs(); ++j) set.maps.push_back(map_of(problem, view, j, set.cell));

    // Rows of maps, left to right; a map that does not fit starts a new row.
    double x = kPictureMargin, y = kPictureMargin, row_height = 0;
    for (Kmap& map : set.maps) {
        if (x > kPictureMargin && x + map.width > kRowWidth) {
            x = kPictureMargin;
            y += row_height + kMapGap;
            row_height = 0;
        }
        map.x = x;
        map.y = y;
        for (Point& origin : map.submap_origins) origin = {origin.x + x, origin.y + y};
        x += map.width + kMapGap;
        row_height = std::max(row_height, map.height);
        set.width = std::max(set.width, map.x + map.width + kPictureMargin);
    }
    set.height = y + row_height + kPictureMargin;
    return set;
}

Point cell_origin(const KmapSet& set, const Kmap& map, int submap, int row, int col) {
    const Point& origin = map.submap_origins[submap];
    return {origin.x + col * set.cell, origin.y + row * set.cell};
}

namespace {

void draw_axes(Picture& picture, const KmapSet& set, const Kmap& map) {
    const double cell = set.cell;
    const Rgb grey{90, 90, 90};
    const Style frame{Rgb{40, 40, 40}, Rgb{255, 255, 255}, 1.0, 1.2};
    const Style inner = stroke_only(Rgb{170, 170, 170});
    for (std::size_t s = 0; s < map.submap_origins.size(); ++s) {
        const Point o = map.submap_origins[s];
        const double w = map.cols * cell, h = map.rows * cell;
        if (!map.submap_labels.empty()) {
            picture.text({o.x + w / 2, o.y - 2 * kHeaderLine - 4}, map.submap_labels[s], kLabelSize, Anchor::middle, grey, true);
        }
        picture.text({o.x + w / 2, o.y - kHeaderLine - 4}, map.col_title, kLabelSize, Anchor::middle, grey);
        picture.rect(o.x, o.y, w, h, frame);
        for (int c = 1; c < map.cols; ++c) picture.polyline({{o.x + c * cell, o.y}, {o.x + c * cell, o.y + h}}, inner);
        for (int r = 1; r < map.rows; ++r) picture.polyline({{o.x, o.y + r * cell}, {o.x + w, o.y + r * cell}}, inner);
        for (int c = 0; c < map.cols; ++c) {
            picture.text({o.x + (c + 0.5) * cell, o.y - 4}, map.col_labels[c], kLabelSize, Anchor::middle, grey);
        }
        if (s != 0) continue;
        // The submaps share their rows: one set of row labels, left of the first.
        picture.text({o.x - 6, o.y - 4}, map.row_title, kLabelSize, Anchor::end, grey);
        for (int r = 0; r < map.rows; ++r) {
            picture.text({o.x - 6, o.y + (r + 0.5) * cell + kLabelSize * 0.35}, map.row_labels[r], kLabelSize, Anchor::end, grey);
        }
    }
}

void draw_cells(Picture& picture, const KmapSet& set, const Kmap& map) {
    const int per_submap = map.rows * map.cols;
    for (std::size_t k = 0; k < map.values.size(); ++k) {
        const int s = static_cast<int>(k) / per_submap;
        const int r = static_cast<int>(k) % per_submap / map.cols;
        const int c = static_cast<int>(k) % map.cols;
        const Point o = cell_origin(set, map, s, r, c);
        const Point at{o.x + set.cell / 2, o.y + set.cell / 2 + kValueSize * 0.35};
        switch (map.values[k]) {
            case CellValue::one: picture.text(at, "1", kValueSize, Anchor::middle, Rgb{0, 0, 0}, true); break;
            case CellValue::zero: picture.text(at, "0", kValueSize, Anchor::middle, Rgb{110, 110, 110}); break;
            case CellValue::dont_care: picture.text(at, "-", kValueSize, Anchor::middle, Rgb{150, 150, 150}); break;
        }
    }
}

// Each group is inset by its own amount so overlapping groups stay apart; an open side reaches
// past the edge and has no line, so a wrapping group reads as one.
void draw_groups(Picture& picture, const KmapSet& set, const Kmap& map) {
    constexpr double kPast = 5;
    for (std::size_t g = 0; g < map.groups.size(); ++g) {
        const KmapGroup& group = map.groups[g];
        const Rgb colour = kmap_palette()[group.colour];
        const double inset = 3 + 2.5 * static_cast<double>(g % 4);
        for (const KmapPiece& piece : group.pieces) {
            const Point o = cell_origin(set, map, piece.submap, piece.row, piece.col);
            const double left = o.x + (piece.open_left ? -kPast : inset);
            const double top = o.y + (piece.open_top ? -kPast : inset);
            const double right = o.x + piece.cols * set.cell - (piece.open_right ? -kPast : inset);
            const double bottom = o.y + piece.rows * set.cell - (piece.open_bottom ? -kPast : inset);
            picture.rect(left, top, right - left, bottom - top, {std::nullopt, colour, 0.16, 0});
            const Style edge = stroke_only(colour, 2.0);
            if (!piece.open_top) picture.polyline({{left, top}, {right, top}}, edge);
            if (!piece.open_bottom) picture.polyline({{left, bottom}, {right, bottom}}, edge);
            if (!piece.open_left) picture.polyline({{left, top}, {left, bottom}}, edge);
            if (!piece.open_right) picture.polyline({{right, top}, {right, bottom}}, edge);
        }
    }
}

void draw_legend(Picture& picture, const KmapSet& set, const Kmap& map) {
    double y = map.submap_origins.front().y + map.rows * set.cell + 8;
    for (const KmapGroup& group : map.groups) {
        const Rgb colour = kmap_palette()[group.colour];
        picture.rect(map.x, y + 1, 12, 12, {colour, colour, 0.3, 1.5});
        picture.text({map.x + 18, y + 11}, group.product, kLabelSize);
        y += kLegendLine;
    }
}

}  // namespace

Picture draw_kmaps(const KmapSet& set) {
    Picture picture;
    picture.title = "Karnaugh maps";
    picture.width = set.width;
    picture.height = set.height;
    for (const Kmap& map : set.maps) {
        picture.text({map.x, map.y + 15}, map.title, kTitleSize, Anchor::start, Rgb{0, 0, 128}, true);
        draw_axes(picture, set, map);
        draw_cells(picture, set, map);
        draw_groups(picture, set, map);
        draw_legend(picture, set, map);
    }
    return picture;
}

}  // namespace vormel
