#pragma once
#include <string>

#include "minimize/observer.h"

namespace vormel {
struct RunContext;
}

// One copy per width class, like the engine steps that use it.
namespace vormel::VORMEL_CUBE_CLASS {

// Turns the cube engine's progress into report lines and keeps the window alive: a phase shows in
// the status line (and from level 3 in the report), every pass writes its terms and literals from
// level 2; polling moves the activity bar and answers a Break from the window.
class EngineObserver : public minimize::Observer {
public:
    EngineObserver(RunContext& ctx, const cubes::Space& space) : ctx_(ctx), space_(space) {}
    void phase(std::string_view name) override;
    void pass_done(std::string_view name, const cubes::Cover& cover) override;
    bool keep_going() override;

private:
    RunContext& ctx_;
    cubes::Space space_;
};

// " P_Terms =   12   Literals =   34" for a cover, as every cube-engine summary line writes it
// (another word than P_Terms for covers that are not results).
std::string cover_figures(const cubes::Cover& cover, const cubes::Space& space, std::string_view terms = "P_Terms");

}  // namespace vormel::VORMEL_CUBE_CLASS
