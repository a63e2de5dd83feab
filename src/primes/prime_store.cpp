#include "primes/prime_store.h"

#include <algorithm>
#include <cmath>

#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {
// Rows copied between two heartbeats of the copy loops.
constexpr int kRowsPerPoll = 4096;
}  // namespace

void PrimeStore::create(int outputs, int inputs, int capacity) {
    outputs_ = outputs;
    inputs_ = inputs;
    capacity_ = capacity;
    lasts_.assign(static_cast<std::size_t>(outputs) * 2, -1);
    lists_.assign(static_cast<std::size_t>(outputs) * 2, {});
}

void PrimeStore::set_last(int output, int value, int last_index) {
    lasts_[index(output, value)] = last_index;
    auto& list = lists_[index(output, value)];
    const std::size_t needed = static_cast<std::size_t>(std::max(last_index + 1, 0)) * inputs_;
    if (list.size() < needed) list.resize(needed, kDash);
}

void PrimeStore::assign(int output, int value, const TermTable& table, int last_index) {
    auto& list = lists_[index(output, value)];
    lasts_[index(output, value)] = last_index;
    if (last_index < 0) return;
    const std::size_t bytes = static_cast<std::size_t>(last_index + 1) * inputs_;
    if (list.size() < bytes) list.resize(bytes, kDash);
    if (table.nx == inputs_) {
        std::copy_n(table.xs.begin(), bytes, list.begin());
        return;
    }
    const int columns = std::min(table.nx, inputs_);
    for (int p = 0; p <= last_index; ++p) {
        std::copy_n(table.x(p), columns, list.begin() + static_cast<std::ptrdiff_t>(p) * inputs_);
    }
}

void store_allprimes(RunContext& ctx, PrimeStore& store, const TermTable& table, int last_index) {
    ctx.current_sub = "store_allprimes";
    if (store.capacity() < last_index) {
        // The size of one block of outputs x 2 x primes x inputs bytes. Counted in 64 bits: in 32 bits
        // a large store wraps round to a small or negative size and would slip past the warning.
        const std::int64_t size = static_cast<std::int64_t>(last_index + 1) * store.inputs() * 2 * store.outputs();
        if (size > 0 && std::log2(static_cast<double>(size)) > 30) {
            ctx.report.display_blank();
            ctx.report.flush_display(0);
            ctx.report.text_red(1);
            ctx.report.display_text(" *** System Warning 1: DIM for allprimes =" + STR(static_cast<double>(size)) + "/" +
                                        STR(1073741824.0) + " which may cause swapping to disk. Continue?",
                                    1);
            ctx.report.ask_reset();
            if (ctx.failed()) return;
        }
        ctx.diag.poll_progress(0);
        store.set_capacity(last_index);
        ctx.diag.check_memory(0);
    }
    store.assign(store.current_output, store.current_value, table, last_index);
}

int restore_from_allprimes(RunContext& ctx, const PrimeStore& store, TermTable& table) {
    return restore_from_allprimes(ctx, store, store.current_output, store.current_value, table);
}

int restore_from_allprimes(RunContext& ctx, const PrimeStore& store, int output, int value, TermTable& table) {
    ctx.current_sub = "restore_from_allprimes";
    const int last_index = store.last(output, value);
    if (last_index < 0) return last_index;
    if (last_index > store.maxlpnum) {
        table = TermTable(store.inputs(), table.ny, last_index + 1);
        ctx.diag.check_memory(0);
    } else if (table.nx == 0) {
        table = TermTable(store.inputs(), table.ny, last_index + 1);
    } else {
        table.reserve_rows(last_index + 1);
    }
    const int columns = std::min(table.nx, store.inputs());
    for (int p = 0; p <= last_index; ++p) {
        if (p % kRowsPerPoll == 0) ctx.diag.poll_progress(0);
        std::copy_n(store.prime(output, value, p), columns, table.x(p));
    }
    table.last = last_index;
    return last_index;
}

}  // namespace vormel
