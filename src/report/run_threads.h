#pragma once
#include <tbb/parallel_for.h>
#include <tbb/parallel_reduce.h>
#include <tbb/task_arena.h>

// The loops of a run go through here. Inside a OneThread scope they run inline on the calling
// thread and the thread pool is never started: starting it (its allocator, its arena) costs about
// a millisecond, more than the whole run of a small function.
namespace vormel::threads {

// While one lives, loops started on this thread run inline, one index after another.
class OneThread {
public:
    OneThread();
    ~OneThread();
    OneThread(const OneThread&) = delete;
    OneThread& operator=(const OneThread&) = delete;

private:
    bool was_;
};

bool one_thread();

// The threads a loop started on this thread may use: 1 inside a OneThread, else its arena's.
inline int available() { return one_thread() ? 1 : tbb::this_task_arena::max_concurrency(); }

template <typename Index, typename Body>
void for_each_index(Index first, Index last, const Body& body) {
    if (one_thread()) {
        for (Index i = first; i < last; ++i) body(i);
        return;
    }
    tbb::parallel_for(first, last, body);
}

template <typename Range, typename Body>
void for_each_range(const Range& range, const Body& body) {
    if (one_thread()) {
        if (!range.empty()) body(range);
        return;
    }
    tbb::parallel_for(range, body);
}

template <typename Range, typename Value, typename Body, typename Join>
Value reduce(const Range& range, const Value& identity, const Body& body, const Join& join) {
    if (one_thread()) return range.empty() ? identity : body(range, identity);
    return tbb::parallel_reduce(range, identity, body, join);
}

}  // namespace vormel::threads
