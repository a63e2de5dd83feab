#pragma once
#include <string>
#include <string_view>

namespace vormel {

// A name every reader and every export format accepts, made of the letters, digits and "_" of
// `name` as written: each run of other characters becomes one "_" (none at either end), and a
// leading digit gets an "N" before it ("CPIPE1s<0>" becomes "CPIPE1s_0").
std::string valid_name_of(std::string_view name);

// The name is a plain identifier: a letter or "_" first, then letters, digits and "_".
bool plain_identifier(std::string_view name);

}  // namespace vormel
