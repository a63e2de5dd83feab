#pragma once
#include <string>

#include <vormel/vormel.h>

#include "export/result_view.h"
#include "export/summary_json.h"
#include "model/problem.h"

namespace vormel::api {

// What a finished run keeps for the exports of its result.
struct Finished {
    vormel::Problem problem;
    std::string input_file;
    vormel::WrittenNames written;  // the names of an imported PLA as written there
    vormel::RunFacts facts;
};

}  // namespace vormel::api
