#pragma once
#include <iterator>

// The cube code is compiled once per width class (cubes/cube_class.h): a run picks the narrowest
// class that holds its function.

// X(index, name, input words, output words) for every class, narrowest first; CMakeLists.txt
// lists the same classes.
#ifdef VORMEL_NARROWEST_AND_WIDEST_CUBE_CLASSES
#define VORMEL_CUBE_CLASSES(X) X(0, w1x2, 1, 2) X(1, w128x64, 128, 64)
#else
#define VORMEL_CUBE_CLASSES(X) X(0, w1x2, 1, 2) X(1, w2x2, 2, 2) X(2, w4x4, 4, 4) X(3, w8x4, 8, 4) X(4, w128x64, 128, 64)
#endif

namespace vormel::cubes {

struct WidthClass {
    int in_words;
    int out_words;
    constexpr int inputs() const { return 32 * in_words; }  // two bits per input
    constexpr int outputs() const { return 64 * out_words; }
};

#define VORMEL_WIDTH_CLASS(index, name, in_words, out_words) {in_words, out_words},
inline constexpr WidthClass kWidthClasses[] = {VORMEL_CUBE_CLASSES(VORMEL_WIDTH_CLASS)};
#undef VORMEL_WIDTH_CLASS
inline constexpr int kWidthClassCount = static_cast<int>(std::size(kWidthClasses));
inline constexpr int kMaxCubeInputs = kWidthClasses[kWidthClassCount - 1].inputs();
inline constexpr int kMaxCubeOutputs = kWidthClasses[kWidthClassCount - 1].outputs();

// The narrowest class from `at_least` on that holds the function; -1 when none does.
inline int width_class_for(int inputs, int outputs, int at_least = 0) {
    for (int k = at_least < 0 ? 0 : at_least; k < kWidthClassCount; ++k) {
        if (inputs <= kWidthClasses[k].inputs() && outputs <= kWidthClasses[k].outputs()) return k;
    }
    return -1;
}

}  // namespace vormel::cubes
