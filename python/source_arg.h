#pragma once
#include <optional>
#include <string>

#include <pybind11/pybind11.h>
#include <vormel/vormel.h>

namespace vormel_python {

// The source a Python caller passed to minimize():
//   a str naming an existing file, or an os.PathLike  -> that file
//   a str with a line break                           -> the text of a file, in `format` or, when
//                                                        None, the format its content shows
//   any other str holding "="                         -> one equation
//   a list or tuple of str                            -> equations, one an item
//   a dict with "inputs", "outputs" and "rows"        -> a truth table; a row a str ("01:1-") or a
//                                                        pair (inputs, outputs) of str or of ints
// Anything else raises TypeError; a str naming no file and no equation raises vormel.InputError.
vormel::api::Source source_of(const pybind11::handle& source, const std::optional<std::string>& format,
                              bool import_pla);

// The format a file's text shows: .pla directives, a SUBDESIGN, a $HEADER record, a "names : names"
// header line, equations; "" when none of these.
std::string format_of_text(const std::string& text);

}  // namespace vormel_python
