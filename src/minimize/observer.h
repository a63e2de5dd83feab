#pragma once
#include <string_view>

#include "cubes/cube.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// What the engine tells the run about its progress, and how the run can stop it. The engine calls
// keep_going() often in every loop (at least every few milliseconds of work); once it returns false
// the engine stops as soon as it can and returns the best result it holds, marked as stopped.
class Observer {
public:
    virtual ~Observer() = default;
    // A phase begins: "Essential Primes", "Expand", "Irredundant", "Reduce", "Last Gasp", "Make Sparse", ...
    virtual void phase(std::string_view /*name*/) {}
    // A pass ended with this cover (terms and literals can be read off it).
    virtual void pass_done(std::string_view /*name*/, const cubes::Cover& /*cover*/) {}
    virtual bool keep_going() { return true; }
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
