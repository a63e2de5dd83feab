#include "input/text_cubes.h"

#include <unordered_map>

namespace vormel {

namespace {

// Above this many cube pairs the containment sweep after a unate split is skipped: it only makes
// the result smaller, never more correct.
constexpr std::size_t kContainmentPairs = 1u << 20;

bool contains(const TextCube& outer, const TextCube& inner) {
    for (std::size_t i = 0; i < outer.size(); ++i) {
        if (outer[i] != '-' && outer[i] != inner[i]) return false;
    }
    return true;
}

// complement(f) = x'·complement(f with x = 0) + x·complement(f with x = 1) on the input with the
// most literals (binate ones first); where f uses x in one polarity only, one half needs no literal.
TextCover complement_of(TextCover f, std::size_t width) {
    if (f.empty()) return {TextCube(width, '-')};
    std::vector<std::size_t> zeros(width, 0), ones(width, 0);
    for (const TextCube& cube : f) {
        bool universe = true;
        for (std::size_t i = 0; i < width; ++i) {
            if (cube[i] == '-') continue;
            ++(cube[i] == '0' ? zeros : ones)[i];
            universe = false;
        }
        if (universe) return {};
    }
    if (f.size() == 1) {
        TextCover out;
        for (std::size_t i = 0; i < width; ++i) {
            if (f[0][i] == '-') continue;
            out.emplace_back(width, '-');
            out.back()[i] = f[0][i] == '0' ? '1' : '0';
        }
        return out;
    }
    std::size_t split = 0;
    std::size_t best = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t weight = (zeros[i] + ones[i]) * 2 + (zeros[i] > 0 && ones[i] > 0 ? f.size() * 4 : 0);
        if (weight > best) {
            best = weight;
            split = i;
        }
    }
    TextCover halves[2];
    for (TextCube& cube : f) {
        const char value = cube[split];
        cube[split] = '-';
        if (value != '1') halves[0].push_back(cube);
        if (value != '0') halves[1].push_back(std::move(cube));
    }
    f = TextCover();
    TextCover low = complement_of(std::move(halves[0]), width);
    TextCover high = complement_of(std::move(halves[1]), width);

    if (zeros[split] == 0 || ones[split] == 0) {
        // f with x at its unused value lies inside f with x at the other: the complement of the
        // larger half holds for both values of x.
        TextCover& free = zeros[split] == 0 ? high : low;
        TextCover& bound = zeros[split] == 0 ? low : high;
        const char literal = zeros[split] == 0 ? '0' : '1';
        TextCover out;
        const bool sweep = free.size() * bound.size() <= kContainmentPairs;
        for (TextCube& cube : bound) {
            bool inside = false;
            for (std::size_t k = 0; sweep && !inside && k < free.size(); ++k) inside = contains(free[k], cube);
            if (inside) continue;
            cube[split] = literal;
            out.push_back(std::move(cube));
        }
        for (TextCube& cube : free) out.push_back(std::move(cube));
        return out;
    }
    // Equal cubes on both sides become one cube without the literal.
    std::unordered_map<std::string, std::size_t> at;
    for (std::size_t k = 0; k < low.size(); ++k) at.emplace(low[k], k);
    TextCover out;
    std::vector<bool> merged(low.size(), false);
    for (TextCube& cube : high) {
        const auto found = at.find(cube);
        if (found != at.end() && !merged[found->second]) {
            merged[found->second] = true;
            continue;
        }
        cube[split] = '1';
        out.push_back(std::move(cube));
    }
    for (std::size_t k = 0; k < low.size(); ++k) {
        low[k][split] = merged[k] ? '-' : '0';
        out.push_back(std::move(low[k]));
    }
    return out;
}

}  // namespace

bool meet(const TextCube& a, const TextCube& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != '-' && b[i] != '-' && a[i] != b[i]) return false;
    }
    return true;
}

TextCover complement(const TextCover& cover, std::size_t width) { return complement_of(cover, width); }

TextCover sharp(const TextCube& cube, const TextCover& cover) {
    // Within the cube its own literals are fixed: complement the cofactor, then put them back.
    TextCover cofactor;
    for (const TextCube& other : cover) {
        if (!meet(cube, other)) continue;
        cofactor.push_back(other);
        for (std::size_t i = 0; i < cube.size(); ++i) {
            if (cube[i] != '-') cofactor.back()[i] = '-';
        }
    }
    TextCover out = complement_of(std::move(cofactor), cube.size());
    for (TextCube& piece : out) {
        for (std::size_t i = 0; i < cube.size(); ++i) {
            if (cube[i] != '-') piece[i] = cube[i];
        }
    }
    return out;
}

}  // namespace vormel
