"""A running minimize() stops on its StopToken or on Ctrl+C, soon, and says so."""
import _thread
import threading
import time

import pytest

import vormel

from conftest import BENCH, EXAMPLES

SLOW = BENCH / "ex1010.pla"  # its exact solve alone takes most of any limit


def test_token_from_another_thread_ends_an_exact_run():
    token = vormel.StopToken()
    threading.Timer(0.3, token.request_stop).start()
    start = time.perf_counter()
    with pytest.raises(vormel.RunError, match="User Break"):
        vormel.minimize(SLOW, method="exact", exact_limit=600, stop=token)
    assert time.perf_counter() - start < 30
    assert token.stop_requested


def test_token_stops_a_run_on_another_python_thread():
    token = vormel.StopToken()
    outcome = []

    def work():
        try:
            vormel.minimize(SLOW, method="exact", exact_limit=600, stop=token)
            outcome.append("finished")
        except vormel.RunError as error:
            outcome.append(str(error))

    worker = threading.Thread(target=work)
    worker.start()
    time.sleep(0.3)
    token.request_stop()
    worker.join(timeout=30)
    assert outcome == ["User Break"]


def test_ctrl_c_on_the_main_thread_raises_keyboard_interrupt_soon():
    threading.Timer(0.3, _thread.interrupt_main).start()
    start = time.perf_counter()
    with pytest.raises(KeyboardInterrupt):
        vormel.minimize(SLOW, method="exact", exact_limit=600)
    assert time.perf_counter() - start < 30


def test_a_set_token_stops_cube_methods_only():
    token = vormel.StopToken()
    token.request_stop()
    with pytest.raises(vormel.RunError):
        vormel.minimize(BENCH / "dc1.pla", stop=token)
    assert "SUM" in vormel.minimize(EXAMPLES / "half_adder.tab", method="cns", stop=token).equations
    assert not vormel.StopToken().stop_requested
