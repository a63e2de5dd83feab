#pragma once
#include <vormel/vormel.h>

namespace vormel {
struct Problem;
struct RunFacts;
struct WrittenNames;
}  // namespace vormel

namespace vormel::api {

// The result of a finished run of `problem` (all but the report text and the exports).
Result result_of(const vormel::Problem& problem, const vormel::RunFacts& facts, const vormel::WrittenNames& written);

}  // namespace vormel::api
