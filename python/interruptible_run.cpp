#include "interruptible_run.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include <pybind11/pybind11.h>

namespace py = pybind11;
namespace api = vormel::api;

namespace vormel_python {

namespace {

bool on_main_thread() {
    const py::module_ threading = py::module_::import("threading");
    return threading.attr("current_thread")().is(threading.attr("main_thread")());
}

}  // namespace

api::Result interruptible_minimize(const api::Source& source, const api::Options& options) {
    // Signals reach Python on the main thread only: elsewhere there is nothing to look for.
    if (!on_main_thread()) {
        py::gil_scoped_release release;
        return api::minimize(source, options);
    }
    std::optional<api::Result> result;
    std::exception_ptr failure;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool interrupted = false;
    {
        py::gil_scoped_release release;
        std::thread worker([&] {
            try {
                result = api::minimize(source, options);
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(mutex);
            done = true;
            finished.notify_one();
        });
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(50), [&] { return done; })) {
            if (interrupted) continue;
            lock.unlock();
            {
                py::gil_scoped_acquire gil;
                // Leaves KeyboardInterrupt (or what a handler raised) set for the throw below.
                interrupted = PyErr_CheckSignals() != 0;
            }
            if (interrupted) options.stop.request_stop();
            lock.lock();
        }
        lock.unlock();
        worker.join();
    }
    if (interrupted) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
    return std::move(*result);
}

}  // namespace vormel_python
