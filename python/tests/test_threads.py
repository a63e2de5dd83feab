"""Runs on several Python threads: the same results as one by one, and the GIL released meanwhile."""
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import vormel

from conftest import BENCH, EXAMPLES

JOBS = [(EXAMPLES / "seven_segment.tdf", "exact"), (EXAMPLES / "full_adder.tab", "cns"),
        (BENCH / "dc1.pla", "shared"), (BENCH / "inc.pla", "shared"), (BENCH / "f51m.pla", "shared"),
        (EXAMPLES / "comparator.dcb", "qmc"), (BENCH / "dekoder.pla", "exact"), (EXAMPLES / "majority.bol", "shared")]


def outcome(job):
    path, method = job
    result = vormel.minimize(path, method=method, polarity="auto", rolexa=2)
    return result.terms, result.equations, result.polarity, result.cost, result.to_blif()


def test_four_threads_give_the_sequential_results():
    sequential = [outcome(job) for job in JOBS]
    with ThreadPoolExecutor(max_workers=4) as pool:
        assert list(pool.map(outcome, JOBS * 2)) == sequential * 2


def test_other_python_threads_run_while_the_engines_work():
    done = threading.Event()
    seconds = []

    def long_run():
        start = time.perf_counter()
        vormel.minimize(BENCH / "f51m.pla", rolexa=20, threads=1)
        seconds.append(time.perf_counter() - start)
        done.set()

    worker = threading.Thread(target=long_run)
    last = time.perf_counter()
    longest_gap = 0.0
    worker.start()
    while not done.is_set():
        now = time.perf_counter()
        longest_gap = max(longest_gap, now - last)
        last = now
    worker.join()
    # A run that held the GIL would stop this loop for all of its time.
    assert longest_gap < seconds[0] / 2
