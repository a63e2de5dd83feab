#include "random_functions.h"

#include <filesystem>
#include <fstream>

#include <fmt/format.h>

namespace vormel::bench {

namespace {

// splitmix64: a fixed generator, so the set is the same with any standard library.
class Draw {
public:
    explicit Draw(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [low, high].
    int between(int low, int high) { return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1)); }
    bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }

private:
    std::uint64_t state_;
};

std::string narrow_function(Draw& draw) {
    const int inputs = draw.between(4, 16), outputs = draw.between(1, 24);
    const int rows = draw.between(4, 400);
    const double dc_rows = draw.between(0, 50) / 100.0;
    // Literal density: from cubes of a few literals to nearly minterms.
    const double literal = draw.between(30, 95) / 100.0;
    const double asserted = draw.between(10, 60) / 100.0;
    std::string text = fmt::format(".i {}\n.o {}\n.type fd\n.p {}\n", inputs, outputs, rows);
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < inputs; ++i) text += draw.chance(literal) ? (draw.chance(0.5) ? '1' : '0') : '-';
        text += ' ';
        const char mark = draw.chance(dc_rows) ? '-' : '1';
        bool any = false;
        for (int o = 0; o < outputs; ++o) {
            const bool on = draw.chance(asserted) || (o == outputs - 1 && !any);
            text += on ? mark : '0';
            any = any || on;
        }
        text += '\n';
    }
    return text + ".e\n";
}

std::string wide_sparse_function(Draw& draw) {
    const int inputs = draw.between(120, 200), outputs = draw.between(3, 10);
    const int rows = draw.between(60, 200);
    std::string text = fmt::format(".i {}\n.o {}\n.p {}\n", inputs, outputs, rows);
    for (int r = 0; r < rows; ++r) {
        std::string cube(static_cast<std::size_t>(inputs), '-');
        const int literals = draw.between(2, 12);
        for (int l = 0; l < literals; ++l) cube[static_cast<std::size_t>(draw.between(0, inputs - 1))] = draw.chance(0.5) ? '1' : '0';
        text += cube + ' ';
        bool any = false;
        for (int o = 0; o < outputs; ++o) {
            const bool on = draw.chance(0.3) || (o == outputs - 1 && !any);
            text += on ? '1' : '0';
            any = any || on;
        }
        text += '\n';
    }
    return text + ".e\n";
}

}  // namespace

std::vector<std::string> write_random_functions(const std::string& folder, int count, std::uint64_t seed,
                                                RandomShape shape) {
    std::vector<std::string> paths;
    for (int k = 0; k < count; ++k) {
        // Each function from its own seed: the first files do not change when the count does.
        Draw draw(seed * 1000003ULL + static_cast<std::uint64_t>(k));
        const std::string name = fmt::format("{}{:03}.pla", shape == RandomShape::narrow ? "rnd" : "wsp", k);
        const std::string path = (std::filesystem::path(folder) / name).string();
        std::ofstream(path, std::ios::binary) << (shape == RandomShape::narrow ? narrow_function(draw)
                                                                               : wide_sparse_function(draw));
        paths.push_back(path);
    }
    return paths;
}

}  // namespace vormel::bench
