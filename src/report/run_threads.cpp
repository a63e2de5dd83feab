#include "report/run_threads.h"

namespace vormel::threads {

namespace {
thread_local bool inline_loops = false;
}

OneThread::OneThread() : was_(inline_loops) { inline_loops = true; }

OneThread::~OneThread() { inline_loops = was_; }

bool one_thread() { return inline_loops; }

}  // namespace vormel::threads
