#include "support/run_inputs.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "model/problem.h"
#include "model/term_table.h"

namespace vormel::testing {

namespace fs = std::filesystem;

namespace {

// The ".i" count of a .pla file (0 when it declares none); other kinds are checked after reading.
int declared_pla_inputs(const fs::path& path) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".i ", 0) == 0) return std::atoi(line.c_str() + 3);
    }
    return 0;
}

}  // namespace

std::vector<InputFile> list_inputs(int largest_pla_inputs) {
    static const std::set<std::string> kinds = {".tab", ".tdf", ".dcb", ".pla", ".bol"};
    std::vector<InputFile> files;
    for (const fs::path& dir : {fs::path(VORMEL_SOURCE_DIR) / "examples", fs::path(VORMEL_BENCH_DIR) / "pla"}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (!entry.is_regular_file() || kinds.count(entry.path().extension().string()) == 0) continue;
            const int pla_inputs = entry.path().extension() == ".pla" ? declared_pla_inputs(entry.path()) : 0;
            if (pla_inputs > largest_pla_inputs) continue;
            std::string name = entry.path().filename().string();
            for (char& c : name) {
                if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
            }
            files.push_back({entry.path(), name, pla_inputs});
        }
    }
    std::sort(files.begin(), files.end(), [](const InputFile& a, const InputFile& b) { return a.name < b.name; });
    return files;
}

std::vector<InputFile> small_inputs(int largest_pla_inputs) {
    std::vector<InputFile> files = list_inputs(largest_pla_inputs);
    std::erase_if(files, [](const InputFile& file) { return file.pla_inputs > kSmallPlaInputs; });
    return files;
}

std::vector<InputFile> large_inputs(int largest_pla_inputs) {
    std::vector<InputFile> files = list_inputs(largest_pla_inputs);
    std::erase_if(files, [](const InputFile& file) { return file.pla_inputs <= kSmallPlaInputs; });
    return files;
}

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("vormel_e2e_" + std::to_string(random()));
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

// A row of a term table as bit words: the inputs with a literal and their values.
struct PackedRow {
    std::vector<std::uint64_t> care, value;
};

PackedRow pack_row(const TermTable& t, int r) {
    PackedRow row;
    const std::size_t words = (static_cast<std::size_t>(t.nx) + 63) / 64;
    row.care.assign(words, 0);
    row.value.assign(words, 0);
    for (int i = 0; i < t.nx; ++i) {
        if (t.x(r)[i] != kDash) row.care[static_cast<std::size_t>(i) / 64] |= std::uint64_t{1} << (i % 64);
        if (t.x(r)[i] == kOne) row.value[static_cast<std::size_t>(i) / 64] |= std::uint64_t{1} << (i % 64);
    }
    return row;
}

bool row_has(const PackedRow& row, const std::vector<std::uint64_t>& point) {
    for (std::size_t w = 0; w < point.size(); ++w) {
        if (((point[w] ^ row.value[w]) & row.care[w]) != 0) return false;
    }
    return true;
}

// Without an expanded table: the input rows' meaning (1 wins, then 0, then "-", else $REST) against
// the final terms at every point of a small function, else at points inside every input row and
// every term and at random points.
std::string check_points(const Problem& p) {
    const int n = p.inputs();
    const TermTable& in = p.intab;
    const TermTable& terms = p.final_terms;
    std::vector<PackedRow> rows, term_rows;
    for (int r = 0; r <= in.last; ++r) rows.push_back(pack_row(in, r));
    for (int t = 0; t <= terms.last; ++t) term_rows.push_back(pack_row(terms, t));
    const std::size_t words = (static_cast<std::size_t>(n) + 63) / 64;
    std::mt19937_64 rng(12345);
    std::vector<std::vector<std::uint64_t>> points;
    const auto inside = [&](const PackedRow& row) {
        std::vector<std::uint64_t> point(words);
        for (std::size_t w = 0; w < words; ++w) point[w] = (rng() & ~row.care[w]) | row.value[w];
        return point;
    };
    if (n <= 14) {
        for (std::uint64_t m = 0; m < (std::uint64_t{1} << n); ++m) points.push_back({m});
    } else {
        const PackedRow everything{std::vector<std::uint64_t>(words, 0), std::vector<std::uint64_t>(words, 0)};
        for (const PackedRow& row : rows) for (int k = 0; k < 3; ++k) points.push_back(inside(row));
        for (const PackedRow& row : term_rows) for (int k = 0; k < 3; ++k) points.push_back(inside(row));
        for (int k = 0; k < 2000; ++k) points.push_back(inside(everything));
    }
    for (const auto& point : points) {
        for (int j = 0; j < p.outputs(); ++j) {
            std::uint8_t expected = kUnassigned;
            for (int r = 0; r <= in.last && expected != kOne; ++r) {
                const std::uint8_t v = in.y(r)[j];
                if (!row_has(rows[static_cast<std::size_t>(r)], point)) continue;
                if (v == kOne || v == kZero) expected = v;
                else if (expected == kUnassigned) expected = kDash;
            }
            if (expected == kUnassigned) expected = p.rest_values[static_cast<std::size_t>(j)];
            if (expected == kDash) continue;
            bool covered = false;
            for (int t = 0; t <= terms.last && !covered; ++t) {
                covered = terms.y(t)[j] != kDash && row_has(term_rows[static_cast<std::size_t>(t)], point);
            }
            const int realised = covered ? p.polarity[j] : 1 - p.polarity[j];
            if (realised != expected) return "a point of output " + p.ynames[j] + " disagrees";
        }
    }
    return "";
}

}  // namespace

std::string check_realisation(const Problem& p) {
    if (p.extab.rows() == 0) return check_points(p);
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

}  // namespace vormel::testing
