#pragma once
#include <string>

#include <vormel/vormel.h>

#include "export/result_view.h"

namespace vormel::api {

// A source as a run takes it: the input's name (its extension picks the reader) and its text.
struct SourceText {
    std::string name;
    std::string text;
    vormel::WrittenNames written;  // the names of an imported PLA as written there
};

// Reads or builds the text of a source; throws InputError for a file that cannot be read, a text
// whose name says no format, a table it cannot write, a PLA that cannot be imported.
SourceText source_text(const Source& source);

}  // namespace vormel::api
