#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

namespace vormel::cubes {

// A bit array of N 64-bit words: the input or output part of a cube. Every loop runs over the
// constant N, so Words<1> compiles to the code of a plain std::uint64_t. Shifts move bits within
// each word only: cube code shifts by one between the two bits of an input pair, and pairs start
// at even bits, so they never straddle two words.
template <int N>
struct Words {
    static constexpr int kBits = 64 * N;
    std::uint64_t w[N] = {};

    // Every word holds `pattern`.
    static constexpr Words filled(std::uint64_t pattern) {
        Words r;
        for (int k = 0; k < N; ++k) r.w[k] = pattern;
        return r;
    }
    // Bits [0, n) set.
    static constexpr Words first(int n) {
        Words r;
        for (int k = 0; k < N; ++k) {
            const int left = n - 64 * k;
            r.w[k] = left >= 64 ? ~std::uint64_t{0} : left <= 0 ? 0 : (std::uint64_t{1} << left) - 1;
        }
        return r;
    }
    static constexpr Words bit(int i) {
        Words r;
        r.w[i >> 6] = std::uint64_t{1} << (i & 63);
        return r;
    }

    constexpr bool test(int i) const { return (w[i >> 6] >> (i & 63)) & 1u; }
    constexpr void set(int i) { w[i >> 6] |= std::uint64_t{1} << (i & 63); }
    constexpr void reset(int i) { w[i >> 6] &= ~(std::uint64_t{1} << (i & 63)); }

    constexpr bool any() const {
        std::uint64_t a = 0;
        for (int k = 0; k < N; ++k) a |= w[k];
        return a != 0;
    }
    constexpr bool none() const { return !any(); }
    constexpr explicit operator bool() const { return any(); }
    constexpr int count() const {
        int n = 0;
        for (int k = 0; k < N; ++k) n += std::popcount(w[k]);
        return n;
    }
    // Index of the lowest set bit; kBits when none is set.
    constexpr int lowest() const {
        for (int k = 0; k < N; ++k) {
            if (w[k]) return 64 * k + std::countr_zero(w[k]);
        }
        return kBits;
    }
    // Only the lowest set bit (none when empty).
    constexpr Words lowest_bit() const {
        Words r;
        for (int k = 0; k < N; ++k) {
            if (w[k]) {
                r.w[k] = w[k] & (~w[k] + 1);
                break;
            }
        }
        return r;
    }
    constexpr void clear_lowest() {
        for (int k = 0; k < N; ++k) {
            if (w[k]) {
                w[k] &= w[k] - 1;
                return;
            }
        }
    }
    // fn(i) for every set bit i, ascending.
    template <class Fn>
    constexpr void for_each(Fn&& fn) const {
        for (int k = 0; k < N; ++k) {
            for (std::uint64_t m = w[k]; m; m &= m - 1) fn(64 * k + std::countr_zero(m));
        }
    }
    // Bits [0, i) of this.
    constexpr Words below(int i) const { return *this & first(i); }

    constexpr Words& operator&=(const Words& o) {
        for (int k = 0; k < N; ++k) w[k] &= o.w[k];
        return *this;
    }
    constexpr Words& operator|=(const Words& o) {
        for (int k = 0; k < N; ++k) w[k] |= o.w[k];
        return *this;
    }
    constexpr Words& operator^=(const Words& o) {
        for (int k = 0; k < N; ++k) w[k] ^= o.w[k];
        return *this;
    }
    friend constexpr Words operator&(Words a, const Words& b) { return a &= b; }
    friend constexpr Words operator|(Words a, const Words& b) { return a |= b; }
    friend constexpr Words operator^(Words a, const Words& b) { return a ^= b; }
    constexpr Words operator~() const {
        Words r;
        for (int k = 0; k < N; ++k) r.w[k] = ~w[k];
        return r;
    }
    constexpr Words operator>>(int s) const {
        Words r;
        for (int k = 0; k < N; ++k) r.w[k] = w[k] >> s;
        return r;
    }
    constexpr Words operator<<(int s) const {
        Words r;
        for (int k = 0; k < N; ++k) r.w[k] = w[k] << s;
        return r;
    }

    constexpr bool operator==(const Words&) const = default;
    // The numeric order of the whole array (word N-1 most significant): the same order of the
    // bits that matter whichever width holds them.
    friend constexpr bool operator<(const Words& a, const Words& b) {
        for (int k = N - 1; k >= 0; --k) {
            if (a.w[k] != b.w[k]) return a.w[k] < b.w[k];
        }
        return false;
    }
    // Word by word from word 0 (the order output parts have always been sorted in).
    static constexpr bool low_word_first_less(const Words& a, const Words& b) {
        for (int k = 0; k < N; ++k) {
            if (a.w[k] != b.w[k]) return a.w[k] < b.w[k];
        }
        return false;
    }

    std::size_t hash() const {
        std::uint64_t h = 0;
        for (int k = 0; k < N; ++k) h = (h ^ w[k]) * 0x9e3779b97f4a7c15ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
    struct Hash {
        std::size_t operator()(const Words& a) const { return a.hash(); }
    };
};

}  // namespace vormel::cubes
