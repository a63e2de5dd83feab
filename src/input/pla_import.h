#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vormel {

// A file in the common PLA dialect of other tools, converted into a .pla text our strict reader
// takes, or the reason it cannot be.
struct PlaImport {
    std::string text;   // empty when refused
    std::string error;  // empty when converted
    bool out_of_memory = false;
    // The names of the converted text as written there (our reader reads them in upper case);
    // empty where the file names none.
    std::vector<std::string> input_names;
    std::vector<std::string> output_names;
};

// Reads the common dialect: cube synonyms (2 = "-", 3 = 0, 4 = 1, "~" = no part of that output),
// ".type f|fd|fr|fdr" with the dialect's meaning (in fd a don't care wins over a 1 of another
// cube and a 0 says nothing; in fr a 1 is ON, a 0 OFF, the rest free; fdr has all three, a 0 stays
// OFF), ".phase" (a 0 swaps that output's ON and OFF sets), ".ilb"/".ob" names (kept where our
// reader reads them, else renamed, one comment line per change), cubes split over lines, title
// lines before ".i" and line ends LF, CR LF or CR. Multiple-valued and state-machine files are
// refused. Never throws: memory running out gives out_of_memory.
PlaImport import_pla(std::string_view source);

}  // namespace vormel
