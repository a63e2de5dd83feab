#pragma once
#include "cubes/cover_columns.h"
#include "cubes/cube.h"

// What a growing cube must keep clear of: the OFF cover, read by its columns, or, when the OFF
// cover was too large to build, the ON and DC cover the cube must stay inside.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

class GrowthBound {
public:
    // Not explicit: an expansion against the OFF columns is the usual case.
    GrowthBound(const cubes::CoverColumns& off) : off_(&off) {}  // NOLINT(google-explicit-constructor)
    static GrowthBound inside(const cubes::Cover& care) {
        GrowthBound bound;
        bound.care_ = &care;
        return bound;
    }

    // None when the cube grows inside care() instead.
    const cubes::CoverColumns* off() const { return off_; }
    const cubes::Cover& care() const { return *care_; }

private:
    GrowthBound() = default;
    const cubes::CoverColumns* off_ = nullptr;
    const cubes::Cover* care_ = nullptr;
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
