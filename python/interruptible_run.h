#pragma once
#include <vormel/vormel.h>

namespace vormel_python {

// api::minimize with the GIL released. On the main thread the run goes on a thread of its own
// while this one looks at Python's signals every 50 ms: Ctrl+C stops the run through its token and
// raises KeyboardInterrupt. Called with the GIL held.
vormel::api::Result interruptible_minimize(const vormel::api::Source& source, const vormel::api::Options& options);

}  // namespace vormel_python
